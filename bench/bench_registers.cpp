// Reading the registers of the largest meet: the competitors alone, and every catalogue as
// start-up and the database commands rebuild them; every catalogue also from a meet on the
// server of PGHOST (goal: under 30 ms).
#include "app/MeetFile.h"
#include "db/AppState.h"
#include "db/Schema.h"
#include "registers/RegisterReaders.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

using namespace arenor;

namespace {

using LargestMeet = bench::TestModeMeet;

} // namespace

static void BM_ReadPersons3000(benchmark::State &st)
{
    LargestMeet meet;
    for (auto _ : st) {
        const registers::RegisterRead read = registers::readPersons(meet.state);
        if (read.count != kMaxPersons || read.indexError)
            st.SkipWithError("wrong read");
    }
}
BENCHMARK(BM_ReadPersons3000)->Unit(benchmark::kMillisecond);

static void BM_ReadEveryRegister(benchmark::State &st, bool server)
{
    if (!bench::serverReady(st, server))
        return;
    LargestMeet meet(server);
    for (auto _ : st) {
        registers::readRegisters(meet.state);
        if (meet.state.catalogs.personCount != kMaxPersons || meet.state.classLines.size() != kClassCount)
            st.SkipWithError("wrong read");
    }
}
BENCHMARK_CAPTURE(BM_ReadEveryRegister, file, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadEveryRegister, server_goal_30ms, true)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
