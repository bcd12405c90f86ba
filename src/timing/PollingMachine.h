#pragma once
// The polling tick of the six timing channels: capture on the first active level, hold while
// the signal stays active, and after the delay (counted in ticks) ask for the registration.
// Pure logic: the caller supplies the levels, the stamps and the clock, so tests drive it
// tick by tick.

#include "timing/TimingClock.h"
#include "timing/TimingSession.h"
#include "timing/TimingSetup.h"

#include <array>
#include <vector>

namespace arenor::timing {

struct PollConfig {
    bool lowLevel = true; // a low input is an active signal
    int delay = kDefaultDelay;
    TimeFormat format = TimeFormat::HoursMinutesSeconds;
    std::array<bool, kChannels> out{}; // the channel registers out-times
    std::array<bool, kChannels> in{};  // the channel registers in-times
    static PollConfig from(const TimingSetup &setup);
};

// What the function keys and simulation buttons did to a channel since the last tick.
struct ManualInput {
    bool level = false;   // held now
    bool pressed = false; // pressed since the last tick, perhaps released again already
    qint64 pressNs = 0;   // when
};

struct TickInput {
    qint64 stampNs = 0; // when the adapter was read, or the tick ran
    bool automatic = false;
    std::array<int, kChannels> adapter{}; // the adapter's reads, when automatic
    QString adapterError;                 // a failed read: automatic timing goes off
    std::array<ManualInput, kChannels> manual{};
};

struct PollEvent {
    enum Kind { Captured, Registered, AdapterFailed } kind = Captured;
    int channel = 0; // 1..6
    QString time;    // the captured time text
    qint64 stampNs = 0;
    bool toOut = false;
    bool toIn = false;
    QString error;
};

struct ChannelState {
    bool signal = false;
    bool latched = false; // captured, not yet registered: the indicators are yellow
    bool armed = false;   // captured, and the signal has not been inactive since
    int delayCount = 0;
    QString captured;
    qint64 capturedNs = 0;
};

class PollingMachine {
public:
    void setConfig(const PollConfig &config) { m_config = config; }
    const PollConfig &config() const { return m_config; }

    // One tick over the six channels; what happened is appended to events.
    void tick(const TickInput &input, const TimingClock &clock, std::vector<PollEvent> &events);
    // Automatic timing switched off: no signal is held any more.
    void automaticOff();
    // Back to the start: every channel inactive and grey.
    void clear() { m_channels = {}; }

    const ChannelState &channel(int index) const { return m_channels[size_t(index)]; }
    const std::array<ChannelState, kChannels> &channels() const { return m_channels; }

private:
    PollConfig m_config;
    std::array<ChannelState, kChannels> m_channels{};
};

// A registration the events asked for and what became of it.
struct Registration {
    Direction direction = Direction::Out;
    int channel = 0;
    RegisterResult result;
};
// Carries out the registrations of one event (out-times before in-times).
std::vector<Registration> performRegistrations(TimingSession &session, const PollEvent &event, bool autoOutNumber);

} // namespace arenor::timing
