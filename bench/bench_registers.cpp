// Reading the registers of the largest meet: the competitors alone, and every catalogue as
// start-up and the database commands rebuild them.
#include "app/AppState.h"
#include "db/MeetFile.h"
#include "db/Schema.h"
#include "registers/RegisterReaders.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace arenor;

namespace {

struct LargestMeet {
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompt prompt;
    LargestMeet()
    {
        state.programDir = dir.path();
        state.prompt = &prompt;
        state.testMode = true; // names, clubs and classes in every record
        state.setMeetDirectory();
        state.catalogs.personCount = kMaxPersons;
        state.catalogs.relayCount = kMaxRelays;
        state.catalogs.clubCount = kMaxClubs;
        prompt.setNextAnswer(Answer::Yes);
        if (!createMeetFile(state) || !state.database.open(state.databasePath()) ||
            !schema::initAllTables(state))
            qFatal("making the meet failed");
    }
};

} // namespace

static void BM_ReadPersons3000(benchmark::State &st)
{
    LargestMeet meet;
    for (auto _ : st) {
        const registers::RegisterRead read = registers::readPersons(meet.state);
        if (read.count != kMaxPersons || read.indexError) st.SkipWithError("wrong read");
    }
}
BENCHMARK(BM_ReadPersons3000)->Unit(benchmark::kMillisecond);

static void BM_ReadEveryRegister(benchmark::State &st)
{
    LargestMeet meet;
    for (auto _ : st) {
        registers::readRegisters(meet.state);
        if (meet.state.catalogs.personCount != kMaxPersons || meet.state.classLines.size() != kClassCount)
            st.SkipWithError("wrong read");
    }
}
BENCHMARK(BM_ReadEveryRegister)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
