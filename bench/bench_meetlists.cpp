// The meet lists of the largest meet (3000 competitors in three events each, 50 clubs and
// relay teams), from a results list of 3000 rows: start list text, contingent list, points
// list and newspaper list one after another; with the other lists under 0.5 s in all.
#include "base/TextFile.h"
#include "lists/ListNames.h"
#include "lists/ListText.h"
#include "lists/MeetLists.h"

#include "BenchSupport.h"

using namespace arenor;

static void BM_MeetLists(benchmark::State &st)
{
    bench::TestModeMeet meet;
    AppState &state = meet.state;
    if (!state.bindDataControls())
        st.SkipWithError("no meet");
    state.setRoundTag(3);
    state.options[OptSeparators] = state.options[OptDifferences] = 1;
    for (int e = 1; e <= kEventSlots; ++e)
        state.eventNames[size_t(e)] = QStringLiteral("Event %1").arg(e);
    for (int p = 1; p <= kMaxPersons; ++p)
        for (int e : {1 + p % 36, 1 + (p + 7) % 36, 1 + (p + 13) % 36})
            state.entryMatrix.set(3, e, p, true);
    QStringList results{QStringLiteral("RESULTATLISTE, FINALE"),
                        QString(),
                        QStringLiteral("Event 1 Finale"),
                        ruler(u'-', 82),
                        TextTables::message(72, Language::Norwegian),
                        ruler(u'=', 82)};
    for (int i = 1; i <= kMaxPersons; ++i) {
        lists::ListLine row(true);
        row.separator(1).number(3, 1 + i % 40).separator(9).number(11, i).separator(17);
        row.text(19, state.catalogs.persons[size_t(i)].name).separator(45);
        row.text(47, state.catalogs.persons[size_t(i)].club, 12)
            .separator(60)
            .text(62, QStringLiteral("12.34"));
        results << row.separators({71, 82}).line();
    }
    results << ruler(u'=', 82);
    const QString resultsPath =
        state.meetFile(lists::listFileName(lists::MeetList::Results, state.roundTag, false));
    if (!writeTextFile(resultsPath, results))
        st.SkipWithError("no results list");
    const QString path = state.meetFile(QStringLiteral("list.txt"));
    Status (*const make[])(AppState &, const QString &) = {
        lists::MakeStartListText, lists::MakeContingentList, lists::MakePointsList, lists::MakeNewspaperList};
    for (auto _ : st) {
        for (int list = 0; list < 4; ++list) {
            meet.prompt.setNextAnswer(Answer::Ok);
            meet.prompt.setNextInput(QStringLiteral("25"));
            if ((st.range(0) == list || st.range(0) == 4) && !make[list](state, path))
                st.SkipWithError("a list failed");
            meet.prompt.clear();
        }
    }
}
// 0 start list text, 1 contingent, 2 points, 3 newspaper, 4 all four.
BENCHMARK(BM_MeetLists)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
