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

QString tableName(const AppState &state, Table table);
QList<db::FieldDef> fieldsOf(Table table);

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
constexpr int kTimingFields = 24;

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

// The table initialisation sequence, in its fixed order. Stops at the first failure.
Status initAllTables(AppState &state);

// The rows of the entries table for P competitors and R relay teams (4 blocks of P + R).
QList<QVariantList> entryRows(int persons, int relays, bool testMode);

// Record number of entrant row r (1-based: competitors, then relay teams) in round 0..3.
inline int entryRecord(int round, int row, int persons, int relays) { return round * (persons + relays) + row; }

} // namespace arenor::schema
