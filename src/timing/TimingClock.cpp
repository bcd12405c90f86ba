#include "TimingClock.h"

#include <QDateTime>
#include <ctime>

namespace arenor::timing {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

namespace {

qint64 systemLocalMs()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toMSecsSinceEpoch() + qint64(now.offsetFromUtc()) * 1000;
}

constexpr qint64 kMsPerDay = 86400000;

} // namespace

SystemTimingClock::SystemTimingClock(Sources sources) : m_sources(std::move(sources))
{
    if (!m_sources.monotonicNs)
        m_sources.monotonicNs = monotonicNs;
    if (!m_sources.localMs)
        m_sources.localMs = systemLocalMs;
    const auto [localMs, ns] = wallAndMonotonic();
    m_anchorLocalMs = localMs;
    m_anchorNs = ns;
}

// Local milliseconds since the epoch, and the monotonic time read right beside it.
std::pair<qint64, qint64> SystemTimingClock::wallAndMonotonic() const
{
    const qint64 before = m_sources.monotonicNs();
    const qint64 localMs = m_sources.localMs();
    const qint64 after = m_sources.monotonicNs();
    return {localMs, before + (after - before) / 2};
}

qint64 SystemTimingClock::nowNs() const
{
    return m_sources.monotonicNs();
}

QTime SystemTimingClock::localTimeAt(qint64 ns) const
{
    qint64 localMs;
    {
        std::lock_guard lock(m_mutex);
        const qint64 delta = ns - m_anchorNs;
        // Round toward minus infinity so a stamp just before the anchor stays before it.
        localMs = m_anchorLocalMs + (delta >= 0 ? delta / 1000000 : -((-delta + 999999) / 1000000));
    }
    qint64 ofDay = localMs % kMsPerDay;
    if (ofDay < 0)
        ofDay += kMsPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(ofDay));
}

void SystemTimingClock::resync()
{
    const auto [localMs, ns] = wallAndMonotonic();
    std::lock_guard lock(m_mutex);
    const qint64 mapped = m_anchorLocalMs + (ns - m_anchorNs) / 1000000;
    if (std::abs(mapped - localMs) > 20) {
        m_anchorLocalMs = localMs;
        m_anchorNs = ns;
    }
}

QString captureText(const QTime &t, TimeFormat format)
{
    auto two = [](int v) { return QStringLiteral("%1").arg(v % 100, 2, 10, QChar(u'0')); };
    const QString cc = two(t.msec() / 10);
    switch (format) {
    case TimeFormat::MinutesSecondsHundredths:
        return two(t.minute()) + u'.' + two(t.second()) + u'.' + cc;
    case TimeFormat::SecondsHundredths:
        return two(t.second()) + u'.' + cc;
    case TimeFormat::HoursMinutesSeconds:
        break;
    }
    return two(t.hour()) + u'.' + two(t.minute()) + u'.' + two(t.second());
}

QString clockText(const QTime &t)
{
    return captureText(t, TimeFormat::HoursMinutesSeconds) + u'.' +
           QStringLiteral("%1").arg(t.msec() / 10, 2, 10, QChar(u'0'));
}

qint64 eventStampNs(quint64 eventMs, qint64 nowNs)
{
    if (eventMs == 0)
        return nowNs;
    const quint32 nowMs32 = quint32(quint64(nowNs / 1000000));
    const quint32 age = nowMs32 - quint32(eventMs); // wraps with the 32-bit server time
    if (age > 60000)
        return nowNs;
    return nowNs - qint64(age) * 1000000;
}

} // namespace arenor::timing
