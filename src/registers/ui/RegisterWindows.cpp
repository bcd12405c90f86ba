#include "app/ui/ChildWindow.h"

namespace arenor {

ChildWindow *createRegisterWindow(WindowId, AppState &, MainWindow &)
{
    return nullptr;
}

} // namespace arenor
