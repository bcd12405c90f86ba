#include "registers/ui/CompetitorsWindow.h"

#include "app/ui/MainWindow.h"
#include "registers/Competitors.h"
#include "registers/RegisterReaders.h"
#include "registers/ui/RegisterWindows.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace arenor {

using namespace registers;

CompetitorsWindow::CompetitorsWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::Competitors, state, main, schema::Table::Personer, 118, 119)
{
    setRegister({schema::initPersons,
                 readPersons,
                 startNumberProblem,
                 syncPersonCatalog,
                 personWipeFields(),
                 {PersonOther}});
    // Top: start number, jump box, data control.
    QLineEdit *startNo = bind(lineEdit(QStringLiteral("startNumberLineEdit")), PersonStartNo);
    QLineEdit *mover =
        jumpBox(QStringLiteral("moverLineEdit"), [this] { return m_state.catalogs.personCount; });
    auto *top = new QHBoxLayout;
    top->addWidget(label(120, startNo));
    top->addWidget(startNo);
    top->addSpacing(12);
    top->addWidget(label(121, mover));
    top->addWidget(mover);
    top->addSpacing(12);
    top->addWidget(navigator(), 1);

    // A text field of a tab: label and box side by side, in two columns of pairs.
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
    field(p, 0, 0, 122, text("firstNameLineEdit", PersonFirstName));
    field(p, 0, 1, 123, text("surnameLineEdit", PersonSurname));
    field(
        p, 1, 0, 124,
        bind(comboBox(QStringLiteral("clubComboBox"), [this] { return clubChoices(m_state); }), PersonClub));
    field(p, 1, 1, 125,
          bind(comboBox(QStringLiteral("classComboBox"), [this] { return classChoices(m_state); }),
               PersonClass));
    QLineEdit *address2 = text("address2LineEdit", PersonAddress2);
    field(p, 2, 0, 126, text("address1LineEdit", PersonAddress1));
    p->addWidget(address2, 3, 1);
    m_captions.addName(address2, 126, QStringLiteral(" 2"));
    field(p, 2, 1, 127, text("townLineEdit", PersonTown));
    field(p, 4, 0, 128, text("bornLineEdit", PersonBorn));
    field(p, 4, 1, 129, text("ageLineEdit", PersonAge));
    p->setRowStretch(5, 1);
    tabs->addTab(primary, QString());

    auto *secondary = new QWidget(tabs);
    secondary->setObjectName(QStringLiteral("secondaryTab"));
    auto *s = new QGridLayout(secondary);
    field(s, 0, 0, 130, text("countyLineEdit", PersonCounty));
    field(s, 0, 1, 131, text("countryLineEdit", PersonCountry));
    field(s, 1, 0, 132, text("codeLineEdit", PersonCode));
    field(s, 1, 1, 133, text("jobLineEdit", PersonJob));
    RefillingComboBox *status = bind(comboBox(QStringLiteral("statusComboBox")), PersonStatus);
    status->addItems(statusChoices());
    RefillingComboBox *sex = bind(comboBox(QStringLiteral("sexComboBox")), PersonSex);
    sex->addItems(sexChoices());
    field(s, 2, 0, 134, status);
    field(s, 2, 1, 135, sex);
    auto *other = bind(new QPlainTextEdit(this), PersonOther);
    other->setObjectName(QStringLiteral("otherPlainTextEdit"));
    other->setTabChangesFocus(true);
    QLabel *otherLabel = label(136, other);
    s->addWidget(otherLabel, 3, 0, Qt::AlignTop);
    s->addWidget(other, 3, 1);
    QGroupBox *phones = groupBox(137, QStringLiteral("phonesGroupBox"));
    auto *ph = new QGridLayout(phones);
    field(ph, 0, 0, 138, text("homePhoneLineEdit", PersonHomePhone));
    field(ph, 1, 0, 139, text("workPhoneLineEdit", PersonWorkPhone));
    field(ph, 2, 0, 140, text("faxLineEdit", PersonFax));
    field(ph, 3, 0, 141, text("mobileLineEdit", PersonMobile));
    s->addWidget(phones, 3, 2, 1, 2);
    s->setRowStretch(4, 1);
    tabs->addTab(secondary, QString());
    m_captions.addTab(tabs, 0, 360);
    m_captions.addTab(tabs, 1, 361);
    m_captions.addName(tabs, 118);

    // Below the tabs: the contingent buttons and the code box they write.
    QGroupBox *contingent = groupBox(142, QStringLiteral("contingentGroupBox"));
    auto *c = new QHBoxLayout(contingent);
    m_contingent = new QButtonGroup(this);
    static const char *const kOptionNames[4] = {"fullRadioButton", "threeQuartersRadioButton",
                                                "halfRadioButton", "quarterRadioButton"};
    for (int i = 0; i < 4; ++i) {
        auto *r = new QRadioButton(contingent);
        r->setObjectName(QString::fromLatin1(kOptionNames[i]));
        m_captions.add(r, 143 + i);
        m_contingent->addButton(r, i);
        c->addWidget(r);
    }
    QLineEdit *code = text("contingentLineEdit", PersonContingent);
    code->setMaximumWidth(60);
    m_captions.addName(code, 142);
    c->addWidget(code);
    c->addStretch(1);
    connect(m_contingent, &QButtonGroup::idClicked, this,
            [code](int option) { code->setText(contingentCodeText(option)); });
    connect(code, &QLineEdit::textChanged, this, &CompetitorsWindow::showContingent);

    // Right: the commands.
    QGroupBox *reg = groupBox(147, QStringLiteral("registerGroupBox"));
    auto *r = new QVBoxLayout(reg);
    r->addWidget(button(149, QStringLiteral("resetPushButton"), [this] { resetRegister(); }));
    r->addWidget(button(150, QStringLiteral("gridPushButton"), [this] { openGrid(); }));
    r->addWidget(button(151, QStringLiteral("readPushButton"), [this] { readRegister(); }));
    QGroupBox *win = groupBox(148, QStringLiteral("windowGroupBox"));
    auto *w = new QVBoxLayout(win);
    w->addWidget(button(152, QStringLiteral("wipePushButton"), [this] { wipe(); }));
    w->addWidget(button(153, QStringLiteral("closePushButton"), [this] { hideWindow(); }));
    auto *commands = new QVBoxLayout;
    commands->addWidget(reg);
    commands->addWidget(win);
    commands->addStretch(1);

    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(tabs, 1);
    left->addWidget(contingent);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);
}

void CompetitorsWindow::showContingent(const QString &code)
{
    const int option = contingentOption(code);
    if (option >= 0) {
        m_contingent->button(option)->setChecked(true);
        return;
    }
    // No code of a button: none is selected.
    m_contingent->setExclusive(false);
    for (QAbstractButton *b : m_contingent->buttons())
        b->setChecked(false);
    m_contingent->setExclusive(true);
}

ChildWindow *createCompetitorsWindow(AppState &state, MainWindow &main)
{
    return new CompetitorsWindow(state, main);
}

} // namespace arenor
