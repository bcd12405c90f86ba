// The relay team window wired to a meet database: what an organiser's picking, typing and
// clicking do to Stafettlag, the relay catalogue, the list file and the other windows.
#include "TestRelayPointsMeet.h"

#include "base/Convert.h"
#include "app/ui/MainWindow.h"
#include "registers/RegisterReaders.h"
#include "registers/Relay.h"
#include "registers/RelayList.h"
#include "registers/ui/RegisterGrid.h"
#include "registers/ui/RelayWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::registers;

namespace {

// The competitors of two clubs, one of them unnamed, as the relay window picks from them.
void fillClubs(AppState &state)
{
    const QString persons = schema::tableName(state, schema::Table::Personer);
    const QString clubs = schema::tableName(state, schema::Table::Klubber);
    auto person = [&](int no, const char *first, const char *last, const char *club, const char *cls) {
        QVERIFY(state.database
                    .exec("UPDATE " + db::quoteIdentifier(persons) +
                              " SET \"1\" = ?, \"2\" = ?, \"3\" = ?, \"4\" = ? WHERE rowid = ?",
                          {QString::fromUtf8(first), QString::fromUtf8(last), QString::fromUtf8(club),
                           QString::fromUtf8(cls), no})
                    .ok());
    };
    person(1, "Per", "Hansen", "IL Tyrving", "Junior");
    person(2, "Ola", "Berg", "IL Tyrving", "Junior");
    person(3, "Kari", "Dahl", "IL Tyrving", "Senior");
    person(4, "Åse", "Ørn", "Ask IF", "Junior");
    person(5, "-", "-", "IL Tyrving", "Junior"); // unnamed: never offered
    person(6, "Eva", "Lie", "IL Tyrving", "Junior");
    QVERIFY(state.database
                .exec("UPDATE " + db::quoteIdentifier(clubs) + " SET \"1\" = 'IL Tyrving' WHERE rowid = 1")
                .ok());
    QVERIFY(
        state.database.exec("UPDATE " + db::quoteIdentifier(clubs) + " SET \"1\" = 'Ask IF' WHERE rowid = 2")
            .ok());
}

struct Meet : WindowMeet<RelayWindow> {
    Meet() : WindowMeet(schema::Table::Stafettlag, 8, 3, 2, fillClubs, readRegisters) {}

    template <typename T = RefillingComboBox> T *child(const char *name)
    {
        return WindowMeet::child<T>(name);
    }
    QStringList items(const char *combo)
    {
        RefillingComboBox *c = child(combo);
        c->showPopup(); // the list is built as it drops down
        c->hidePopup();
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
};

} // namespace

class TestRelayWindow : public QObject {
    Q_OBJECT
private slots:
    void picksClubThenClassThenRunners()
    {
        Meet m;
        RelayWindow &w = *m.window;
        QCOMPARE(w.fieldText(RelayNumber), QStringLiteral(" 1"));
        QCOMPARE(m.items("clubComboBox"), QStringList({"IL Tyrving", "Ask IF"}));
        // Before a club is chosen the box reads "-", and no named competitor lacks a club.
        QCOMPARE(m.items("classComboBox"), QStringList());
        m.child("clubComboBox")->setEditText("IL Tyrving");
        QCOMPARE(m.items("classComboBox"), QStringList({"Junior", "Senior"}));
        QCOMPARE(m.child("clubComboBox")->currentText(), QStringLiteral("IL Tyrving")); // the text stays
        m.child("classComboBox")->setEditText("Junior");
        const QStringList runners{" 1,Hansen Per", " 2,Berg Ola", " 6,Lie Eva"};
        for (const char *r : {"runner1ComboBox", "runner2ComboBox", "runner3ComboBox", "runner4ComboBox"})
            QCOMPARE(m.items(r), runners);
        // Choosing a line stores the line.
        RefillingComboBox *first = m.child("runner1ComboBox");
        first->setCurrentIndex(1);
        QCOMPARE(first->currentText(), QStringLiteral(" 2,Berg Ola"));
        // Another club: its own classes and runners, with Norwegian letters as they are.
        m.child("clubComboBox")->setEditText(" Ask IF ");
        QCOMPARE(m.items("classComboBox"), QStringList({"Junior"}));
        QCOMPARE(m.items("runner2ComboBox"), QStringList({" 4,Ørn Åse"}));
        QCOMPARE(m.child("runner1ComboBox")->currentText(), QStringLiteral(" 2,Berg Ola")); // kept as chosen
    }

    void leavingWritesTheTableAndTheCatalogue()
    {
        Meet m;
        RelayWindow &w = *m.window;
        int refreshed = 0;
        QObject::connect(&m.state.notifier, &MeetNotifier::entriesChanged, [&] { ++refreshed; });
        m.state.options[OptAutoUpdateStartList] = 1;
        const QString longName = QString(10000, u'Ø');
        w.setFieldText(RelayClub, "IL \"Tyrving\"; 1");
        w.setFieldText(RelayClass, "Junior");
        w.setFieldText(RelayRunner1, " 1,Hansen Per");
        w.setFieldText(RelayRunner1 + 1, longName);
        w.setFieldText(RelayRunner1 + 2, "");
        QCOMPARE(m.stored(1, RelayClub), QStringLiteral("-")); // not yet left
        QTest::mouseClick(w.navigator()->button(2), Qt::LeftButton);
        QCOMPARE(w.fieldText(RelayNumber), QStringLiteral(" 2"));
        QCOMPARE(m.stored(1, RelayClub), QStringLiteral("IL \"Tyrving\"; 1"));
        QCOMPARE(m.stored(1, RelayRunner1 + 1), longName);
        QCOMPARE(m.stored(1, RelayRunner1 + 2), QString());
        const RelaySlot &team = m.state.catalogs.relays[1];
        QCOMPARE(team.club, QStringLiteral("IL \"Tyrving\"; 1"));
        QCOMPARE(team.cls, QStringLiteral("Junior"));
        QCOMPARE(team.runner[0], QStringLiteral(" 1,Hansen Per"));
        QCOMPARE(team.runner[1], longName);
        QCOMPARE(refreshed, 1);
        QCOMPARE(m.state.database.recordCount("Stafettlag"), 3);
    }

    void numberOutsideTheCatalogueIsNotTaken()
    {
        Meet m;
        RelayWindow &w = *m.window;
        const auto before = m.state.catalogs.relays;
        m.child<QLineEdit>("relayNumberLineEdit")->setText("77");
        w.setFieldText(RelayClub, "Ask IF");
        QVERIFY(w.form().next());
        QCOMPARE(m.meet.prompt.asked().size(), size_t(1));
        QVERIFY(m.meet.prompt.lastMessage().contains("\"77\""));
        QCOMPARE(m.stored(1, RelayNumber), QStringLiteral(" 1"));
        QCOMPARE(m.stored(1, RelayClub), QStringLiteral("Ask IF")); // the rest of the record is kept
        QCOMPARE(m.state.catalogs.relays[1].club, QStringLiteral("Ask IF"));
        for (int k = 2; k <= kMaxRelays; ++k)
            QCOMPARE(m.state.catalogs.relays[size_t(k)].club, before[size_t(k)].club);

        // A number inside the catalogue is taken as typed; "Les" then reports the misnumbering.
        m.meet.prompt.clear();
        m.child<QLineEdit>("relayNumberLineEdit")->setText("3");
        w.setFieldText(RelayClub, "Flyttet");
        QVERIFY(w.form().previous());
        QCOMPARE(m.stored(2, RelayNumber), QStringLiteral("3"));
        QCOMPARE(m.state.catalogs.relays[3].club, QStringLiteral("Flyttet"));
        m.click("readPushButton");
        QCOMPARE(m.meet.prompt.messageTexts(), QStringList{m.state.texts.message(35)});
        QCOMPARE(m.state.catalogs.relays[3].club, QStringLiteral("-")); // record 3 read after record 2
        QCOMPARE(m.state.catalogs.relayCount, 3);
        QCOMPARE(w.form().currentRow(), 0);
    }

    void jumpBoxShowsTheTeamTyped()
    {
        Meet m;
        RelayWindow &w = *m.window;
        QLineEdit *mover = m.child<QLineEdit>("moverLineEdit");
        w.setFieldText(RelayClub, "Ask IF");
        mover->setText("3");
        QCOMPARE(w.fieldText(RelayNumber), QStringLiteral(" 3"));
        QCOMPARE(m.state.catalogs.relays[1].club, QStringLiteral("Ask IF")); // left on the way
        for (const char *ignored : {"0", "4", "99999", "abc", "-1", ""}) {
            mover->setText(QString::fromLatin1(ignored));
            QCOMPARE(w.form().currentRow(), 2);
        }
        mover->setText("1");
        QCOMPARE(w.form().currentRow(), 0);
    }

    void wipeClearsAllButTheNumber()
    {
        Meet m;
        RelayWindow &w = *m.window;
        for (int f = RelayClub; f <= RelayRunner1 + 3; ++f)
            w.setFieldText(f, "x");
        QVERIFY(w.form().next());
        QVERIFY(w.form().previous());
        m.click("wipePushButton");
        QCOMPARE(w.fieldText(RelayNumber), QStringLiteral(" 1"));
        for (int f = RelayClub; f <= RelayRunner1 + 3; ++f)
            QCOMPARE(w.fieldText(f), QStringLiteral("-"));
        QCOMPARE(m.stored(1, RelayClub), QStringLiteral("x")); // written when left
        QVERIFY(w.form().next());
        QCOMPARE(m.stored(1, RelayClub), QStringLiteral("-"));
        QCOMPARE(m.stored(1, RelayRunner1 + 3), QStringLiteral("-"));
    }

    void makeAndShowTheList()
    {
        Meet m;
        RelayWindow &w = *m.window;
        m.click("showListPushButton");
        QCOMPARE(m.meet.prompt.messageTexts(), QStringList{m.state.texts.message(4)});
        QVERIFY(m.meet.editor.launches.empty());

        // "Lag" takes the team being edited, without leaving it first.
        w.setFieldText(RelayClub, "IL Tyrving");
        w.setFieldText(RelayClass, "Junior");
        w.setFieldText(RelayRunner1, " 1,Hansen Per");
        m.click("makeListPushButton");
        const QString path = m.state.meetDir + "St-lag.txt";
        const QByteArray list = readFile(path);
        QVERIFY(list.startsWith("\r\n 1, IL Tyrving, Junior\r\n"));
        QVERIFY(list.contains(":  1,Hansen Per"));
        QCOMPARE(list.count(" -, -\r\n"), 0); // teams without a club are left out
        QCOMPARE(m.stored(1, RelayClub), QStringLiteral("IL Tyrving"));

        m.meet.prompt.clear();
        m.state.options[OptMaximiseEditor] = true;
        m.click("showListPushButton");
        QCOMPARE(m.meet.prompt.asked().size(), size_t(0));
        QCOMPARE(m.meet.editor.launches.size(), size_t(1));
        QCOMPARE(m.meet.editor.launches[0].file, path);
        QVERIFY(m.meet.editor.launches[0].maximised);
    }

    void resetRebuildsTheTableAfterAsking()
    {
        Meet m;
        RelayWindow &w = *m.window;
        w.setFieldText(RelayClub, "IL Tyrving");
        QVERIFY(w.form().next());
        m.meet.prompt.setNextAnswer(Answer::No);
        m.click("resetPushButton");
        QCOMPARE(m.stored(1, RelayClub), QStringLiteral("IL Tyrving"));
        m.meet.prompt.setNextAnswer(Answer::Yes);
        m.click("resetPushButton");
        QCOMPARE(m.meet.prompt.messageTexts().size(), 2);
        QVERIFY(m.meet.prompt.messageTexts()[1].startsWith("Stafettlag eksisterer."));
        QCOMPARE(m.stored(1, RelayClub), QStringLiteral("-"));
        QCOMPARE(m.state.catalogs.relays[1].club, QStringLiteral("-"));
        QCOMPARE(w.fieldText(RelayClub), QStringLiteral("-"));
        QCOMPARE(m.state.database.recordCount("Stafettlag"), 3);
    }

    void gridOpensOverTheRelayTable()
    {
        Meet m;
        RelayWindow &w = *m.window;
        w.setFieldText(RelayClub, "Lagret");
        m.click("gridPushButton");
        auto *grid = m.main.findChild<RegisterGrid *>();
        QVERIFY(grid);
        QVERIFY(m.state.registerGrid);
        QCOMPARE(grid->table(), QStringLiteral("Stafettlag"));
        QCOMPARE(grid->model().text(0, RelayClub), QStringLiteral("Lagret"));
        QVERIFY(grid->model().setData(grid->model().index(2, RelayClub), "Fra grid"));
        grid->closeGrid();
        QVERIFY(!m.state.registerGrid);
        QCOMPARE(m.state.catalogs.relays[3].club, QStringLiteral("Fra grid"));
        QVERIFY(w.form().last());
        QCOMPARE(w.fieldText(RelayClub), QStringLiteral("Fra grid"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void everyControlIsLabelledAndTheNumberComesFirst()
    {
        Meet m;
        RelayWindow &w = *m.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Stafettlag"));
        QCOMPARE(w.navigator()->caption(), QStringLiteral("Stafett"));
        for (QLabel *l : w.findChildren<QLabel *>()) {
            if (l->objectName() == "navigatorCaptionLabel") continue;
            QVERIFY2(l->buddy(), qPrintable(l->objectName()));
            QVERIFY(!l->buddy()->accessibleName().isEmpty());
        }
        QCOMPARE(m.child("runner3ComboBox")->accessibleName(), QStringLiteral("Person 3"));
        QCOMPARE(m.child<QLineEdit>("relayNumberLineEdit")->accessibleName(),
                 QStringLiteral("Stafettlag nummer"));
        QStringList buttons;
        for (QPushButton *b : w.findChildren<QPushButton *>())
            buttons << b->text();
        QCOMPARE(buttons, QStringList({"&Resett", "&Les", "&Grid", "&Lag", "&Se på", "&Visk ut", "&Lukk"}));
        // Tab runs number, jump box, club, class, runners, the commands, then the arrows.
        QWidget *wdg = m.child<QLineEdit>("relayNumberLineEdit");
        QStringList order;
        for (int i = 0; i < 60 && order.size() < 19; ++i, wdg = wdg->nextInFocusChain())
            if ((wdg->focusPolicy() & Qt::TabFocus) && !wdg->objectName().isEmpty())
                order << wdg->objectName();
        QCOMPARE(order,
                 QStringList({"relayNumberLineEdit", "moverLineEdit", "clubComboBox", "classComboBox",
                              "runner1ComboBox", "runner2ComboBox", "runner3ComboBox", "runner4ComboBox",
                              "resetPushButton", "readPushButton", "gridPushButton", "makeListPushButton",
                              "showListPushButton", "wipePushButton", "closePushButton", "firstToolButton",
                              "previousToolButton", "nextToolButton", "lastToolButton"}));

        m.state.texts.load(Language::English);
        w.retranslate();
        QCOMPARE(w.windowTitle(), QStringLiteral("Relayparties"));
        QCOMPARE(m.child("clubComboBox")->accessibleName(), QStringLiteral("Club"));
    }
};

QTEST_MAIN(TestRelayWindow)
#include "TestRelayWindow.moc"
