#pragma once
// The database commands of the main window: make a new meet, open another, reset, repair,
// compact and copy the current one: the questions and the meet switch around the file
// operations of MeetFile.h. Every question goes through the prompt; a failed new or open falls
// back to the meet that was current before.

#include "db/AppState.h"

#include <optional>

namespace arenor::lifecycle {

// What happened to the current meet.
enum class MeetChange {
    Switched, // another meet (or the same one made afresh): registers, final round, time files
    Rebound,  // the same meet after a file operation: the windows are bound to it again
};

// The one sequence after a meet became current, used by start-up and every command: the file
// is checked (a file that is no whole meet is refused untouched, with a text in the message
// language) and brought up to date by the migrations, the windows are bound, and for another
// meet the registers are read, the final round is made current and the time files are read.
Status meetBecameCurrent(AppState &state, MeetChange change = MeetChange::Switched);

// How a command ended.
enum class Outcome {
    Done,      // the command ran to its end
    Stopped,   // cancelled or refused before anything changed
    Recovered, // it failed after the switch; the previous meet is current again
    Failed,    // it failed; the message says what is left
};

// The answers to the three register size questions, converted but not yet limited.
struct SizeAnswers {
    qint64 persons = 0;
    qint64 relays = 0;
    qint64 clubs = 0;
};

// Asks competitors, relay teams, clubs (the clubs question always proposes " 20").
// nullopt as soon as one is cancelled: the remaining questions are not asked.
std::optional<SizeAnswers> askSizeQuestions(AppState &state);
// Stores the answers clamped to 0 and the limits (3000 competitors, 50 relay teams, 50 clubs).
void storeLimitedSizes(Catalogs &catalogs, const SizeAnswers &answers);
// A size of 0 becomes its default (15, 5, 5).
void applyDefaultSizes(Catalogs &catalogs);
// The register size questions of a new meet: a cancel keeps the sizes as they were; then the
// defaults and limits apply.
void askRegisterSizes(AppState &state);

// The summary after a new meet or a reset: messages 36, 37 and 52 with the three sizes.
QString summaryText(const AppState &state);

// The name a chosen file is kept under: bare when it lies in the program directory,
// otherwise its absolute path (its meet directory then lies beside it).
QString storedDatabaseName(const AppState &state, const QString &chosen);

// Asks where a new meet file goes (caption, proposed name) and refuses with a message a name
// without ".mdb", a file that exists and the name the copy command writes. The name as
// storedDatabaseName gives it, or none.
std::optional<QString> askNewMeetFile(AppState &state, const QString &caption, const QString &proposal);

// Makes the meet of name (as storedDatabaseName gives it, or a server address) current after
// its checks: the meet directory, its files, the meet. failMessage heads the text when it fails
// and the previous meet becomes current again.
Outcome switchToMeet(AppState &state, const QString &name, int failMessage);

Outcome makeNewDatabase(AppState &state);
Outcome openMeetDatabase(AppState &state);
Outcome resetMeetDatabase(AppState &state);
Outcome repairMeetDatabase(AppState &state);
Outcome compactMeetDatabase(AppState &state);
Outcome copyMeetDatabase(AppState &state);

} // namespace arenor::lifecycle
