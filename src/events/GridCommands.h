#pragma once
// The grid's calculation commands over one column of values in the order the grid shows its
// rows (first row first). Each returns the new values of the column it fills; the caller
// stores them in the grid table.

#include "events/ResultArithmetic.h"

#include <QList>
#include <QStringList>

namespace arenor::events {

// "Differences": each row's difference to the first row's result, the winner when the grid is
// sorted best first: row - winner for times, winner - row for numbers. A row without a result,
// or every row when the first has none, gets kNoResult.
QStringList gridDifferences(const QStringList &results, ResultKind kind, TimeFormat format);

// "Places": row numbers, a row whose result equals (by value) the one above it shares its place
// (1, 2, 2, 4). A row without a result gets place 0, which is no place.
QList<int> gridPlaces(const QStringList &results, ResultKind kind, TimeFormat format);

// "Results" of a step list: In - Out for each row (kNoResult where either holds no result).
QStringList gridStepResults(const QStringList &outTimes, const QStringList &inTimes, ResultKind kind,
                            TimeFormat format);

} // namespace arenor::events
