// The result lists of the largest meet: the event list of 3000 competitors of one class (with
// heats and lanes drawn); the meet results list joining 36 event lists in a meet directory that
// holds 36 x 40 class lists; and all 36 event lists joined from those class lists first.
#include "base/Convert.h"
#include "base/TextFile.h"
#include "lists/ResultLists.h"

#include "BenchSupport.h"
#include "TestSupport.h"

using namespace arenor;

static void BM_EventList3000(benchmark::State &st)
{
    test::TestMeet meet;
    AppState &s = meet.state;
    s.roundTag = QStringLiteral("Finale_");
    s.catalogs.personCount = kMaxPersons;
    for (int p = 1; p <= kMaxPersons; ++p) {
        s.catalogs.persons[size_t(p)] = {numberText(qint64(p)), QStringLiteral("Competitor %1").arg(p),
                                         QStringLiteral("Club %1").arg(p % 50), QStringLiteral("Menn"), 0};
        s.entryMatrix.set(s.currentRound, 1, p, true);
    }
    lists::EventListRequest request;
    request.selection = {s.roundTag,          1, QStringLiteral("100m"),
                         QStringLiteral("_"), 1, QStringLiteral("Menn")};
    request.type = events::ListType::Heat;
    request.lanes = 8;
    std::mt19937 random(1);
    const QString path = s.meetFile(QStringLiteral("list.txt"));
    for (auto _ : st) {
        QStringList lines;
        int rows = 0;
        if (!lists::eventResultListLines(s, request, random, lines, &rows) || rows != kMaxPersons ||
            !writeTextFile(path, lines))
            st.SkipWithError("wrong list");
    }
}
BENCHMARK(BM_EventList3000)->Unit(benchmark::kMillisecond);

static void BM_MeetResultsList(benchmark::State &st)
{
    test::TestMeet meet;
    AppState &s = meet.state;
    s.roundTag = QStringLiteral("Finale_");
    // A class list: 15 header lines and a few rows, as 3000 competitors in three events give.
    QStringList classList;
    for (int i = 0; i < 21; ++i)
        classList << QStringLiteral(":       :  %1    : Competitor                : Club         :").arg(i);
    QStringList eventList;
    for (int c = 1; c <= 40; ++c)
        eventList << (c == 1 ? classList : classList.mid(5));
    for (int e = 1; e <= 36; ++e) {
        for (int c = 1; c <= 40; ++c)
            writeTextFile(
                s.meetFile(
                    QStringLiteral("Kl-F%1%2.txt").arg(e, 2, 10, QChar(u'0')).arg(c, 2, 10, QChar(u'0'))),
                classList);
        writeTextFile(s.meetFile(QStringLiteral("Ov-F%1.txt").arg(e, 2, 10, QChar(u'0'))), eventList);
    }
    const QString path = s.meetFile(QStringLiteral("Al-F.txt"));
    const bool eventListsFirst = st.range(0) != 0;
    for (auto _ : st) {
        for (int e = 1; eventListsFirst && e <= 36; ++e) {
            const events::ListSelection event{s.roundTag, e, QString(), QStringLiteral("_"), 0, QString()};
            if (!lists::MakeEventClassList(
                    s, s.meetFile(QStringLiteral("Ov-F%1.txt").arg(e, 2, 10, QChar(u'0'))), event))
                st.SkipWithError("event list not made");
        }
        if (!lists::MakeMeetResultsList(s, path))
            st.SkipWithError("not made");
    }
}
// 0 the meet results list alone, 1 with the 36 event lists made first.
BENCHMARK(BM_MeetResultsList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
