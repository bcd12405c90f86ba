// The exchange through CSV files at the largest register sizes: importing 3000 competitors with
// five entries each (the transaction and the register reading after it included), and
// exporting every result of the round.
#include "events/GridTable.h"
#include "events/Rounds.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "registers/Entries.h"
#include "registers/RegisterReaders.h"

#include <QBuffer>

#include "BenchSupport.h"

using namespace arenor;

namespace {

void readMeet(AppState &s)
{
    registers::readRegisters(s);
    registers::readEventNames(s);
    events::selectRound(s, s.currentRound);
}

} // namespace

static void BM_ImportCompetitors3000x5(benchmark::State &st)
{
    bench::LargestMeet meet;
    if (!meet.ok) {
        st.SkipWithError("no meet");
        return;
    }
    AppState &s = meet.state;
    readMeet(s);
    QByteArray csv = "Startnr;Fornavn;Etternavn;Klubb;Klasse;Øvelser\r\n";
    const QString events = QStringList{s.eventNames[1], s.eventNames[2], s.eventNames[3], s.eventNames[14],
                                       s.eventNames[15]}
                               .join(u'|');
    for (int p = 1; p <= kMaxPersons; ++p)
        csv += QStringLiteral("%1;Fornavn%1;Etternavn%1;Klubb %2;%3;%4\r\n")
                   .arg(p)
                   .arg(p % kMaxClubs)
                   .arg(p % 2 ? QStringLiteral("Junior") : QStringLiteral("Senior"), events)
                   .toUtf8();
    // The first round adds everybody, the later ones store the same again: the same writes.
    for (auto _ : st) {
        exchange::CsvImport import;
        exchange::ImportSummary summary;
        if (!import.setData(csv, QStringLiteral("b.csv"), s) || !import.apply(s, summary) ||
            summary.added + summary.known != kMaxPersons || summary.entries != 5 * kMaxPersons)
            st.SkipWithError("import failed");
    }
}
BENCHMARK(BM_ImportCompetitors3000x5)->Unit(benchmark::kMillisecond);

// Test mode enters every competitor in three events: three grids of 3000 results.
static void BM_ExportRoundResults(benchmark::State &st)
{
    bench::TestModeMeet meet;
    AppState &s = meet.state;
    readMeet(s);
    std::mt19937 random(1);
    int classSlot = 0;
    for (int k = 1; k <= kClassCount; ++k)
        if (s.catalogs.classes[size_t(k)] == QStringLiteral("Junior"))
            classSlot = k;
    int results = 0;
    for (int e = 1; e <= kEventSlots; ++e) {
        if (!s.entryMatrix.entered(s.currentRound, e, 1))
            continue;
        events::GridContext context;
        context.selection = {s.roundTag, e, s.eventNames[size_t(e)], QStringLiteral("_"), classSlot,
                             s.catalogs.classes[size_t(classSlot)]};
        context.helpCount = 2;
        events::GridTableOutcome outcome;
        if (!events::CreateGridTable(s, context, outcome, random))
            st.SkipWithError("no grid");
        results += outcome.rows;
    }
    for (auto _ : st) {
        QList<QStringList> records;
        if (!exchange::roundResultRecords(s, records) || records.size() != results + 1)
            st.SkipWithError("export failed");
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        exchange::writeCsv(buffer, records, u';');
    }
    st.counters["results"] = results;
}
BENCHMARK(BM_ExportRoundResults)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
