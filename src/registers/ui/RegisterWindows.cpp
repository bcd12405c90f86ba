#include "registers/ui/RegisterWindows.h"

namespace arenor {

ChildWindow *createRegisterWindow(WindowId id, AppState &state, MainWindow &main)
{
    switch (id) {
    case WindowId::Competitors:
        return createCompetitorsWindow(state, main);
    case WindowId::Clubs:
        return createClubsWindow(state, main);
    case WindowId::Classes:
        return createClassesWindow(state, main);
    case WindowId::Relays:
        return createRelayWindow(state, main);
    case WindowId::Points:
        return createPointsWindow(state, main);
    default:
        return nullptr;
    }
}

} // namespace arenor
