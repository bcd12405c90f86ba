#include "registers/ui/RegisterWindows.h"

namespace arenor {

ChildWindow *createRelayWindow(AppState &, MainWindow &)
{
    return nullptr;
}

} // namespace arenor
