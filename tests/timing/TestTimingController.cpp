#include "FakeTimingClock.h"
#include "TestSupport.h"

#include "app/MeetFile.h"
#include "base/TextFile.h"
#include "timing/ParallelPortDio.h"
#include "timing/TimingController.h"

#include <QDir>
#include <QTest>
#include <condition_variable>
#include <functional>
#include <mutex>

using namespace arenor;
using namespace arenor::timing;
using namespace arenor::test;

namespace {

// A scripted prompt that does something while the question is open, as the event loop of a
// real message box lets registrations in.
struct BusyPrompt : ScriptedPrompt {
    std::function<void()> whileAsked;
    Answer message(const MessageRequest &request) override
    {
        if (whileAsked)
            whileAsked();
        return ScriptedPrompt::message(request);
    }
};

// A printer port that one device at a time may claim; a second claim sleeps until the
// first is released, as the kernel's does.
struct Port {
    std::mutex mutex;
    std::condition_variable freed;
    bool held = false;
};
struct ExclusivePort : ParallelPortDevice {
    std::shared_ptr<Port> port;
    bool mine = false;
    explicit ExclusivePort(std::shared_ptr<Port> p) : port(std::move(p)) {}
    Status open(const QString &) override
    {
        std::unique_lock lock(port->mutex);
        port->freed.wait(lock, [&] { return !port->held; });
        port->held = mine = true;
        return {};
    }
    void close() override
    {
        std::lock_guard lock(port->mutex);
        if (mine)
            port->held = mine = false;
        port->freed.notify_all();
    }
    int readStatus() override { return 0x78; }
    int readControl() override { return 0x04; }
    bool writeControl(quint8) override { return true; }
    bool writeData(quint8) override { return true; }
};

struct Rig : TestMeet {
    BusyPrompt busy;
    FakeTimingClock clock{QTime(9, 30)};
    std::unique_ptr<TimingController> timing;
    explicit Rig(TimingClock *c = nullptr)
    {
        makeDatabase();
        QVERIFY(meetFilesCheck(state).ok());
        state.prompt = &busy;
        timing = std::make_unique<TimingController>(state, c ? c : &clock);
        QVERIFY(state.bindDataControls().ok());
    }
    QString file(Direction d) { return state.meetFile(timesFileName(d)); }
    QStringList lines(Direction d) { return readTextLines(file(d)); }
    void put(Direction d, const QStringList &records)
    {
        QVERIFY(writeTextFile(file(d), headerLines(QStringLiteral(" TIDFIL UT ")) + records).ok());
    }
    void ticks(int n)
    {
        for (int t = 0; t < n; ++t)
            timing->pollOnce();
    }
    // A function key press on channel index i, advanceMs after the last, and the ticks up to
    // its registration (and one to re-arm the channel).
    void capture(int i, int advanceMs = 0)
    {
        clock.advanceMs(advanceMs);
        timing->press(i, 0);
        timing->release(i);
        ticks(timing->setup().delay() + 3);
    }
};

} // namespace

class TestTimingController : public QObject {
    Q_OBJECT
private slots:
    void capturesWaitUntilTheListsAreRead()
    {
        Rig r;
        r.put(Direction::Out, {"1-0001   09.00.00  5", "1-0002   09.10.00  6"});
        const QStringList before = r.lines(Direction::Out);
        r.capture(0);        // before the start-up reads the lists
        r.capture(0, 61000); // a minute later
        QCOMPARE(r.timing->heldCount(), 2);
        QCOMPARE(r.lines(Direction::Out), before);
        r.timing->readTimeFiles();
        QCOMPARE(r.timing->heldCount(), 0);
        const auto &records = r.timing->session().list(Direction::Out).records;
        QCOMPARE(records.size(), size_t(4));
        QCOMPARE(records[2], (TimeRecord{"1-0003", "09.30.00", "", ""}));
        QCOMPARE(records[3], (TimeRecord{"1-0004", "09.31.01", "", ""}));
        QCOMPARE(r.lines(Direction::Out).size(), 3 + 4);

        // Letting go of the meet (reset, another meet) holds captures again until its files
        // are read; the old meet's list is never written into the new meet.
        r.state.unbindDataControls();
        r.capture(0);
        QCOMPARE(r.timing->heldCount(), 1);
        r.state.currentDatabase = QStringLiteral("Other.mdb");
        r.state.setMeetDirectory();
        r.busy.setNextAnswer(Answer::Yes); // the format question
        QVERIFY(createMeetFile(r.state).ok());
        QVERIFY(meetFilesCheck(r.state).ok());
        QVERIFY(r.state.bindDataControls().ok());
        QCOMPARE(r.timing->session().list(Direction::Out).count(), 0);
        r.timing->readTimeFiles();
        QCOMPARE(r.lines(Direction::Out).size(), 3 + 1);
        QCOMPARE(parseRecordLine(r.lines(Direction::Out)[3]).index, QStringLiteral("1-0005"));
    }

    void anUnreadableTimeFileIsNeverOverwritten()
    {
        Rig r;
        r.put(Direction::Out, {"1-0004   09.00.00  5"});
        // A time file that cannot be read: a folder in its place.
        QVERIFY(QFile::remove(r.file(Direction::In)));
        QVERIFY(QDir().mkpath(r.file(Direction::In)));
        r.timing->readTimeFiles();
        QCOMPARE(r.busy.asked().size(), size_t(1));
        QVERIFY(r.busy.lastMessage().contains(QStringLiteral("InnTider.txt")));
        r.capture(0);
        r.capture(1, 1000);
        QCOMPARE(r.timing->heldCount(), 2);
        QCOMPARE(r.timing->session().list(Direction::Out).count(), 1);
        QCOMPARE(r.busy.asked().size(), size_t(1)); // said once

        // Readable again: the next capture brings every held one in, with its own time, and
        // the numbering goes on from the files.
        QVERIFY(QDir(r.file(Direction::In)).removeRecursively());
        r.put(Direction::In, {"2-0007   09.00.00  5"});
        r.capture(0, 1000);
        QCOMPARE(r.timing->heldCount(), 0);
        const auto &out = r.timing->session().list(Direction::Out).records;
        QCOMPARE(out.size(), size_t(3));
        QCOMPARE(out[1], (TimeRecord{"1-0005", "09.30.00", "", ""}));
        QCOMPARE(out[2], (TimeRecord{"1-0006", "09.30.02", "", ""}));
        QCOMPARE(r.timing->session().list(Direction::In).records.back().index, QStringLiteral("2-0008"));
    }

    // The polling thread goes on while questions are open (run under the sanitizers too).
    void timesArrivingDuringQuestionsAreKept()
    {
        SystemTimingClock system;
        Rig r(&system);
        r.timing->changeSetup({{field::Delay, QStringLiteral("1")}});
        r.put(Direction::Out, {"1-0001   09.00.00  5", "1-0002   09.00.01  6"});
        r.timing->readTimeFiles();
        r.timing->startPolling();
        int pressed = 0;
        r.busy.whileAsked = [&] {
            const int held = r.timing->heldCount();
            r.timing->press(0, 0);
            QTRY_VERIFY_WITH_TIMEOUT(r.timing->heldCount() > held, 5000);
            r.timing->release(0);
            ++pressed;
            QTest::qWait(20); // an inactive tick re-arms the channel
        };
        r.timing->setNumberBox(Direction::Out, QStringLiteral("44"));
        r.busy.setNextAnswer(Answer::Yes);
        r.busy.setNextAnswer(Answer::Yes);
        r.timing->changeNumbers(Direction::Out, {1, 0});
        QCOMPARE(pressed, 2);
        const auto &out = r.timing->session().list(Direction::Out).records;
        QCOMPARE(out.size(), size_t(4));
        QCOMPARE(out[0].number, QStringLiteral("44"));
        QCOMPARE(out[1].number, QStringLiteral("44"));
        QCOMPARE(out[2].number, QString()); // the box went to the correction, not to them
        QCOMPARE(r.lines(Direction::Out).size(), 3 + 4);

        for (int i = 0; i < 3; ++i)
            r.busy.setNextAnswer(Answer::Yes);
        r.timing->resetTimes(Direction::Out);
        QCOMPARE(pressed, 5);
        QCOMPARE(r.timing->session().list(Direction::Out).count(), 3); // after the reset
        QCOMPARE(r.timing->session().list(Direction::Out).records[0].index, QStringLiteral("1-0001"));
        r.busy.whileAsked = nullptr;
    }

    void rebindingLetsGoOfThePrinterPortFirst()
    {
        Rig r;
        auto port = std::make_shared<Port>();
        r.timing->setAdapterFactory([port](int) {
            return std::make_unique<ParallelPortDio>(std::make_unique<ExclusivePort>(port), "/x", 200);
        });
        r.timing->changeSetup({{field::TypeCode, QStringLiteral("7")}});
        QVERIFY(r.timing->setAutomatic(true));
        r.state.unbindDataControls();
        QVERIFY(r.state.bindDataControls().ok());
        QVERIFY(r.timing->automatic());
        QCOMPARE(r.busy.asked().size(), size_t(0));

        // Held by someone else: message 252 after a short wait, automatic timing off.
        r.state.unbindDataControls();
        ExclusivePort other(port);
        QVERIFY(other.open({}).ok());
        QVERIFY(r.state.bindDataControls().ok());
        QVERIFY(!r.timing->automatic());
        QVERIFY(!r.timing->setup().automatic());
        QCOMPARE(r.busy.lastMessage(), r.state.texts.message(252));
        other.close();
    }
};

QTEST_GUILESS_MAIN(TestTimingController)
#include "TestTimingController.moc"
