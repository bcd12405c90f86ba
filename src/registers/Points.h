#pragma once
// Points by place: the points window shows one of the ten point setups, and the points list
// takes the points for each place from the setup shown (AppState::pointSetup). A list writes
// the records being edited first (AppState::savePendingRecords), so what is typed counts.

#include "db/AppState.h"

#include <QVariant>

namespace arenor::registers {

constexpr int kPointPlaces = 40;
// A place is worth at most this many points (either sign), so that sums over a whole meet
// stay far from any overflow whatever was typed.
constexpr int kMaxPointsPerPlace = 1000000;

// The points for place 1..40 of the setup chosen: the numeric value of its text, rounded to
// whole points. Non-numeric text, other places and no setup chosen give 0.
int pointsForPlace(const AppState &state, int place);

// Chooses setup row `row` (0 = setup 1); false, and the chosen one stays, when there is none.
bool selectPointSetup(AppState &state, int row);

} // namespace arenor::registers
