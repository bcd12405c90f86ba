// Sorting a class list of the largest class, 3000 rows, read and written back: under 10 ms.
// Most of it is the atomic write of the file, measured alone as the floor.
#include "base/TextFile.h"
#include "lists/ListSort.h"
#include "lists/ListText.h"

#include <QTemporaryDir>

#include "BenchSupport.h"

using namespace arenor;

static void BM_SortListFile3000(benchmark::State &st)
{
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompt prompt;
    state.prompt = &prompt;
    state.options[OptSeparators] = state.options[OptDifferences] = 1;
    const QString path = dir.filePath(QStringLiteral("Kl-F0311.txt"));
    QStringList lines{QStringLiteral("RESULTATLISTE, FINALE"),      QString(),
                      QStringLiteral("100m Menn Finale"),           ruler(u'-', 82),
                      TextTables::message(72, Language::Norwegian), ruler(u'=', 82)};
    for (int i = 1; i <= kMaxPersons; ++i) {
        lists::ListLine row(true);
        row.separators({1, 9}).number(11, i).separator(17).text(19, QStringLiteral("Etter%1 Forn%1").arg(i));
        row.separator(45).text(47, QStringLiteral("Klubb %1").arg(i % 50)).separator(60);
        row.text(
            62,
            QStringLiteral("%1.%2").arg(10 + i * 7919 % 3000 / 100).arg(i % 100, 2, 10, QLatin1Char('0')));
        lines << row.separators({71, 82}).line();
    }
    lines << ruler(u'=', 82);
    if (!writeTextFile(path, lines))
        st.SkipWithError("no list");
    if (st.range(0) == 1) {
        for (auto _ : st) {
            bool ok = false;
            const QStringList read = readTextLines(path, &ok);
            if (!writeTextFile(path, read))
                st.SkipWithError("write failed");
        }
        return;
    }
    int code = st.range(0) == 2 ? lists::SortByName : lists::SortIncreasing;
    for (auto _ : st) {
        if (!lists::SortListFile(state, path, code, 2, events::TimeFormat::SecondsHundredths,
                                 lists::SortResultList))
            st.SkipWithError("sort failed");
    }
}
// 0 by result, 2 by name; 1 only reads and writes the file back, the floor of any sort.
BENCHMARK(BM_SortListFile3000)->Arg(0)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
