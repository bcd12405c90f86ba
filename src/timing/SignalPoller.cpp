#include "SignalPoller.h"

#include <ctime>
#include <pthread.h>
#include <sched.h>

namespace arenor::timing {

namespace {

void sleepUntil(qint64 ns)
{
    timespec ts{time_t(ns / 1000000000), long(ns % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

} // namespace

SignalPoller::SignalPoller(TimingClock &clock) : m_clock(clock) {}

SignalPoller::~SignalPoller()
{
    stop();
}

void SignalPoller::start()
{
    if (m_thread.joinable())
        return;
    m_stop.store(false);
    m_thread = std::thread([this] { run(); });
}

void SignalPoller::stop()
{
    if (!m_thread.joinable())
        return;
    m_stop.store(true);
    m_thread.join();
}

void SignalPoller::setIntervalMs(int ms)
{
    m_intervalMs.store(std::clamp(ms, kMinInterval, kMaxInterval));
}

void SignalPoller::setConfig(const PollConfig &config)
{
    std::lock_guard lock(m_mutex);
    m_machine.setConfig(config);
}

void SignalPoller::setAdapter(std::unique_ptr<DigitalIo> adapter, int board)
{
    std::unique_ptr<DigitalIo> old;
    {
        std::lock_guard lock(m_mutex);
        old = std::move(m_adapter);
        m_adapter = std::move(adapter);
        m_board = board;
    }
}

void SignalPoller::clearAdapter()
{
    std::unique_ptr<DigitalIo> old;
    {
        std::lock_guard lock(m_mutex);
        old = std::move(m_adapter);
        m_machine.automaticOff();
        for (ManualInput &m : m_manual)
            m = {};
    }
}

bool SignalPoller::automatic() const
{
    std::lock_guard lock(m_mutex);
    return m_adapter != nullptr;
}

void SignalPoller::press(int index, qint64 stampNs)
{
    if (index < 0 || index >= kChannels)
        return;
    std::lock_guard lock(m_mutex);
    ManualInput &m = m_manual[size_t(index)];
    if (!m.level && !m.pressed) {
        m.pressed = true;
        m.pressNs = stampNs;
    }
    m.level = true;
}

void SignalPoller::release(int index)
{
    if (index < 0 || index >= kChannels)
        return;
    std::lock_guard lock(m_mutex);
    m_manual[size_t(index)].level = false;
}

void SignalPoller::setNotify(std::function<void()> notify)
{
    std::lock_guard lock(m_mutex);
    m_notify = std::move(notify);
}

std::vector<PollEvent> SignalPoller::takeEvents()
{
    std::lock_guard lock(m_mutex);
    m_notifyPending = false;
    return std::exchange(m_events, {});
}

std::array<ChannelState, kChannels> SignalPoller::channelStates() const
{
    std::lock_guard lock(m_mutex);
    return m_machine.channels();
}

void SignalPoller::tickOnce()
{
    if (!m_thread.joinable())
        tick();
}

void SignalPoller::tick()
{
    std::function<void()> notify;
    {
        std::lock_guard lock(m_mutex);
        TickInput input;
        input.automatic = m_adapter != nullptr;
        if (input.automatic) {
            for (int i = 0; i < kChannels && input.adapterError.isEmpty(); ++i) {
                const DioResult r = m_adapter->DIOget(m_board, i);
                if (r.ok())
                    input.adapter[size_t(i)] = r.value;
                else
                    input.adapterError = r.error;
            }
        }
        // Stamped after the reads: a level is never dated before it was seen.
        input.stampNs = m_clock.nowNs();
        input.manual = m_manual;
        for (ManualInput &m : m_manual)
            m.pressed = false;
        const size_t before = m_events.size();
        m_machine.tick(input, m_clock, m_events);
        if (!input.adapterError.isEmpty()) {
            m_adapter.reset();
            for (ManualInput &m : m_manual)
                m = {};
        }
        if (m_events.size() > before && !m_notifyPending && m_notify) {
            m_notifyPending = true;
            notify = m_notify;
        }
        if (input.stampNs - m_lastResyncNs > 1000000000) {
            m_lastResyncNs = input.stampNs;
            m_clock.resync();
        }
    }
    m_ticks.fetch_add(1, std::memory_order_relaxed);
    if (notify)
        notify();
}

void SignalPoller::run()
{
    // Ask for a real-time slot; without the right to one the normal scheduler will do, as
    // the thread sleeps between ticks and a core is free for it most of the time.
    sched_param param{};
    param.sched_priority = 1;
    m_realTime.store(pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0);
    pthread_setname_np(pthread_self(), "timing-poll");

    qint64 deadline = monotonicNs();
    while (!m_stop.load()) {
        tick();
        const qint64 period = qint64(m_intervalMs.load()) * 1000000;
        deadline += period;
        const qint64 now = monotonicNs();
        if (deadline < now - period)
            deadline = now; // fell behind (the machine was suspended): do not race to catch up
        sleepUntil(deadline);
    }
}

} // namespace arenor::timing
