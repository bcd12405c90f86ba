#pragma once
// Making the grid table of one event and class: its columns for the list type (help columns
// after Results), and one prepared row per entrant of the class in the event and current
// round, placed in heats and lanes when the organiser asks for it.

#include "db/AppState.h"
#include "events/GridColumns.h"
#include "events/GridList.h"
#include "events/ResultArithmetic.h"
#include "events/Seeding.h"

#include <QList>
#include <QVariantList>
#include <random>

namespace arenor::events {

// The event and class of a grid as the event setup has them.
struct GridContext {
    ListSelection selection;
    ListType type = ListType::Standard;
    int helpCount = 0;      // 0..5
    bool run = false;       // the event's category is run: results are times
    bool technical = false; // the category is technical (neither run nor combined)
    TimeFormat format = TimeFormat::HoursMinutesSeconds;
    QString startDate{};
    QString startTime{};
    ResultKind kind() const { return run ? ResultKind::Time : ResultKind::Number; }
};
using GridTableRequest = GridContext;

struct GridTableOutcome {
    QString table;
    QString heading;      // event, variant, class and round in capitals
    bool created = false; // false: an existing table was kept (or nothing could be made)
    int rows = 0;
};

// The heading of the grid: the class list's heading line in capitals.
QString gridHeading(const ListSelection &selection);

// The prepared rows of the grid, in table order. lanes > 0 draws heats and lanes at random:
// the entrants are shuffled, then fill heat 1 lanes 1..lanes, heat 2 and so on, and the rows
// are stored in that order. With lanes 0 every Heat and Lane is 0 and the rows follow the
// start numbers. In test mode each row gets made-up results.
// With a seeding plan the rows follow the plan (heat, then lane) and take its heats and lanes.
QList<QVariantList> gridTableRows(const AppState &state, const GridTableRequest &request, int lanes,
                                  std::mt19937 &random, const SeedPlan *plan = nullptr);

// Whether an entrant of the grid has a seed mark or a rank carried from the round before: the
// heat question then also offers seeding.
bool hasSeedData(AppState &state, const GridContext &context);
// Heats and lanes by rank: the entrants ranked by the rank they carried from the round before,
// then by seed mark, spread over the heats in a zigzag, lanes drawn by the lane table of the
// event's group (or the meet's own priority). The same seed gives the same plan. how gets
// "rank" or "mark", laneTable the table used, as they are kept with the grid.
SeedPlan seededHeatPlan(AppState &state, const GridContext &context, int lanes, quint32 seed,
                        QString *how = nullptr, QString *laneTable = nullptr);
// A lane table written back as typed ("3 4 5 6 / 2 7 / 1 8").
QString laneTableText(const LaneTable &table);

// The register slots of the context's class entered in its event in the current round, in
// register order: competitors p, or relay teams t for relay lists. An empty slot (named "- -",
// a team of club "-") is no entrant even when ticked.
QList<int> enteredSlots(const AppState &state, const GridContext &context);
// Heats and lanes drawn at random: with lanes > 0 the entrants are shuffled, and numbered in
// heats of `lanes` in the new order afterwards. The grid and the event list draw alike.
void drawHeatOrder(QList<int> &entries, int lanes, std::mt19937 &random);
// The lane question (messages 58-61, default " 8"): the number of lanes, 0 for Cancel, an
// empty answer or no number of at least one (heat and lane fields stay blank).
int askLaneCount(AppState &state);
// A made-up result of test mode: two parts of 01..15 ("07.12").
QString testModeResult(std::mt19937 &random);

// Makes the table (asking the lane question for heat lists, then, when entrants have seed
// marks, whether to place them by mark (Yes) or at random (No); a seeded draw is kept with the
// grid and made again from the same seed when the grid is remade, and whether to replace a table of
// that name: No keeps it with its results) in one transaction, so a failure leaves the old
// table whole. Reports the count with message 11 when "All messages" is on.
Status CreateGridTable(AppState &state, const GridTableRequest &request, GridTableOutcome &outcome,
                       std::mt19937 &random);

// Where the selection's class list, event list and grid table are: under the first of their
// names (message language first) that exists, so a switch of language never hides one; a new
// one is made under the message language's name.
QString classListPath(const AppState &state, const ListSelection &selection);
QString eventListPath(const AppState &state, const ListSelection &selection);
QString gridTableOf(const AppState &state, const ListSelection &selection);

// The class list of the context with its options and Info.txt header lines, without rows.
GridList gridListFor(const AppState &state, const GridContext &context);

// What a seeded or advanced grid adds after each row of its list: Q, q or qR, and the seed
// mark when the heats were seeded by mark or rank. Empty for any other grid, so its list keeps
// its layout.
QStringList seedingNotes(AppState &state, const GridContext &context, const QString &table,
                         const QStringList &columns, const QList<QStringList> &rows);

// Writes the class list file from the grid table's rows in the order the grid shows them:
// shownRowids (the grid's sort) first, rows it does not name after them in record order; an
// empty order is the record order. Fails, writing nothing, when the table is missing or lacks
// a column.
Status makeGridListFile(AppState &state, const GridContext &context, const QString &table,
                        const QString &path, int *rows = nullptr, const QList<qint64> &shownRowids = {});
// The same class list as a document, for printing; nothing is written.
Status gridClassListDocument(AppState &state, const GridContext &context, const QString &table,
                             const QList<qint64> &shownRowids, ListDocument &document, int *rows = nullptr);

// "Make list": the class list file of the context from its grid table in the order shown,
// after message 8 when the file exists (Cancel makes nothing), then message 11 with the count
// when "All messages" is on. False when nothing was written; a failure is told to the user.
bool makeClassList(AppState &state, const GridContext &context, const QList<qint64> &shownRowids = {});
// "Show list": message 4 when the class list file is missing; message 23 when it heads
// another event or class, after which it is shown all the same in the editor.
bool showClassList(AppState &state, const GridContext &context);

// Message 11 with the count: "Det er funnet 5 deltakere", " 2 stafettlag" for relay lists.
QString gridCountText(const TextTables &texts, int count, bool relays);

} // namespace arenor::events
