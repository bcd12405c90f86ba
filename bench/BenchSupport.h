#pragma once
// What the benchmark programs share: the largest meet in a temporary program directory, and
// a main that runs the benchmarks under an offscreen application.

#include "RecordingEditorLauncher.h"
#include "ScriptedPrompt.h"
#include "app/MeetFile.h"
#include "db/AppState.h"
#include "db/Schema.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace arenor::bench {

// A meet at the largest register sizes, every table made; testMode fills names, clubs and
// classes in every record.
struct LargestMeet {
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompt prompt;
    bool ok = false;

    explicit LargestMeet(bool testMode = false)
    {
        state.programDir = dir.path();
        state.prompt = &prompt;
        state.options[size_t(OptTestMode)] = testMode;
        state.setMeetDirectory();
        state.catalogs.personCount = kMaxPersons;
        state.catalogs.relayCount = kMaxRelays;
        state.catalogs.clubCount = kMaxClubs;
        prompt.setNextAnswer(Answer::Yes);
        ok = createMeetFile(state) && state.database.open(state.databasePath());
    }
};

// The largest meet in test mode; a benchmark without it measures nothing, so it stops.
struct TestModeMeet : LargestMeet {
    TestModeMeet() : LargestMeet(true)
    {
        if (!ok)
            qFatal("making the meet failed");
    }
};

inline int runBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace arenor::bench
