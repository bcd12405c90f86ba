#pragma once
// The tests' timing clock: it stands still until told.

#include "timing/TimingClock.h"

namespace arenor::test {

class FakeTimingClock : public timing::TimingClock {
public:
    explicit FakeTimingClock(QTime start = QTime(12, 0)) : m_start(start) {}
    qint64 nowNs() const override { return m_ns; }
    QTime localTimeAt(qint64 ns) const override { return m_start.addMSecs(int((ns / 1000000) % 86400000)); }
    void setNs(qint64 ns) { m_ns = ns; }
    void advanceMs(qint64 ms) { m_ns += ms * 1000000; }

private:
    QTime m_start;
    qint64 m_ns = 0;
};

} // namespace arenor::test
