#include "registers/ui/RelayWindow.h"

#include "app/ui/MainWindow.h"
#include "registers/Competitors.h"
#include "registers/Relay.h"
#include "registers/RelayList.h"
#include "registers/ui/RegisterWindows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

namespace arenor {

using namespace registers;

RelayWindow::RelayWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::Relays, state, main, schema::Table::Stafettlag, 188, 189)
{
    setRegister({schema::initRelayTeams,
                 readRelayTeams,
                 RecordNumber::RelayTeam,
                 syncRelayCatalog,
                 relayWipeFields(),
                 {}});
    QLineEdit *number = boundLineEdit(QStringLiteral("relayNumberLineEdit"), RelayNumber);
    QLineEdit *mover =
        jumpBox(QStringLiteral("moverLineEdit"), [this] { return m_state.catalogs.relayCount; });
    QHBoxLayout *top = numberRow(206, number, 190, mover);

    // The lists are built when they drop down, from what the club and class boxes hold then.
    RefillingComboBox *club =
        bind(comboBox(QStringLiteral("clubComboBox"), [this] { return clubChoices(m_state); }), RelayClub);
    RefillingComboBox *cls =
        bind(comboBox(QStringLiteral("classComboBox"),
                      [this, club] { return relayClassChoices(m_state, club->currentText()); }),
             RelayClass);
    auto *fields = new QGridLayout;
    addField(fields, 0, 0, 191, club);
    addField(fields, 1, 0, 192, cls);
    for (int i = 0; i < kRelayRunners; ++i) {
        auto runners = [this, club, cls] {
            return relayRunnerChoices(m_state, club->currentText(), cls->currentText());
        };
        RefillingComboBox *runner =
            bind(comboBox(QStringLiteral("runner%1ComboBox").arg(i + 1), runners), RelayRunner1 + i);
        // A club may hold thousands of runners: lines of one height are laid out without
        // measuring each.
        if (auto *view = qobject_cast<QListView *>(runner->view()))
            view->setUniformItemSizes(true);
        addField(fields, 2 + i, 0, 193 + i, runner);
    }
    fields->setColumnStretch(1, 1);
    fields->setRowStretch(2 + kRelayRunners, 1);

    QVBoxLayout *commands = commandColumn({{197,
                                            "registerGroupBox",
                                            {{198, "resetPushButton", [this] { resetRegister(); }},
                                             {199, "readPushButton", [this] { readRegister(); }},
                                             {200, "gridPushButton", [this] { openGrid(); }}}},
                                           {201,
                                            "listGroupBox",
                                            {{202, "makeListPushButton", [this] { makeList(); }},
                                             {203, "showListPushButton", [this] { showList(); }}}},
                                           {204,
                                            "windowGroupBox",
                                            {{205, "wipePushButton", [this] { wipe(); }},
                                             {207, "closePushButton", [this] { hideWindow(); }}}}});
    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addLayout(fields, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);
    finishTabOrder();
    resize(620, 330);
}

void RelayWindow::makeList()
{
    if (!m_state.savePendingRecords())
        return;
    if (Status s = makeRelayList(m_state); !s)
        m_state.informText(s.error(), Icon::Exclamation);
}

void RelayWindow::showList()
{
    showRelayList(m_state);
}

ChildWindow *createRelayWindow(AppState &state, MainWindow &main)
{
    return new RelayWindow(state, main);
}

} // namespace arenor
