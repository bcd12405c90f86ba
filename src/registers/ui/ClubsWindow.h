#pragma once
// The club register window: one record of Klubber at a time, on the tabs "Primær" and
// "Sekundær", with the jump box and the commands Resett, Grid, Les, Visk and Lukke.
// ClubCatalog follows every record that is left or saved.

#include "registers/ui/RegisterWindowBase.h"

namespace arenor {

class ClubsWindow : public RegisterWindowBase {
    Q_OBJECT
public:
    ClubsWindow(AppState &state, MainWindow &main);
};

} // namespace arenor
