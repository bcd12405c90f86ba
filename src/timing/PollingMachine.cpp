#include "PollingMachine.h"

namespace arenor::timing {

PollConfig PollConfig::from(const TimingSetup &setup)
{
    PollConfig c;
    c.lowLevel = setup.lowLevel();
    c.delay = setup.delay();
    c.format = setup.timeFormat();
    for (int ch = 1; ch <= kChannels; ++ch) {
        c.out[size_t(ch - 1)] = setup.registersOut(ch);
        c.in[size_t(ch - 1)] = setup.registersIn(ch);
    }
    return c;
}

void PollingMachine::tick(const TickInput &input, const TimingClock &clock, std::vector<PollEvent> &events)
{
    if (input.automatic && !input.adapterError.isEmpty()) {
        PollEvent e;
        e.kind = PollEvent::AdapterFailed;
        e.error = input.adapterError;
        events.push_back(e);
        automaticOff();
        return;
    }
    for (int i = 0; i < kChannels; ++i) {
        ChannelState &c = m_channels[size_t(i)];
        const ManualInput &m = input.manual[size_t(i)];
        qint64 stamp = input.stampNs;
        if (input.automatic) {
            const int r = input.adapter[size_t(i)];
            c.signal = m_config.lowLevel ? r == 0 : r == 1;
        } else {
            // A press released again before this tick still counts, at the time it happened.
            c.signal = m.level || m.pressed;
            if (m.pressed)
                stamp = m.pressNs;
        }
        if (c.latched)
            ++c.delayCount;
        if (c.signal) {
            if (!c.latched && !c.armed) {
                c.captured = captureText(clock.localTimeAt(stamp), m_config.format);
                c.capturedNs = stamp;
                c.latched = true;
                c.armed = true;
                events.push_back({PollEvent::Captured, i + 1, c.captured, stamp, false, false, {}});
            }
        } else if (!c.latched) {
            c.armed = false;
        }
        if (c.latched && c.delayCount > m_config.delay) {
            events.push_back({PollEvent::Registered, i + 1, c.captured, c.capturedNs, m_config.out[size_t(i)],
                              m_config.in[size_t(i)], {}});
            c.latched = false;
            c.delayCount = 0;
        }
    }
}

void PollingMachine::automaticOff()
{
    for (ChannelState &c : m_channels) {
        c.signal = false;
        c.armed = false;
    }
}

std::vector<Registration> performRegistrations(TimingSession &session, const PollEvent &event, bool autoOutNumber)
{
    std::vector<Registration> done;
    if (event.kind != PollEvent::Registered)
        return done;
    if (event.toOut)
        done.push_back({Direction::Out, event.channel,
                        session.registerTime(Direction::Out, event.channel, event.time, autoOutNumber)});
    if (event.toIn)
        done.push_back({Direction::In, event.channel,
                        session.registerTime(Direction::In, event.channel, event.time, autoOutNumber)});
    return done;
}

} // namespace arenor::timing
