#include "FakeTimingClock.h"
#include "TestSupport.h"

#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "base/Convert.h"
#include "base/TextFile.h"
#include "events/ui/EventSetupWindow.h"
#include "events/ui/GridWindow.h"
#include "events/ui/StartSetupDialog.h"
#include "timing/ui/TimingWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QSlider>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

using namespace arenor;
using namespace arenor::timing;
using namespace arenor::test;

namespace {

// A new meet started the way the program starts, with a timing clock that stands still and
// polling that ticks only when told.
struct Started {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    RecordingEditorLauncher editor;
    FakeTimingClock clock{QTime(14, 5)};
    std::unique_ptr<Application> app;
    TimingWindow *w = nullptr;

    Started()
    {
        // Ten days on: the times QTest gives its events are never taken for this clock's.
        clock.setNs(10 * 86400000LL * 1000000);
        prompt.setNextAnswer(Answer::Yes); // the format question
        app = std::make_unique<Application>(dir.path(), &prompt, &editor, &clock);
        app->start(false);
        w = dynamic_cast<TimingWindow *>(app->mainWindow().childWindow(WindowId::Timing));
        prompt.clear();
    }
    AppState &state() { return app->state(); }
    TimingController &timing() { return app->timing(); }
    template <class T> T *find(const QString &name) { return w->findChild<T *>(name); }
    QString storedField(int f)
    {
        QSqlQuery q(state().database.handle());
        q.exec(QStringLiteral("SELECT \"%1\" FROM \"Tidtakingoppsett\"").arg(f));
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }
    QStringList outFile() { return readTextLines(state().meetFile("UtTider.txt")); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            timing().pollOnce();
    }
};

} // namespace

class TestTimingWindow : public QObject {
    Q_OBJECT
private slots:
    // F4 to F9, a click and an assistive technology's press each give one time.
    void keysAndButtonsRegisterTimes()
    {
        Started s;
        QVERIFY(s.w);
        s.app->mainWindow().showRegisterWindow(WindowId::Timing);
        QListWidget *list = s.find<QListWidget>("outTimesListWidget");
        QTest::keyPress(list, Qt::Key_F4);
        QTest::keyRelease(list, Qt::Key_F4);
        s.ticks(12);
        QCOMPARE(s.outFile().value(3), QStringLiteral("1-0001   14.05.00  "));
        QCOMPARE(list->count(), 1);
        QCOMPARE(s.find<QLabel>("lastTimeLabel")->text(), QStringLiteral("14.05.00"));

        auto *button = s.find<SignalButton>("simOutPushButton2");
        QVERIFY(!s.find<SignalButton>("simOutPushButton1")->isEnabled()); // channel 2 is an in channel
        QTest::keyClicks(s.find<QLineEdit>("outNumberLineEdit"), "7");
        s.clock.advanceMs(1000);
        QTest::mouseClick(button, Qt::LeftButton);
        s.ticks(13); // the last one re-arms the channel
        QCOMPARE(s.outFile().value(4), QStringLiteral("3-0001   14.05.01  7"));
        QCOMPARE(s.find<QLineEdit>("outNumberLineEdit")->text(), QString());

        s.clock.advanceMs(1000);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(button);
        QVERIFY(a && a->actionInterface());
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        s.ticks(30);
        QCOMPARE(s.outFile().size(), 3 + 3);
        QCOMPARE(s.outFile().value(5), QStringLiteral("3-0002   14.05.02  "));
        QCOMPARE(s.prompt.asked().size(), size_t(0));
    }

    // A grid is a window beside the others: F4 takes a time while it is open; it goes with its meet.
    void timesTakenWhileAGridIsOpen()
    {
        Started s;
        auto *setup = dynamic_cast<EventSetupWindow *>(s.app->mainWindow().childWindow(WindowId::EventSetup));
        setup->pickEvent(12);
        setup->pickClass(0);
        setup->listCommand(0);
        QPointer<GridWindow> grid = s.app->mainWindow().findChild<GridWindow *>();
        QVERIFY(grid && grid->isVisible() && !QApplication::activeModalWidget());
        s.app->mainWindow().showRegisterWindow(WindowId::Timing);
        QListWidget *list = s.find<QListWidget>("outTimesListWidget");
        QTest::keyClick(list, Qt::Key_F4);
        s.ticks(12);
        QCOMPARE(list->count(), 1);
        // Typing in the grid: the keys are still the channels, Ctrl+F4 is not.
        auto *table = grid->findChild<QTableView *>();
        QTest::keyClick(table, Qt::Key_F4, Qt::ControlModifier);
        s.ticks(12);
        QCOMPARE(list->count(), 1);
        QTest::keyClick(table, Qt::Key_F4);
        s.ticks(12);
        QCOMPARE(list->count(), 2);
        s.state().unbindDataControls();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!grid);
    }

    void setupIsBoundToTheRecord()
    {
        Started s;
        auto *out2 = s.find<QCheckBox>("outChannelCheckBox1");
        out2->click();
        QCOMPARE(s.storedField(field::outOf(2)), QStringLiteral("1"));
        QVERIFY(s.find<SignalButton>("simOutPushButton1")->isEnabled());

        auto *type = s.find<QComboBox>("adapterTypeComboBox");
        auto *printer = s.find<QComboBox>("printerPortComboBox");
        QVERIFY(!printer->isEnabled());
        type->setCurrentIndex(7);
        emit type->activated(7);
        QCOMPARE(s.storedField(field::TypeName), QStringLiteral("Pocket DIO 8 Bit"));
        QVERIFY(printer->isEnabled());
        // The GPIO adapter shows its line fields instead of the serial device.
        QCOMPARE(type->count(), 12);
        type->setCurrentIndex(kGpioType);
        emit type->activated(kGpioType);
        auto *inputs = s.find<QLineEdit>("gpioInputsLineEdit");
        QVERIFY(!inputs->isHidden() && s.find<QComboBox>("serialDeviceComboBox")->isHidden());
        inputs->setText(QStringLiteral("3 4"));
        emit inputs->editingFinished();
        QCOMPARE(s.storedField(field::GpioInputs), QStringLiteral("3 4"));
        type->setCurrentIndex(7);
        emit type->activated(7);
        auto *delay = s.find<QSlider>("delaySlider");
        delay->setValue(300);
        QCOMPARE(s.storedField(field::Delay), QStringLiteral("300"));

        // The record comes back with the meet.
        s.state().unbindDataControls();
        QVERIFY(s.state().bindDataControls().ok());
        QVERIFY(s.timing().setup().registersOut(2));
        QCOMPARE(type->currentIndex(), 7);
        QCOMPARE(delay->value(), 300);
    }

    void automaticTimingNeedsItsAdapter()
    {
        Started s;
        auto *automatic = s.find<QCheckBox>("automaticCheckBox");
        s.timing().setAdapterFactory([](int) {
            auto io = std::make_unique<SimulatedDio>();
            io->failInitialisation(true);
            return io;
        });
        automatic->click();
        QCOMPARE(s.prompt.messageTexts(), QStringList{s.state().texts.message(252)});
        QVERIFY(!automatic->isChecked());
        QCOMPARE(s.storedField(field::Automatic), QStringLiteral("0"));

        SimulatedDio *sim = nullptr;
        s.timing().setAdapterFactory([&sim](int) {
            auto io = std::make_unique<SimulatedDio>();
            sim = io.get();
            return io;
        });
        automatic->click();
        QVERIFY(automatic->isChecked());
        QVERIFY(!s.find<QComboBox>("adapterTypeComboBox")->isEnabled());
        sim->setInput(0, 0); // a low input is active in a new meet
        s.ticks(12);
        QCOMPARE(s.find<QListWidget>("outTimesListWidget")->count(), 1);
        // A failing read ends automatic timing with the same message.
        sim->failReads(true);
        s.ticks(1);
        QVERIFY(!automatic->isChecked());
        QCOMPARE(s.storedField(field::Automatic), QStringLiteral("0"));
        QCOMPARE(s.prompt.lastMessage(), s.state().texts.message(252));
        QVERIFY(s.find<QComboBox>("adapterTypeComboBox")->isEnabled());
    }

    // "Generate start times": both boxes checked and fixed; the planned times reach the file.
    void generateStartTimes()
    {
        Started s;
        s.state().catalogs.personCount = 3;
        s.find<QPushButton>("generateStartTimesPushButton")->click();
        auto *d = s.w->findChild<StartSetupDialog *>();
        QVERIFY(d);
        for (QCheckBox *box : {d->byNumber(), d->toFile()})
            QVERIFY(box->isChecked() && !box->isEnabled());
        d->startTime()->setText(QStringLiteral("09.59.30"));
        d->interval()->setText(QStringLiteral("45"));
        emit d->confirmed();
        QCOMPARE(s.outFile().mid(3).join(u'|'),
                 QStringLiteral("0001     09.59.30  1|0002     10.00.15  2|0003     10.01.00  3"));
    }

    void rateIsTicksPerSecond()
    {
        Started s;
        s.w->showRate();
        for (int i = 0; i < 250; ++i) {
            s.clock.advanceMs(2);
            s.timing().pollOnce();
        }
        s.w->showRate();
        QCOMPARE(s.find<QLabel>("rateValueLabel")->text(), QStringLiteral(" 500"));
    }
};

QTEST_MAIN(TestTimingWindow)
#include "TestTimingWindow.moc"
