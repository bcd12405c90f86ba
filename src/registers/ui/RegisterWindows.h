#pragma once
// The makers of the register windows; each lives in its window's file.

#include "app/ui/ChildWindow.h"

namespace arenor {

ChildWindow *createCompetitorsWindow(AppState &state, MainWindow &main); // CompetitorsWindow.cpp
ChildWindow *createClubsWindow(AppState &state, MainWindow &main);      // ClubsWindow.cpp
ChildWindow *createClassesWindow(AppState &state, MainWindow &main);    // ClassesWindow.cpp
ChildWindow *createRelayWindow(AppState &state, MainWindow &main);      // RelayWindow.cpp
ChildWindow *createPointsWindow(AppState &state, MainWindow &main);     // PointsWindow.cpp

} // namespace arenor
