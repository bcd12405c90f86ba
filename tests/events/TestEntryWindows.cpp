// The entries and event setup windows wired to a meet, and the round selector following the
// current round.
#include "TestSupport.h"

#include "app/MainCommands.h"
#include "app/ui/MainWindow.h"
#include "db/Schema.h"

#include "events/Rounds.h"
#include "events/ui/EventSetupWindow.h"
#include "registers/RegisterReaders.h"
#include "registers/ui/EntriesWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
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
        if (fill) fill(state);
        window = std::make_unique<Window>(state, main);
        window->retranslate();
        state.bindDataControls();
        if (read) read(state);
        window->show();
        meet.prompt.clear();
    }
    template <typename T> T *child(const char *name)
    {
        T *c = window->template findChild<T *>(QString::fromLatin1(name));
        if (!c) qFatal("no %s", name);
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
        w.listCommand(0);
        QVERIFY(m.meet.prompt.lastMessage().contains(QStringLiteral("Cl-K0311 cannot be made yet")));
    }
};

QTEST_MAIN(TestEntryWindows)
#include "TestEntryWindows.moc"
