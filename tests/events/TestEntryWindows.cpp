// The entries and event setup windows wired to a meet, and the round selector following the
// current round.
#include "TestSupport.h"

#include "app/MainCommands.h"
#include "app/ui/MainWindow.h"
#include "db/Schema.h"

#include "base/TextFile.h"
#include "events/EventSetup.h"
#include "events/Rounds.h"
#include "events/ui/CombinedEventsWindow.h"
#include "events/ui/EventSetupWindow.h"
#include "events/ui/FieldCardWindow.h"
#include "events/ui/GridWindow.h"
#include "events/ui/ResultHandlingDialog.h"
#include "events/ui/SortDialog.h"
#include "events/ui/StartSetupDialog.h"
#include "registers/RegisterReaders.h"
#include "registers/SeedMarks.h"
#include "registers/ui/EntriesWindow.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <memory>

using namespace arenor;
using namespace arenor::test;

namespace {
// A meet database with one window bound to it, as after start-up; fill runs on the new
// database before the window is bound, read after.
template <typename Window> struct WindowMeet {
    TestMeet meet;
    AppState &state = meet.state;
    MainCommands commands{meet.state};
    MainWindow main{meet.state, commands};
    std::unique_ptr<Window> window;
    schema::Table table;

    WindowMeet(schema::Table shown, int persons, int relays, int clubs,
               const std::function<void(AppState &)> &fill = {},
               const std::function<void(AppState &)> &read = {})
        : table(shown)
    {
        meet.makeDatabase(persons, relays, clubs);
        if (fill)
            fill(state);
        window = std::make_unique<Window>(state, main);
        window->retranslate();
        state.bindDataControls();
        if (read)
            read(state);
        window->show();
        meet.prompt.clear();
    }
    template <typename T> T *child(const char *name)
    {
        T *c = window->template findChild<T *>(QString::fromLatin1(name));
        if (!c)
            qFatal("no %s", name);
        return c;
    }
    QString stored(int record, int field)
    {
        return storedText(state, schema::tableName(state, table), record, field);
    }
};
} // namespace

class TestEntryWindows : public QObject {
    Q_OBJECT
private slots:
    void entriesWindow()
    {
        WindowMeet<EntriesWindow> m(schema::Table::Ovelser, 10, 2, 2, {}, registers::readRegisters);
        EntriesWindow &w = *m.window;
        m.main.fillRoundSelector();
        MainCommands(m.state).selectRound(1);
        // The selector and the menu follow the round, whoever chose it.
        QCOMPARE(m.main.roundSelector()->currentIndex(), 1);
        QVERIFY(m.main.action(Command::Round2)->isChecked());
        QVERIFY(!m.main.action(Command::Round4)->isChecked());

        w.setListContent(registers::EntryListContent::Name);
        w.list()->setCurrentRow(2);
        QCOMPARE(w.shownRecord(), 15);
        QTest::mouseClick(w.eventBox(5), Qt::LeftButton, {}, QPoint(4, w.eventBox(5)->height() / 2));
        QVERIFY(m.state.entryMatrix.entered(1, 5, 3));
        registers::EntryRecord rec;
        QVERIFY(registers::readEntryRecord(m.state, 15, rec) && rec.entered[5]);
        // The seed mark of that entrant in the event just ticked, kept per round and shown again.
        QCOMPARE(w.seedEvent(), 5);
        w.seedMarkBox()->setText(QStringLiteral(" 10,85 "));
        w.seedMarkBox()->setModified(true);
        emit w.seedMarkBox()->editingFinished();
        QCOMPARE(registers::readSeedMarks(m.state.database, 1, 5).value(3).mark, QStringLiteral("10,85"));
        w.list()->setCurrentRow(1);
        QVERIFY(w.seedMarkBox()->text().isEmpty());
        w.list()->setCurrentRow(2);
        QCOMPARE(w.seedMarkBox()->text(), QStringLiteral("10,85"));
        w.list()->setCurrentRow(0);
        w.setListContent(registers::EntryListContent::RelayTeams);
        QCOMPARE(w.list()->count(), 2);
        QCOMPARE(w.shownRecord(), 23);

        // The group of lines 2, 5 and 9 in event 12.
        w.setListContent(registers::EntryListContent::NameAndClub);
        w.list()->clearSelection();
        for (int line : {1, 4, 8})
            w.list()->item(line)->setSelected(true);
        w.applyParticipation(12, true);
        for (int row = 1; row <= 12; ++row)
            QCOMPARE(m.state.entryMatrix.entered(1, 12, row), row == 2 || row == 5 || row == 9);

        // Locked at start: names hidden, resets disabled, the record boxes closed.
        QVERIFY(w.locked() && w.nameBox(6)->isHidden());
        QVERIFY(!m.child<QPushButton>("resetEntriesPushButton")->isEnabled());
        w.setLocked(false);
        QVERIFY(w.nameBox(6)->isVisible());
        const QString typed = QStringLiteral("Kule & \"B\"/ø");
        w.nameBox(6)->setText(typed);
        emit w.nameBox(6)->editingFinished();
        QCOMPARE(m.stored(1, 6), typed);
        w.setLocked(true);
        QCOMPARE(w.eventBox(6)->text(), QStringLiteral("Kule && \"B\"/ø"));
        QCOMPARE(m.state.eventNames[6], typed);

        // The entry jump box: nothing out of range moves; an empty box says so.
        w.setLocked(false);
        const int shown = w.shownRecord();
        for (const char *text : {"0", "49", "99999", "-3", "abc", "1e9"}) {
            w.entryMover()->setText(QString::fromLatin1(text));
            emit w.entryMover()->textEdited(w.entryMover()->text());
            QCOMPARE(w.shownRecord(), shown);
        }
        QVERIFY(m.meet.prompt.messageTexts().isEmpty());
        QTest::keyClick(w.entryMover(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w.entryMover(), Qt::Key_Delete);
        QCOMPARE(m.meet.prompt.lastMessage(), m.state.texts.message(9) + QStringLiteral("003"));

        // Opening the window applies the chosen option: a competitor registered while it was
        // hidden (automatic start list updating off) is listed under his name, not as "- -".
        w.hide();
        m.state.catalogs.persons[1].name = QStringLiteral("Berg Kari");
        w.show();
        QCOMPARE(w.list()->item(0)->text(), QStringLiteral("1,Berg Kari,-"));
    }

    void eventSetupWindow()
    {
        WindowMeet<EventSetupWindow> m(schema::Table::Oppsett, 4, 1, 1, {}, registers::readRegisters);
        EventSetupWindow &w = *m.window;
        m.state.options[OptSaveListSetups] = 1;
        m.state.options[OptAlwaysUseGrid] = 0;
        events::selectRound(m.state, 1);
        w.listCommand(0);
        QCOMPARE(m.meet.prompt.lastMessage(), m.state.texts.message(7));
        w.pickEvent(2);
        w.listCommand(1);
        QCOMPARE(m.meet.prompt.lastMessage(), m.state.texts.message(6));
        QVERIFY(m.state.database.exec("UPDATE \"Oppsett\" SET \"8\" = '7' WHERE rowid = 1531").ok());
        w.form().refresh();
        w.pickClass(10); // round 2, event 3, class 11: record 1440 + 80 + 11
        QCOMPARE(w.form().currentRow() + 1, 1531);
        QCOMPARE(w.helpColumns()->text(), QStringLiteral("5"));
        QCOMPARE(m.stored(1531, 8), QStringLiteral("5"));
        QVERIFY(w.category(1)->isChecked()); // events 1..12 are technical
        w.category(0)->click();
        QVERIFY(w.timeFormat(0)->isEnabled());
        w.category(1)->click();
        QVERIFY(!w.timeFormat(0)->isEnabled());
        QCOMPARE(m.stored(1531, 1), QStringLiteral("1"));
        for (const char *text : {"0", "5761"}) {
            w.mover()->setText(QString::fromLatin1(text));
            emit w.mover()->textEdited(w.mover()->text());
            QCOMPARE(w.form().currentRow() + 1, 1531);
        }
        m.state.texts.loadMessages(Language::English);
        w.listCommand(1); // no class list made yet
        QCOMPARE(m.meet.prompt.lastMessage(), m.state.texts.message(4));
    }

    // Only the record of the round, event and class picked is shown and edited, with its stored
    // options while "Save listsetups" is off; a click counts unstored; a category that holds no
    // option makes no grid; the jump box picks the record's event and class.
    void eventSetupFollowsThePick()
    {
        WindowMeet<EventSetupWindow> m(schema::Table::Oppsett, 4, 1, 1, {}, registers::readRegisters);
        EventSetupWindow &w = *m.window;
        AppState &s = m.state;
        s.options[OptSaveListSetups] = 0;
        const int run = events::setupRecordNumber(s.currentRound, 13, 11);
        const int technical = events::setupRecordNumber(s.currentRound, 3, 11);
        auto *time = m.child<QLineEdit>("startTimeLineEdit");
        QVERIFY(!time->isEnabled()); // no record picked to type into
        w.pickEvent(12);
        w.pickClass(10);
        QVERIFY(w.category(0)->isChecked() && w.timeFormat(0)->isChecked() && w.gridContext().run);
        w.pickEvent(2); // the class stays picked
        QCOMPARE(w.form().currentRow() + 1, technical);
        QVERIFY(w.category(1)->isChecked());
        time->setText(QStringLiteral("18.30"));
        emit time->editingFinished();
        QCOMPARE(m.stored(technical, 6) + m.stored(run, 6), QStringLiteral("18.3000.00"));
        w.category(0)->click();
        QVERIFY(w.gridContext().run && m.stored(technical, 1) == u"1");

        QVERIFY(
            s.database.exec(QStringLiteral("UPDATE \"Oppsett\" SET \"1\" = 'x' WHERE rowid = ?"), {technical})
                .ok());
        w.form().refresh();
        QVERIFY(!w.category(0)->isChecked() && !w.category(1)->isChecked() && !w.category(2)->isChecked());
        w.listCommand(0);
        QCOMPARE(m.meet.prompt.lastMessage(), QStringLiteral("Velg først: Øvelsetype"));
        QVERIFY(!m.main.findChild<GridWindow *>());
        w.category(1)->click();
        w.listCommand(0);
        auto *grid = m.main.findChild<GridWindow *>();
        QVERIFY(grid && grid->context().technical);
        grid->closeGrid();

        w.mover()->setText(QString::number(run));
        emit w.mover()->textEdited(w.mover()->text());
        QVERIFY(w.event() == 13 && w.cls() == 11);
    }

    // An organiser's road through one step list: the grid made from the entries, results
    // computed, times imported, the class list made and shown; the grid's commands by mode.
    void gridFromEventSetup()
    {
        WindowMeet<EventSetupWindow> m(schema::Table::Oppsett, 4, 1, 1, {}, registers::readRegisters);
        EventSetupWindow &w = *m.window;
        AppState &s = m.state;
        s.eventNames[3] = QStringLiteral("800m");
        s.catalogs.classes[11] = QStringLiteral("Menn");
        for (int p = 1; p <= 4; ++p) {
            s.catalogs.persons[size_t(p)] = {QString::number(p), QStringLiteral("N%1").arg(p), "K", "Menn",
                                             0};
            s.entryMatrix.set(s.currentRound, 3, p, p != 4);
        }
        w.rebuildEventList();
        w.pickEvent(2);
        w.pickClass(10);
        w.listType(3)->click();
        w.category(0)->click();
        w.timeFormat(1)->click();
        QSignalSpy announced(&s.notifier, &MeetNotifier::gridChanged);
        w.listCommand(0);
        auto *grid = m.main.findChild<GridWindow *>();
        QVERIFY(grid);
        QCOMPARE(announced.size(), 1);
        QCOMPARE(grid->heading(), QStringLiteral("800M MENN FINALE"));
        QCOMPARE(grid->view()->accessibleName(), grid->heading());
        QVERIFY(
            !grid->findChild<QPushButton *>(QStringLiteral("advancePushButton"))->isEnabled()); // no heats
        for (int b = 0; b < RegisterGrid::CommandCount; ++b) {
            QVERIFY(!grid->commandButton(b)->accessibleName().isEmpty());
            const bool on = b != RegisterGrid::Handle || grid->context().helpCount > 0;
            QCOMPARE(grid->commandButton(b)->isEnabled(), on);
        }
        db::RecordModel &g = grid->model(); // Øvpl,Stnr,Navn,Klubb,Resultat,Differanse,Ut,Inn
        QCOMPARE(g.rowCount(), 3);
        const QString in[] = {"1.05.10", "1.04.00", "1.06.00"};
        // A common start into the grid: every row gets the same out-time.
        StartSetupDialog *start = grid->openStartSetup();
        QVERIFY(!start->toFile()->isEnabled() && !start->toFile()->isChecked());
        QCOMPARE(start->startTime()->text(), QStringLiteral("00.00.00"));
        start->type(0)->setChecked(true);
        start->startTime()->setText(QStringLiteral("00.59.95"));
        emit start->confirmed();
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(g.text(r, 6), QStringLiteral("00.59.95"));
            g.setValue(r, 7, in[r]);
        }
        // Times registered for number 2 (out and in) replace what was typed.
        QVERIFY(QDir().mkpath(s.meetDir));
        QVERIFY(writeTextFile(s.meetFile("UtTider.txt"), {"===", "x", "===", "1-0001   0.59.00   2"}));
        QVERIFY(writeTextFile(s.meetFile("InnTider.txt"), {"===", "x", "===", "2-0001   1.03.00   2"}));
        QVERIFY(grid->importTimes());
        QCOMPARE(g.text(1, 6) + u' ' + g.text(1, 7), QStringLiteral("0.59.00 1.03.00"));
        QVERIFY(!readFile(s.meetFile("UtTider.txt")).contains("1-0001"));
        grid->commandButton(RegisterGrid::Results)->click();
        // Sorted by result (proposed: column 5, ascending for a run): places and differences
        // follow the order shown, the table keeps its own.
        SortDialog *sort = grid->openSort();
        QVERIFY(sort->column(4)->isChecked() && sort->direction(0)->isChecked());
        sort->findChild<QPushButton *>(QStringLiteral("sortPushButton"))->click();
        QCOMPARE(grid->tableRow(0), 1);
        grid->commandButton(RegisterGrid::Places)->click();
        grid->commandButton(RegisterGrid::Differences)->click();
        QStringList rows;
        for (int r = 0; r < 3; ++r)
            rows << g.text(r, 0) + u' ' + g.text(r, 4) + u' ' + g.text(r, 5);
        QCOMPARE(rows.join(u';'),
                 QStringLiteral("2 00.05.15 00.01.15;1 00.04.00 00.00.00;3 00.06.05 00.02.05"));

        QCOMPARE(grid->view()->model()->headerData(0, Qt::Vertical).toInt(), 1);
        QVERIFY(grid->makeList());
        QStringList listed; // the class list in the order shown
        for (const QString &line : readTextLines(s.meetFile(QStringLiteral("Kl-F0311.txt"))).mid(10, 3))
            listed << line.mid(10, 6).trimmed();
        QCOMPARE(listed.join(u' '), QStringLiteral("2 1 3"));
        QVERIFY(grid->showList());
        QCOMPARE(m.meet.editor.launches.size(), size_t(1));
        // Times, results, places and differences left the start list as it was; a club changes it.
        QCOMPARE(announced.size(), 1);
        QVERIFY(g.setValue(0, 3, QStringLiteral("K2")));
        QCOMPARE(announced.size(), 2);
        grid->closeGrid();
        // The event setup shows the grid's list; its own list from the entries replaces it only on OK.
        w.listCommand(1);
        QCOMPARE(m.meet.editor.launches.size(), size_t(2));
        m.meet.prompt.setNextAnswer(Answer::Cancel);
        w.listCommand(2);
        QCOMPARE(m.meet.prompt.lastMessage(), s.texts.message(8));
        QCOMPARE(m.meet.prompt.unexpected(), 0);
    }

    // "&Behandle" over a technical event's attempts: a wrong column number is told and changes
    // nothing; the best attempt reaches the grid.
    void resultHandlingFromGrid()
    {
        WindowMeet<EventSetupWindow> m(schema::Table::Oppsett, 4, 1, 1);
        events::GridContext context;
        context.helpCount = 3;
        const QString table = QStringLiteral("Klasse_Finale_Lengde_Menn");
        QList<db::FieldDef> fields;
        for (const events::GridColumn &c : events::gridColumnLayout(events::ListType::Standard, 3))
            fields << db::FieldDef{events::columnName(c, Language::Norwegian)};
        QVERIFY(m.state.database.createTable(table, fields));
        QVERIFY(m.state.database.insertRows(table, {{0, 1, "A", "K", "-", "7.10", "-", "6.95", "-"}}));
        GridWindow *grid =
            openEventGrid(m.state, m.main.windowArea(), nullptr, context, table, QStringLiteral("LENGDE"));
        QVERIFY(grid && grid->commandButton(RegisterGrid::Handle)->isEnabled());
        ResultHandlingDialog *d = grid->openHandling();
        const QList<QWidget *> controls = d->findChildren<QWidget *>();
        for (QWidget *c : controls)
            if (qobject_cast<QAbstractButton *>(c) || qobject_cast<QLineEdit *>(c))
                QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(c->objectName()));
        d->option(0)->setChecked(true);
        d->info(0)->setText(QStringLiteral("4"));
        QVERIFY(!d->confirm());
        QVERIFY(m.meet.prompt.lastMessage().contains(QStringLiteral("1 til 3")));
        d->option(5)->setChecked(true);
        QVERIFY(d->confirm());
        QCOMPARE(grid->model().text(0, 4), QStringLiteral("7.10"));
        grid->closeGrid();
    }

    // "&Forsøk" on a technical grid: attempts typed by the rules (a bad text told, nothing
    // stored), the finalists' rounds, a height card, and best marks and places into the grid.
    void fieldCardFromGrid()
    {
        WindowMeet<EventSetupWindow> m(schema::Table::Oppsett, 4, 1, 1);
        events::GridContext context;
        context.technical = true;
        context.selection.eventName = QStringLiteral("Lengde");
        const QString table = QStringLiteral("Klasse_Finale_Lengde_Menn");
        QList<db::FieldDef> fields;
        for (const events::GridColumn &c : events::gridColumnLayout(events::ListType::Standard, 0))
            fields << db::FieldDef{events::columnName(c, Language::Norwegian)};
        QVERIFY(m.state.database.createTable(table, fields));
        QVERIFY(m.state.database.insertRows(table, {{0, 1, "A", "K", "-", ""}, {0, 2, "B", "K", "-", ""}}));
        GridWindow *grid =
            openEventGrid(m.state, m.main.windowArea(), nullptr, context, table, QStringLiteral("LENGDE"));
        auto *button = grid->findChild<QPushButton *>(QStringLiteral("fieldCardPushButton"));
        QVERIFY(button && button->text() == QStringLiteral("&Forsøk"));
        FieldCardWindow *card = grid->openFieldCard();
        FieldCardModel &model = card->model();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.wind() && !model.vertical());
        QVERIFY(!model.setData(model.index(0, 2), QStringLiteral("7.35 m"), Qt::EditRole));
        QVERIFY(card->findChild<QLabel *>(QStringLiteral("messageLabel"))
                    ->text()
                    .contains(QStringLiteral("7,35")));
        QVERIFY(model.setData(model.index(0, 2), QStringLiteral("6,50"), Qt::EditRole));
        QVERIFY(model.setData(model.index(0, 8), QStringLiteral("+2,4"), Qt::EditRole));
        QVERIFY(model.setData(model.index(1, 3), QStringLiteral("X"), Qt::EditRole));
        QCOMPARE(model.data(model.index(0, 15), Qt::DisplayRole).toString(), QStringLiteral("+2.4w"));
        QVERIFY(card->saveToResults());
        QCOMPARE(grid->model().text(0, 4) + u' ' + grid->model().text(0, 0), QStringLiteral("6.50 1"));
        QCOMPARE(grid->model().text(1, 4), QStringLiteral("-"));

        card->findChild<QComboBox *>(QStringLiteral("kindComboBox"))->setCurrentIndex(1);
        QString error;
        QVERIFY(!model.setHeights(QStringLiteral("1.60 1.55"), {}, &error) && error.contains(u"1.55"));
        QVERIFY(model.setHeights(QStringLiteral("1.50 1,55"), {}, &error));
        QVERIFY(model.setData(model.index(0, 2), QStringLiteral("xo"), Qt::EditRole));
        QVERIFY(model.setData(model.index(1, 2), QStringLiteral("o"), Qt::EditRole));
        QVERIFY(!model.setData(model.index(1, 3), QStringLiteral("xx o"), Qt::EditRole));
        QVERIFY(model.setData(model.index(0, 3), QStringLiteral("o"), Qt::EditRole));
        QVERIFY(!model.setHeights(QStringLiteral("1.50"), {}, &error)); // would lose a typed height
        QVERIFY(card->saveToResults());
        QCOMPARE(grid->model().text(1, 4) + u' ' + grid->model().text(1, 0), QStringLiteral("1.50 2"));
        QVERIFY(card->printCard());
        QVERIFY(m.meet.editor.launches.back().file.endsWith(QStringLiteral("Feltkort_") + table + QStringLiteral(".txt")));
        // What is printed or saved as PDF is the card the editor shows.
        QCOMPARE(card->cardDocument().textLines(), readTextLines(m.meet.editor.launches.back().file));
        card->close();
        grid->closeGrid();
    }

    // A pentathlon bound to two of the meet's events: points from the grids with running
    // totals, a competitor without a mark scored 0 with a note, the setup kept in the meet,
    // and the list in the editor.
    void combinedEventsWindow()
    {
        WindowMeet<EventSetupWindow> m(schema::Table::Oppsett, 4, 1, 1);
        const QStringList results[2] = {{"8.50", "8.50", "-"}, {"1.70", "", "1.70"}};
        for (int e = 1; e <= 2; ++e) {
            const QString table =
                events::gridTableOf(m.state, events::listSelection(m.state, e, 1, QStringLiteral("_")));
            QList<db::FieldDef> fields;
            for (const events::GridColumn &c : events::gridColumnLayout(events::ListType::Standard, 0))
                fields << db::FieldDef{events::columnName(c, Language::Norwegian)};
            QVERIFY(m.state.database.createTable(table, fields));
            QList<QVariantList> rows;
            for (int r = 0; r < 3; ++r)
                rows << QVariantList{0, r + 1, QStringLiteral("P%1").arg(r + 1), "K", results[e - 1][r], ""};
            QVERIFY(m.state.database.insertRows(table, rows));
        }
        // The hurdles' times read in the event's time format: seconds and hundredths.
        QVERIFY(events::writeSetupField(m.state, events::setupRecordNumber(m.state.currentRound, 1, 1),
                                        events::SetupTimeFormat, QStringLiteral("2")));
        CombinedEventsWindow w(m.state);
        auto *preset = w.findChild<QComboBox *>(QStringLiteral("presetComboBox"));
        preset->setCurrentIndex(preset->findText(QStringLiteral("Pentathlon"), Qt::MatchStartsWith));
        w.findChild<QComboBox *>(QStringLiteral("classComboBox"))->setCurrentIndex(0);
        QVERIFY(w.newFromTable());
        // An event added and taken out again, as for a combined event the table lacks.
        QVERIFY(w.addEvent());
        QCOMPARE(w.eventsTable()->rowCount(), 6);
        w.eventsTable()->setCurrentCell(5, 0);
        QVERIFY(w.removeEvent());
        for (int r = 0; r < 2; ++r)
            qobject_cast<QComboBox *>(w.eventsTable()->cellWidget(r, 1))->setCurrentIndex(r + 1);
        QVERIFY(w.save());
        QList<events::CombinedSetup> stored;
        QVERIFY(events::loadCombinedSetups(m.state.database, stored));
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0].events, (QList<int>{1, 2, 0, 0, 0}));
        QVERIFY(w.computePoints());
        // Indoor 60 m hurdles 8.50 = 1017, high jump 1.70 = 855 (women).
        const QTableWidget *t = w.resultsTable();
        QCOMPARE(t->item(0, 1)->text(), QStringLiteral("1"));
        QCOMPARE(t->item(0, 4)->text(), QStringLiteral("1.70  855 (1872)"));
        QCOMPARE(t->item(1, 8)->text(), QStringLiteral("1017"));
        QVERIFY(t->item(2, 9)->text().contains(u"60mH"));
        QVERIFY(w.messageLabel()->text().contains(u"SP"));
        QVERIFY(w.makeList());
        QCOMPARE(m.meet.editor.launches.size(), size_t(1));
    }

    // A run typed in seconds while the event is in hours.minutes.seconds: the commands that read
    // results name those they cannot read and still do the rest; start times the format cannot
    // hold are named; a grid that cannot store imported times leaves the time file whole.
    void gridCommandsTellWhatTheyLeaveOut()
    {
        WindowMeet<EventSetupWindow> m(schema::Table::Oppsett, 4, 1, 1);
        events::GridContext context;
        context.type = events::ListType::Step;
        context.run = true;
        const QString table = QStringLiteral("Klasse_Finale_100m_Menn");
        QList<db::FieldDef> fields;
        for (const events::GridColumn &c : events::gridColumnLayout(context.type, 0))
            fields << db::FieldDef{events::columnName(c, Language::Norwegian)};
        QVERIFY(m.state.database.createTable(table, fields));
        QVERIFY(m.state.database.insertRows(table, {{0, 1, "A", "K", "11.98", "-", "-", "-"},
                                                    {0, 2, "B", "K", "12.50", "-", "-", "-"},
                                                    {0, 3, "C", "K", "-", "-", "-", "-"},
                                                    {0, 4, "D", "K", "12,70", "-", "-", "-"}}));
        GridWindow *grid =
            openEventGrid(m.state, m.main.windowArea(), nullptr, context, table, QStringLiteral("100M"));
        auto column = [grid](int field) {
            QStringList texts;
            for (int r = 0; r < grid->model().rowCount(); ++r)
                texts << grid->model().text(grid->tableRow(r), field);
            return texts.join(u';');
        };
        const QString unreadable = QStringLiteral("2 av resultatene kan ikke leses med tidsformatet «Timer, "
                                                  "minutt og sekund» og er regnet som uten resultat "
                                                  "(startnummer 1, 4).");
        grid->sortGrid(5, false);
        QVERIFY(grid->differences() && grid->places());
        const QStringList told = m.meet.prompt.messageTexts();
        QVERIFY(told.size() == 3 && told.filter(unreadable).size() == 3);
        QCOMPARE(column(1) + u' ' + column(0) + u' ' + column(5),
                 QStringLiteral("2;1;3;4 1;0;0;0 00.00.00;-;-;-"));

        StartSetupDialog *start = grid->openStartSetup();
        start->startTime()->setText(QStringLiteral("23.59.00"));
        emit start->confirmed();
        QCOMPARE(column(6), QStringLiteral("23.59.00;23.59.30;-;-"));
        QVERIFY(
            m.meet.prompt.lastMessage().startsWith(QStringLiteral("Ingen starttid for startnummer 3–4:")));

        QVERIFY(QDir().mkpath(m.state.meetDir));
        const QString out = m.state.meetFile(QStringLiteral("UtTider.txt"));
        QVERIFY(writeTextFile(out, {"===", "x", "===", "1-0001   0.59.00   3"}));
        const QByteArray before = readFile(out);
        QVERIFY(m.state.database.exec(QStringLiteral("CREATE TRIGGER t BEFORE UPDATE ON \"%1\" BEGIN "
                                                     "SELECT RAISE(ABORT, 'disk full'); END")
                                          .arg(table)));
        QVERIFY(!grid->importTimes());
        QCOMPARE(readFile(out), before);
        QVERIFY(m.state.database.exec(QStringLiteral("DROP TRIGGER t")));
        QVERIFY(grid->importTimes());
        QCOMPARE(column(6), QStringLiteral("23.59.00;23.59.30;0.59.00;-"));
        QVERIFY(!readFile(out).contains("0.59.00"));
        grid->closeGrid();
    }
};

QTEST_MAIN(TestEntryWindows)
#include "TestEntryWindows.moc"
