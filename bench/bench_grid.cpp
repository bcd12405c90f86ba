// The grid commands and the class list over the largest class: 3000 rows. Goals: places,
// differences and step results under 30 ms each; writing the class list under 30 ms.
#include "events/GridCommands.h"
#include "events/GridList.h"

#include <QBuffer>
#include <QTemporaryDir>

#include "BenchSupport.h"

using namespace arenor;
using namespace arenor::events;

namespace {

constexpr int kRows = 3000;

QString timeText(int hundredths)
{
    return QStringLiteral("%1.%2.%3")
        .arg(hundredths / 6000)
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

QStringList times(int first, int step)
{
    QStringList list;
    for (int i = 0; i < kRows; ++i)
        list << timeText(first + i * step);
    return list;
}

} // namespace

static void BM_Places3000(benchmark::State &st)
{
    const QStringList results = times(60000, 7);
    for (auto _ : st)
        benchmark::DoNotOptimize(gridPlaces(results, ResultKind::Time, TimeFormat::MinutesSecondsHundredths));
}
BENCHMARK(BM_Places3000)->Unit(benchmark::kMillisecond);

static void BM_Differences3000(benchmark::State &st)
{
    const QStringList results = times(60000, 7);
    for (auto _ : st)
        benchmark::DoNotOptimize(
            gridDifferences(results, ResultKind::Time, TimeFormat::MinutesSecondsHundredths));
}
BENCHMARK(BM_Differences3000)->Unit(benchmark::kMillisecond);

static void BM_StepResults3000(benchmark::State &st)
{
    const QStringList out = times(0, 3000);
    const QStringList in = times(60000, 3013);
    for (auto _ : st)
        benchmark::DoNotOptimize(
            gridStepResults(out, in, ResultKind::Time, TimeFormat::MinutesSecondsHundredths));
}
BENCHMARK(BM_StepResults3000)->Unit(benchmark::kMillisecond);

static void BM_WriteClassList3000(benchmark::State &st)
{
    TextTables texts;
    texts.load(Language::Norwegian);
    GridList list;
    list.selection = {QStringLiteral("Finale_"), 3,  QStringLiteral("800m"),
                      QStringLiteral("_"),       11, QStringLiteral("Menn_Senior")};
    list.type = ListType::Step;
    for (const GridColumn &column : gridColumnLayout(ListType::Step, 2))
        list.columns << columnName(column, Language::Norwegian);
    const QStringList results = times(60000, 7);
    for (int i = 0; i < kRows; ++i)
        list.rows << QStringList{QString::number(i + 1),
                                 QString::number(i + 1),
                                 QStringLiteral("Deltaker %1").arg(i),
                                 QStringLiteral("Klubb %1").arg(i % 50),
                                 results[i],
                                 "-",
                                 "-",
                                 "00.00.00",
                                 "0.00.00",
                                 results[i]};
    QTemporaryDir dir;
    const QString path = dir.filePath(ClassListName(texts, list.selection, false));
    for (auto _ : st) {
        if (!writeGridListFile(path, texts, list))
            st.SkipWithError("writing failed");
    }
}
BENCHMARK(BM_WriteClassList3000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
