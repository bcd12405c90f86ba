#pragma once
// The meet-wide lists of the main window: start list text with check-in, contingent list,
// points list, time schedule and newspaper list. Each writes the named file of the meet
// directory atomically and asks its own questions through the state's prompt; a question
// answered Cancel makes nothing and is no failure.

#include "db/AppState.h"

namespace arenor::lists {

Status MakeStartListText(AppState &state, const QString &path);
Status MakeContingentList(AppState &state, const QString &path);
// Needs the meet results list of the round (the caller checks it is there).
Status MakePointsList(AppState &state, const QString &path);
Status MakeTimeSchedule(AppState &state, const QString &path);
Status MakeNewspaperList(AppState &state, const QString &path);

} // namespace arenor::lists
