#pragma once
// Seed marks of the entries: one per round, event and entrant row, typed in the entries
// window (season's or personal best, written as results are), and the rank an entrant carries
// into a round it advanced to. Kept in a table of their own; a meet without it has no marks.

#include "db/Engine.h"

#include <QHash>

namespace arenor::registers {

struct SeedEntry {
    QString mark;
    int rank = 0; // 1.. in the round it advanced to; 0 none
};

// Round 0..3, event 1..36: the marks and ranks by entrant row. Empty when there are none.
QHash<int, SeedEntry> readSeedMarks(db::Database &database, int round, int event);
// One entrant's mark; an empty mark (blanks trimmed) removes it.
Status writeSeedMark(db::Database &database, int round, int event, int row, const QString &mark);
// The same inside a transaction the caller holds, so many marks go in as one change.
Status putSeedMark(db::Database &database, int round, int event, int row, const QString &mark);
// The ranks of a round and event, replacing those there were: rows[0] gets rank 1.
Status writeSeedRanks(db::Database &database, int round, int event, const QList<int> &rows);

} // namespace arenor::registers
