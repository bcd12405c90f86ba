#include "FakeTimingClock.h"
#include "TestSupport.h"

#include "app/MeetFile.h"
#include "timing/EdgeCapture.h"
#include "timing/GpioDio.h"
#include "timing/SerialDio.h"
#include "timing/TimingController.h"

#include <QTest>

#include <cerrno>
#include <condition_variable>
#include <deque>
#include <sys/ioctl.h>

using namespace arenor;
using namespace arenor::timing;
using namespace arenor::test;

namespace {

constexpr qint64 kMs = 1000000;

qint64 realtimeNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// The chip as libgpiod shows it: edges are queued by the test, a wait blocks until some come.
struct FakeGpio : GpioApi {
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<GpioEdge> queue;
    int failWith = 0;
    bool interrupted = false;
    GpioOpenResult openResult;
    std::vector<unsigned> inputs, outputs;
    bool pullUp = false;
    std::vector<int> outputLevels;

    GpioOpenResult open(const QString &, const std::vector<unsigned> &in, const std::vector<unsigned> &out,
                        bool up) override
    {
        inputs = in;
        outputs = out;
        pullUp = up;
        outputLevels.assign(out.size(), 1);
        return openResult;
    }
    void close() override {}
    int readInputs(std::vector<int> &values) override
    {
        values.assign(inputs.size(), 1);
        return 0;
    }
    int setOutput(size_t index, int value) override
    {
        outputLevels.at(index) = value;
        return 0;
    }
    int waitEdges(std::vector<GpioEdge> &edges) override
    {
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return !queue.empty() || failWith || interrupted; });
        if (failWith)
            return failWith;
        interrupted = false;
        for (; !queue.empty() && edges.size() < 64; queue.pop_front())
            edges.push_back(queue.front());
        return 0;
    }
    void interrupt() override
    {
        std::lock_guard lock(mutex);
        interrupted = true;
        cv.notify_all();
    }
    QString ownerGroup(const QString &) override { return QStringLiteral("plugdev"); }
    std::pair<qint64, qint64> clocks() override { return {monotonicNs(), realtimeNs()}; }

    void push(int input, bool rising, qint64 stampNs)
    {
        std::lock_guard lock(mutex);
        queue.push_back({input, rising, stampNs});
        cv.notify_all();
    }
    void fail(int err)
    {
        std::lock_guard lock(mutex);
        failWith = err;
        cv.notify_all();
    }
};

// A port's modem lines: each wait takes the next scripted state (bits and counts), or blocks
// until interrupted when the script is used up.
struct FakeSerial : SerialApi {
    struct State {
        int bits;
        SerialCounts counts;
        int err = 0;
    };
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<State> script;
    State now{0, {}};
    int openErr = 0;
    bool haveCounts = true;
    bool interrupted = false;
    int outputs = TIOCM_RTS; // as a port is left by the last program

    int open(const QString &) override { return openErr; }
    void close() override {}
    int modemLines(int &bits) override
    {
        std::lock_guard lock(mutex);
        bits = now.bits;
        return now.err;
    }
    int counts(SerialCounts &c) override
    {
        std::lock_guard lock(mutex);
        c = now.counts;
        return haveCounts ? 0 : ENOTTY;
    }
    int setModemLines(int bits, bool on) override
    {
        outputs = on ? outputs | bits : outputs & ~bits;
        return 0;
    }
    int waitChange(int) override
    {
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return !script.empty() || interrupted; });
        if (interrupted) {
            interrupted = false;
            return EINTR;
        }
        now = script.front();
        script.pop_front();
        return now.err;
    }
    void interrupt() override
    {
        std::lock_guard lock(mutex);
        interrupted = true;
        cv.notify_all();
    }
    QString ownerGroup(const QString &) override { return QStringLiteral("root"); }
    qint64 nowNs() override { return 5000 * kMs; }
};

PollConfig configWith(bool lowLevel, int delay)
{
    PollConfig c = PollConfig::from(TimingSetup());
    c.lowLevel = lowLevel;
    c.delay = delay;
    c.format = TimeFormat::MinutesSecondsHundredths;
    return c;
}

bool waitFor(const std::function<bool()> &done)
{
    return QTest::qWaitFor(done, 3000);
}

} // namespace

class TestEventAdapters : public QObject {
    Q_OBJECT
private slots:
    void lineLists_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("lines");
        QTest::addColumn<bool>("ok");
        QTest::newRow("blanks") << "17 27 22" << QList<int>{17, 27, 22} << true;
        QTest::newRow("commas and gaps") << "0,1, - ,3" << QList<int>{0, 1, -1, 3} << true;
        QTest::newRow("repeated") << "4 4" << QList<int>{} << false;
        QTest::newRow("not a number") << "4 GPIO5" << QList<int>{} << false;
        QTest::newRow("seven for six") << "1 2 3 4 5 6 7" << QList<int>{} << false;
    }
    void lineLists()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, lines);
        QFETCH(bool, ok);
        QString error;
        const std::vector<int> got = parseLineList(text, kChannels, &error);
        QCOMPARE(error.isEmpty(), ok);
        QCOMPARE(QList<int>(got.begin(), got.end()), lines);
    }

    // Edges in time order ("F" falling, "R" rising, channel 1, milliseconds) through the rules;
    // registrations are made when due, before each later edge.
    void edgeRules_data()
    {
        QTest::addColumn<bool>("lowLevel");
        QTest::addColumn<int>("startLevel");
        QTest::addColumn<QString>("edges");
        QTest::addColumn<QList<int>>("captures");
        QTest::newRow("low: each falling edge after the delay")
            << true << 1 << "F0 R3 F20 R21" << QList<int>{0, 20};
        QTest::newRow("low: bounce inside the delay is ignored")
            << true << 1 << "F0 R1 F2 R3 F12" << QList<int>{0, 12};
        QTest::newRow("low: still active when registered")
            << true << 1 << "F0 R1 F2 R15 F16" << QList<int>{0, 16};
        QTest::newRow("high: rising edges capture") << false << 0 << "R0 F5 R20" << QList<int>{0, 20};
        QTest::newRow("active at switch-on waits for inactive") << true << 0 << "F2 R5 F6" << QList<int>{6};
    }
    void edgeRules()
    {
        QFETCH(bool, lowLevel);
        QFETCH(int, startLevel);
        QFETCH(QString, edges);
        QFETCH(QList<int>, captures);
        FakeTimingClock clock(QTime(10, 0));
        EdgeMachine m;
        m.setConfig(configWith(lowLevel, 10), 1); // registered 11 ms after the capture
        std::array<int, kChannels> levels;
        levels.fill(1);
        levels[0] = startLevel;
        m.start(levels);
        std::vector<PollEvent> events;
        for (const QString &e : edges.split(u' ')) {
            const qint64 t = e.mid(1).toLongLong() * kMs;
            m.registerDue(t, events);
            m.edge({0, e[0] == u'R', t}, clock, events);
        }
        m.registerDue(1000 * kMs, events);
        QList<int> got;
        int registered = 0;
        for (const PollEvent &e : events) {
            if (e.kind == PollEvent::Captured)
                got << int(e.stampNs / kMs);
            if (e.kind == PollEvent::Registered) {
                QCOMPARE(e.time,
                         captureText(clock.localTimeAt(e.stampNs), TimeFormat::MinutesSecondsHundredths));
                QVERIFY(e.toOut && !e.toIn); // channel 1 of a new meet
                ++registered;
            }
        }
        QCOMPARE(got, captures);
        QCOMPARE(registered, captures.size());
    }

    // A contact bouncing 10,000 times in a second: one capture per delay, never more.
    void bouncingContactKeepsTheDelay()
    {
        FakeTimingClock clock;
        EdgeMachine m;
        m.setConfig(configWith(true, 10), 1);
        std::array<int, kChannels> levels;
        levels.fill(1);
        m.start(levels);
        std::vector<PollEvent> events;
        std::vector<qint64> captured;
        for (int i = 0; i < 10000; ++i) {
            const qint64 t = qint64(i) * 100000;
            m.registerDue(t, events);
            m.edge({2, i % 2 == 1, t}, clock, events);
            for (const PollEvent &e : events)
                if (e.kind == PollEvent::Captured)
                    captured.push_back(e.stampNs);
            events.clear(); // as the window takes them
        }
        QVERIFY(captured.size() >= 85 && captured.size() <= 91);
        for (size_t i = 1; i < captured.size(); ++i)
            QVERIFY(captured[i] - captured[i - 1] >= m.delayNs());
    }

    void openFailuresSayWhy_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("err");
        QTest::addColumn<QString>("inputs");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("gpio missing")
            << kGpioType << ENOENT << "1 2" << int(AdapterError::Missing) << "plugged in";
        QTest::newRow("gpio denied") << kGpioType << EACCES << "1 2" << int(AdapterError::Denied)
                                     << "adduser $USER plugdev";
        QTest::newRow("gpio lines busy")
            << kGpioType << EBUSY << "1 2" << int(AdapterError::Busy) << "line 2 (gpiomon)";
        QTest::newRow("gpio no inputs")
            << kGpioType << 0 << "- -" << int(AdapterError::BadSetup) << "no input lines";
        QTest::newRow("serial denied")
            << kSerialType << EACCES << "" << int(AdapterError::Denied) << "dialout";
        QTest::newRow("serial not a port")
            << kSerialType << ENOTTY << "" << int(AdapterError::NotSupported) << "cannot report";
    }
    void openFailuresSayWhy()
    {
        QFETCH(int, type);
        QFETCH(int, err);
        QFETCH(QString, inputs);
        QFETCH(int, kind);
        QFETCH(QString, says);
        TimingSetup setup;
        setup.values[field::GpioInputs] = inputs;
        AdapterError e;
        if (type == kGpioType) {
            auto api = std::make_unique<FakeGpio>();
            api->openResult = {err, err == EBUSY ? QStringLiteral("line 2 (gpiomon)") : QString()};
            GpioConfig config = GpioConfig::from(setup);
            e = config.error.ok() ? openEventAdapter(std::make_unique<GpioDio>(config, std::move(api))).error
                                  : config.error;
        } else {
            auto api = std::make_unique<FakeSerial>();
            api->openErr = err;
            e = openEventAdapter(std::make_unique<SerialDio>(QStringLiteral("/dev/ttyUSB0"), std::move(api)))
                    .error;
        }
        QCOMPARE(int(e.kind), kind);
        const QString text = adapterErrorText(Language::English, e);
        QVERIFY2(text.contains(says), qPrintable(text));
        QVERIFY(!adapterErrorText(Language::Norwegian, e).isEmpty());
    }

    // The whole way from the chip's events to registrations, on the real clock: the stamp is
    // the kernel's even when the thread sees the edge late; an unplugged chip fails the adapter.
    void gpioCapturesAtTheKernelStamp()
    {
        SystemTimingClock clock;
        EdgeCapture capture(clock);
        capture.setConfig(configWith(true, 1), 1);
        auto api = std::make_unique<FakeGpio>();
        FakeGpio *chip = api.get();
        TimingSetup setup;
        setup.values[field::GpioInputs] = QStringLiteral("5 - 7");
        setup.values[field::GpioOutputs] = QStringLiteral("20 - 21");
        OpenedAdapter opened =
            openEventAdapter(std::make_unique<GpioDio>(GpioConfig::from(setup), std::move(api)));
        QVERIFY(opened.error.ok());
        QCOMPARE(chip->inputs, (std::vector<unsigned>{5, 7}));
        QCOMPARE(chip->outputs, (std::vector<unsigned>{20, 21}));
        QCOMPARE(chip->outputLevels, (std::vector<int>{0, 0}));
        QVERIFY(chip->pullUp);
        QVERIFY(capture.start(std::move(opened.adapter)).ok());

        const quint64 idle = capture.wakeups();
        QTest::qWait(100);
        QCOMPARE(capture.wakeups(), idle); // nothing happened, nothing woke

        std::vector<PollEvent> events;
        auto collect = [&](int registrations) {
            return waitFor([&] {
                for (const PollEvent &e : capture.takeEvents())
                    events.push_back(e);
                return std::count_if(events.begin(), events.end(), [](const PollEvent &e) {
                           return e.kind == PollEvent::Registered;
                       }) >= registrations;
            });
        };
        const qint64 late = monotonicNs() - 50 * kMs; // seen 50 ms after it happened
        chip->push(1, false, late);                   // input 1 is line 7: channel 3
        chip->push(1, true, late + kMs);
        QVERIFY(collect(1));
        QCOMPARE(events[0].kind, PollEvent::Captured);
        QCOMPARE(events[0].channel, 3);
        QCOMPARE(events[0].stampNs, late);
        QCOMPARE(events[1].time, captureText(clock.localTimeAt(late), TimeFormat::MinutesSecondsHundredths));

        // An older kernel stamps on the real-time clock.
        const qint64 before = monotonicNs();
        const qint64 real = realtimeNs() - 20 * kMs;
        const qint64 expected = (before + monotonicNs()) / 2 - 20 * kMs;
        chip->push(0, false, real);
        QVERIFY(collect(2));
        QVERIFY(std::abs(events[2].stampNs - expected) < monotonicNs() - before + kMs);

        // Pulled out with a capture pending: the adapter fails, the capture is still registered.
        capture.setConfig(configWith(true, 5000), 100);
        chip->push(0, true, monotonicNs());
        chip->push(0, false, monotonicNs());
        QVERIFY(waitFor([&] { return capture.channelStates()[0].latched; }));
        chip->fail(ENODEV);
        QVERIFY(waitFor([&] { return !capture.running(); }));
        QCOMPARE(int(capture.failure().kind), int(AdapterError::Unplugged));
        capture.stop();
        events.clear();
        for (const PollEvent &e : capture.takeEvents())
            events.push_back(e);
        QVERIFY(std::any_of(events.begin(), events.end(),
                            [](const PollEvent &e) { return e.kind == PollEvent::AdapterFailed; }));
        QVERIFY(std::any_of(events.begin(), events.end(),
                            [](const PollEvent &e) { return e.kind == PollEvent::Registered; }));
    }

    void serialModemLines()
    {
        auto api = std::make_unique<FakeSerial>();
        FakeSerial *port = api.get();
        port->now = {TIOCM_DSR, {0, 0, 0, 0}};
        SerialDio serial(QStringLiteral("/dev/ttyUSB0"), std::move(api));
        QVERIFY(serial.open().ok());
        for (int bit = 0; bit <= 6; ++bit)
            QVERIFY(serial.setOutput(bit, 0).ok());
        QCOMPARE(port->outputs, TIOCM_RTS | TIOCM_DTR); // outputs cleared: both asserted
        std::array<int, kChannels> levels;
        QVERIFY(serial.levels(levels).ok());
        QCOMPARE(levels, (std::array<int, kChannels>{1, 0, 1, 1, 1, 1})); // DSR asserted: pin low
        QVERIFY(!serial.wired(4) && !serial.wired(5) && serial.wired(3));

        std::vector<EdgeEvent> edges;
        port->script = {{TIOCM_DSR | TIOCM_CTS, {1, 0, 0, 0}}};
        QVERIFY(serial.wait(edges).ok());
        QCOMPARE(edges.size(), size_t(1));
        QCOMPARE(edges[0].channel, 0);
        QVERIFY(!edges[0].high);
        QCOMPARE(edges[0].stampNs, 5000 * kMs);
        // RI rang and stopped before the lines were read: the counter still shows the pulse.
        edges.clear();
        port->script = {{TIOCM_DSR | TIOCM_CTS, {1, 0, 0, 1}}};
        QVERIFY(serial.wait(edges).ok());
        QCOMPARE(edges.size(), size_t(2));
        QCOMPARE(edges[0].channel, 3);
        QVERIFY(!edges[0].high && edges[1].high);
        // Interrupted: back without edges; hung up: unplugged.
        edges.clear();
        serial.interrupt();
        QVERIFY(serial.wait(edges).ok() && edges.empty());
        port->script = {{0, {1, 0, 0, 1}, EIO}};
        QCOMPARE(int(serial.wait(edges).kind), int(AdapterError::Unplugged));
    }

    void serialCaptureStopsWhileWaiting()
    {
        FakeTimingClock clock;
        EdgeCapture capture(clock);
        capture.setConfig(configWith(true, 1), 1);
        auto api = std::make_unique<FakeSerial>();
        api->haveCounts = false;
        QVERIFY(
            capture.start(openEventAdapter(std::make_unique<SerialDio>("/dev/ttyS0", std::move(api))).adapter)
                .ok());
        QTest::qWait(20);
        capture.stop(); // the thread is blocked in the wait; stop must end it
        QVERIFY(!capture.running());
    }

    // Through the timing controller: a chip that cannot be opened says why, an edge becomes a
    // registered time, a chip pulled out ends automatic timing and keeps the time, and once it
    // is back automatic timing goes on again.
    void controllerRunsTheGpioAdapter()
    {
        TestMeet meet;
        meet.makeDatabase();
        QVERIFY(meetFilesCheck(meet.state).ok());
        TimingController timing(meet.state);
        QVERIFY(meet.state.bindDataControls().ok());
        timing.readTimeFiles();
        timing.changeSetup({{field::TypeCode, QString::number(kGpioType)}, {field::GpioInputs, "3 4"}});
        FakeGpio *chip = nullptr;
        int denied = 1;
        timing.setEventAdapterFactory([&](const TimingSetup &s) {
            auto api = std::make_unique<FakeGpio>();
            if (denied-- > 0)
                api->openResult = {EACCES, {}};
            chip = api.get();
            return openEventAdapter(std::make_unique<GpioDio>(GpioConfig::from(s), std::move(api)));
        });
        meet.prompt.clear();
        QVERIFY(!timing.setAutomatic(true));
        QVERIFY(!timing.setup().automatic());
        QVERIFY(meet.prompt.lastMessage().startsWith(meet.state.texts.message(252)));
        QVERIFY2(meet.prompt.lastMessage().contains("plugdev"), qPrintable(meet.prompt.lastMessage()));

        QVERIFY(timing.setAutomatic(true));
        chip->push(0, false, monotonicNs()); // channel 1 registers out-times
        const TimeList &out = timing.session().list(Direction::Out);
        QVERIFY(waitFor([&] { return out.count() == 1; }));

        meet.prompt.clear();
        chip->fail(ENODEV);
        QVERIFY(waitFor([&] { return !timing.setup().automatic(); }));
        QVERIFY(!timing.automatic());
        const AdapterError gone{AdapterError::Unplugged, QStringLiteral("/dev/gpiochip0"), {}, {}};
        QVERIFY(meet.prompt.lastMessage().contains(adapterErrorText(meet.state.texts.language(), gone)));
        QCOMPARE(out.count(), 1);
        QVERIFY(timing.setAutomatic(true)); // plugged back
    }
};

QTEST_GUILESS_MAIN(TestEventAdapters)
#include "TestEventAdapters.moc"
