#include "EdgeCapture.h"

#include <chrono>
#include <pthread.h>
#include <sched.h>

namespace arenor::timing {

void EdgeMachine::setConfig(const PollConfig &config, int intervalMs)
{
    m_config = config;
    // The polling machine registers on the (delay + 1)th tick after the capture.
    m_delayNs = qint64(config.delay + 1) * std::clamp(intervalMs, kMinInterval, kMaxInterval) * 1000000LL;
    // With the level setting changed, a line resting at the new active level must not capture
    // until it has been inactive.
    for (int i = 0; i < kChannels; ++i) {
        ChannelState &c = m_channels[size_t(i)];
        c.signal = active(m_levels[size_t(i)]);
        if (c.signal)
            c.armed = true;
        else if (!c.latched)
            c.armed = false;
    }
}

void EdgeMachine::start(const std::array<int, kChannels> &levels)
{
    m_levels = levels;
    for (int i = 0; i < kChannels; ++i) {
        ChannelState &c = m_channels[size_t(i)];
        c.signal = active(levels[size_t(i)]);
        c.armed = c.signal || c.latched;
    }
}

void EdgeMachine::edge(const EdgeEvent &e, const TimingClock &clock, std::vector<PollEvent> &events)
{
    if (e.channel < 0 || e.channel >= kChannels)
        return;
    const size_t i = size_t(e.channel);
    ChannelState &c = m_channels[i];
    m_levels[i] = e.high ? 1 : 0;
    c.signal = active(m_levels[i]);
    if (c.signal) {
        if (!c.latched && !c.armed) {
            c.captured = captureText(clock.localTimeAt(e.stampNs), m_config.format);
            c.capturedNs = e.stampNs;
            c.latched = true;
            c.armed = true;
            m_due[i] = e.stampNs + m_delayNs;
            events.push_back({PollEvent::Captured, e.channel + 1, c.captured, e.stampNs, false, false, {}});
        }
    } else if (!c.latched) {
        c.armed = false;
    }
}

void EdgeMachine::registerChannel(int i, std::vector<PollEvent> &events)
{
    ChannelState &c = m_channels[size_t(i)];
    events.push_back({PollEvent::Registered,
                      i + 1,
                      c.captured,
                      c.capturedNs,
                      m_config.out[size_t(i)],
                      m_config.in[size_t(i)],
                      {}});
    c.latched = false;
    c.delayCount = 0;
    if (!c.signal)
        c.armed = false;
}

qint64 EdgeMachine::registerDue(qint64 nowNs, std::vector<PollEvent> &events)
{
    qint64 next = 0;
    for (int i = 0; i < kChannels; ++i) {
        if (!m_channels[size_t(i)].latched)
            continue;
        const qint64 due = m_due[size_t(i)];
        if (due <= nowNs)
            registerChannel(i, events);
        else if (next == 0 || due < next)
            next = due;
    }
    return next;
}

void EdgeMachine::letGo(std::vector<PollEvent> &events)
{
    for (int i = 0; i < kChannels; ++i) {
        ChannelState &c = m_channels[size_t(i)];
        c.signal = false;
        if (c.latched)
            registerChannel(i, events);
        c.armed = false;
    }
}

EdgeCapture::EdgeCapture(TimingClock &clock) : m_clock(clock) {}

EdgeCapture::~EdgeCapture()
{
    setNotify(nullptr);
    stop();
}

void EdgeCapture::setConfig(const PollConfig &config, int intervalMs)
{
    std::lock_guard lock(m_mutex);
    m_machine.setConfig(config, intervalMs);
    m_wake.notify_all(); // the delay may have changed
}

AdapterError EdgeCapture::start(std::unique_ptr<EventAdapter> adapter)
{
    stop();
    std::array<int, kChannels> levels{};
    if (AdapterError e = adapter->levels(levels); !e.ok()) {
        std::lock_guard lock(m_mutex);
        m_failure = e;
        return e;
    }
    std::lock_guard lock(m_mutex);
    m_machine.start(levels);
    m_adapter = std::move(adapter);
    m_stop = false;
    m_readerDone = false;
    m_failed = false;
    m_failure = {};
    m_reader = std::thread([this] { readLoop(); });
    m_timer = std::thread([this] { timerLoop(); });
    return {};
}

void EdgeCapture::stop()
{
    std::unique_lock lock(m_mutex);
    if (!m_adapter)
        return;
    m_stop = true;
    m_wake.notify_all();
    // A serial port's wait can miss one interruption that comes just before it blocks.
    while (!m_readerDone) {
        lock.unlock();
        m_adapter->interrupt();
        lock.lock();
        m_wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return m_readerDone; });
    }
    lock.unlock();
    m_reader.join();
    m_timer.join();
    lock.lock();
    const size_t before = m_events.size();
    m_machine.letGo(m_events);
    std::unique_ptr<EventAdapter> old = std::move(m_adapter);
    std::function<void()> notify = pendingNotify(before);
    lock.unlock();
    old.reset(); // closes the device
    if (notify)
        notify();
}

bool EdgeCapture::running() const
{
    std::lock_guard lock(m_mutex);
    return m_adapter && !m_failed;
}

AdapterError EdgeCapture::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_failure;
}

void EdgeCapture::setNotify(std::function<void()> notify)
{
    std::lock_guard lock(m_mutex);
    m_notify = std::move(notify);
}

std::vector<PollEvent> EdgeCapture::takeEvents()
{
    std::lock_guard lock(m_mutex);
    m_notifyPending = false;
    return std::exchange(m_events, {});
}

std::array<ChannelState, kChannels> EdgeCapture::channelStates() const
{
    std::lock_guard lock(m_mutex);
    return m_machine.channels();
}

std::function<void()> EdgeCapture::pendingNotify(size_t before)
{
    if (m_events.size() <= before || m_notifyPending || !m_notify)
        return {};
    m_notifyPending = true;
    return m_notify;
}

void EdgeCapture::readLoop()
{
    // The serial port's stamp is taken when this thread wakes: ask for a real-time slot, as
    // the polling thread does; GPIO edges carry the kernel's stamp and do not need it.
    sched_param param{};
    param.sched_priority = 1;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
    pthread_setname_np(pthread_self(), "timing-edges");

    std::vector<EdgeEvent> edges;
    edges.reserve(256);
    for (;;) {
        edges.clear();
        const AdapterError error = m_adapter->wait(edges);
        m_wakeups.fetch_add(1, std::memory_order_relaxed);
        std::function<void()> notify;
        {
            std::lock_guard lock(m_mutex);
            if (m_stop)
                break;
            const size_t before = m_events.size();
            if (!error.ok()) {
                m_failed = true;
                m_failure = error;
                PollEvent e;
                e.kind = PollEvent::AdapterFailed;
                e.error = adapterErrorText(Language::English, error);
                m_events.push_back(e);
            } else if (!edges.empty()) {
                const qint64 now = m_clock.nowNs();
                if (now - m_lastResyncNs > 1000000000) {
                    m_lastResyncNs = now;
                    m_clock.resync();
                }
                for (const EdgeEvent &e : edges)
                    m_machine.edge(e, m_clock, m_events);
                if (m_events.size() > before)
                    m_wake.notify_all(); // a new registration to wait for
            }
            notify = pendingNotify(before);
        }
        if (notify)
            notify();
        if (!error.ok())
            break;
    }
    std::lock_guard lock(m_mutex);
    m_readerDone = true;
    m_wake.notify_all();
}

void EdgeCapture::timerLoop()
{
    pthread_setname_np(pthread_self(), "timing-delay");
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        const qint64 now = m_clock.nowNs();
        const size_t before = m_events.size();
        const qint64 next = m_machine.registerDue(now, m_events);
        if (std::function<void()> notify = pendingNotify(before)) {
            lock.unlock();
            notify();
            lock.lock();
            continue;
        }
        if (next == 0)
            m_wake.wait(lock);
        else
            m_wake.wait_for(lock, std::chrono::nanoseconds(next - now));
        m_wakeups.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace arenor::timing
