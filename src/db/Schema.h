#pragma once
// The tables of a meet database and the initialisers that build them with their default rows.

#include "db/AppState.h"

#include <QVariant>

namespace arenor::schema {

// The nine tables, named by their message numbers (the same text in both languages).
enum class Table {
    Stafettlag = 113,
    Poengoppsett = 114,
    Ovelser = 115,
    Klubber = 116,
    Klasser = 117,
    Oppsett = 118,
    Pamelding = 119,
    Personer = 120,
    Tidtakingoppsett = 121,
};

// The fixed table names (the message table holds the same text in both languages).
inline const QString kStafettlag = QStringLiteral("Stafettlag");
inline const QString kPoengoppsett = QStringLiteral("Poengoppsett");
inline const QString kOvelser = QStringLiteral("Øvelser");
inline const QString kKlubber = QStringLiteral("Klubber");
inline const QString kKlasser = QStringLiteral("Klasser");
inline const QString kOppsett = QStringLiteral("Oppsett");
inline const QString kPamelding = QStringLiteral("Påmelding");
inline const QString kPersoner = QStringLiteral("Personer");
inline const QString kTidtakingoppsett = QStringLiteral("Tidtakingoppsett");
// The wind of each heat as a photo-finish result file gave it (version 3): round 1..4, event
// slot, class, heat, wind as written. Made by its migration, so it is no table a file must have.
inline const QString kVind = QStringLiteral("Vind");
constexpr int kHeatWindFields = 5;

QString tableName(Table table);
// The same name; kept for callers that still pass the state.
inline QString tableName(const AppState &, Table table)
{
    return tableName(table);
}

// The version of the schema a new meet gets; an older file is brought up to it by the
// numbered migrations when it is opened.
constexpr int kSchemaVersion = 5;

// The tables of the field events and combined events, made by migration 3 (fields numbered
// like every table's):
// - attempts of the horizontal jumps and throws: 0 grid table, 1 start number, 2 attempt
//   1.., 3 attempt text, 4 wind text;
inline const QString kForsok = QStringLiteral("Forsøk");
// - bar heights of a vertical jump: 0 grid table, 1 position 0.., 2 height text, 3 "1" for a
//   jump-off height;
inline const QString kHoyder = QStringLiteral("Høyder");
// - the height card: 0 grid table, 1 start number, 2 position of the height, 3 attempts text
//   ("xxo"), 4 "1" for a jump-off height;
inline const QString kHoydekort = QStringLiteral("Høydekort");
// - combined events: 0 name, 1 class 1..40, 2 "M" or "W", 3 "outdoor" or "indoor", 4 the
//   events as table code and meet event number ("100m=14;LJ=2"), 5 hand-timed codes ("100m").
inline const QString kMangekamp = QStringLiteral("Mangekamp");
constexpr int kFieldEventsVersion = 3;
// Those tables with their field counts, in the order migration 3 makes them.
QList<std::pair<QString, int>> fieldEventTables();
// The tables of version 4, kept beside the registers and made by its migration (a new meet
// gets them empty the same way): seed marks per round, event and entrant row ("0" round 1..4,
// "1" event 1..36, "2" entrant row, "3" mark, "4" rank carried from the round before); the
// draw of a grid ("0" grid table, "1" random seed, "2" how: random, mark or rank, "3" the lane
// table); and the advancement from a grid ("0" grid table, "1" start number, "2" Q, q, qR or
// empty, "3" how: place, time, tie or referee, "4" the rule).
inline const QString kSeedmerker = QStringLiteral("Seedmerker");
inline const QString kTrekninger = QStringLiteral("Trekninger");
inline const QString kAvansement = QStringLiteral("Avansement");
constexpr int kSeedmerkerFields = 5;
constexpr int kTrekningerFields = 4;
constexpr int kAvansementFields = 5;

// A field, and the schema version that added it (0: there from the first version).
struct FieldSpec {
    db::FieldDef def;
    int since = 0;
};
// Every table of a meet, in the order the initialisers build them.
const QList<Table> &meetTables();
QList<FieldSpec> fieldSpecs(Table table);
// The fields of the current version.
QList<db::FieldDef> fieldsOf(Table table);

// What a file lacks for its own version: "Table" for a missing table, "Table.field" for a
// missing field. Reads only.
QStringList missingParts(db::Database &database);
// Runs the migrations from the file's version up to kSchemaVersion, each in one transaction
// with its version number, so a file is never left between two versions.
Status migrate(db::Database &database);
// Opens a meet file for use: the file check, the schema check (a file that lacks tables or
// fields, or is of a newer version, is refused untouched), then the migrations. missing gets
// what the file lacks. password: for a server meet, kept in memory only.
Status openMeet(db::Database &database, const QString &path, db::FileProblem *problem = nullptr,
                QStringList *missing = nullptr, const QString &password = {});

constexpr int kPersonFields = 23;
constexpr int kClubFields = 16;
constexpr int kClassFields = 2;
constexpr int kRelayFields = 7;
constexpr int kEventNameFields = 37;
constexpr int kEventNameRows = 10;
constexpr int kPointFields = 41;
constexpr int kPointSetups = 10;
constexpr int kSetupFields = 9;
constexpr int kSetupRecords = kRounds * kEventSlots * kClassCount; // 5760
constexpr int kTimingFields = 30;
// The two timing setup fields of schema version 1: polling interval and registration delay.
constexpr int kTimingInterval = 24;
constexpr int kTimingDelay = 25;
// The four of version 2, from here to the end: the GPIO chip, its input and output lines, and
// the serial device of the adapters that report edges.
constexpr int kTimingGpioChip = 26;
// The single row of a new meet's timing setup.
QVariantList timingSetupRow();

// What one initialiser writes: the table, its status text, and its rows.
struct TableInit {
    Table table;
    int statusMessage = 0; // 0: no status text
    int progressMaximum = 0;
    std::function<QList<QVariantList>()> rows;
    std::function<void()> fillCatalog; // runs after the rows are stored
};

enum class InitOutcome { Built, Kept };

// Builds the table in one transaction. When it exists, asks whether to overwrite it:
// Yes replaces it whole, No leaves every row as it was. The database must be open.
Status initTable(AppState &state, const TableInit &init, InitOutcome *outcome = nullptr);

Status initClasses(AppState &state);
Status initClubs(AppState &state);
Status initEventNames(AppState &state);
Status initEntries(AppState &state);
Status initPersons(AppState &state);
Status initPoints(AppState &state);
Status initRelayTeams(AppState &state);
Status initTimingSetup(AppState &state);
Status initEventSetups(AppState &state);

// The table initialisation sequence, in its fixed order. Stops at the first failure. A file
// that got every table is marked with the current schema version.
Status initAllTables(AppState &state);

// The rows of the entries table for P competitors and R relay teams (4 blocks of P + R).
QList<QVariantList> entryRows(int persons, int relays, bool testMode);

// Record number of entrant row r (1-based: competitors, then relay teams) in round 0..3.
inline int entryRecord(int round, int row, int persons, int relays)
{
    return round * (persons + relays) + row;
}

} // namespace arenor::schema
