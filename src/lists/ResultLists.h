#pragma once
// The result lists of the event setup and the main window: the list of one event and class
// made from the entries (a start list that doubles as an empty results form), the event list
// joining an event's class lists, and the meet results list joining the round's event lists.

#include "db/AppState.h"
#include "events/GridTable.h"

namespace arenor::lists {

// Joins the event lists of the current round into the file (every list after the first
// without its first five lines). No list found gives an empty file.
Status MakeMeetResultsList(AppState &state, const QString &path);

// The event setup's buttons, after its checks for an event (and a class):
// "&Make list": the list of the event and class from the entries, after message 8 when the
// file exists. False when nothing was made; a failure is told to the user.
bool makeEventListCommand(AppState &state, const events::GridContext &context);
// "&Make new": the event list joining the event's class lists, after message 8.
bool makeEventClassListCommand(AppState &state, const events::GridContext &context);
// "&Show": the event list in the editor; message 3 when it has not been made.
bool showEventListCommand(AppState &state, const events::GridContext &context);

} // namespace arenor::lists
