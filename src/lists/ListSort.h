#pragma once
// Sorting a list file again: its rows in a new order, places and differences filled in.

#include "db/AppState.h"
#include "events/GridTable.h"

namespace arenor::lists {

// The list a file is, as its caller knows it.
enum ListSelector {
    SortResultList = 0,   // an event or class list; the layout is read from its column header
    SortPointsList = 1,   // the competitors section of the points list
    SortTimeSchedule = 2, // the time schedule, sorted by start time
};

// Sort codes of the event setup's sorting options (their index + 1).
enum SortCode { SortIncreasing = 1, SortDecreasing, SortByName, SortByClub, SortByNumber, SortByHeat };

// Rewrites the list file sorted (atomically: a failure leaves the file as it was). category is
// 2 for a running event, 1 otherwise; a running event's results are read in its time format.
// Messages 14 and 15 are told through the state's prompt; a file that is no list of its kind
// is a failure with a message, the file untouched. The sorted list is told to the notifier
// unless `announce` is false (a scratch file).
Status SortListFile(AppState &state, const QString &path, int sortCode, int category,
                    events::TimeFormat format, int selector, bool announce = true);

// The event setup's "&Sorter": the class list of the context sorted by the sort code of the
// selected sorting option; message 4 when the list has not been made, message 23 (then sorted
// all the same) when it heads another class. False when nothing was sorted.
bool sortClassListCommand(AppState &state, const events::GridContext &context, int sortCode);

} // namespace arenor::lists
