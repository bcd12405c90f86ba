#include "TestSupport.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "app/MeetFile.h"
#include "timing/ui/TimingWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

using namespace arenor;
using namespace arenor::timing;
using namespace arenor::test;

namespace {

// A new meet started the way the program starts, with its timing window.
struct Started {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    RecordingEditorLauncher editor;
    std::unique_ptr<Application> app;
    TimingWindow *w = nullptr;

    Started()
    {
        prompt.setNextAnswer(Answer::Yes); // the format question
        app = std::make_unique<Application>(dir.path(), &prompt, &editor);
        app->start(false);
        w = dynamic_cast<TimingWindow *>(app->mainWindow().childWindow(WindowId::Timing));
        prompt.clear();
    }
    AppState &state() { return app->state(); }
    template <class T> T *find(const QString &name) { return w->findChild<T *>(name); }
    QString storedField(int f)
    {
        QSqlQuery q(state().database.handle());
        q.exec(QStringLiteral("SELECT \"%1\" FROM \"Tidtakingoppsett\"").arg(f));
        return q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }
    QStringList outFile() { return splitLines(QString::fromUtf8(readFile(state().meetFile("UtTider.txt")))); }
    // The polling thread reports through the event loop; wait for the file to grow.
    bool waitForOutRecords(int n)
    {
        return QTest::qWaitFor([&] { return outFile().size() >= 3 + n; }, 3000);
    }
};

} // namespace

class TestTimingWindow : public QObject {
    Q_OBJECT
private slots:
    void f4RegistersTheTimeOfDay()
    {
        Started s;
        QVERIFY(s.w);
        s.app->mainWindow().showRegisterWindow(WindowId::Timing);
        const QTime before = QTime::currentTime();
        QListWidget *list = s.find<QListWidget>("outTimesListWidget");
        QTest::keyPress(list, Qt::Key_F4);
        QTest::keyRelease(list, Qt::Key_F4);
        QVERIFY(s.waitForOutRecords(1));
        const TimeRecord r = parseRecordLine(s.outFile()[3]);
        QCOMPARE(r.index, QStringLiteral("1-0001"));
        const QTime t = QTime::fromString(r.time, QStringLiteral("HH.mm.ss"));
        QVERIFY2(t.isValid() && std::abs(before.secsTo(t)) <= 2, qPrintable(r.time));
        QCOMPARE(list->count(), 1);
        QCOMPARE(s.find<QLabel>("lastTimeLabel")->text(), r.time);
        QCOMPARE(s.prompt.asked().size(), size_t(0));
        // Channel 2 registers in-times in a new meet.
        QTest::keyPress(list, Qt::Key_F5);
        QTest::keyRelease(list, Qt::Key_F5);
        QVERIFY(QTest::qWaitFor([&] { return s.find<QListWidget>("inTimesListWidget")->count() == 1; }, 3000));
        QCOMPARE(s.w->session().list(Direction::In).records[0].index, QStringLiteral("2-0001"));
    }

    void simulationButtonIsASignal()
    {
        Started s;
        auto *button = s.find<SignalButton>("simOutPushButton2");
        QVERIFY(button->isEnabled());
        QVERIFY(!s.find<SignalButton>("simOutPushButton1")->isEnabled()); // channel 2 is an in channel
        s.find<QLineEdit>("outNumberLineEdit")->setText(QString());
        QTest::keyClicks(s.find<QLineEdit>("outNumberLineEdit"), "7");
        QTest::mousePress(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        QVERIFY(s.waitForOutRecords(1));
        const TimeRecord r = parseRecordLine(s.outFile()[3]);
        QCOMPARE(r.index, QStringLiteral("3-0001"));
        QCOMPARE(r.number, QStringLiteral("7"));
        QCOMPARE(s.find<QLineEdit>("outNumberLineEdit")->text(), QString());
    }

    void keypadActsOnTheShownTab()
    {
        Started s;
        auto *out = s.find<QLineEdit>("outNumberLineEdit");
        auto *in = s.find<QLineEdit>("inNumberLineEdit");
        auto *tabs = s.find<QTabWidget>("timingTabWidget");
        tabs->setCurrentIndex(0);
        QTest::mouseClick(s.find<QPushButton>("keypadPushButton4"), Qt::LeftButton);
        QTest::mouseClick(s.find<QPushButton>("keypadPushButton2"), Qt::LeftButton);
        tabs->setCurrentIndex(1);
        QTest::mouseClick(s.find<QPushButton>("keypadPushButton11"), Qt::LeftButton);
        QCOMPARE(out->text(), QStringLiteral("42"));
        QCOMPARE(in->text(), QStringLiteral("XXX"));
        tabs->setCurrentIndex(0);
        QTest::mouseClick(s.find<QPushButton>("keypadPushButton10"), Qt::LeftButton);
        QCOMPARE(out->text(), QString());
        QCOMPARE(in->text(), QStringLiteral("XXX"));
        QVERIFY(s.find<QPushButton>("changeOutPushButton")->isEnabled());
        tabs->setCurrentIndex(2);
        QVERIFY(!s.find<QPushButton>("changeOutPushButton")->isEnabled());
    }

    void numberShowsTheCompetitor()
    {
        Started s;
        s.state().catalogs.persons[3] = {" 3", "Dahl Per", "Freidig", "Senior", 0};
        s.find<QLineEdit>("outNumberLineEdit")->setText(" 3");
        QCOMPARE(s.find<QLabel>("outNameLabel")->text(), QStringLiteral("Dahl Per"));
        QCOMPARE(s.find<QLabel>("outClubClassLabel")->text(), QStringLiteral("Freidig, Senior"));
        s.find<QLineEdit>("outNumberLineEdit")->setText("99");
        QCOMPARE(s.find<QLabel>("outNameLabel")->text(), QString());
    }

    void changeAsksPerNumberedRecord()
    {
        Started s;
        s.app->mainWindow().showRegisterWindow(WindowId::Timing);
        QFile f(s.state().meetFile("UtTider.txt"));
        QVERIFY(f.open(QIODevice::Append));
        f.write("1-0001   12.00.00  5\r\n1-0002   12.00.01\r\n1-0003   12.00.02  6\r\n");
        f.close();
        emit s.state().notifier.timeFilesChanged();
        auto *list = s.find<QListWidget>("outTimesListWidget");
        QCOMPARE(list->count(), 3);
        for (int i = 0; i < 3; ++i)
            list->item(i)->setSelected(true);
        QTest::keyClicks(s.find<QLineEdit>("outNumberLineEdit"), "44");
        s.prompt.setNextAnswer(Answer::Yes);
        s.prompt.setNextAnswer(Answer::No);
        QTest::mouseClick(s.find<QPushButton>("changeOutPushButton"), Qt::LeftButton);
        QCOMPARE(s.prompt.asked().size(), size_t(2));
        const QStringList lines = s.outFile();
        QCOMPARE(lines[1], QStringLiteral(" TIDFIL UT"));
        QCOMPARE(parseRecordLine(lines[3]).number, QStringLiteral("44"));
        QCOMPARE(parseRecordLine(lines[4]).number, QStringLiteral("44"));
        QCOMPARE(parseRecordLine(lines[5]).number, QStringLiteral("6"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("1-0002        12.00.01        44        "));
        QCOMPARE(s.find<QLineEdit>("outNumberLineEdit")->text(), QString());
    }

    void resetAsksThreeTimes()
    {
        Started s;
        s.w->session().registerTime(Direction::In, 2, "12.00.00", false);
        emit s.state().notifier.timeFilesChanged();
        QCOMPARE(s.find<QListWidget>("inTimesListWidget")->count(), 1);
        for (int i = 0; i < 3; ++i)
            s.prompt.setNextAnswer(Answer::Yes);
        QTest::mouseClick(s.find<QPushButton>("resetInPushButton"), Qt::LeftButton);
        QCOMPARE(s.prompt.asked().size(), size_t(3));
        QCOMPARE(s.find<QListWidget>("inTimesListWidget")->count(), 0);
        QCOMPARE(readFile(s.state().meetFile("InnTider.txt")), readFile(dataFile("InnTider_empty.txt")));
    }

    void setupIsBoundToTheRecord()
    {
        Started s;
        auto *out2 = s.find<QCheckBox>("outChannelCheckBox1");
        QVERIFY(!out2->isChecked());
        out2->click();
        QCOMPARE(s.storedField(field::outOf(2)), QStringLiteral("1"));
        QVERIFY(s.find<SignalButton>("simOutPushButton1")->isEnabled());

        auto *type = s.find<QComboBox>("adapterTypeComboBox");
        auto *printer = s.find<QComboBox>("printerPortComboBox");
        QCOMPARE(type->currentIndex(), 2);
        QVERIFY(!printer->isEnabled());
        type->setCurrentIndex(7);
        emit type->activated(7);
        QCOMPARE(s.storedField(field::TypeCode), QStringLiteral("7"));
        QCOMPARE(s.storedField(field::TypeName), QStringLiteral("Pocket DIO 8 Bit"));
        QVERIFY(printer->isEnabled());

        auto *delay = s.find<QSlider>("delaySlider");
        delay->setValue(300);
        QCOMPARE(s.storedField(field::Delay), QStringLiteral("300"));
        QCOMPARE(s.find<QLabel>("delayValueLabel")->text(), QStringLiteral("300"));

        // The record comes back with the meet.
        s.state().unbindDataControls();
        QVERIFY(s.state().bindDataControls().ok());
        QCOMPARE(s.w->setup().delay(), 300);
        QVERIFY(s.w->setup().registersOut(2));
        QCOMPARE(type->currentIndex(), 7);
        QCOMPARE(delay->value(), 300);
    }

    void automaticTimingNeedsItsAdapter()
    {
        Started s;
        auto *automatic = s.find<QCheckBox>("automaticCheckBox");
        s.w->setAdapterFactory([](int) {
            auto io = std::make_unique<SimulatedDio>();
            io->failInitialisation(true);
            return io;
        });
        automatic->click();
        QCOMPARE(s.prompt.asked().size(), size_t(1));
        QCOMPARE(s.prompt.asked()[0].message.text, s.state().texts.message(252));
        QCOMPARE(s.prompt.asked()[0].message.title, QString());
        QVERIFY(!automatic->isChecked());
        QCOMPARE(s.storedField(field::Automatic), QStringLiteral("0"));
        QVERIFY(!s.w->poller().automatic());

        SimulatedDio *sim = nullptr;
        s.w->setAdapterFactory([&sim](int) {
            auto io = std::make_unique<SimulatedDio>();
            sim = io.get();
            return io;
        });
        automatic->click();
        QVERIFY(automatic->isChecked());
        QVERIFY(s.w->poller().automatic());
        QVERIFY(!s.find<QComboBox>("adapterTypeComboBox")->isEnabled());
        QVERIFY(!s.find<QComboBox>("cardAddressComboBox")->isEnabled());
        sim->setInput(0, 0); // low level is active in a new meet
        QVERIFY(s.waitForOutRecords(1));
        sim->failReads(true);
        QVERIFY(QTest::qWaitFor([&] { return !automatic->isChecked(); }, 3000));
        QCOMPARE(s.prompt.lastMessage(), s.state().texts.message(252));
        QCOMPARE(s.storedField(field::Automatic), QStringLiteral("0"));
        QVERIFY(s.find<QComboBox>("adapterTypeComboBox")->isEnabled());
    }

    void rateAndStartTimes()
    {
        Started s;
        QTest::qWait(300);
        s.w->showRate();
        QVERIFY2(s.w->shownRate() > 50, qPrintable(QString::number(s.w->shownRate())));
        QCOMPARE(s.find<QLabel>("rateValueLabel")->text(), numberText(qint64(s.w->shownRate())));
        QTest::mouseClick(s.find<QPushButton>("generateStartTimesPushButton"), Qt::LeftButton);
        QCOMPARE(s.prompt.asked().size(), size_t(1));
        QVERIFY(s.prompt.lastMessage().contains(QStringLiteral("ikke tilgjengelig")));
    }

    void anotherMeetBringsItsOwnTimes()
    {
        Started s;
        s.w->session().registerTime(Direction::Out, 1, "12.00.00", false);
        emit s.state().notifier.timeFilesChanged();
        QCOMPARE(s.find<QListWidget>("outTimesListWidget")->count(), 1);
        s.state().unbindDataControls();
        s.state().currentDatabase = QStringLiteral("Other.mdb");
        s.state().setMeetDirectory();
        s.prompt.setNextAnswer(Answer::Yes);
        s.state().catalogs.personCount = 15;
        QVERIFY(createMeetFile(s.state()).ok());
        // The files of the other meet are not made yet: the lists must not carry the old times.
        QVERIFY(s.state().bindDataControls().ok());
        QCOMPARE(s.find<QListWidget>("outTimesListWidget")->count(), 0);
        QCOMPARE(s.w->session().meetDir(), s.state().meetDir);
    }

    void captionsFollowTheLanguage()
    {
        Started s;
        s.state().texts.load(Language::English);
        s.w->retranslate();
        QCOMPARE(s.find<QLabel>("channelLabel0")->text(), QStringLiteral("&Channel  1  [F4]"));
        QCOMPARE(s.w->windowTitle(), QStringLiteral("Timeing"));
        QCOMPARE(s.find<QListWidget>("outTimesListWidget")->accessibleName(), QStringLiteral("Utregistrering"));
    }
};

QTEST_MAIN(TestTimingWindow)
#include "TestTimingWindow.moc"
