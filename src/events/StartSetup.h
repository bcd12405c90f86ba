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
// groupSize starts the next step. A position whose time the format cannot write (past
// 23.59.59, 99.59.99 or 99.99) gets an empty text, so every start the format holds gets its
// time. Refuses, with a message and no times, a start time that is not a time of the format,
// and an interval or group size that is not a whole number of at least 1.
Status startTimes(const StartSetupRequest &request, int count, QStringList &times, Language language);

// The message naming the first and last of the start numbers left without a time; empty when
// there are none.
QString startsWithoutTimeText(const QStringList &numbers, TimeFormat format, Language language);

// The times of the grid rows: in row order, or by start number (position n is start number n,
// so numbers without a row use up their slot). numbers: the rows' start numbers. A row left
// without a time gets an empty text; *notice names those the format could not hold.
Status gridStartTimes(const StartSetupRequest &request, const QStringList &numbers, bool byNumber,
                      QStringList &times, Language language, QString *notice = nullptr);

// Writes the planned start times of start numbers 1..competitors into the out-times file
// (index 0001.., number 1..), atomically; at most 3000 competitors. Start numbers whose time
// the format cannot hold get no record; *notice names them.
Status writeStartTimesFile(const QString &path, const StartSetupRequest &request, int competitors,
                           Language language, QString *notice = nullptr);

} // namespace arenor::events
