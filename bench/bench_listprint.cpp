// A class list of 3000 rows written as PDF (target: under 1 s).
#include "BenchSupport.h"

#include "events/GridList.h"
#include "print/ListPrint.h"

using namespace arenor;

static void BM_ClassListPdf3000(benchmark::State &st)
{
    events::GridList list;
    list.infoLines = {"", "", "", "", "Vårstevnet", "Ås", "14.06.2026", "IL"};
    list.selection = {"Finale_", 3, "100m", "_", 2, "Menn"};
    list.columns = QString("Øvpl|Stnr|Navn|Klubb|Resultat|Differanse").split(u'|');
    for (int i = 1; i <= 3000; ++i)
        list.rows << QStringList{QString::number(i),
                                 QString::number(i),
                                 QStringLiteral("Ærlig Øvreås %1").arg(i),
                                 "Bjørnevatn IL",
                                 "12.34",
                                 "0.00"};
    TextTables texts;
    ListDocument document;
    QTemporaryDir dir;
    if (!events::gridListDocument(texts, list, document) || !dir.isValid())
        st.SkipWithError("no list");
    const print::PageFrame frame{"Vårstevnet", "14.06.2026", "Side %1 av %2"};
    for (auto _ : st) {
        int pages = 0;
        if (!print::writeListPdf(dir.filePath("list.pdf"), document, frame, &pages) || pages < 40)
            st.SkipWithError("no PDF");
    }
}
BENCHMARK(BM_ClassListPdf3000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
