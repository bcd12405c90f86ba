#pragma once
// Capture from an adapter that reports edges (GPIO, serial modem lines). One thread blocks on
// the adapter and captures at the edge's own stamp; another sleeps until the next registration
// is due. Neither wakes while nothing happens. The rules are the polling machine's: the level
// setting chooses the capturing edge, the registration follows after the delay (the delay
// setting times the polling interval, as the ticks would count it), and a new capture needs
// the line to have gone inactive after that.

#include "timing/EventAdapter.h"
#include "timing/PollingMachine.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace arenor::timing {

class EdgeMachine {
public:
    void setConfig(const PollConfig &config, int intervalMs);
    const PollConfig &config() const { return m_config; }
    qint64 delayNs() const { return m_delayNs; }
    // Starts from the levels now: a line that is already active has to go inactive first, so
    // switching on never captures by itself.
    void start(const std::array<int, kChannels> &levels);
    void edge(const EdgeEvent &e, const TimingClock &clock, std::vector<PollEvent> &events);
    // Registers what is due at nowNs; returns when the next registration is due, 0 for none.
    qint64 registerDue(qint64 nowNs, std::vector<PollEvent> &events);
    // The adapter is let go of: pending captures are registered at once, no signal is held.
    void letGo(std::vector<PollEvent> &events);
    const std::array<ChannelState, kChannels> &channels() const { return m_channels; }

private:
    bool active(int level) const { return m_config.lowLevel ? level == 0 : level == 1; }
    void registerChannel(int i, std::vector<PollEvent> &events);

    PollConfig m_config;
    qint64 m_delayNs = (kDefaultDelay + 1) * 1000000LL;
    std::array<ChannelState, kChannels> m_channels{};
    std::array<int, kChannels> m_levels{};
    std::array<qint64, kChannels> m_due{};
};

class EdgeCapture {
public:
    explicit EdgeCapture(TimingClock &clock);
    ~EdgeCapture();
    EdgeCapture(const EdgeCapture &) = delete;
    EdgeCapture &operator=(const EdgeCapture &) = delete;

    void setConfig(const PollConfig &config, int intervalMs);
    // Watches an opened adapter until stop() or until it fails (an AdapterFailed event, and
    // failure() says why). Fails at once when the levels cannot be read.
    AdapterError start(std::unique_ptr<EventAdapter> adapter);
    // Lets go of the adapter; captures still waiting for their delay are registered now.
    void stop();
    bool running() const;
    AdapterError failure() const;

    // Called from the capture threads when events wait and none were waiting before.
    void setNotify(std::function<void()> notify);
    std::vector<PollEvent> takeEvents();
    std::array<ChannelState, kChannels> channelStates() const;
    // How often the threads woke: an idle adapter must not wake them at all.
    quint64 wakeups() const { return m_wakeups.load(); }

private:
    void readLoop();
    void timerLoop();
    std::function<void()> pendingNotify(size_t before); // with the mutex held

    TimingClock &m_clock;
    mutable std::mutex m_mutex; // everything below
    std::condition_variable m_wake;
    EdgeMachine m_machine;
    std::unique_ptr<EventAdapter> m_adapter;
    std::thread m_reader;
    std::thread m_timer;
    bool m_stop = false;
    bool m_readerDone = false;
    bool m_failed = false;
    AdapterError m_failure;
    std::vector<PollEvent> m_events;
    std::function<void()> m_notify;
    bool m_notifyPending = false;
    qint64 m_lastResyncNs = 0;
    std::atomic<quint64> m_wakeups{0};
};

} // namespace arenor::timing
