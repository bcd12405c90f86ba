// Dropping down a runner list of the relay window in the largest meet: 3000 competitors, all
// of one club and class (test mode), so the list holds every one of them. Goal: under 20 ms.
#include "app/MainCommands.h"
#include "app/MeetFile.h"
#include "app/ui/MainWindow.h"
#include "db/AppState.h"
#include "db/Schema.h"
#include "registers/RegisterReaders.h"
#include "registers/Relay.h"
#include "registers/ui/RelayWindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

using namespace arenor;

namespace {

struct LargestMeet : bench::TestModeMeet {
    LargestMeet() { registers::readRegisters(state); }
};

} // namespace

static void BM_RunnerChoices3000(benchmark::State &st)
{
    LargestMeet meet;
    for (auto _ : st) {
        const QStringList list = registers::relayRunnerChoices(meet.state, "Klubb 1", "Junior");
        if (list.size() != kMaxPersons)
            st.SkipWithError("wrong list");
    }
}
BENCHMARK(BM_RunnerChoices3000)->Unit(benchmark::kMillisecond);

static void BM_ClassChoices3000(benchmark::State &st)
{
    LargestMeet meet;
    for (auto _ : st) {
        const QStringList list = registers::relayClassChoices(meet.state, "Klubb 1");
        if (list.size() != 1)
            st.SkipWithError("wrong list");
    }
}
BENCHMARK(BM_ClassChoices3000)->Unit(benchmark::kMillisecond);

// The relay window over the largest meet, showing a team of "Klubb 1", class "Junior".
struct RunnerBox {
    LargestMeet meet;
    MainCommands commands{meet.state};
    MainWindow main{meet.state, commands};
    RelayWindow window{meet.state, main};
    RefillingComboBox *runner = nullptr;
    RunnerBox()
    {
        window.retranslate();
        meet.state.bindDataControls();
        window.show();
        window.setFieldText(registers::RelayClub, "Klubb 1");
        window.setFieldText(registers::RelayClass, "Junior");
        runner = window.findChild<RefillingComboBox *>("runner1ComboBox");
    }
};

// What the organiser waits for: the list built, put into the box and shown.
static void BM_RunnerDropDown3000(benchmark::State &st)
{
    RunnerBox box;
    for (auto _ : st) {
        box.runner->showPopup();
        QApplication::processEvents();
        if (box.runner->count() != kMaxPersons)
            st.SkipWithError("wrong list");
        st.PauseTiming();
        box.runner->hidePopup();
        QApplication::processEvents();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_RunnerDropDown3000)->Unit(benchmark::kMillisecond);

// The part of it that builds the list and fills the box, without showing it.
static void BM_RunnerRefillOnly(benchmark::State &st)
{
    RunnerBox box;
    for (auto _ : st)
        box.runner->refill();
}
BENCHMARK(BM_RunnerRefillOnly)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
