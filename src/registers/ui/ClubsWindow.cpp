#include "registers/ui/ClubsWindow.h"

#include "app/ui/MainWindow.h"
#include "registers/Clubs.h"
#include "registers/RegisterReaders.h"
#include "registers/ui/RegisterWindows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace arenor {

using namespace registers;

ClubsWindow::ClubsWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::Clubs, state, main, schema::Table::Klubber, 158, 159)
{
    setRegister(
        {schema::initClubs, readClubs, clubNumberProblem, syncClubCatalog, clubWipeFields(), {ClubOther}});
    QLineEdit *number = bind(lineEdit(QStringLiteral("clubNumberLineEdit")), ClubNumber);
    QLineEdit *mover =
        jumpBox(QStringLiteral("moverLineEdit"), [this] { return m_state.catalogs.clubCount; });
    auto *top = new QHBoxLayout;
    top->addWidget(label(185, number));
    top->addWidget(number);
    top->addSpacing(12);
    top->addWidget(label(160, mover));
    top->addWidget(mover);
    top->addSpacing(12);
    top->addWidget(navigator(), 1);

    auto field = [this](QGridLayout *grid, int row, int column, int caption, QWidget *widget) {
        grid->addWidget(label(caption, widget), row, column * 2);
        grid->addWidget(widget, row, column * 2 + 1);
    };
    auto text = [this](const char *name, int f) { return bind(lineEdit(QString::fromLatin1(name)), f); };

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabsTabWidget"));
    auto *primary = new QWidget(tabs);
    primary->setObjectName(QStringLiteral("primaryTab"));
    auto *p = new QGridLayout(primary);
    field(p, 0, 0, 161, text("clubNameLineEdit", ClubName));
    field(p, 1, 0, 162, text("schoolLineEdit", ClubSchool));
    field(p, 2, 0, 163, text("leaderLineEdit", ClubLeader));
    field(p, 3, 0, 164, text("coachLineEdit", ClubCoach));
    field(p, 4, 0, 165, text("address1LineEdit", ClubAddress1));
    QLineEdit *address2 = text("address2LineEdit", ClubAddress2);
    p->addWidget(address2, 5, 1);
    m_captions.addName(address2, 165, QStringLiteral(" 2"));
    p->setRowStretch(6, 1);
    tabs->addTab(primary, QString());

    auto *secondary = new QWidget(tabs);
    secondary->setObjectName(QStringLiteral("secondaryTab"));
    auto *s = new QGridLayout(secondary);
    field(s, 0, 0, 166, text("townLineEdit", ClubTown));
    field(s, 0, 1, 167, text("countyLineEdit", ClubCounty));
    field(s, 1, 0, 168, text("countryLineEdit", ClubCountry));
    field(s, 1, 1, 169, text("codeLineEdit", ClubCode));
    auto *other = bind(new QPlainTextEdit(this), ClubOther);
    other->setObjectName(QStringLiteral("otherPlainTextEdit"));
    other->setTabChangesFocus(true);
    s->addWidget(label(170, other), 2, 0, Qt::AlignTop);
    s->addWidget(other, 2, 1);
    QGroupBox *phones = groupBox(171, QStringLiteral("phonesGroupBox"));
    auto *ph = new QGridLayout(phones);
    field(ph, 0, 0, 172, text("homePhoneLineEdit", ClubHomePhone));
    field(ph, 1, 0, 173, text("workPhoneLineEdit", ClubWorkPhone));
    field(ph, 2, 0, 174, text("faxLineEdit", ClubFax));
    field(ph, 3, 0, 175, text("mobileLineEdit", ClubMobile));
    s->addWidget(phones, 2, 2, 1, 2);
    s->setRowStretch(3, 1);
    tabs->addTab(secondary, QString());
    m_captions.addTab(tabs, 0, 360);
    m_captions.addTab(tabs, 1, 361);
    m_captions.addName(tabs, 158);

    QGroupBox *reg = groupBox(181, QStringLiteral("registerGroupBox"));
    auto *r = new QVBoxLayout(reg);
    r->addWidget(button(176, QStringLiteral("resetPushButton"), [this] { resetRegister(); }));
    r->addWidget(button(177, QStringLiteral("gridPushButton"), [this] { openGrid(); }));
    r->addWidget(button(178, QStringLiteral("readPushButton"), [this] { readRegister(); }));
    QGroupBox *win = groupBox(182, QStringLiteral("windowGroupBox"));
    auto *w = new QVBoxLayout(win);
    w->addWidget(button(179, QStringLiteral("wipePushButton"), [this] { wipe(); }));
    w->addWidget(button(180, QStringLiteral("closePushButton"), [this] { hideWindow(); }));
    auto *commands = new QVBoxLayout;
    commands->addWidget(reg);
    commands->addWidget(win);
    commands->addStretch(1);

    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(tabs, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);
}

ChildWindow *createClubsWindow(AppState &state, MainWindow &main)
{
    return new ClubsWindow(state, main);
}

} // namespace arenor
