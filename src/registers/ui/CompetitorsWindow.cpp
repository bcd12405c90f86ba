#include "registers/ui/CompetitorsWindow.h"

#include "app/ui/MainWindow.h"
#include "exchange/ui/ImportDialog.h"
#include "registers/Competitors.h"
#include "registers/ui/RegisterWindows.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace arenor {

using namespace registers;

CompetitorsWindow::CompetitorsWindow(AppState &state, MainWindow &main)
    : RegisterWindowBase(WindowId::Competitors, state, main, schema::Table::Personer, 118, 119)
{
    setRegister({schema::initPersons,
                 readPersons,
                 RecordNumber::Start,
                 syncPersonCatalog,
                 personWipeFields(),
                 {PersonOther}});
    QLineEdit *startNo = boundLineEdit(QStringLiteral("startNumberLineEdit"), PersonStartNo);
    QLineEdit *mover =
        jumpBox(QStringLiteral("moverLineEdit"), [this] { return m_state.catalogs.personCount; });
    QHBoxLayout *top = numberRow(120, startNo, 121, mover);

    QGridLayout *p = nullptr;
    QGridLayout *s = nullptr;
    QTabWidget *tabs = twoTabs(118, p, s);
    addField(p, 0, 0, 122, boundLineEdit(QStringLiteral("firstNameLineEdit"), PersonFirstName));
    addField(p, 0, 1, 123, boundLineEdit(QStringLiteral("surnameLineEdit"), PersonSurname));
    addField(
        p, 1, 0, 124,
        bind(comboBox(QStringLiteral("clubComboBox"), [this] { return clubChoices(m_state); }), PersonClub));
    addField(p, 1, 1, 125,
             bind(comboBox(QStringLiteral("classComboBox"), [this] { return classChoices(m_state); }),
                  PersonClass));
    addField(p, 2, 0, 126, boundLineEdit(QStringLiteral("address1LineEdit"), PersonAddress1));
    QLineEdit *address2 = boundLineEdit(QStringLiteral("address2LineEdit"), PersonAddress2);
    p->addWidget(address2, 3, 1);
    m_captions.addName(address2, 126, QStringLiteral(" 2"));
    addField(p, 2, 1, 127, boundLineEdit(QStringLiteral("townLineEdit"), PersonTown));
    addField(p, 4, 0, 128, boundLineEdit(QStringLiteral("bornLineEdit"), PersonBorn));
    addField(p, 4, 1, 129, boundLineEdit(QStringLiteral("ageLineEdit"), PersonAge));
    p->setRowStretch(5, 1);

    addField(s, 0, 0, 130, boundLineEdit(QStringLiteral("countyLineEdit"), PersonCounty));
    addField(s, 0, 1, 131, boundLineEdit(QStringLiteral("countryLineEdit"), PersonCountry));
    addField(s, 1, 0, 132, boundLineEdit(QStringLiteral("codeLineEdit"), PersonCode));
    addField(s, 1, 1, 133, boundLineEdit(QStringLiteral("jobLineEdit"), PersonJob));
    RefillingComboBox *status = bind(comboBox(QStringLiteral("statusComboBox")), PersonStatus);
    status->addItems(statusChoices());
    addField(s, 2, 0, 134, status);
    RefillingComboBox *sex = bind(comboBox(QStringLiteral("sexComboBox")), PersonSex);
    sex->addItems(sexChoices());
    addField(s, 2, 1, 135, sex);
    addField(s, 3, 0, 136, boundTextArea(QStringLiteral("otherPlainTextEdit"), PersonOther));
    s->addWidget(phoneGroup(137, 138, PersonHomePhone), 3, 2, 1, 2);
    s->setRowStretch(4, 1);

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
        addToTabOrder(r);
        c->addWidget(r);
    }
    QLineEdit *code = boundLineEdit(QStringLiteral("contingentLineEdit"), PersonContingent);
    code->setMaximumWidth(60);
    m_captions.addName(code, 142);
    c->addWidget(code);
    c->addStretch(1);
    // idToggled, not idClicked, so a screen reader's toggle action chooses as a click does.
    connect(m_contingent, &QButtonGroup::idToggled, this, [this, code](int option, bool on) {
        if (on && !m_showing)
            code->setText(contingentCodeText(option));
    });
    connect(code, &QLineEdit::textChanged, this, &CompetitorsWindow::showContingent);

    QVBoxLayout *commands = commandColumn({{147,
                                            "registerGroupBox",
                                            {{149, "resetPushButton", [this] { resetRegister(); }},
                                             {150, "gridPushButton", [this] { openGrid(); }},
                                             {151, "readPushButton", [this] { readRegister(); }}}},
                                           {148,
                                            "windowGroupBox",
                                            {{152, "wipePushButton", [this] { wipe(); }},
                                             {153, "closePushButton", [this] { hideWindow(); }}}}});
    // Competitors and entries from a spreadsheet, as the Database menu's command does.
    auto *import = new QPushButton(this);
    import->setObjectName(QStringLiteral("importPushButton"));
    auto importCaption = [import, &state] {
        import->setText(exchange::exchangeText(exchange::ExText::ImportButton, state.texts.language()));
    };
    importCaption();
    connect(&state.notifier, &MeetNotifier::languageChanged, import, importCaption);
    connect(import, &QPushButton::clicked, this, [this, &state] { exchange::runImportCommand(state, this); });
    commands->addWidget(import);
    auto *left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(tabs, 1);
    left->addWidget(contingent);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(commands);
    finishTabOrder();
}

void CompetitorsWindow::showContingent(const QString &code)
{
    const QScopedValueRollback showing(m_showing, true);
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
