// The points window wired to a meet database: the setup it shows is the one the points list
// uses, edits and wiping reach the table when the setup is left, and it is there from start-up.
#include "TestRelayPointsMeet.h"

#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "db/Schema.h"
#include "registers/Points.h"
#include "registers/ui/PointsWindow.h"
#include "registers/ui/RegisterGrid.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::registers;

namespace {

struct Meet : WindowMeet<PointsWindow> {
    Meet() : WindowMeet(schema::Table::Poengoppsett, 2, 1, 1) {}
};

} // namespace

class TestPointsWindow : public QObject {
    Q_OBJECT
private slots:
    void startUpShowsTheFirstSetupWithoutOpeningTheWindow()
    {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        RecordingEditorLauncher editor;
        prompt.setNextAnswer(Answer::Yes); // the format question
        Application app(dir.path(), &prompt, &editor);
        QVERIFY(app.start(false).status.ok());
        QVERIFY(!app.mainWindow().subWindow(WindowId::Points)->isVisible());
        QCOMPARE(app.state().shownPoints.row, 0);
        for (int p = 1; p <= kPointPlaces; ++p)
            QCOMPARE(pointsForPlace(app.state(), p), 41 - p);

        // Opened from the main window, each register window starts at its number field.
        (void)QTest::qWaitForWindowActive(&app.mainWindow());
        app.mainWindow().showRegisterWindow(WindowId::Points);
        QTRY_VERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("pointSetupNumberLineEdit"));
        app.mainWindow().showRegisterWindow(WindowId::Relays);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("relayNumberLineEdit"));
        QCOMPARE(prompt.unexpected(), 0);
    }

    void wipedSetupReadsZeroAfterSteppingAwayAndBack()
    {
        Meet m;
        PointsWindow &w = *m.window;
        QVERIFY(w.form().setCurrentRow(2));
        QCOMPARE(m.state.shownPoints.row, 2);
        m.click("wipePushButton");
        QCOMPARE(w.fieldText(0), QStringLiteral(" 3")); // the setup number stays
        for (int p = 1; p <= kPointPlaces; ++p) {
            QCOMPARE(w.placeEdit(p)->text(), QStringLiteral("0"));
            QCOMPARE(pointsForPlace(m.state, p), 0); // at once, before it is saved
        }
        QCOMPARE(m.stored(3, 1), QStringLiteral(" 40"));
        QTest::mouseClick(w.navigator()->button(2), Qt::LeftButton); // to setup 4
        QCOMPARE(m.state.shownPoints.row, 3);
        QCOMPARE(pointsForPlace(m.state, 1), 40);
        QTest::mouseClick(w.navigator()->button(1), Qt::LeftButton); // back to 3
        for (int p = 1; p <= kPointPlaces; ++p) {
            QCOMPARE(m.stored(3, p), QStringLiteral("0"));
            QCOMPARE(pointsForPlace(m.state, p), 0);
        }
        QCOMPARE(m.stored(4, 1), QStringLiteral(" 40"));
    }

    void theSetupShownIsTheOneThePointsListUses()
    {
        Meet m;
        PointsWindow &w = *m.window;
        QVERIFY(w.form().next()); // setup 2
        w.placeEdit(1)->setText("100");
        w.placeEdit(2)->setText("ti");
        w.placeEdit(40)->setText(QString(10000, u'9'));
        QCOMPARE(pointsForPlace(m.state, 1), 100);
        QCOMPARE(pointsForPlace(m.state, 2), 0);
        QCOMPARE(pointsForPlace(m.state, 40), kMaxPointsPerPlace);
        QCOMPARE(pointsForPlace(m.state, 3), 38);
        QVERIFY(w.form().first());
        QCOMPARE(pointsForPlace(m.state, 1), 40);
        QCOMPARE(m.stored(2, 2), QStringLiteral("ti")); // any text is kept as typed
        QCOMPARE(m.stored(2, 40), QString(10000, u'9'));
        QVERIFY(w.form().next());
        QCOMPARE(pointsForPlace(m.state, 1), 100);
    }

    void resetAsksAndRestoresTheStandardSetups()
    {
        Meet m;
        PointsWindow &w = *m.window;
        QVERIFY(w.form().setCurrentRow(1));
        m.click("wipePushButton");
        m.meet.prompt.setNextAnswer(Answer::Yes);
        m.click("resetPushButton");
        QVERIFY(m.meet.prompt.lastMessage().startsWith("Poengoppsett eksisterer."));
        QCOMPARE(w.form().currentRow(), 1);
        QCOMPARE(w.placeEdit(1)->text(), QStringLiteral(" 40"));
        QCOMPARE(pointsForPlace(m.state, 1), 40);
        QCOMPARE(m.state.database.recordCount("Poengoppsett"), 10);
    }

    void gridEditsAllTenSetups()
    {
        Meet m;
        PointsWindow &w = *m.window;
        w.placeEdit(5)->setText("77");
        m.click("gridPushButton");
        auto *grid = m.main.findChild<RegisterGrid *>();
        QVERIFY(grid);
        QVERIFY(m.state.registerGrid);
        QCOMPARE(grid->table(), QStringLiteral("Poengoppsett"));
        QCOMPARE(grid->model().rowCount(), 10);
        QCOMPARE(grid->model().text(0, 5), QStringLiteral("77")); // saved before the grid opened
        QVERIFY(grid->model().setData(grid->model().index(0, 1), "12"));
        grid->closeGrid();
        QVERIFY(!m.state.registerGrid);
        QCOMPARE(w.placeEdit(1)->text(), QStringLiteral("12"));
        QCOMPARE(pointsForPlace(m.state, 1), 12);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void tenRowsOfFourLabelledPlaces()
    {
        Meet m;
        PointsWindow &w = *m.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Poeng"));
        QCOMPARE(w.navigator()->caption(), QStringLiteral("Poeng"));
        auto *group = w.findChild<QGroupBox *>("placesGroupBox");
        QCOMPARE(group->title(), QStringLiteral("&Poeng for plassering"));
        auto *grid = qobject_cast<QGridLayout *>(group->layout());
        QVERIFY(grid);
        for (int p = 1; p <= kPointPlaces; ++p) {
            // Row j of the grid holds places 4j + 1 .. 4j + 4, each under its label.
            QLayoutItem *cell = grid->itemAtPosition((p - 1) / 4, (p - 1) % 4);
            QVERIFY(cell && cell->layout());
            QCOMPARE(cell->layout()->itemAt(1)->widget(), w.placeEdit(p));
            auto *label = w.findChild<QLabel *>(QStringLiteral("place%1Label").arg(p));
            QCOMPARE(cell->layout()->itemAt(0)->widget(), label);
            QCOMPARE(label->buddy(), w.placeEdit(p));
            QCOMPARE(label->text(), QString::number(p));
            QCOMPARE(w.placeEdit(p)->accessibleName(), QStringLiteral("Poeng for plassering %1").arg(p));
        }
        QStringList buttons;
        for (QPushButton *b : w.findChildren<QPushButton *>())
            buttons << b->text();
        QCOMPARE(buttons, QStringList({"&Resett ", "&Grind", "&Visk ut", "&Lukk"}));
        m.state.texts.load(Language::English);
        w.retranslate();
        QCOMPARE(w.windowTitle(), QStringLiteral("Points"));
        QCOMPARE(w.placeEdit(7)->accessibleName(), QStringLiteral("Points by place 7"));
        m.click("closePushButton");
        QVERIFY(!w.isVisible());
    }

    void unbindingLeavesNoSetupShown()
    {
        Meet m;
        m.state.unbindDataControls();
        QCOMPARE(m.state.shownPoints.row, -1);
        QCOMPARE(pointsForPlace(m.state, 1), 0);
        QVERIFY(m.state.bindDataControls().ok());
        QCOMPARE(pointsForPlace(m.state, 1), 40);
    }
};

QTEST_MAIN(TestPointsWindow)
#include "TestPointsWindow.moc"
