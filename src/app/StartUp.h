#pragma once
// The start-up steps that need no window, in their fixed order. The main window runs the
// window steps between them.

#include "db/AppState.h"

namespace arenor {

struct StartUpResult {
    Status status; // says, when the meet file could not be used, why
    bool createdDatabase = false;
};

// Steps up to the settings: language, editor, date stamp, current database (the remembered
// meet, else Demomeet.mdb) and meet directory, the two flags, and the round tag. programDir
// must be set.
void prepareState(AppState &state);

// The meet current at the last exit is remembered in the program directory, apart from
// Setup.ini (whose 69 lines are read by position and stay as they are). Start-up reopens it
// while its file is there, and Demomeet.mdb otherwise.
void rememberCurrentMeet(const AppState &state);
// The remembered meet's name as the state keeps it (bare or absolute), empty when none is.
QString rememberedMeet(const AppState &state);

// When the current database file is missing: default sizes, the format question, and the
// whole meet file. An existing file is left to the check when it becomes current.
StartUpResult ensureMeetDatabase(AppState &state);

} // namespace arenor
