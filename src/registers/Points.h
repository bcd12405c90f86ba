#pragma once
// Points by place: the points window shows one of the ten point setups, and the points list
// takes the points for each place from the setup shown.

#include "db/AppState.h"

#include <QVariant>

namespace arenor::registers {

constexpr int kPointPlaces = 40;
// A place is worth at most this many points (either sign), so that sums over a whole meet
// stay far from any overflow whatever was typed.
constexpr int kMaxPointsPerPlace = 1000000;

// The points for place 1..40 of the setup shown: the numeric value of its text, rounded to
// whole points. Non-numeric text, other places and no setup shown give 0.
int pointsForPlace(const AppState &state, int place);

// Makes a setup record (fields 0..40) of table row `row` the one shown.
void showPointSetup(AppState &state, int row, const QVariantList &fields);
// Reads setup row `row` (0 = setup 1) of the table and shows it; the first setup is shown
// this way when the points window starts.
Status selectPointSetup(AppState &state, int row);
// Follows an edit of one place (1..40) of the shown setup, before it is saved.
void setShownPlace(AppState &state, int place, const QString &text);

// "Visk ut": every place of the shown setup gives 0 points until values are typed in.
void wipeShownPoints(AppState &state);

} // namespace arenor::registers
