// Event-driven timing adapters on a fake gpiochip: the stored time against the edge's own
// stamp when the capture thread sees the edge 50 ms late; edge to registration in the timing
// window's list with the machine under load; and wake-ups of an idle adapter.
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "timing/EdgeCapture.h"
#include "timing/GpioDio.h"
#include "timing/ui/TimingWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <thread>

using namespace arenor;
using namespace arenor::timing;

namespace {

constexpr qint64 kMs = 1000000;

// A chip whose edges the benchmark queues; heldBackMs delays each delivery after the edge.
struct BenchGpio : GpioApi {
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<GpioEdge> queue;
    bool interrupted = false;
    int heldBackMs = 0;

    GpioOpenResult open(const QString &, const std::vector<unsigned> &, const std::vector<unsigned> &,
                        bool) override
    {
        return {};
    }
    void close() override {}
    int readInputs(std::vector<int> &values) override
    {
        values.assign(6, 1);
        return 0;
    }
    int setOutput(size_t, int) override { return 0; }
    int waitEdges(std::vector<GpioEdge> &edges) override
    {
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return !queue.empty() || interrupted; });
        interrupted = false;
        if (heldBackMs > 0 && !queue.empty()) {
            const qint64 release = queue.front().stampNs + heldBackMs * kMs;
            lock.unlock();
            while (monotonicNs() < release)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            lock.lock();
        }
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
    QString ownerGroup(const QString &) override { return {}; }
    std::pair<qint64, qint64> clocks() override { return {monotonicNs(), 0}; }
    void push(int input, bool rising, qint64 stamp)
    {
        std::lock_guard lock(mutex);
        queue.push_back({input, rising, stamp});
        cv.notify_all();
    }
};

std::unique_ptr<EventAdapter> benchAdapter(BenchGpio *&chip)
{
    TimingSetup setup;
    setup.values[field::GpioInputs] = QStringLiteral("0 1 2 3 4 5");
    auto api = std::make_unique<BenchGpio>();
    chip = api.get();
    return openEventAdapter(std::make_unique<GpioDio>(GpioConfig::from(setup), std::move(api))).adapter;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
}

void spinUntil(const std::function<bool()> &done, int timeoutMs = 2000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

// 100 edges, each seen by the capture thread 50 ms after it happened: the registered text must
// be the edge's time in the finest format (hundredths), and the stamp the edge's to the ns.
static void BM_HeldBackStamp(benchmark::State &st)
{
    for (auto _ : st) {
        SystemTimingClock clock;
        EdgeCapture capture(clock);
        PollConfig c = PollConfig::from(TimingSetup());
        c.delay = 1;
        c.format = TimeFormat::MinutesSecondsHundredths;
        capture.setConfig(c, 1);
        BenchGpio *chip = nullptr;
        capture.start(benchAdapter(chip));
        chip->heldBackMs = 50;
        std::vector<qint64> edges;
        std::vector<PollEvent> registered;
        for (int i = 0; i < 100; ++i) {
            const qint64 t = monotonicNs();
            edges.push_back(t);
            chip->push(i % 6, false, t);
            chip->push(i % 6, true, t + kMs);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
            if (i % 6 == 5)
                std::this_thread::sleep_for(std::chrono::milliseconds(60)); // let the line rest
        }
        QElapsedTimer wait;
        wait.start();
        while (registered.size() < edges.size() && wait.elapsed() < 10000) {
            for (const PollEvent &e : capture.takeEvents())
                if (e.kind == PollEvent::Registered)
                    registered.push_back(e);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        capture.stop();
        std::sort(registered.begin(), registered.end(),
                  [](const PollEvent &a, const PollEvent &b) { return a.stampNs < b.stampNs; });
        int equal = 0;
        qint64 worst = 0;
        for (size_t i = 0; i < registered.size() && i < edges.size(); ++i) {
            worst = std::max(worst, std::abs(registered[i].stampNs - edges[i]));
            equal += registered[i].time == captureText(clock.localTimeAt(edges[i]), c.format) ? 1 : 0;
        }
        st.counters["edges"] = double(edges.size());
        st.counters["registered"] = double(registered.size());
        st.counters["text_equal"] = equal;
        st.counters["max_stamp_error_ns"] = double(worst);
    }
}
BENCHMARK(BM_HeldBackStamp)->Iterations(1)->Unit(benchmark::kMillisecond);

// Edge to the row in the timing window's list, beyond the delay (delay 1 at 1 ms: due 2 ms
// after the edge), while two threads keep both cores busy and channel 6 bounces at 1 kHz
// (capturing, but registering nowhere, so the lists only hold the measured pulses).
static void BM_EventToRegistration(benchmark::State &st)
{
    QTemporaryDir dir;
    ScriptedPrompt prompt;
    RecordingEditorLauncher editor;
    prompt.setNextAnswer(Answer::Yes);
    Application app(dir.path(), &prompt, &editor);
    app.start(false);
    auto *w = dynamic_cast<TimingWindow *>(app.mainWindow().childWindow(WindowId::Timing));
    BenchGpio *chip = nullptr;
    app.timing().setEventAdapterFactory([&](const TimingSetup &) {
        OpenedAdapter opened;
        opened.adapter = benchAdapter(chip);
        return opened;
    });
    auto *type = w->findChild<QComboBox *>("adapterTypeComboBox");
    type->setCurrentIndex(kGpioType);
    emit type->activated(kGpioType);
    w->findChild<QSlider *>("delaySlider")->setValue(1);
    w->findChild<QCheckBox *>("inChannelCheckBox5")->click();
    w->findChild<QCheckBox *>("automaticCheckBox")->click();
    QListWidget *lists[2] = {w->findChild<QListWidget *>("outTimesListWidget"),
                             w->findChild<QListWidget *>("inTimesListWidget")};

    std::atomic<bool> stop{false};
    std::vector<std::thread> load;
    for (int i = 0; i < 2; ++i)
        load.emplace_back([&] {
            volatile quint64 sink = 0;
            while (!stop.load(std::memory_order_relaxed))
                sink = sink + 1;
        });
    load.emplace_back([&] {
        for (int i = 0; !stop.load(); ++i) {
            chip->push(5, i % 2 == 1, monotonicNs());
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    });
    std::vector<double> late;
    const qint64 delayNs = 2 * kMs;
    for (auto _ : st) {
        for (int pulse = 0; pulse < 300; ++pulse) {
            const int channel = pulse % 5; // 1, 3, 5 out-times; 2, 4 in-times in a new meet
            QListWidget *list = lists[channel % 2];
            const int before = list->count();
            const qint64 t = monotonicNs();
            chip->push(channel, false, t);
            spinUntil([&] { return list->count() > before; });
            late.push_back(double(monotonicNs() - t - delayNs) / 1e6);
            chip->push(channel, true, monotonicNs());
            spinUntil([] { return false; }, 2);
        }
    }
    stop = true;
    for (std::thread &t : load)
        t.join();
    st.counters["pulses"] = double(late.size());
    st.counters["p50_ms"] = percentile(late, 0.5);
    st.counters["p99_ms"] = percentile(late, 0.99);
    st.counters["max_ms"] = late.empty() ? 0 : *std::max_element(late.begin(), late.end());
}
BENCHMARK(BM_EventToRegistration)->Iterations(1)->Unit(benchmark::kSecond);

// An adapter with nothing happening for a second: the capture threads must not wake.
static void BM_IdleWakeups(benchmark::State &st)
{
    for (auto _ : st) {
        SystemTimingClock clock;
        EdgeCapture capture(clock);
        BenchGpio *chip = nullptr;
        capture.start(benchAdapter(chip));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const quint64 before = capture.wakeups();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        st.counters["wakeups_per_s"] = double(capture.wakeups() - before);
        capture.stop();
    }
}
BENCHMARK(BM_IdleWakeups)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
