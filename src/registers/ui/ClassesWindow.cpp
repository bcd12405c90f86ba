#include "registers/ui/RegisterWindows.h"

namespace arenor {

ChildWindow *createClassesWindow(AppState &, MainWindow &)
{
    return nullptr;
}

} // namespace arenor
