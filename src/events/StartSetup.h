#pragma once
// Handing out start times: one common time for everybody, or staggered times that step by an
// interval every so many starts. The times go into a step list's out-time column or, as
// planned start times, into the out-times file (one record per start number).

#include "base/Status.h"
#include "base/TextTables.h"
#include "events/ResultArithmetic.h"

#include <QStringList>

namespace arenor::events {

struct StartSetupRequest {
    bool staggered = true;
    QString startTime;                       // the first start, in the event's time format
    QString interval = QStringLiteral("30"); // seconds between steps
    QString groupSize = QStringLiteral("1"); // starts sharing each time
    TimeFormat format = TimeFormat::HoursMinutesSeconds;
};

// The start time box's first value for a time format: "00.00" or "00.00.00".
QString designStartTime(TimeFormat format);

// The times of positions 1..count: the first start gets the entered time, every group of
// groupSize starts the next step. Refuses, with a message and no times, a start time that is not
// a time of the format, an interval or group size that is not a whole number of at least 1,
// and a last time the format cannot write (past 23.59.59, 99.59.99 or 99.99).
Status startTimes(const StartSetupRequest &request, int count, QStringList &times, Language language);

// The times of the grid rows: in row order, or by start number (position n is start number n,
// so numbers without a row use up their slot). numbers: the rows' start numbers.
Status gridStartTimes(const StartSetupRequest &request, const QStringList &numbers, bool byNumber,
                      QStringList &times, Language language);

// Writes the planned start times of start numbers 1..competitors into the out-times file
// (index 0001.., number 1..), atomically; at most 3000 competitors.
Status writeStartTimesFile(const QString &path, const StartSetupRequest &request, int competitors,
                           Language language);

} // namespace arenor::events
