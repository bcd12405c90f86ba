#include "app/ui/ChildWindow.h"

namespace arenor {

ChildWindow *createOptionsWindow(AppState &, MainWindow &)
{
    return nullptr;
}

} // namespace arenor
