#pragma once
// Importing registered times into a step list's grid: each time record whose number is a row's
// start number gives that row its out (or in) time and is marked "Ok" with the competitor's
// name and class; the time file is then written again without the records imported (unless
// the timing setup keeps them) and without the numbers struck out as "XXX".

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

// The whole import of one direction: reads the time file, imports, and rewrites it (header
// " TIDFIL  UT " / " TIDFIL  INN "). A file that cannot be read is left alone and nothing is
// imported. The caller tells the timing to read its lists again.
Status importTimesFile(const QString &path, timing::Direction direction, const QStringList &numbers,
                       QStringList &times, const Catalogs &catalogs, bool keepImported,
                       int *matched = nullptr);

} // namespace arenor::events
