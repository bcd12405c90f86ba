#pragma once
// The start-up steps that need no window, in their fixed order. The main window runs the
// window steps between them.

#include "db/AppState.h"

namespace arenor {

struct StartUpResult {
    Status status; // says, when the meet file could not be used, why
    bool createdDatabase = false;
};

// Steps up to the settings: language, editor, date stamp, current database and meet
// directory, the two flags, and the round tag. programDir must be set.
void prepareState(AppState &state);

// When the current database file is missing: default sizes, the format question, and the
// whole meet file. An existing file is left to the check when it becomes current.
StartUpResult ensureMeetDatabase(AppState &state);

} // namespace arenor
