// Seeding and advancement over the largest fields. Goals: 3000 entrants ranked by mark and
// seeded into heats of 8 under 20 ms; advancement over 40 heats under 5 ms.
#include "events/Advancement.h"
#include "events/Seeding.h"

#include "BenchSupport.h"

using namespace arenor;
using namespace arenor::events;

namespace {

void seedingThreeThousand(benchmark::State &state)
{
    QList<SeedEntrant> entrants;
    DrawRandom marks(5);
    for (int i = 1; i <= 3000; ++i)
        entrants.append({i, i % 50 == 0
                                ? QString()
                                : QStringLiteral("%1.%2").arg(10 + marks.below(5)).arg(marks.below(100))});
    const LaneTable table = laneTableFor(EventGroup::Straight, 8, {});
    for (auto _ : state) {
        DrawRandom random(42);
        const Ranking ranking =
            rankByMark(entrants, ResultKind::Time, TimeFormat::SecondsHundredths, false, random);
        benchmark::DoNotOptimize(seedHeats(ranking.order, 8, table, 0, random));
    }
}
BENCHMARK(seedingThreeThousand)->Unit(benchmark::kMillisecond);

void advancementFortyHeats(benchmark::State &state)
{
    QList<HeatRow> rows;
    DrawRandom random(9);
    for (int h = 1; h <= 40; ++h)
        for (int p = 1; p <= 8; ++p) {
            const int id = int(rows.size()) + 1;
            rows.append(
                {id, id, h, p,
                 QStringLiteral("%1.%2").arg(10 + p).arg(random.below(100), 2, 10, QLatin1Char('0'))});
        }
    for (auto _ : state)
        benchmark::DoNotOptimize(advance(rows, {2, 8}, ResultKind::Time, TimeFormat::SecondsHundredths));
}
BENCHMARK(advancementFortyHeats)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
