#pragma once
// The rounds procedure: makes one of the four rounds current, sets the round tag, and reads
// the round's entries into the matrix the first time the round is used in this meet.

#include "db/AppState.h"

namespace arenor::events {

// Round index 0..3 (opening .. final); a negative or larger index does nothing. Message 35
// when the round's block of Påmelding is short or misnumbered (what is there is read).
void selectRound(AppState &state, int round);

// The entries window's "&Les": the current round is read from the table again.
void rereadCurrentRound(AppState &state);

} // namespace arenor::events
