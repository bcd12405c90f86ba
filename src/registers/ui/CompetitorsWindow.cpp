#include "registers/ui/RegisterWindows.h"

namespace arenor {

ChildWindow *createCompetitorsWindow(AppState &, MainWindow &)
{
    return nullptr;
}

} // namespace arenor
