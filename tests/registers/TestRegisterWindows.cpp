// The competitor, club and class windows and the register grid, wired to a meet database:
// what an organiser's clicks and typing do to the tables, the catalogues and the other windows.
#include "TestSupport.h"

#include "app/MainCommands.h"
#include "app/ui/MainWindow.h"
#include "db/Schema.h"
#include "registers/Clubs.h"
#include "registers/Competitors.h"
#include "registers/RegisterReaders.h"
#include "registers/ui/ClassesWindow.h"
#include "registers/ui/ClubsWindow.h"
#include "registers/ui/CompetitorsWindow.h"
#include "registers/ui/RegisterGrid.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::registers;

namespace {

// A meet with the three windows bound to it, as after start-up.
struct Meet {
    TestMeet meet;
    AppState &state = meet.state;
    MainCommands commands{meet.state};
    MainWindow main{meet.state, commands};
    std::unique_ptr<CompetitorsWindow> competitors;
    std::unique_ptr<ClubsWindow> clubs;
    std::unique_ptr<ClassesWindow> classes;

    explicit Meet(bool testMode = true)
    {
        state.options[OptTestMode] = testMode;
        meet.makeDatabase(15, 2, 5);
        competitors = std::make_unique<CompetitorsWindow>(state, main);
        clubs = std::make_unique<ClubsWindow>(state, main);
        classes = std::make_unique<ClassesWindow>(state, main);
        for (RegisterWindowBase *w : windows())
            w->retranslate();
        state.bindDataControls();
        readRegisters(state);
        for (RegisterWindowBase *w : windows())
            w->show();
        meet.prompt.clear();
    }
    std::vector<RegisterWindowBase *> windows() { return {competitors.get(), clubs.get(), classes.get()}; }

    template <typename T = QLineEdit> T *child(QWidget *w, const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        if (!c) qFatal("no %s", name);
        return c;
    }
    QString stored(const char *table, int record, int field)
    {
        db::Recordset rs;
        if (!rs.open(state.database, QString::fromUtf8(table))) return QStringLiteral("<no table>");
        rs.moveTo(record - 1);
        return rs.text(field);
    }
    void click(QWidget *w, const char *button)
    {
        QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
    }
};

} // namespace

class TestRegisterWindows : public QObject {
    Q_OBJECT
private slots:
    void jumpMovesByTheOffset()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        QVERIFY(w.form().setCurrentRow(4));
        QLineEdit *mover = m.child(&w, "moverLineEdit");
        mover->setText(QStringLiteral("12"));
        QCOMPARE(w.form().currentRow(), 11);
        QCOMPARE(w.fieldText(PersonStartNo), QStringLiteral(" 12"));
        for (const char *ignored : {"0", "16", "99999", "abc", "-3"}) {
            mover->setText(QString::fromLatin1(ignored));
            QCOMPARE(w.form().currentRow(), 11);
        }
        // Typed key by key: "1" shows record 1, "14" then moves on to 14.
        mover->clear();
        QTest::keyClicks(mover, QStringLiteral("14"));
        QCOMPARE(w.fieldText(PersonStartNo), QStringLiteral(" 14"));
        // Clubs: one past the last club is ignored.
        m.clubs->form().first();
        m.child(m.clubs.get(), "moverLineEdit")->setText(QStringLiteral("6"));
        QCOMPARE(m.clubs->form().currentRow(), 0);
        m.child(m.clubs.get(), "moverLineEdit")->setText(QStringLiteral("5"));
        QCOMPARE(m.clubs->form().currentRow(), 4);
    }

    void contingentButtonsAndCode()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        QLineEdit *code = m.child(&w, "contingentLineEdit");
        QCOMPARE(code->text(), QStringLiteral("1"));
        QVERIFY(m.child<QRadioButton>(&w, "fullRadioButton")->isChecked());
        QTest::mouseClick(m.child<QRadioButton>(&w, "threeQuartersRadioButton"), Qt::LeftButton);
        QCOMPARE(code->text(), QStringLiteral(" 2"));
        code->setText(QStringLiteral(" 4"));
        QVERIFY(m.child<QRadioButton>(&w, "quarterRadioButton")->isChecked());
        QVERIFY(w.form().next());
        QCOMPARE(m.stored("Personer", 1, PersonContingent), QStringLiteral(" 4"));
        QVERIFY(m.child<QRadioButton>(&w, "fullRadioButton")->isChecked());
        code->setText(QStringLiteral("7"));
        for (QRadioButton *r : w.findChildren<QRadioButton *>())
            QVERIFY(!r->isChecked());
        QVERIFY(w.form().previous());
        QVERIFY(m.child<QRadioButton>(&w, "quarterRadioButton")->isChecked());
        QCOMPARE(m.state.catalogs.persons[1].contingentCode, qint16(4));
    }

    void wipeKeepsStartNumberAndCode()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        QVERIFY(w.form().setCurrentRow(2));
        m.child(&w, "contingentLineEdit")->setText(QStringLiteral(" 3"));
        m.click(&w, "wipePushButton");
        QCOMPARE(w.fieldText(PersonStartNo), QStringLiteral(" 3"));
        QCOMPARE(w.fieldText(PersonContingent), QStringLiteral(" 3"));
        for (int f : personWipeFields())
            QCOMPARE(w.fieldText(f), QStringLiteral("-"));
        QCOMPARE(m.child<QPlainTextEdit>(&w, "otherPlainTextEdit")->toPlainText(), QStringLiteral("-"));
        QCOMPARE(m.stored("Personer", 3, PersonFirstName), QStringLiteral("Forn3")); // not yet left
        QVERIFY(w.form().next());
        QCOMPARE(m.stored("Personer", 3, PersonFirstName), QStringLiteral("-"));
        QCOMPARE(m.stored("Personer", 3, PersonClub), QStringLiteral("-"));
        QCOMPARE(m.stored("Personer", 3, PersonContingent), QStringLiteral(" 3"));
        QCOMPARE(m.stored("Personer", 3, 22), QStringLiteral("Misc- 3 22")); // not shown, not wiped
        QCOMPARE(m.state.catalogs.persons[3].name, QStringLiteral("- -"));
    }

    void leavingARecordKeepsTheEntriesWindowInStep()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        int refreshed = 0;
        QObject::connect(&m.state.notifier, &MeetNotifier::entriesChanged, [&] {
            QVERIFY(!m.state.readingRegister);
            ++refreshed;
        });
        m.child(&w, "surnameLineEdit")->setText(QStringLiteral("Hansen"));
        QVERIFY(w.form().next());
        QCOMPARE(m.state.catalogs.persons[1].name, QStringLiteral("Hansen Forn1"));
        QCOMPARE(refreshed, 0); // automatic updating is off

        m.state.options[OptAutoUpdateStartList] = 1;
        m.child(&w, "surnameLineEdit")->setText(QStringLiteral("Olsen"));
        QVERIFY(w.form().next());
        QCOMPARE(m.state.catalogs.persons[2].name, QStringLiteral("Olsen Forn2"));
        QCOMPARE(refreshed, 1);

        // "Les" walks the whole register but refreshes the entries window once.
        refreshed = 0;
        m.click(&w, "readPushButton");
        QCOMPARE(refreshed, 1);
        QCOMPARE(w.form().currentRow(), 0);
        QCOMPARE(m.meet.prompt.asked().size(), size_t(0));
    }

    void readReportsTheMisnumberedThirdRecord()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        QVERIFY(w.form().setCurrentRow(2));
        m.child(&w, "startNumberLineEdit")->setText(QStringLiteral(" 4"));
        m.child(&w, "firstNameLineEdit")->setText(QStringLiteral("Tredje"));
        m.click(&w, "readPushButton");
        QCOMPARE(m.meet.prompt.messageTexts(), QStringList{m.state.texts.message(35)});
        QCOMPARE(m.state.catalogs.persons[4].name, QStringLiteral("Etter4 Forn4")); // the later record
        QCOMPARE(m.state.catalogs.persons[15].name, QStringLiteral("Etter15 Forn15"));
        QCOMPARE(m.state.catalogs.personCount, 15);
        QCOMPARE(w.form().currentRow(), 0);
    }

    void numberOutsideTheCatalogueIsNotTaken()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        const PersonSlot before = m.state.catalogs.persons[1];
        m.child(&w, "startNumberLineEdit")->setText(QStringLiteral("5000"));
        m.child(&w, "firstNameLineEdit")->setText(QStringLiteral("Ny"));
        QVERIFY(w.form().next());
        QCOMPARE(m.meet.prompt.asked().size(), size_t(1));
        QVERIFY(m.meet.prompt.lastMessage().contains(QStringLiteral("5000")));
        QCOMPARE(m.stored("Personer", 1, PersonStartNo), QStringLiteral(" 1"));
        QCOMPARE(m.stored("Personer", 1, PersonFirstName), QStringLiteral("Ny")); // the rest is kept
        QCOMPARE(m.state.catalogs.persons[1].name, QStringLiteral("Etter1 Ny"));
        QCOMPARE(before.startNo, m.state.catalogs.persons[1].startNo);

        m.clubs->form().setCurrentRow(1);
        m.child(m.clubs.get(), "clubNumberLineEdit")->setText(QStringLiteral("51"));
        QVERIFY(m.clubs->form().next());
        QCOMPARE(m.stored("Klubber", 2, ClubNumber), QStringLiteral(" 2"));
        QVERIFY(m.meet.prompt.lastMessage().contains(QStringLiteral("\"51\"")));
    }

    void singleLineFieldsLoseTheirLineBreaks()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        m.child(&w, "firstNameLineEdit")->setText(QStringLiteral("Per\r\nOla"));
        m.child<QPlainTextEdit>(&w, "otherPlainTextEdit")->setPlainText(QStringLiteral("linje 1\nlinje 2"));
        m.child<QComboBox>(&w, "clubComboBox")->setEditText(QStringLiteral("Ås\nIL"));
        m.child(&w, "surnameLineEdit")->setText(QString(10000, u'Ø'));
        QVERIFY(w.form().next());
        QCOMPARE(m.stored("Personer", 1, PersonSurname), QString(10000, u'Ø'));
        QCOMPARE(m.stored("Personer", 1, PersonFirstName), QStringLiteral("Per Ola"));
        QCOMPARE(m.stored("Personer", 1, PersonOther), QStringLiteral("linje 1\nlinje 2"));
        QCOMPARE(m.stored("Personer", 1, PersonClub), QStringLiteral("Ås IL"));
    }

    void renamedClubIsOfferedToCompetitors()
    {
        Meet m;
        ClubsWindow &c = *m.clubs;
        QVERIFY(c.form().setCurrentRow(3));
        QCOMPARE(c.fieldText(ClubNumber), QStringLiteral(" 4"));
        m.child(&c, "clubNameLineEdit")->setText(QStringLiteral("Ås IL"));
        QVERIFY(c.form().next());
        QCOMPARE(m.state.catalogs.clubs[4], QStringLiteral("Ås IL"));
        QCOMPARE(m.stored("Personer", 1, PersonClub),
                 QStringLiteral("Klubb 1")); // competitors keep their text

        auto *club = m.child<RefillingComboBox>(m.competitors.get(), "clubComboBox");
        club->showPopup();
        QCOMPARE(club->count(), 5);
        QCOMPARE(club->itemText(3), QStringLiteral("Ås IL"));
        QCOMPARE(club->currentText(), QStringLiteral("Klubb 1")); // the shown text stays
        club->hidePopup();
    }

    void classNamesReachTheListsAtTheNextUpdate()
    {
        Meet m;
        ClassesWindow &w = *m.classes;
        QListWidget *list = w.list();
        QCOMPARE(list->count(), 40);
        list->setCurrentRow(2);
        QCOMPARE(w.form().currentRow(), 2);
        QCOMPARE(w.fieldText(0), QStringLiteral(" 3"));
        m.child(&w, "classNameLineEdit")->setText(QStringLiteral("Mini"));
        m.click(&w, "confirmPushButton");
        QCOMPARE(m.stored("Klasser", 3, 1), QStringLiteral("Mini"));
        QCOMPARE(list->item(2)->text(), QStringLiteral("_")); // not before the list is updated
        for (int i = 0; i < 3; ++i)
            m.click(&w, "updateListPushButton");
        QCOMPARE(list->count(), 40);
        QCOMPARE(list->item(2)->text(), QStringLiteral("Mini"));
        QCOMPARE(m.state.catalogs.classes[3], QStringLiteral("Mini"));
        QCOMPARE(list->currentRow(), 2);
        auto *cls = m.child<RefillingComboBox>(m.competitors.get(), "classComboBox");
        cls->refill();
        QCOMPARE(cls->count(), 40);
        QCOMPARE(cls->itemText(2), QStringLiteral("Mini"));
    }

    void resetAsksAndRebuilds()
    {
        Meet m;
        ClassesWindow &w = *m.classes;
        m.child(&w, "classNameLineEdit")->setText(QStringLiteral("Egen"));
        m.meet.prompt.setNextAnswer(Answer::No);
        m.click(&w, "resetPushButton");
        QCOMPARE(m.stored("Klasser", 1, 1), QStringLiteral("Egen")); // No keeps the table, edits included
        m.meet.prompt.setNextAnswer(Answer::Yes);
        m.click(&w, "resetPushButton");
        QCOMPARE(m.stored("Klasser", 1, 1), m.state.texts.message(201));
        QCOMPARE(w.fieldText(1), m.state.texts.message(201));
        QCOMPARE(w.list()->item(0)->text(), m.state.texts.message(201));

        m.meet.prompt.setNextAnswer(Answer::Yes);
        m.click(m.competitors.get(), "resetPushButton");
        QCOMPARE(m.state.database.recordCount(QStringLiteral("Personer")), 15);
        QCOMPARE(m.competitors->fieldText(PersonStartNo), QStringLiteral(" 1"));
        QCOMPARE(m.meet.prompt.pendingAnswers(), 0);
    }

    void gridEditsTheRegisterInRegisterMode()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        m.child(&w, "surnameLineEdit")->setText(QStringLiteral("Lagret"));
        m.click(&w, "gridPushButton");
        auto *grid = m.main.findChild<RegisterGrid *>();
        QVERIFY(grid);
        QVERIFY(grid->isVisible());
        QCOMPARE(grid->windowModality(), Qt::ApplicationModal);
        QVERIFY(m.state.registerGrid);
        QCOMPARE(grid->table(), QStringLiteral("Personer"));
        QCOMPARE(grid->navigator()->caption(), QStringLiteral("Personer"));
        QCOMPARE(grid->view()->accessibleName(), QStringLiteral("Personer"));
        for (int i = 0; i < RegisterGrid::CommandCount; ++i)
            QCOMPARE(grid->commandButton(i)->isEnabled(), i == RegisterGrid::Close);
        QCOMPARE(grid->commandButton(RegisterGrid::MakeList)->text(), QStringLiteral("&Lage"));
        QCOMPARE(grid->model().rowCount(), 15);
        QCOMPARE(grid->model().text(0, PersonSurname), QStringLiteral("Lagret")); // saved before

        // An edit typed into a cell and still open when the grid closes is written.
        QTableView *view = grid->view();
        const QModelIndex cell = grid->model().index(2, PersonSurname);
        view->setCurrentIndex(cell);
        view->edit(cell);
        auto *editor = view->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(QStringLiteral("Rutenett\nNavn"));
        grid->model().setData(grid->model().index(1, PersonStartNo), QStringLiteral(" 3")); // a bad index
        QTest::mouseClick(grid->commandButton(RegisterGrid::Close), Qt::LeftButton);
        QVERIFY(!m.state.registerGrid);
        QCOMPARE(m.stored("Personer", 3, PersonSurname), QStringLiteral("Rutenett Navn"));
        // Closing re-reads: the form, the catalogue, and the check of the numbers.
        QCOMPARE(m.state.catalogs.persons[3].name, QStringLiteral("Rutenett Navn Forn3"));
        QCOMPARE(m.meet.prompt.messageTexts(), QStringList{m.state.texts.message(35)});
        QVERIFY(w.form().setCurrentRow(2));
        QCOMPARE(w.fieldText(PersonSurname), QStringLiteral("Rutenett Navn"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!m.main.findChild<RegisterGrid *>());

        // Clubs open the same grid over their own table; closing without a change reads nothing.
        m.meet.prompt.clear();
        m.click(m.clubs.get(), "gridPushButton");
        grid = m.main.findChild<RegisterGrid *>();
        QVERIFY(grid);
        QCOMPARE(grid->navigator()->caption(), QStringLiteral("Klubber"));
        QVERIFY(!grid->commandButton(RegisterGrid::Differences)->isEnabled());
        grid->close();
        QVERIFY(!m.state.registerGrid);
        QCOMPARE(m.meet.prompt.asked().size(), size_t(0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void aRecordThatCannotBeWrittenStaysShown()
    {
        Meet m;
        CompetitorsWindow &w = *m.competitors;
        QVERIFY(m.state.database.dropTable(QStringLiteral("Personer")).ok());
        m.child(&w, "surnameLineEdit")->setText(QStringLiteral("Tapt?"));
        QVERIFY(!w.form().next());
        QCOMPARE(w.form().currentRow(), 0);
        QCOMPARE(w.fieldText(PersonSurname), QStringLiteral("Tapt?"));
        QVERIFY(m.meet.prompt.lastMessage().startsWith(m.state.texts.message(9)));
    }

    void captionsFollowTheLanguage()
    {
        Meet m;
        QCOMPARE(m.competitors->windowTitle(), QStringLiteral("Deltakere"));
        QCOMPARE(m.competitors->navigator()->caption(), QStringLiteral("Personer"));
        QCOMPARE(m.child<QLabel>(m.competitors.get(), "startNumberLabel")->text(),
                 QStringLiteral("&Startnummmer"));
        QCOMPARE(m.child<QLabel>(m.competitors.get(), "startNumberLabel")->buddy(),
                 m.child(m.competitors.get(), "startNumberLineEdit"));
        QCOMPARE(m.child(m.competitors.get(), "firstNameLineEdit")->accessibleName(),
                 QStringLiteral("Fornavn"));
        QCOMPARE(m.child<QPushButton>(m.clubs.get(), "closePushButton")->text(), QStringLiteral("&Lukke"));
        m.state.texts.load(Language::English);
        for (RegisterWindowBase *w : m.windows())
            w->retranslate();
        QCOMPARE(m.competitors->windowTitle(), QStringLiteral("Competitors"));
        QCOMPARE(m.child<QLabel>(m.competitors.get(), "firstNameLabel")->text(),
                 QStringLiteral(" &Firstname"));
        QCOMPARE(m.clubs->windowTitle(), QStringLiteral("Clubs"));
        QCOMPARE(m.child<QLabel>(m.clubs.get(), "clubNumberLabel")->text(), QStringLiteral(" &Club number"));
        QCOMPARE(m.classes->windowTitle(), QStringLiteral("Classes"));
        QCOMPARE(m.child<QPushButton>(m.classes.get(), "updateListPushButton")->text(),
                 QStringLiteral("&Update list"));
        QCOMPARE(m.child<QLabel>(m.classes.get(), "classNameLabel")->text(), QStringLiteral("&Edit field"));
    }

    void unboundWindowsShowNothing()
    {
        Meet m;
        m.state.unbindDataControls();
        QCOMPARE(m.competitors->fieldText(PersonSurname), QString());
        QCOMPARE(m.competitors->form().recordCount(), 0);
        m.click(m.competitors.get(), "readPushButton");
        m.click(m.competitors.get(), "gridPushButton");
        QVERIFY(!m.main.findChild<RegisterGrid *>());
        QCOMPARE(m.meet.prompt.asked().size(), size_t(0));
        QVERIFY(m.state.bindDataControls().ok());
        QCOMPARE(m.competitors->fieldText(PersonSurname), QStringLiteral("Etter1"));
    }
};

QTEST_MAIN(TestRegisterWindows)
#include "TestRegisterWindows.moc"
