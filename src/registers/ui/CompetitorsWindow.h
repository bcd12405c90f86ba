#pragma once
// The competitor register window: one record of Personer at a time, on the tabs "Primær" and
// "Sekundær", with the jump box, the contingent buttons and the commands Resett, Grid, Les,
// Visk and Lukk. PersonCatalog follows every record that is left or saved.

#include "registers/ui/RegisterWindowBase.h"

class QButtonGroup;
class QLineEdit;

namespace arenor {

class CompetitorsWindow : public RegisterWindowBase {
    Q_OBJECT
public:
    CompetitorsWindow(AppState &state, MainWindow &main);

private:
    void showContingent(const QString &code);
    QButtonGroup *m_contingent = nullptr;
    bool m_showing = false; // the code's option is being shown, not chosen
};

} // namespace arenor
