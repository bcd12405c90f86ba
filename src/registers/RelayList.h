#pragma once
// The relay team list: a plain text file in the meet directory with, for each team that has
// a club, its heading, a rule, the four runners in two columns, and the rule again.

#include "db/AppState.h"

#include <QIODevice>

namespace arenor::registers {

// "Stafettlag.txt" with long file names, "St-lag.txt" without.
QString relayListFileName(bool longNames);
// The list file of the current meet, by the long-file-names option.
QString relayListPath(const AppState &state);

// The lines of the list, from the relay catalogue.
QStringList relayListLines(const AppState &state);
void writeRelayList(const AppState &state, QIODevice &device);

// "Lag": replaces the list file (atomically: a failed write leaves the old file).
Status makeRelayList(const AppState &state);

// "Se på": starts the editor on the list file; without the file, message 4 and no editor.
// Returns true when the editor was started.
bool showRelayList(AppState &state);

} // namespace arenor::registers
