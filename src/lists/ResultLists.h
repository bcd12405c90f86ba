#pragma once
// The result lists of the event setup and the main window: the list of one event and class
// made from the entries (a start list that doubles as an empty results form), the event list
// joining an event's class lists, and the meet results list joining the round's event lists.

#include "base/ListDocument.h"
#include "db/AppState.h"
#include "events/GridTable.h"

#include <QSet>
#include <QStringList>
#include <random>

namespace arenor::lists {

// The three layouts of the event list: standard (list types standard and out/in), heat (heat,
// multi and special) and relay.
enum class EventLayout { Standard, Heat, Relay };
EventLayout eventLayoutOf(events::ListType type);

// What the event list is made for, as the event setup has it.
struct EventListRequest {
    events::ListSelection selection;
    events::ListType type = events::ListType::Standard;
    int category = 1; // 2 for a running event, 1 otherwise; the list's columns are the same
    QString startDate;
    QString startTime;
    int lanes = 0; // heat layout: heats and lanes drawn at random in heats of this many lanes
};

EventListRequest eventListRequest(const events::GridContext &context);

// The event list: title, Info.txt lines 5 to 8, the event line, the date line when wanted, the
// column block, one row per entrant of the class in the event and current round and the
// closing ruler. `rows` gets the number of entrants listed.
Status eventResultList(const AppState &state, const EventListRequest &request, std::mt19937 &random,
                       ListDocument &document, int *rows = nullptr);

// Writes the event list to the file, atomically; for the heat list type it first asks how many
// lanes to draw (Cancel leaves heats and lanes blank). Message 11 with the count when "All
// messages" is on.
Status MakeEventList(AppState &state, const QString &path, EventListRequest request, std::mt19937 &random);

// Joins the event lists of the current round into the file (every list after the first
// without its first five lines), the lists named in either language. When there is nothing to
// join, a failure says so and the file is left as it was.
Status MakeMeetResultsList(AppState &state, const QString &path);
// Joins the class lists of the selection's event in the current round into the file, likewise.
Status MakeEventClassList(AppState &state, const QString &path, const events::ListSelection &selection);

// The list files of the meet directory whose names start with one of the prefixes (any case)
// and end in ".txt", in the order of the rest of their names; where two prefixes give the same
// rest (a list under either language's name), the earlier prefix's file. The file `except`
// (the output of a join) is never among them; with onlyNames, only files of those names are.
QStringList joinedListFiles(const QString &dir, const QStringList &prefixes, const QString &except,
                            const QSet<QString> &onlyNames = {});
// The files' lines joined: the first file with content whole, the others without their first
// five lines. Fails, naming the file, when one cannot be read.
Status joinListFiles(const AppState &state, const QStringList &files, QStringList &lines);

// The event setup's buttons, after its checks for an event (and a class):
// "&Make list": the list of the event and class from the entries, after message 8 when the
// file exists. False when nothing was made; a failure is told to the user.
bool makeEventListCommand(AppState &state, const events::GridContext &context);
// "&Make new": the event list joining the event's class lists, after message 8.
bool makeEventClassListCommand(AppState &state, const events::GridContext &context);
// "&Show": the event list in the editor; message 3 when it has not been made.
bool showEventListCommand(AppState &state, const events::GridContext &context);

} // namespace arenor::lists
