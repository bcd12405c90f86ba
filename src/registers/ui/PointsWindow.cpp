#include "registers/ui/RegisterWindows.h"

namespace arenor {

ChildWindow *createPointsWindow(AppState &, MainWindow &)
{
    return nullptr;
}

} // namespace arenor
