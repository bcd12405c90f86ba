#pragma once
// The polling of the timing channels on a thread of its own, so that a signal is stamped when
// it comes, however busy the windows are. Each tick reads the adapter (when automatic timing
// is on) and the key and button states, runs the polling machine, and queues what happened;
// the timing window takes the queue and registers the times.

#include "timing/DigitalIo.h"
#include "timing/PollingMachine.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace arenor::timing {

class SignalPoller {
public:
    explicit SignalPoller(TimingClock &clock);
    ~SignalPoller();
    SignalPoller(const SignalPoller &) = delete;
    SignalPoller &operator=(const SignalPoller &) = delete;

    void start();
    void stop();
    bool running() const { return m_thread.joinable(); }

    void setIntervalMs(int ms);
    int intervalMs() const { return m_intervalMs.load(); }
    void setConfig(const PollConfig &config);

    // Automatic timing: the poller takes the initialised adapter and reads it from the next
    // tick on. Clearing it switches automatic timing off and lets go of every held signal.
    void setAdapter(std::unique_ptr<DigitalIo> adapter, int board);
    void clearAdapter();
    bool automatic() const;

    // Function keys and simulation buttons, channel index 0..5; stamps on the timing clock.
    void press(int index, qint64 stampNs);
    void release(int index);

    // Called from the polling thread when events wait and none were waiting before.
    void setNotify(std::function<void()> notify);
    std::vector<PollEvent> takeEvents();

    // Whether the thread got its real-time slot (root, CAP_SYS_NICE or an rtprio limit).
    bool realTime() const { return m_realTime.load(); }

    // Ticks since start; the rate display divides their growth by the time it took.
    quint64 ticks() const { return m_ticks.load(std::memory_order_relaxed); }
    std::array<ChannelState, kChannels> channelStates() const;

    // One tick on the calling thread (the poller must not be running): for tests.
    void tickOnce();

private:
    void run();
    void tick();

    TimingClock &m_clock;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_intervalMs{kDefaultInterval};
    std::atomic<quint64> m_ticks{0};
    std::atomic<bool> m_realTime{false};

    mutable std::mutex m_mutex; // everything below
    PollingMachine m_machine;
    std::unique_ptr<DigitalIo> m_adapter;
    int m_board = 0;
    std::array<ManualInput, kChannels> m_manual{};
    std::vector<PollEvent> m_events;
    std::function<void()> m_notify;
    bool m_notifyPending = false;
    qint64 m_lastResyncNs = 0;
};

} // namespace arenor::timing
