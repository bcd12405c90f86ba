// The results site of the largest meet (3000 competitors, 36 events, 40 classes): the whole
// site of a round's lists made at once (target under 2 s), and one class list made again with
// the rest of the site in place (target under 100 ms: its page, the manifest and the index).

#include "BenchSupport.h"
#include "SampleLists.h"

#include "publish/SitePublisher.h"

using namespace arenor;

namespace {

publish::SiteInfo meetInfo()
{
    publish::SiteInfo info;
    info.meet = QStringLiteral("largest");
    info.meetLines = {QStringLiteral("Vårstevnet"), QStringLiteral("Kirkenes"), QStringLiteral("14.06.2026")};
    info.rounds = {QStringLiteral("Innledende"), QStringLiteral("Finale")};
    info.currentRound = QStringLiteral("Finale");
    return info;
}

// Every list of a round: 36 event lists (heats), 40 class lists, and the meet results and
// start list of all 3000 competitors.
QList<ListDocument> roundLists()
{
    QList<ListDocument> lists;
    for (int e = 1; e <= 36; ++e)
        lists << test::sampleResultList(QStringLiteral("Øvelse %1").arg(e), QStringLiteral("Finale"), 250,
                                        true);
    for (int c = 1; c <= 40; ++c)
        lists << test::sampleResultList(QStringLiteral("Klasse %1").arg(c), QStringLiteral("Finale"), 75,
                                        false, QStringLiteral("class"));
    lists << test::sampleResultList(QStringLiteral("Resultater"), QString(), 3000, false,
                                    QStringLiteral("results"))
          << test::sampleResultList(QStringLiteral("Startliste"), QString(), 3000, false,
                                    QStringLiteral("startlist"));
    return lists;
}

void BM_WholeSite(benchmark::State &state)
{
    const QList<ListDocument> lists = roundLists();
    for (auto _ : state) {
        QTemporaryDir dir;
        if (!publish::SitePublisher(dir.path()).publish(meetInfo(), lists))
            state.SkipWithError("publishing failed");
    }
}
BENCHMARK(BM_WholeSite)->Unit(benchmark::kMillisecond);

void BM_OneClassListAgain(benchmark::State &state)
{
    QTemporaryDir dir;
    publish::SitePublisher site(dir.path());
    if (!site.publish(meetInfo(), roundLists()))
        state.SkipWithError("publishing failed");
    ListDocument one = test::sampleResultList(QStringLiteral("Klasse 7"), QStringLiteral("Finale"), 75, false,
                                              QStringLiteral("class"));
    int n = 0;
    for (auto _ : state) {
        one.lines[one.lines.size() - 3].cells[4].text = QString::number(++n);
        if (!site.publish(meetInfo(), one))
            state.SkipWithError("publishing failed");
    }
}
BENCHMARK(BM_OneClassListAgain)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return bench::runBenchmarks(argc, argv);
}
