#include "FakeTimingClock.h"
#include "TestSupport.h"

#include "timing/PollingMachine.h"

#include <QTest>
#include <algorithm>

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

    Rig()
    {
        session.setMeetDir(dir.path() + u'/');
        session.readTimes(Direction::Out);
        session.readTimes(Direction::In);
        machine.setConfig(PollConfig::from(TimingSetup()));
    }
    PollConfig &config() { return const_cast<PollConfig &>(machine.config()); }
    // One tick, a millisecond after the last; registrations carried out as the controller does.
    void tick()
    {
        clock.advanceMs(1);
        input.stampNs = clock.nowNs();
        events.clear();
        machine.tick(input, clock, events);
        for (ManualInput &m : input.manual)
            m.pressed = false;
        for (const PollEvent &e : events)
            performRegistrations(session, e, false);
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tick();
    }
    void hold(int channel, bool on) { input.manual[size_t(channel - 1)] = {on, on, clock.nowNs()}; }
    int captures() const
    {
        return int(std::count_if(events.begin(), events.end(),
                                 [](const PollEvent &e) { return e.kind == PollEvent::Captured; }));
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
        // format: 3: the window's clock
        Cases<QTime, int, QString>::columns();
        // clang-format off
        for (auto [name, time, format, text] : {std::tuple{"hours", QTime(9, 5, 3, 995), 0, "09.05.03"},
             {"7 ms cut to 00", QTime(9, 5, 3, 7), 1, "05.03.00"}, {"995 ms cut to 99", QTime(9, 5, 3, 995), 1, "05.03.99"},
             {"seconds", QTime(23, 59, 59, 999), 2, "59.99"}, {"clock", QTime(7, 8, 9, 995), 3, "07.08.09.99"}})
            QTest::newRow(name) << time << format << QString::fromLatin1(text);
        // clang-format on
    }
    void captureTexts()
    {
        auto [time, format, text] = Cases<QTime, int, QString>::fetch();
        QCOMPARE(format == 3 ? clockText(time) : captureText(time, TimeFormat(format)), text);
    }

    // The monotonic clock mapped to the wall clock: the anchor moves only when the wall clock
    // was set (or the offset changed), never for a few milliseconds of drift.
    void wallClockAnchor_data()
    {
        Cases<qint64, QTime>::columns();
        // clang-format off
        for (auto [name, step, after] : {std::tuple{"unchanged", 0LL, QTime(10, 0, 1, 500)},
             {"20 ms drift kept", 20LL, QTime(10, 0, 1, 500)}, {"set 30 ms back", -30LL, QTime(10, 0, 1, 470)},
             {"summer time", 3600000LL, QTime(11, 0, 1, 500)}, {"across midnight", 14 * 3600000LL, QTime(0, 0, 1, 500)}})
            QTest::newRow(name) << qint64(step) << after;
        // clang-format on
    }
    void wallClockAnchor()
    {
        auto [wallStepMs, after] = Cases<qint64, QTime>::fetch();
        qint64 mono = 5'000'000'000;
        qint64 wall = 20000 * 86400000LL + 10 * 3600000LL; // local 10:00 of a day
        SystemTimingClock clock({[&] { return mono; }, [&] { return wall; }});
        const qint64 start = mono;
        QCOMPARE(clock.localTimeAt(start), QTime(10, 0));
        QCOMPARE(clock.localTimeAt(start - 1), QTime(9, 59, 59, 999)); // before the anchor stays before
        mono += 1'500'000'000;
        wall += 1500 + wallStepMs;
        QCOMPARE(clock.localTime(), QTime(10, 0, 1, 500)); // until the poller resyncs
        clock.resync();
        QCOMPARE(clock.localTime(), after);
        QCOMPARE(clock.nowNs(), mono);
    }

    void registeredOnTheEleventhTickWithTheCaptureTime()
    {
        Rig r;
        r.config().format = TimeFormat::MinutesSecondsHundredths;
        r.hold(1, true);
        r.tick();
        QCOMPARE(r.captures(), 1);
        QCOMPARE(r.events[0].time, QStringLiteral("15.30.00")); // 10:15:30.001
        r.hold(1, false); // a pending capture is registered even when the signal has gone
        r.ticks(10);
        QCOMPARE(r.out().count(), 0);
        r.tick();
        QCOMPARE(r.out().records, (std::vector<TimeRecord>{{"1-0001", "15.30.00", "", ""}}));
        QVERIFY(!r.machine.channel(0).latched);
    }

    void aHeldSignalCapturesOnce()
    {
        Rig r;
        r.config().delay = 2;
        r.hold(3, true);
        r.tick();
        r.hold(3, false); // a short pulse while latched gives no second capture
        r.tick();
        r.hold(3, true);
        int captures = 0;
        for (int i = 0; i < 20; ++i) {
            r.tick();
            captures += r.captures();
        }
        QCOMPARE(captures, 0);
        QCOMPARE(r.out().count(), 1);
        // One inactive tick after the registration re-arms the channel.
        r.hold(3, false);
        r.tick();
        r.hold(3, true);
        r.tick();
        QCOMPARE(r.captures(), 1);
    }

    void aPressAndReleaseBetweenTicksIsOneCaptureAtThePress()
    {
        Rig r;
        r.config().format = TimeFormat::MinutesSecondsHundredths;
        r.ticks(5);
        const qint64 pressedAt = r.clock.nowNs() + 400000; // 0.4 ms after the last tick
        r.input.manual[1] = {false, true, pressedAt};      // already released again
        r.clock.advanceMs(30);                             // the next tick comes late
        r.tick();
        QCOMPARE(r.captures(), 1);
        QCOMPARE(r.events[0].stampNs, pressedAt);
        r.ticks(20);
        QCOMPARE(r.in().count(), 1); // channel 2 registers in-times in a new meet
    }

    void channelSetupChoosesTheLists_data()
    {
        Cases<bool, bool, QString, QString>::columns();
        QTest::newRow("both: consecutive numbers") << true << true << QStringLiteral("2-0004") << "2-0005";
        QTest::newRow("neither: nothing") << false << false << QString() << QString();
    }
    void channelSetupChoosesTheLists()
    {
        auto [out, in, outIndex, inIndex] = Cases<bool, bool, QString, QString>::fetch();
        Rig r;
        r.config().out[1] = out;
        r.config().in[1] = in;
        r.session.counters().raiseFrom("2-0003");
        r.session.setNumberBox(Direction::Out, "12");
        r.session.setNumberBox(Direction::In, "13");
        r.hold(2, true);
        r.ticks(12);
        QVERIFY(!r.machine.channel(1).latched);
        QCOMPARE(r.out().count() ? r.out().records[0].index : QString(), outIndex);
        QCOMPARE(r.in().count() ? r.in().records[0].index : QString(), inIndex);
        if (out)
            QCOMPARE(r.out().records[0].number, QStringLiteral("12"));
    }

    void adapterLevels_data()
    {
        Cases<bool, int, bool>::columns();
        // clang-format off
        for (auto [name, low, read, active] : {std::tuple{"low, 0", true, 0, true}, {"low, 2", true, 2, false},
             {"high, 1", false, 1, true}, {"high, -1", false, -1, false}})
            QTest::newRow(name) << low << read << active;
        // clang-format on
    }
    void adapterLevels()
    {
        auto [low, read, active] = Cases<bool, int, bool>::fetch();
        Rig r;
        r.config().lowLevel = low;
        r.input.automatic = true;
        r.input.adapter.fill(low ? 1 : 0);
        r.input.adapter[4] = read;
        r.hold(5, true); // keys count for nothing while the adapter is read
        r.tick();
        QCOMPARE(r.captures(), active ? 1 : 0);
        QCOMPARE(r.machine.channel(4).signal, active);
    }

    void adapterFailureAndSwitchingOffLetGoOfHeldSignals()
    {
        Rig r;
        r.config().delay = 1;
        r.input.automatic = true;
        r.input.adapter.fill(0); // low level: all active, and held
        r.tick();
        QCOMPARE(r.captures(), 6);
        r.ticks(3);
        QCOMPARE(r.out().count(), 3);
        QCOMPARE(r.captures(), 0);
        r.machine.automaticOff(); // switched off and on: a held channel captures again
        r.tick();
        QCOMPARE(r.captures(), 6);
        r.input.adapterError = QStringLiteral("gone");
        r.tick();
        QCOMPARE(r.events.size(), size_t(1));
        QCOMPARE(r.events[0].kind, PollEvent::AdapterFailed);
        QVERIFY(!r.machine.channel(0).armed);
        QVERIFY(r.machine.channel(0).latched); // still registered later
    }

    void eventStamps_data()
    {
        Cases<quint64, qint64, qint64>::columns();
        const qint64 now = 5000123456789LL; // 5000123.456789 ms
        QTest::newRow("no time") << quint64(0) << now << now;
        QTest::newRow("12 ms ago") << quint64(5000111) << now << now - 12 * 1000000LL;
        QTest::newRow("2 s ago (window busy)") << quint64(4998123) << now << now - 2000 * 1000000LL;
        QTest::newRow("in the future") << quint64(5000200) << now << now;
        const qint64 wrapped = (qint64(1) << 32) * 1000000 + 5 * 1000000; // 5 ms past a 32-bit wrap
        QTest::newRow("across the 32-bit wrap") << quint64(0xFFFFFFFEu) << wrapped << wrapped - 7 * 1000000LL;
    }
    void eventStamps()
    {
        auto [eventMs, nowNs, stamp] = Cases<quint64, qint64, qint64>::fetch();
        QCOMPARE(eventStampNs(eventMs, nowNs), stamp);
    }
};

QTEST_GUILESS_MAIN(TestPolling)
#include "TestPolling.moc"
