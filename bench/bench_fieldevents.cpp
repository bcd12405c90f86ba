// Places for a field-event grid of 3000 rows with six attempts each, read from the typed texts:
// under 30 ms. Points, running totals and places for 500 combined-events competitors over ten
// events, from the typed results: under 20 ms.
#include "events/CombinedEvents.h"
#include "events/FieldEvents.h"

#include "BenchSupport.h"

using namespace arenor;
using namespace arenor::events;

static void BM_FieldPlaces3000(benchmark::State &st)
{
    QList<QStringList> grid;
    for (int i = 0; i < 3000; ++i) {
        QStringList row;
        for (int a = 0; a < 6; ++a) {
            const int k = (i * 7919 + a * 104729) % 1000;
            row << (k < 150   ? QStringLiteral("x")
                    : k < 180 ? QStringLiteral("-")
                              : QStringLiteral("%1,%2").arg(5 + k % 3).arg(k % 100));
        }
        grid << row;
    }
    for (auto _ : st) {
        QList<QList<Attempt>> series;
        series.reserve(grid.size());
        for (const QStringList &row : grid) {
            QList<Attempt> s;
            for (const QString &t : row)
                s.append(parseAttempt(t, Language::English, nullptr).value_or(Attempt{}));
            series.append(s);
        }
        benchmark::DoNotOptimize(horizontalPlaces(series));
        benchmark::DoNotOptimize(finalRoundsOrder(series));
    }
}
BENCHMARK(BM_FieldPlaces3000)->Unit(benchmark::kMillisecond);

static void BM_CombinedTotals500(benchmark::State &st)
{
    const ScoringTable &table = ScoringTable::builtIn();
    const CombinedDefinition &decathlon = table.definitions().first();
    QList<ScoringEvent> events;
    for (const QString &code : decathlon.events)
        events << *table.find(code, decathlon.sex, decathlon.venue);
    const QStringList typical{"11.20", "6.90",  "13.50", "1.95",  "50.10",
                              "15.20", "41.00", "4.40",  "55.00", "4.40.00"};
    QList<QStringList> results;
    for (int c = 0; c < 500; ++c) {
        QStringList r = typical;
        r[c % 10] = c % 7 ? r[c % 10] : QStringLiteral("-");
        results << r;
    }
    for (auto _ : st) {
        QList<QList<CombinedMark>> marks;
        marks.reserve(results.size());
        for (const QStringList &r : results) {
            QList<CombinedMark> m;
            for (qsizetype e = 0; e < events.size(); ++e)
                m << combinedMark(events[e], r[e],
                                  e == 9 ? TimeFormat::MinutesSecondsHundredths
                                         : TimeFormat::SecondsHundredths);
            marks << m;
        }
        benchmark::DoNotOptimize(scoreCombined(events, marks));
    }
}
BENCHMARK(BM_CombinedTotals500)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
