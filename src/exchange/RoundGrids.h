#pragma once
// The grid tables of a round: for every named event and class whose grid exists, the table and
// the event setup it was made with.

#include "db/AppState.h"
#include "events/GridList.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

#include <vector>

namespace arenor::exchange {

struct RoundGrid {
    int round = 0; // 0..3
    int event = 0; // 1..36
    int cls = 0;   // 1..40
    QString table;
    events::ListSelection selection;
    QStringList setup; // the fields of the event setup record
};

// A text the registers use for "nobody" or "no name": empty, "-" or "_".
bool freeText(const QString &text);

// The competitor register's records in record order (record n - 1 holds start number n).
Status readPersonRecords(AppState &state, std::vector<QVariantList> &persons);

// The grids of round 0..3 in event and class order; with event > 0 only that event's, with
// cls > 0 only that class's.
Status roundGrids(AppState &state, int round, QList<RoundGrid> &grids, int event = 0, int cls = 0);

} // namespace arenor::exchange
