#pragma once
// The advancement command of a heat grid: asks the rule, lets the referee settle every tie at
// the boundary and put rows in or out by hand, keeps the Q, q and qR marks with the grid, and
// enters the advancers in the next round's event with their rank, so the next round is seeded
// Q before q. Questions go through the prompt; nothing is stored before every one is answered.

#include "events/GridTable.h"
#include "events/SeedStore.h"

namespace arenor::events {

struct GridAdvanceOutcome {
    bool done = false;
    int advanced = 0;
    QHash<int, AdvanceRecord> marks; // by start number, as kept
};

// The heat rows of a grid table (Heat, Htpl, Stnr, Results); id is the row's index. Fails
// when the table lacks one of these columns.
Status readHeatRows(AppState &state, const QString &table, QList<HeatRow> &rows);

// Runs the command for the grid of the current round; a message tells why nothing was done
// (not a heat list, the final, a bad rule, Cancel).
GridAdvanceOutcome advanceFromGrid(AppState &state, const GridContext &context, const QString &table);

} // namespace arenor::events
