#include "app/ui/ChildWindow.h"

namespace arenor {

ChildWindow *createTimingWindow(AppState &, MainWindow &)
{
    return nullptr;
}

} // namespace arenor
