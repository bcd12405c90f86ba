#pragma once
// The relay team register (table Stafettlag): its fields, keeping RelayCatalog in step with a
// record, the pick lists of classes and runners, the jump box, wiping, and reading the table.
// The jump box and the automatic start-list rule are shared by every numbered register.

#include "db/AppState.h"

#include <QStringList>
#include <QVariant>
#include <optional>

namespace arenor::registers {

// The fields of a relay team record, by number.
enum RelayField {
    RelayNumber = 0,
    RelayClub = 1,
    RelayClass = 2,
    RelayRunner1 = 3, // runners 1..4 are fields 3..6
};
constexpr int kRelayRunners = 4;

// The RelayCatalog slot a team number text names (its numeric value), or nullopt when the
// value lies outside 0..50 and so has no slot.
std::optional<int> relaySlotFor(const QString &teamNo);

// Why a typed team number cannot be kept (message language); empty when it can.
QString relayNumberProblem(const AppState &state, const QString &typed, const QString &kept);

// Copies a relay team record (fields as stored) into its catalogue slot: number, club, class
// and the four runners. Writes nothing and returns false when the number has no slot.
bool syncRelayCatalog(AppState &state, const QVariantList &record);

// The fields "Visk ut" writes "-" into: club, class and the four runners.
QList<int> relayWipeFields();

// After a register record changed: refreshes the entries window's lists when automatic
// start-list updating is on, unless a register is being read.
void refreshStartListAfterEdit(AppState &state);

// A runner as the lists offer it and the team stores it: start number, ",", name.
QString runnerLine(const PersonSlot &person);
// A competitor whose name is only placeholders ("- -", "-") or blanks. Such competitors are
// left out of the class and runner lists: nobody could tell them apart.
bool isUnnamed(const QString &name);

// The classes that hold at least one named competitor of the club (names compared trimmed),
// in class order, each name once.
QStringList relayClassChoices(const AppState &state, const QString &club);
// The named competitors of the club and class, in start-number order, as runner lines.
QStringList relayRunnerChoices(const AppState &state, const QString &club, const QString &cls);

// The jump box: how many records to move from the shown record so that the record typed is
// shown; nullopt when the text names no record 1..count (never an overflow: "99999" is none).
std::optional<int> jumpOffset(const QString &moverText, const QString &shownNumber, int count);

struct RegisterRead {
    Status status;           // failure when the table cannot be read; nothing changed then
    int count = 0;           // the register size found
    bool indexError = false; // some record's number is not its position
};

// Rebuilds RelayCatalog and RelayCount from the table (status text message 111), record by
// record, while the reading flag holds back the automatic start-list refresh. The size is the
// number of records, at most 50, as for the other registers.
RegisterRead readRelayTeams(AppState &state);

} // namespace arenor::registers
