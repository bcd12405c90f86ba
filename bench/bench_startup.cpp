// Making a new meet database at the largest register sizes, and starting the program on a
// program directory without a meet (the format question answered by a script).
#include "app/ui/Application.h"
#include "app/ui/MainWindow.h"
#include "app/MeetFile.h"
#include "db/Schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

using namespace arenor;

static void BM_NewMeetLargest(benchmark::State &st)
{
    for (auto _ : st) {
        st.PauseTiming();
        QTemporaryDir dir;
        AppState state;
        ScriptedPrompt prompt;
        state.programDir = dir.path();
        state.prompt = &prompt;
        state.setMeetDirectory();
        state.catalogs.personCount = kMaxPersons;
        state.catalogs.relayCount = kMaxRelays;
        state.catalogs.clubCount = kMaxClubs;
        st.ResumeTiming();
        prompt.setNextAnswer(Answer::Yes);
        if (!createMeetFile(state) || !state.database.open(state.databasePath()))
            st.SkipWithError("making the meet failed");
        state.database.close();
    }
}
BENCHMARK(BM_NewMeetLargest)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_StartUpWithoutMeet(benchmark::State &st)
{
    for (auto _ : st) {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        RecordingEditorLauncher editor;
        prompt.setNextAnswer(Answer::Yes);
        QElapsedTimer timer;
        timer.start();
        {
            Application app(dir.path(), &prompt, &editor);
            app.start(false);
            if (!app.mainWindow().isVisible())
                st.SkipWithError("main window not shown");
            st.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        }
    }
}
BENCHMARK(BM_StartUpWithoutMeet)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
