#include "TestSupport.h"

#include "timing/PollingMachine.h"
#include "timing/SignalPoller.h"

#include <QTest>
#include <algorithm>
#include <thread>

using namespace arenor;
using namespace arenor::timing;
using namespace arenor::test;

namespace {

// The machine, a meet's time lists and a clock, driven one tick at a time.
struct Rig {
    QTemporaryDir dir;
    FakeTimingClock clock{QTime(10, 15, 30)};
    PollingMachine machine;
    TimingSession session;
    TickInput input;
    std::vector<PollEvent> events;
    std::vector<Registration> registered;
    bool autoOutNumber = false;

    Rig()
    {
        session.setMeetDir(dir.path() + u'/');
        PollConfig c = PollConfig::from(TimingSetup());
        machine.setConfig(c);
    }
    PollConfig &config() { return const_cast<PollConfig &>(machine.config()); }
    // One tick, a millisecond after the last; registrations carried out as the window does.
    void tick()
    {
        clock.advanceMs(1);
        input.stampNs = clock.nowNs();
        events.clear();
        machine.tick(input, clock, events);
        for (ManualInput &m : input.manual)
            m.pressed = false;
        for (const PollEvent &e : events)
            for (const Registration &r : performRegistrations(session, e, autoOutNumber))
                registered.push_back(r);
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tick();
    }
    void hold(int channel, bool on)
    {
        input.manual[size_t(channel - 1)].level = on;
        if (on) {
            input.manual[size_t(channel - 1)].pressed = true;
            input.manual[size_t(channel - 1)].pressNs = clock.nowNs();
        }
    }
    int captures() const
    {
        return int(std::count_if(events.begin(), events.end(), [](const PollEvent &e) { return e.kind == PollEvent::Captured; }));
    }
    const TimeList &out() const { return session.list(Direction::Out); }
    const TimeList &in() const { return session.list(Direction::In); }
};

} // namespace

class TestPolling : public QObject {
    Q_OBJECT
private slots:
    void captureTexts_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("text");
        QTest::newRow("hours") << QTime(9, 5, 3, 995) << 0 << "09.05.03";
        QTest::newRow("7 ms cut to 00") << QTime(9, 5, 3, 7) << 1 << "05.03.00";
        QTest::newRow("995 ms cut to 99") << QTime(9, 5, 3, 995) << 1 << "05.03.99";
        QTest::newRow("seconds") << QTime(23, 59, 59, 999) << 2 << "59.99";
        QTest::newRow("seconds, 10 ms") << QTime(0, 0, 0, 10) << 2 << "00.01";
    }
    void captureTexts()
    {
        QFETCH(QTime, time);
        QFETCH(int, format);
        QFETCH(QString, text);
        QCOMPARE(captureText(time, TimeFormat(format)), text);
    }

    void clockTextHasHundredths()
    {
        QCOMPARE(clockText(QTime(7, 8, 9, 995)), QStringLiteral("07.08.09.99"));
    }

    void registeredOnTheEleventhTickWithTheCaptureTime()
    {
        Rig r;
        r.config().delay = 10;
        r.config().format = TimeFormat::MinutesSecondsHundredths;
        r.hold(1, true);
        r.tick();
        QCOMPARE(r.captures(), 1);
        const QString captured = r.events[0].time;
        QCOMPARE(captured, QStringLiteral("15.30.00")); // 10:15:30.001
        QVERIFY(r.machine.channel(0).latched);
        r.hold(1, false); // a pending capture is registered even when the signal has gone
        r.ticks(10);
        QCOMPARE(r.out().count(), 0);
        QCOMPARE(r.machine.channel(0).delayCount, 10);
        r.tick();
        QCOMPARE(r.out().count(), 1);
        QCOMPARE(r.out().records[0], (TimeRecord{"1-0001", captured, "", ""}));
        QVERIFY(!r.machine.channel(0).latched);
        QCOMPARE(r.machine.channel(0).delayCount, 0);
    }

    void aHeldSignalCapturesOnce()
    {
        Rig r;
        r.config().delay = 2;
        r.hold(3, true);
        int captures = 0;
        for (int i = 0; i < 20; ++i) {
            r.tick();
            captures += r.captures();
        }
        QCOMPARE(captures, 1);
        QCOMPARE(r.out().count(), 1);
        QVERIFY(r.machine.channel(2).armed);
        // One inactive tick after the registration re-arms the channel.
        r.hold(3, false);
        r.tick();
        QVERIFY(!r.machine.channel(2).armed);
        r.hold(3, true);
        r.tick();
        QCOMPARE(r.captures(), 1);
    }

    void aShortPulseDuringTheDelayGivesNoSecondCapture()
    {
        Rig r;
        r.config().delay = 5;
        r.hold(1, true);
        r.tick();
        r.hold(1, false);
        r.tick();
        r.hold(1, true); // still latched: no new capture
        r.tick();
        QCOMPARE(r.captures(), 0);
        r.ticks(10);
        QCOMPARE(r.out().count(), 1);
    }

    void aPressAndReleaseBetweenTicksIsOneCaptureAtThePress()
    {
        Rig r;
        r.config().format = TimeFormat::MinutesSecondsHundredths;
        r.ticks(5);
        const qint64 pressedAt = r.clock.nowNs() + 400000; // 0.4 ms after the last tick
        r.input.manual[1] = {false, true, pressedAt};       // already released again
        r.clock.advanceMs(30);                              // the next tick comes late
        r.tick();
        QCOMPARE(r.captures(), 1);
        QCOMPARE(r.events[0].stampNs, pressedAt);
        QCOMPARE(r.events[0].time, QStringLiteral("15.30.00"));
        r.ticks(20);
        QCOMPARE(r.in().count(), 1); // channel 2 registers in-times in a new meet
    }

    void bothBoxesGiveConsecutiveNumbers()
    {
        Rig r;
        r.config().out[1] = true;
        r.config().in[1] = true;
        r.session.counters().raiseFrom("2-0003");
        r.session.setNumberBox(Direction::Out, "12");
        r.session.setNumberBox(Direction::In, "13");
        r.hold(2, true);
        r.ticks(12);
        QCOMPARE(r.registered.size(), size_t(2));
        QCOMPARE(r.out().records.at(0).index, QStringLiteral("2-0004"));
        QCOMPARE(r.out().records.at(0).number, QStringLiteral("12"));
        QCOMPARE(r.in().records.at(0).index, QStringLiteral("2-0005"));
        QCOMPARE(r.in().records.at(0).number, QStringLiteral("13"));
        QCOMPARE(r.out().records[0].time, r.in().records[0].time);
    }

    void neitherBoxCapturesThenClears()
    {
        Rig r;
        r.config().out[0] = false;
        r.config().in[0] = false;
        r.hold(1, true);
        r.tick();
        QCOMPARE(r.captures(), 1);
        r.ticks(11);
        QVERIFY(!r.machine.channel(0).latched);
        QCOMPARE(r.out().count() + r.in().count(), 0);
        QCOMPARE(r.session.counters().value(1), 0);
    }

    void autoOutNumberCountsUp()
    {
        Rig r;
        r.autoOutNumber = true;
        r.config().delay = 1;
        for (int i = 0; i < 3; ++i) {
            r.hold(1, true);
            r.ticks(3);
            r.hold(1, false);
            r.ticks(2);
        }
        QCOMPARE(r.out().count(), 3);
        QCOMPARE(r.out().records[0].number, QStringLiteral("1"));
        QCOMPARE(r.out().records[1].number, QStringLiteral(" 2"));
        QCOMPARE(r.out().records[2].number, QStringLiteral(" 3"));
        QCOMPARE(r.session.numberBox(Direction::Out), QStringLiteral(" 4"));
    }

    void adapterLevels_data()
    {
        QTest::addColumn<bool>("low");
        QTest::addColumn<int>("read");
        QTest::addColumn<bool>("active");
        QTest::newRow("low, 0") << true << 0 << true;
        QTest::newRow("low, 1") << true << 1 << false;
        QTest::newRow("low, 2") << true << 2 << false;
        QTest::newRow("high, 1") << false << 1 << true;
        QTest::newRow("high, 0") << false << 0 << false;
        QTest::newRow("high, 2") << false << 2 << false;
        QTest::newRow("high, -1") << false << -1 << false;
    }
    void adapterLevels()
    {
        QFETCH(bool, low);
        QFETCH(int, read);
        QFETCH(bool, active);
        Rig r;
        r.config().lowLevel = low;
        r.input.automatic = true;
        r.input.adapter.fill(low ? 1 : 0);
        r.input.adapter[4] = read;
        r.hold(5, true); // keys count for nothing while the adapter is read
        r.tick();
        QCOMPARE(r.captures(), active ? 1 : 0);
        QCOMPARE(r.machine.channel(4).signal, active);
        if (active)
            QCOMPARE(r.events[0].channel, 5);
    }

    void adapterFailureEndsAutomaticTiming()
    {
        Rig r;
        r.input.automatic = true;
        r.input.adapter.fill(0); // low level: all active
        r.tick();
        QCOMPARE(r.captures(), 6);
        r.input.adapterError = QStringLiteral("gone");
        r.tick();
        QCOMPARE(r.events.size(), size_t(1));
        QCOMPARE(r.events[0].kind, PollEvent::AdapterFailed);
        QVERIFY(!r.machine.channel(0).armed);
        QVERIFY(r.machine.channel(0).latched); // still registered later
    }

    void automaticOffLetsAHeldChannelCaptureAgain()
    {
        Rig r;
        r.config().delay = 1;
        r.input.automatic = true;
        r.input.adapter.fill(1);
        r.input.adapter[0] = 0;
        r.ticks(5);
        QCOMPARE(r.out().count(), 1);
        QVERIFY(r.machine.channel(0).armed);
        r.machine.automaticOff();
        r.tick(); // the adapter still holds channel 1 active
        QCOMPARE(r.captures(), 1);
    }

    void eventStamps_data()
    {
        QTest::addColumn<quint64>("eventMs");
        QTest::addColumn<qint64>("nowNs");
        QTest::addColumn<qint64>("stamp");
        const qint64 now = 5000123456789LL; // 5000123.456789 ms
        QTest::newRow("no time") << quint64(0) << now << now;
        QTest::newRow("12 ms ago") << quint64(5000111) << now << now - 12 * 1000000LL;
        QTest::newRow("2 s ago (window busy)") << quint64(4998123) << now << now - 2000 * 1000000LL;
        QTest::newRow("other clock") << quint64(77) << now << now;
        QTest::newRow("in the future") << quint64(5000200) << now << now;
        const qint64 wrapped = (qint64(1) << 32) * 1000000 + 5 * 1000000; // 5 ms past a 32-bit wrap
        QTest::newRow("across the 32-bit wrap") << quint64(0xFFFFFFFEu) << wrapped << wrapped - 7 * 1000000LL;
    }
    void eventStamps()
    {
        QFETCH(quint64, eventMs);
        QFETCH(qint64, nowNs);
        QFETCH(qint64, stamp);
        QCOMPARE(eventStampNs(eventMs, nowNs), stamp);
    }

    void adapterInitialisation_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("fail");
        QTest::addColumn<quint32>("printPort");
        QTest::newRow("card") << 2 << false << 0u;
        QTest::newRow("printer port") << 7 << false << 0x278u;
        QTest::newRow("missing") << 0 << true << 0u;
    }
    void adapterInitialisation()
    {
        QFETCH(int, type);
        QFETCH(bool, fail);
        QFETCH(quint32, printPort);
        SimulatedDio io;
        io.failInitialisation(fail);
        for (int bit = 0; bit < 8; ++bit)
            io.DIOset(0, bit, 1);
        const DioResult board = initAdapter(io, {type, 0x2A8, 0x278});
        QCOMPARE(board.ok(), !fail);
        if (fail)
            return;
        QCOMPARE(io.printPort(), printPort);
        QCOMPARE(io.baseAddress(), 0x2A8u);
        QCOMPARE(io.typeCode(), type);
        for (int bit = 0; bit <= 6; ++bit)
            QCOMPARE(io.output(bit), 0);
        QCOMPARE(io.output(7), 1); // seven bits only
    }

    void setupFieldsAndAddresses()
    {
        TimingSetup s;
        QCOMPARE(s.typeCode(), 2);
        QVERIFY(s.lowLevel());
        QVERIFY(s.registersOut(1) && !s.registersIn(1));
        QVERIFY(!s.registersOut(6) && s.registersIn(6));
        QVERIFY(s.keepImported() && !s.automatic() && !s.autoOutNumber());
        QCOMPARE(s.interval(), 1);
        QCOMPARE(s.delay(), 10);
        QCOMPARE(hexAddress("280"), 640u);
        QCOMPARE(hexAddress(" 03bc "), 0x3BCu);
        QCOMPARE(hexAddress("zz"), 0u);
        s.values[field::Delay] = QStringLiteral("99999");
        QCOMPARE(s.delay(), kMaxDelay);
        s.values[field::SignalLevel] = QStringLiteral("0");
        QVERIFY(!s.lowLevel());
    }

    void setupIsStoredWithTheMeet()
    {
        TestMeet meet;
        meet.makeDatabase();
        const QString table = QStringLiteral("Tidtakingoppsett");
        TimingSetupStore store;
        QVERIFY(store.open(meet.state.database, table).ok());
        QCOMPARE(meet.state.database.fieldNames(table).size(), field::Count);
        QVERIFY(store.set(field::Delay, QStringLiteral("250")).ok());
        QVERIFY(store.set({{field::TypeCode, QStringLiteral("8")}, {field::TypeName, QStringLiteral("Pocket DI 16 Bit")}}).ok());
        QVERIFY(store.set(field::outOf(2), true).ok());
        store.close();

        TimingSetupStore again;
        QVERIFY(again.open(meet.state.database, table).ok());
        QCOMPARE(again.setup().delay(), 250);
        QCOMPARE(again.setup().typeCode(), 8);
        QVERIFY(again.setup().printerPortType());
        QVERIFY(again.setup().registersOut(2));
        QCOMPARE(again.setup().text(field::CardAddress), QStringLiteral("280"));
        QCOMPARE(meet.state.database.recordCount(table), 1);
    }

    void pollerThreadStampsAtTheSignal()
    {
        SystemTimingClock clock;
        SignalPoller poller(clock);
        PollConfig c = PollConfig::from(TimingSetup());
        c.delay = 1;
        poller.setConfig(c);
        auto io = std::make_unique<SimulatedDio>();
        SimulatedDio *sim = io.get();
        poller.setAdapter(std::move(io), 0);
        QVERIFY(poller.automatic());
        std::atomic<int> notified{0};
        poller.setNotify([&] { ++notified; });
        poller.start();
        QTest::qWait(50);
        const qint64 toggled = clock.nowNs();
        sim->setInput(0, 0);
        QTRY_VERIFY_WITH_TIMEOUT(notified.load() > 0, 2000);
        QTest::qWait(50);
        sim->setInput(0, 1);
        std::vector<PollEvent> events = poller.takeEvents();
        QVERIFY(!events.empty());
        QCOMPARE(events[0].kind, PollEvent::Captured);
        QCOMPARE(events[0].channel, 1);
        // Generous bounds: this runs beside other tests; the benchmark measures it properly.
        QVERIFY(events[0].stampNs >= toggled);
        QVERIFY2(events[0].stampNs - toggled < 100 * 1000000LL, qPrintable(QString::number(events[0].stampNs - toggled)));
        QVERIFY(poller.ticks() > 20);

        sim->failReads(true);
        QTRY_VERIFY_WITH_TIMEOUT(!poller.automatic(), 2000);
        poller.stop();
        bool failed = false;
        for (const PollEvent &e : poller.takeEvents())
            failed = failed || e.kind == PollEvent::AdapterFailed;
        QVERIFY(failed);
    }

    void pollerTakesKeysBetweenTicks()
    {
        FakeTimingClock clock;
        SignalPoller poller(clock);
        poller.setConfig(PollConfig::from(TimingSetup()));
        clock.setNs(1000000000);
        poller.press(3, 999000000);
        poller.release(3);
        clock.advanceMs(5);
        poller.tickOnce();
        const auto events = poller.takeEvents();
        QCOMPARE(events.size(), size_t(1));
        QCOMPARE(events[0].channel, 4);
        QCOMPARE(events[0].stampNs, 999000000LL);
        QVERIFY(poller.channelStates()[3].latched);
    }
};

QTEST_GUILESS_MAIN(TestPolling)
#include "TestPolling.moc"
