#include "registers/ui/PointsWindow.h"

#include "app/ui/MainWindow.h"
#include "registers/Points.h"
#include "registers/ui/RegisterWindows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace arenor {

using namespace registers;

PointsWindow::PointsWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::Points, state, main, schema::Table::Poengoppsett, 83, 84,
                         &state.pointSetups)
{
    // Only "Resett" of the register commands: point setups have no catalogue and no jump box.
    setRegister({schema::initPoints, {}, std::nullopt, {}, {}, {}});
    QLineEdit *number = boundLineEdit(QStringLiteral("pointSetupNumberLineEdit"), 0);
    auto *top = new QHBoxLayout;
    top->addWidget(label(88, number));
    top->addWidget(number);
    top->addSpacing(12);
    top->addWidget(navigator(), 1);

    // Ten rows of four places; above each box its place number, which is also its label.
    QGroupBox *places = groupBox(86, QStringLiteral("placesGroupBox"));
    auto *grid = new QGridLayout(places);
    grid->setVerticalSpacing(2); // forty places must fit the main window without scrolling
    for (int p = 1; p <= kPointPlaces; ++p) {
        QLineEdit *edit = boundLineEdit(QStringLiteral("place%1LineEdit").arg(p), p);
        m_places[size_t(p - 1)] = edit;
        auto *placeLabel = new QLabel(QString::number(p), places);
        placeLabel->setObjectName(QStringLiteral("place%1Label").arg(p));
        placeLabel->setBuddy(edit);
        m_captions.addName(edit, 86, u' ' + QString::number(p));
        edit->setMaximumWidth(90);
        auto *cell = new QVBoxLayout;
        cell->setSpacing(0);
        cell->addWidget(placeLabel);
        cell->addWidget(edit);
        grid->addLayout(cell, (p - 1) / 4, (p - 1) % 4);
    }
    // The setup shown is the one the points list uses.
    connect(&form(), &RecordForm::currentRowChanged, this,
            [this](int row) { selectPointSetup(m_state, row); });

    QVBoxLayout *commands = commandColumn({{93,
                                            "registerGroupBox",
                                            {{89, "resetPushButton", [this] { resetRegister(); }},
                                             {90, "gridPushButton", [this] { openGrid(); }}}},
                                           {94,
                                            "windowGroupBox",
                                            {{91, "wipePushButton", [this] { wipePoints(); }},
                                             {92, "closePushButton", [this] { hideWindow(); }}}}});
    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(places, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);
    finishTabOrder();
}

void PointsWindow::wipePoints()
{
    if (form().currentRow() < 0)
        return;
    for (int p = 1; p <= kPointPlaces; ++p)
        setFieldText(p, QStringLiteral("0"));
}

ChildWindow *createPointsWindow(AppState &state, MainWindow &main)
{
    return new PointsWindow(state, main);
}

} // namespace arenor
