#include "registers/ui/RegisterWindows.h"

namespace arenor {

ChildWindow *createClubsWindow(AppState &, MainWindow &)
{
    return nullptr;
}

} // namespace arenor
