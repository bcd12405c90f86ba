// The grid commands and the class list over the largest class: 3000 rows. Goals: making the
// grid table under 50 ms (on a meet on the server of PGHOST under 150 ms); places, differences and step results under 30 ms each; writing the
// class list under 30 ms; importing 3000 out-times and 3000 in-times, rewrites included, under
// 100 ms.
#include "events/GridCommands.h"
#include "events/GridImport.h"
#include "events/GridList.h"
#include "events/GridSort.h"
#include "events/GridTable.h"
#include "events/ResultHandling.h"
#include "events/StartSetup.h"

#include <QBuffer>
#include <QStringListModel>
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

// Every competitor of the largest meet in one class, entered in one event: a step list grid.
static void BM_CreateGrid3000(benchmark::State &st, bool server)
{
    if (!bench::serverReady(st, server))
        return;
    bench::LargestMeet meet;
    if (const QString e = server ? meet.moveToServer() : QString(); !meet.ok || !e.isEmpty()) {
        st.SkipWithError(meet.ok ? qPrintable(e) : "no meet");
        return;
    }
    AppState &s = meet.state;
    s.eventNames[3] = QStringLiteral("800m");
    s.catalogs.classes[1] = QStringLiteral("Menn");
    for (int p = 1; p <= kRows; ++p) {
        s.catalogs.persons[size_t(p)] = {QString::number(p), QStringLiteral("Deltaker %1").arg(p),
                                         QStringLiteral("Klubb %1").arg(p % 50), QStringLiteral("Menn"), 0};
        s.entryMatrix.set(s.currentRound, 3, p, true);
    }
    GridContext context;
    context.selection = {s.roundTag, 3, s.eventNames[3], QStringLiteral("_"), 1, QStringLiteral("Menn")};
    context.type = ListType::Step;
    context.helpCount = 2;
    std::mt19937 random(1);
    for (auto _ : st) {
        meet.prompt.setNextAnswer(Answer::Yes); // replace the last round's table
        GridTableOutcome outcome;
        if (!CreateGridTable(s, context, outcome, random) || outcome.rows != kRows)
            st.SkipWithError("making the grid failed");
    }
}
BENCHMARK_CAPTURE(BM_CreateGrid3000, file, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CreateGrid3000, server_goal_150ms, true)->Unit(benchmark::kMillisecond);

static void BM_ImportTimes3000(benchmark::State &st)
{
    QTemporaryDir dir;
    const auto catalogs = std::make_unique<Catalogs>();
    QStringList numbers;
    for (int i = 1; i <= kRows; ++i)
        numbers << QString::number(i);
    timing::TimeList list;
    for (int i = 0; i < kRows; ++i)
        list.records.push_back(
            {timing::registrationIndex(1, i + 1), timeText(6000 + i), QString::number(kRows - i), {}});
    const QString out = dir.filePath(QStringLiteral("UtTider.txt"));
    const QString in = dir.filePath(QStringLiteral("InnTider.txt"));
    for (auto _ : st) {
        st.PauseTiming();
        timing::rewriteTimesFile(out, list, QStringLiteral(" TIDFIL UT "));
        timing::rewriteTimesFile(in, list, QStringLiteral(" TIDFIL INN "));
        QStringList outTimes(kRows, QStringLiteral("-")), inTimes(kRows, QStringLiteral("-"));
        st.ResumeTiming();
        timing::TimeList outList, inList;
        if (!importFromTimesFile(out, numbers, outTimes, *catalogs, outList) ||
            !importFromTimesFile(in, numbers, inTimes, *catalogs, inList) ||
            !rewriteImported(out, timing::Direction::Out, outList, false) ||
            !rewriteImported(in, timing::Direction::In, inList, false))
            st.SkipWithError("import failed");
    }
}
BENCHMARK(BM_ImportTimes3000)->Unit(benchmark::kMillisecond);

// The best of three attempts over a 3000-row grid table, read and written in one transaction.
static void BM_HandleHighest3000(benchmark::State &st)
{
    bench::LargestMeet meet;
    const QString table = QStringLiteral("Klasse_Finale_Lengde_Menn");
    QList<db::FieldDef> fields;
    for (const GridColumn &c : gridColumnLayout(ListType::Standard, 3))
        fields << db::FieldDef{columnName(c, Language::Norwegian)};
    QList<QVariantList> rows;
    for (int i = 0; i < kRows; ++i)
        rows << QVariantList{0,   i + 1,
                             "N", "K",
                             "-", QString::number(5 + i % 300 / 100.0),
                             "-", QString::number(6 + i % 200 / 100.0),
                             "-"};
    if (!meet.ok || !meet.state.database.createTable(table, fields) ||
        !meet.state.database.insertRows(table, rows)) {
        st.SkipWithError("no grid");
        return;
    }
    GridContext context;
    context.helpCount = 3;
    int i = 0;
    for (auto _ : st) {
        // Alternate so that every run writes every row.
        const HandleOperation op = i++ % 2 ? HandleOperation::HighestOfHelp : HandleOperation::ClearResult;
        if (!handleGridTable(meet.state.database, table, context, {op, 0, 0}, Language::Norwegian))
            st.SkipWithError("handling failed");
    }
}
BENCHMARK(BM_HandleHighest3000)->Unit(benchmark::kMillisecond);

// Sorting the order shown of a 3000-row grid by its results, each direction in turn.
static void BM_SortResults3000(benchmark::State &st)
{
    QStringList values = times(60000, 7);
    std::mt19937 random(1);
    std::shuffle(values.begin(), values.end(), random);
    QStringListModel source(values);
    GridSortModel shown;
    shown.setSourceModel(&source);
    bool descending = false;
    for (auto _ : st) {
        shown.sortGrid(0, descending, SortAs::Result, ResultKind::Time, TimeFormat::MinutesSecondsHundredths);
        descending = !descending;
    }
}
BENCHMARK(BM_SortResults3000)->Unit(benchmark::kMillisecond);

// Staggered start times for 3000 competitors written to the out-times file and read back.
static void BM_StartTimesFile3000(benchmark::State &st)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UtTider.txt"));
    const StartSetupRequest request{true, QStringLiteral("10.00.00"), QStringLiteral("30"),
                                    QStringLiteral("2")};
    for (auto _ : st) {
        timing::TimeList list;
        timing::ChannelCounters counters;
        if (!writeStartTimesFile(path, request, kRows, Language::Norwegian) ||
            !timing::readTimesFile(path, list, counters) || list.records.size() != size_t(kRows))
            st.SkipWithError("start times failed");
    }
}
BENCHMARK(BM_StartTimesFile3000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
