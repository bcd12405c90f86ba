#pragma once
// The points window: one of the ten point setups of Poengoppsett at a time, places 1..40 in
// ten rows of four, with the commands Resett, Grind, Visk ut and Lukk. It edits the meet's
// point setups model, and the setup it shows is the one the points list uses.

#include "registers/ui/RegisterWindowBase.h"

#include <array>

class QLineEdit;

namespace arenor {

class PointsWindow : public RegisterWindowBase {
    Q_OBJECT
public:
    PointsWindow(AppState &state, MainWindow &main);

    // "Visk ut": 0 points for every place of the shown setup; written when it is left.
    void wipePoints();
    QLineEdit *placeEdit(int place) const { return m_places[size_t(place - 1)]; }

private:
    std::array<QLineEdit *, 40> m_places{};
};

} // namespace arenor
