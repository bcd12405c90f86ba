// Entries of the largest meet (3000 competitors, 50 relay teams): reading a round, counting
// the events, filling the entrant list, storing a tick and a group entry of everyone; the tick
// also on a meet on the server of PGHOST (goal: under 10 ms).
#include "events/EventSetup.h"
#include "registers/Entries.h"

#include <QListWidget>

#include "BenchSupport.h"

using namespace arenor;

namespace {

// Test mode enters everyone in three events of every round and names every class.
using LargestMeet = bench::TestModeMeet;

} // namespace

static void BM_LoadRoundEntries(benchmark::State &st)
{
    LargestMeet meet;
    for (auto _ : st) {
        const registers::RoundLoad load = registers::loadRoundEntries(meet.state, 3);
        if (!load.status || load.indexError)
            st.SkipWithError("wrong load");
    }
}
BENCHMARK(BM_LoadRoundEntries)->Unit(benchmark::kMillisecond);

static void BM_EventListWithCounts(benchmark::State &st)
{
    LargestMeet meet;
    for (int r = 1; r <= kMaxRelays; ++r)
        meet.state.catalogs.relays[size_t(r)].cls = QStringLiteral("Junior");
    registers::loadRoundEntries(meet.state, 3);
    meet.state.roundLoaded[3] = true;
    for (auto _ : st) {
        const QStringList lines = events::eventListLines(meet.state);
        if (!lines[0].startsWith(QStringLiteral(" 3050>")))
            st.SkipWithError("wrong count");
    }
}
BENCHMARK(BM_EventListWithCounts)->Unit(benchmark::kMillisecond);

static void BM_RefreshEntryList(benchmark::State &st)
{
    LargestMeet meet;
    QListWidget list;
    list.setUniformItemSizes(true);
    for (auto _ : st) {
        list.clear();
        list.addItems(registers::entryListLines(meet.state, registers::EntryListContent::NameAndClub));
        if (list.count() != kMaxPersons)
            st.SkipWithError("wrong list");
    }
}
BENCHMARK(BM_RefreshEntryList)->Unit(benchmark::kMillisecond);

static void BM_TickStored(benchmark::State &st, bool server)
{
    if (!bench::serverReady(st, server))
        return;
    LargestMeet meet(server);
    bool on = false;
    for (auto _ : st) {
        on = !on;
        // The last record of the final: the farthest from the start of the table.
        if (!registers::setEntry(meet.state, kRounds * (kMaxPersons + kMaxRelays), 7, on))
            st.SkipWithError("tick not stored");
    }
}
BENCHMARK_CAPTURE(BM_TickStored, file, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TickStored, server_goal_10ms, true)->Unit(benchmark::kMillisecond);

static void BM_GroupEntry3000(benchmark::State &st)
{
    LargestMeet meet;
    std::vector<int> rows;
    for (int r = 1; r <= kMaxPersons; ++r)
        rows.push_back(r);
    bool on = false;
    for (auto _ : st) {
        on = !on;
        if (!registers::setEntries(meet.state, 3, 12, rows, on))
            st.SkipWithError("group not stored");
    }
}
BENCHMARK(BM_GroupEntry3000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
