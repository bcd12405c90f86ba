#pragma once
// What seeding and advancement keep with a grid: the draw that placed its heats and lanes
// (its random seed, so the same heats can be made again) and the advancement marked in it
// (Q, q, qR per start number, with how each came and the rule).

#include "db/Engine.h"
#include "events/Advancement.h"

#include <QHash>

namespace arenor::events {

struct DrawRecord {
    quint32 seed = 0;
    QString how; // "random", "mark" or "rank"
    QString laneTable;
};
// Replaces the draw kept for the grid table.
Status storeDraw(db::Database &database, const QString &table, const DrawRecord &draw);
std::optional<DrawRecord> readDraw(db::Database &database, const QString &table);

struct AdvanceRecord {
    int number = 0;
    Qualifier qualifier = Qualifier::None; // None: kept out by the referee
    QString how;                           // "place", "time", "tie" or "referee"
};
// Replaces the advancement kept for the grid table, in one transaction.
Status storeAdvancement(db::Database &database, const QString &table, const AdvanceRule &rule,
                        const QList<AdvanceRecord> &records);
// By start number; empty when the grid has none.
QHash<int, AdvanceRecord> readAdvancement(db::Database &database, const QString &table);
// The meet's own lane priority ("3 4 2 5 1 6", or groups "3 4 / 2 5 / 1 6"), kept with the
// draws under the grid name "*"; empty when the meet has none.
QString meetLanePriority(db::Database &database);
// Stores it after checking it: a table with a lane twice or a word that is no lane is refused
// with the notice, and the one kept stays. Empty removes it.
Status storeMeetLanePriority(db::Database &database, const QString &text, Notice *problem = nullptr);
// A grid made anew: its advancement (of results no longer there) is forgotten, and its draw
// unless the new grid was seeded (which stores its own).
Status forgetGrid(db::Database &database, const QString &table, bool draw);
// Whether the grid table has an advancement kept.
bool hasAdvancement(db::Database &database, const QString &table);

} // namespace arenor::events
