#pragma once
// Time for the timing: a monotonic clock, so a time taken at a signal never jumps, mapped to
// the local time of day; and the texts a captured time is written as.

#include "timing/TimingSetup.h"

#include <QString>
#include <QTime>
#include <functional>
#include <mutex>
#include <utility>

namespace arenor::timing {

// CLOCK_MONOTONIC in nanoseconds.
qint64 monotonicNs();

class TimingClock {
public:
    virtual ~TimingClock() = default;
    // Monotonic nanoseconds: the stamp of every signal.
    virtual qint64 nowNs() const = 0;
    // The local time of day of a stamp.
    virtual QTime localTimeAt(qint64 ns) const = 0;
    QTime localTime() const { return localTimeAt(nowNs()); }
    // Follows a change of the wall clock; called by the poller about once a second.
    virtual void resync() {}
};

// The system's monotonic clock, mapped to the local time of day through an anchor that is
// moved only when the wall clock was set, or daylight saving time began or ended, so the
// times of one race never step.
class SystemTimingClock : public TimingClock {
public:
    // Where the two clocks are read; the system's unless given (the tests set the wall clock).
    struct Sources {
        std::function<qint64()> monotonicNs;
        std::function<qint64()> localMs; // local milliseconds since the epoch
    };
    explicit SystemTimingClock(Sources sources = {});
    qint64 nowNs() const override;
    QTime localTimeAt(qint64 ns) const override;
    // Moves the anchor when the mapping and the wall clock differ by more than 20 ms.
    void resync() override;

private:
    std::pair<qint64, qint64> wallAndMonotonic() const;

    Sources m_sources;
    mutable std::mutex m_mutex;
    qint64 m_anchorNs = 0;      // monotonic time of the anchor
    qint64 m_anchorLocalMs = 0; // local milliseconds since the epoch at the anchor
};

// The captured time as the chosen format writes it: HH.MM.SS, MM.SS.CC or SS.CC, CC the
// hundredths cut from the milliseconds (7 ms gives 00, 995 gives 99).
QString captureText(const QTime &t, TimeFormat format);
// The clock of the timing window: HH.MM.SS.CC.
QString clockText(const QTime &t);

// The stamp of an input event from the time the windowing system gave it (milliseconds,
// 32 bits, the monotonic clock of this machine on X11 and Wayland). When that time cannot be
// on the monotonic clock (zero, in the future, or more than a minute old) the event is
// stamped when it is handled.
qint64 eventStampNs(quint64 eventMs, qint64 nowNs);

} // namespace arenor::timing
