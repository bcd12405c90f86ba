#pragma once
// Importing registered times into a step list's grid: each time record whose number is a row's
// start number gives that row its out (or in) time and is marked "Ok" with the competitor's
// name and class; once the grid has stored the times, the time file is written again without
// the records imported (unless the timing setup keeps them) and without the numbers struck out
// as "XXX".

#include "db/Catalogs.h"
#include "timing/TimeList.h"

#include <QStringList>

namespace arenor::events {

// Imports one list into the column `times` (one value per grid row, in grid order), matching
// the rows' start numbers `numbers` by numeric value through a map. A row matched by several
// records takes the time of the last. Returns the number of rows that got a time.
int importTimes(timing::TimeList &list, const QStringList &numbers, QStringList &times,
                const Catalogs &catalogs);

// What stays in the time file after an import: every record but "XXX" and, unless keep is on,
// those marked "Ok".
void dropImported(timing::TimeList &list, bool keepImported);

// The first half of an import: reads the time file and imports it into times, writing
// nothing; list keeps every record, those imported marked, for rewriteImported. A file that
// cannot be read imports nothing.
Status importFromTimesFile(const QString &path, const QStringList &numbers, QStringList &times,
                           const Catalogs &catalogs, timing::TimeList &list, int *matched = nullptr);
// The second half, once the grid holds the times: the file written again (header
// " TIDFIL  UT " / " TIDFIL  INN ") with what dropImported leaves. Run only after the grid
// stored the times, so a grid that cannot store them leaves the file whole.
Status rewriteImported(const QString &path, timing::Direction direction, timing::TimeList &list,
                       bool keepImported);

} // namespace arenor::events
