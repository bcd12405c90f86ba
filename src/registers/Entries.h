#pragma once
// Entering competitors and relay teams in the 36 event slots, round by round. One store: a tick
// is written to its record of Påmelding at once (one field, addressed by rowid) and to the
// entry matrix in the same step, so the two never disagree and nothing waits in a window.
//
// Påmelding holds four blocks of P + R records, one per round; within a block the competitors
// come first in start-number order, then the relay teams. Entrant row r (1-based) is
// competitor r for r <= P and relay team r - P after them.

#include "db/AppState.h"

#include <QStringList>
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

class QSqlQuery;

namespace arenor::registers {

// What the entrant list shows: the four option buttons "&Navn og klubb", "&Navn og klasse",
// "&Navn", "&Stafettlag".
enum class EntryListContent { NameAndClub = 0, NameAndClass = 1, Name = 2, RelayTeams = 3 };

// The lines of the entrant list: line i (0-based) always stands for competitor i + 1, or for
// relay team i + 1 under RelayTeams.
QStringList entryListLines(const AppState &state, EntryListContent content);

// The entrant row of a list line (0-based); the entry record of that line in round 0..3.
int entrantRow(int line, bool relayTeams, int persons);
int entryRecordNumber(int round, int line, bool relayTeams, int persons, int relays);

// Where entry record n lies: its round 0..3 and entrant row; nullopt outside 1..4 x (P + R).
struct EntryPlace {
    int round = 0;
    int row = 0;
};
std::optional<EntryPlace> entryPlace(int record, int persons, int relays);

// A stored yes/no value as the entries table may hold it (1/0, true/false, "True", "-1").
bool entryFlag(const QVariant &value);

// The jump box of the entry records: the record typed, nullopt for numbers outside
// 1..4 x (P + R) (never an overflow); an empty text is the caller's message 9 + "003".
std::optional<int> entryJumpTarget(const QString &text, int persons, int relays);

// One record of Påmelding by its position (1-based): its index text and 36 ticks.
struct EntryRecord {
    QString index;
    std::array<bool, kEventSlots + 1> entered{};
};
// Fails when the record does not exist.
Status readEntryRecord(AppState &state, int record, EntryRecord &out);

// A tick on event slot 1..36 of entry record n: stored at once, and the matrix cell follows
// when that record's round is loaded. Fails (and changes nothing) when the record is missing.
Status setEntry(AppState &state, int record, int event, bool on);

// Participation: enters (or removes) the entrants of these rows in one event of one round, in
// one transaction, table and matrix alike. A missing record fails the whole group unchanged.
Status setEntries(AppState &state, int round, int event, const std::vector<int> &rows, bool on);

// Reads round 0..3's block of Påmelding into the matrix in one query. The round's cells are
// cleared first, so nothing of another meet or an earlier reading stays. indexError: a
// record holds another number than its position, or the block is short (what is there is
// read). The status fails only when the table cannot be read at all.
struct RoundLoad {
    Status status;
    bool indexError = false;
};
RoundLoad loadRoundEntries(AppState &state, int round);

// Lays the matrix out for the meet's register sizes: when P or R changed, every round is
// forgotten (its loaded mark cleared), so no row is read with another meet's layout.
void ensureEntryLayout(AppState &state);

// The event slot names of one row (1..10) of Øvelser, into state.eventNames.
Status readEventNames(AppState &state, int row = 1);

// The rowids of records first .. first + count - 1 (1-based positions); fewer when the table
// is shorter.
Status recordRowids(db::Database &database, const QString &table, int first, int count,
                    std::vector<qint64> &rowids);

// Record `record` (1-based position) of the table, selected whole into q and positioned on it;
// `missing` is the failure when the table is shorter.
Status selectRecord(db::Database &database, const QString &table, int record, QSqlQuery &q,
                    const QString &missing);

// One field of record `record` written through its rowid.
Status writeRecordField(db::Database &database, const QString &table, int record, int field,
                        const QVariant &value, const QString &missing);

} // namespace arenor::registers
