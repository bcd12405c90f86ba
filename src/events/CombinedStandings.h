#pragma once
// The standings of a combined event of the meet: each bound event's grid table for the class
// read by start number, its results scored by the table, running totals and places, and the
// combined-events list as text lines.

#include "db/AppState.h"
#include "events/FieldEventStore.h"

namespace arenor::events {

struct CombinedStandings {
    QList<ScoringEvent> events; // in the setup's order
    QStringList numbers;        // the competitors, by first appearance in the events
    QStringList names;
    QList<QStringList> marks; // marks[c][e] as typed in the grid, "" where none
    QList<CombinedLine> lines;
    QStringList notes; // what could not be used: events without a grid, unknown codes
};

// Reads the grids of the current round and scores them. Fails only when the meet cannot be read.
Status combinedStandings(AppState &state, const CombinedSetup &setup, CombinedStandings &out);

// The list: heading, one block per competitor in order of place with every event's mark,
// points and running total, and the notes.
QStringList combinedListLines(const CombinedSetup &setup, const CombinedStandings &standings,
                              Language language);

} // namespace arenor::events
