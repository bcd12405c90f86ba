// Timing: the polling rate at a 1 ms interval (as the poller counts it and as the timing
// window shows it), the capture error of a simulated adapter toggled from another thread
// (idle, and with the event loop blocked for 2 s), and reading a full time file into the
// timing window's list.
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "timing/SignalPoller.h"
#include "timing/ui/TimingWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <mutex>
#include <random>
#include <thread>

using namespace arenor;
using namespace arenor::timing;

namespace {


// A program started on a new meet, as the user starts it.
struct Started {
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    RecordingEditorLauncher editor;
    std::unique_ptr<Application> app;
    TimingWindow *window = nullptr;
    Started()
    {
        prompt.setNextAnswer(Answer::Yes);
        app = std::make_unique<Application>(dir.path(), &prompt, &editor);
        app->start(false);
        window = dynamic_cast<TimingWindow *>(app->mainWindow().childWindow(WindowId::Timing));
    }
};

void spinEvents(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

} // namespace

// Ticks per second of the polling thread at 1 ms, automatic timing on (six adapter reads a tick).
static void BM_PollingRate(benchmark::State &st)
{
    SystemTimingClock clock;
    SignalPoller poller(clock);
    poller.setIntervalMs(1);
    poller.setAdapter(std::make_unique<SimulatedDio>(), 0);
    poller.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    double worst = 1e9;
    for (auto _ : st) {
        const quint64 t0 = poller.ticks();
        const qint64 n0 = clock.nowNs();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double rate = double(poller.ticks() - t0) * 1e9 / double(clock.nowNs() - n0);
        worst = std::min(worst, rate);
        st.SetIterationTime(1.0);
    }
    st.counters["ticks_per_s_worst"] = worst;
}
BENCHMARK(BM_PollingRate)->Iterations(5)->UseManualTime()->Unit(benchmark::kSecond);

// The figure the timing window's rate display shows, second by second.
static void BM_WindowRateDisplay(benchmark::State &st)
{
    Started s;
    spinEvents(1100);
    double worst = 1e9;
    for (auto _ : st) {
        spinEvents(1000); // the window's own 1000 ms timer updates the display
        worst = std::min(worst, double(s.window->shownRate()));
        st.SetIterationTime(1.0);
    }
    st.counters["shown_per_s_worst"] = worst;
}
BENCHMARK(BM_WindowRateDisplay)->Iterations(5)->UseManualTime()->Unit(benchmark::kSecond);

// Stamped time minus the instant the adapter's level changed, over pulses on all six channels;
// the events reach the main thread's event loop, which is blocked for 2 s in the middle when
// range(0) is 1.
static void BM_CaptureError(benchmark::State &st)
{
    const bool blocked = st.range(0) == 1;
    for (auto _ : st) {
        SystemTimingClock clock;
        SignalPoller poller(clock);
        PollConfig c = PollConfig::from(TimingSetup());
        c.delay = 1;
        poller.setConfig(c);
        poller.setIntervalMs(1);
        auto io = std::make_unique<SimulatedDio>();
        SimulatedDio *sim = io.get();
        poller.setAdapter(std::move(io), 0);

        QObject receiver;
        std::vector<qint64> stamps[kChannels];
        poller.setNotify([&] {
            QMetaObject::invokeMethod(&receiver, [&] {
                for (const PollEvent &e : poller.takeEvents())
                    if (e.kind == PollEvent::Captured)
                        stamps[e.channel - 1].push_back(e.stampNs);
            }, Qt::QueuedConnection);
        });
        poller.start();

        std::vector<qint64> truth[kChannels];
        std::atomic<bool> done{false};
        std::thread toggler([&] {
            std::mt19937 random(42);
            std::uniform_int_distribution<int> gap(4000, 9000); // microseconds
            for (int pulse = 0; pulse < 600; ++pulse) {
                const int ch = pulse % kChannels;
                std::this_thread::sleep_for(std::chrono::microseconds(gap(random)));
                truth[ch].push_back(clock.nowNs());
                sim->setInput(ch, 0); // low is active
                std::this_thread::sleep_for(std::chrono::milliseconds(10)); // a runner breaking the beam
                sim->setInput(ch, 1);
            }
            done = true;
        });
        spinEvents(300);
        if (blocked) {
            // A busy program: the event loop does nothing else for 2 s.
            QElapsedTimer t;
            t.start();
            volatile quint64 sink = 0;
            while (t.elapsed() < 2000)
                sink = sink + 1;
        }
        while (!done)
            spinEvents(20);
        spinEvents(100);
        toggler.join();
        poller.stop();
        QCoreApplication::processEvents();
        for (const PollEvent &e : poller.takeEvents())
            if (e.kind == PollEvent::Captured)
                stamps[e.channel - 1].push_back(e.stampNs);

        // Each pulse is matched with the first capture of its channel between it and the next
        // pulse, so a missed pulse counts as missed and does not shift the others.
        std::vector<double> errors;
        size_t missed = 0;
        for (int ch = 0; ch < kChannels; ++ch) {
            const auto &t = truth[ch];
            for (size_t i = 0; i < t.size(); ++i) {
                const qint64 end = i + 1 < t.size() ? t[i + 1] : std::numeric_limits<qint64>::max();
                auto hit = std::find_if(stamps[ch].begin(), stamps[ch].end(),
                                        [&](qint64 s) { return s >= t[i] && s < end; });
                if (hit == stamps[ch].end())
                    ++missed;
                else
                    errors.push_back(double(*hit - t[i]) / 1e6);
            }
        }
        st.counters["p50_ms"] = percentile(errors, 0.5);
        st.counters["p99_ms"] = percentile(errors, 0.99);
        st.counters["max_ms"] = errors.empty() ? 0 : *std::max_element(errors.begin(), errors.end());
        st.counters["min_ms"] = errors.empty() ? 0 : *std::min_element(errors.begin(), errors.end());
        st.counters["captures"] = double(errors.size());
        st.counters["missed"] = double(missed);
        st.counters["realtime"] = poller.realTime() ? 1 : 0;
    }
}
BENCHMARK(BM_CaptureError)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

// A full out-times file (3000 records) read into its list and the window's display list.
static void BM_ReadFullTimeFile(benchmark::State &st)
{
    Started s;
    TimeList full;
    for (int i = 1; i <= kMaxTimes; ++i)
        full.records.push_back({registrationIndex(1 + i % 6, i), QStringLiteral("12.34.56"), QString::number(i), {}});
    rewriteTimesFile(s.app->state().meetFile(QStringLiteral("UtTider.txt")), full,
                     timesFileTitle(Direction::Out, TitleStyle::Registration));
    for (auto _ : st) {
        QElapsedTimer t;
        t.start();
        s.window->controller().readTimeFiles();
        st.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
    st.counters["records"] = s.window->controller().session().list(Direction::Out).count();
}
BENCHMARK(BM_ReadFullTimeFile)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
