#include "registers/ui/ClubsWindow.h"

#include "app/ui/MainWindow.h"
#include "registers/Clubs.h"
#include "registers/ui/RegisterWindows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace arenor {

using namespace registers;

ClubsWindow::ClubsWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::Clubs, state, main, schema::Table::Klubber, 158, 159)
{
    setRegister(
        {schema::initClubs, readClubs, RecordNumber::Club, syncClubCatalog, clubWipeFields(), {ClubOther}});
    QLineEdit *number = boundLineEdit(QStringLiteral("clubNumberLineEdit"), ClubNumber);
    QLineEdit *mover =
        jumpBox(QStringLiteral("moverLineEdit"), [this] { return m_state.catalogs.clubCount; });
    QHBoxLayout *top = numberRow(185, number, 160, mover);

    QGridLayout *p = nullptr;
    QGridLayout *s = nullptr;
    QTabWidget *tabs = twoTabs(158, p, s);
    addField(p, 0, 0, 161, boundLineEdit(QStringLiteral("clubNameLineEdit"), ClubName));
    addField(p, 1, 0, 162, boundLineEdit(QStringLiteral("schoolLineEdit"), ClubSchool));
    addField(p, 2, 0, 163, boundLineEdit(QStringLiteral("leaderLineEdit"), ClubLeader));
    addField(p, 3, 0, 164, boundLineEdit(QStringLiteral("coachLineEdit"), ClubCoach));
    addField(p, 4, 0, 165, boundLineEdit(QStringLiteral("address1LineEdit"), ClubAddress1));
    QLineEdit *address2 = boundLineEdit(QStringLiteral("address2LineEdit"), ClubAddress2);
    p->addWidget(address2, 5, 1);
    m_captions.addName(address2, 165, QStringLiteral(" 2"));
    p->setRowStretch(6, 1);

    addField(s, 0, 0, 166, boundLineEdit(QStringLiteral("townLineEdit"), ClubTown));
    addField(s, 0, 1, 167, boundLineEdit(QStringLiteral("countyLineEdit"), ClubCounty));
    addField(s, 1, 0, 168, boundLineEdit(QStringLiteral("countryLineEdit"), ClubCountry));
    addField(s, 1, 1, 169, boundLineEdit(QStringLiteral("codeLineEdit"), ClubCode));
    addField(s, 2, 0, 170, boundTextArea(QStringLiteral("otherPlainTextEdit"), ClubOther));
    s->addWidget(phoneGroup(171, 172, ClubHomePhone), 2, 2, 1, 2);
    s->setRowStretch(3, 1);

    QVBoxLayout *commands = commandColumn({{181,
                                            "registerGroupBox",
                                            {{176, "resetPushButton", [this] { resetRegister(); }},
                                             {177, "gridPushButton", [this] { openGrid(); }},
                                             {178, "readPushButton", [this] { readRegister(); }}}},
                                           {182,
                                            "windowGroupBox",
                                            {{179, "wipePushButton", [this] { wipe(); }},
                                             {180, "closePushButton", [this] { hideWindow(); }}}}});
    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(tabs, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);
    finishTabOrder();
}

ChildWindow *createClubsWindow(AppState &state, MainWindow &main)
{
    return new ClubsWindow(state, main);
}

} // namespace arenor
