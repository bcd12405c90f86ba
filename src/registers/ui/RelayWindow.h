#pragma once
// The relay team window: one record of Stafettlag at a time — number, club, class and four
// runners picked from the competitors of that club and class — with the jump box and the
// commands Resett, Les, Grid, Lag, Se på, Visk ut and Lukk. RelayCatalog follows every record
// that is left or saved.

#include "registers/ui/RegisterWindowBase.h"

namespace arenor {

class RelayWindow : public RegisterWindowBase {
    Q_OBJECT
public:
    RelayWindow(AppState &state, MainWindow &main);

    // "Lag": the shown records are written first, so the list holds what the windows show.
    void makeList();
    // "Se på".
    void showList();
};

} // namespace arenor
