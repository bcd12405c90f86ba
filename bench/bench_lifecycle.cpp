// Compacting, copying and checking a meet at the largest register sizes (3000 competitors,
// 50 relay teams, 50 clubs), each as the menu command runs it: the windows let go of the
// file, the work is done, and they bind again.
#include "app/Lifecycle.h"
#include "app/MeetFile.h"
#include "db/Schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

using namespace arenor;

namespace {

using arenor::bench::LargestMeet;

template <typename Command> void runCommand(benchmark::State &st, Command command)
{
    LargestMeet meet;
    if (!meet.ok) {
        st.SkipWithError("making the meet failed");
        return;
    }
    for (auto _ : st) {
        if (command(meet.state) != lifecycle::Outcome::Done)
            st.SkipWithError("the command failed");
    }
}

} // namespace

static void BM_CompactLargest(benchmark::State &st)
{
    runCommand(st, lifecycle::compactMeetDatabase);
}
BENCHMARK(BM_CompactLargest)->Unit(benchmark::kMillisecond)->Iterations(10);

static void BM_CopyLargest(benchmark::State &st)
{
    runCommand(st, lifecycle::copyMeetDatabase);
}
BENCHMARK(BM_CopyLargest)->Unit(benchmark::kMillisecond)->Iterations(10);

static void BM_RepairCheckLargest(benchmark::State &st)
{
    runCommand(st, lifecycle::repairMeetDatabase);
}
BENCHMARK(BM_RepairCheckLargest)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
