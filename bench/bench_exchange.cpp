// The exchange through CSV files at the largest register sizes: importing 3000 competitors with
// five entries each (the transaction and the register reading after it included), and
// exporting every result of the round.
#include "events/EventSetup.h"
#include "events/GridTable.h"
#include "events/Rounds.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/PhotoFinish.h"
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
    const QString events =
        QStringList{s.eventNames[1], s.eventNames[2], s.eventNames[3], s.eventNames[14], s.eventNames[15]}
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
        context.selection = {s.roundTag,          e,         s.eventNames[size_t(e)],
                             QStringLiteral("_"), classSlot, s.catalogs.classes[size_t(classSlot)]};
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

// One 10-lane race of the largest meet back from the photo-finish camera into its heat grid.
static void BM_FinishFileIntoGrid(benchmark::State &st)
{
    bench::TestModeMeet meet;
    AppState &s = meet.state;
    readMeet(s);
    const int event = 14, cls = 1;
    for (auto [field, value] : {std::pair{events::SetupCategory, "0"},
                                {events::SetupListType, "1"},
                                {events::SetupTimeFormat, "2"}})
        events::writeSetupField(s, events::setupRecordNumber(s.currentRound, event, cls), field,
                                QString::fromLatin1(value));
    const QString table = events::gridTableName(s, event, cls, QStringLiteral("_"));
    QList<db::FieldDef> fields;
    for (const events::GridColumn &c : events::gridColumnLayout(events::ListType::Heat, 2))
        fields << db::FieldDef{events::columnName(c, Language::Norwegian), db::FieldType::Text};
    QList<QVariantList> rows;
    for (int p = 1; p <= 300; ++p)
        rows << QVariantList{(p - 1) / 10 + 1,
                             (p - 1) % 10 + 1,
                             0,
                             0,
                             p,
                             QStringLiteral("Deltaker %1").arg(p),
                             QStringLiteral("Klubb"),
                             QString(),
                             QString(),
                             QString(),
                             QString()};
    if (!s.database.createTable(table, fields) || !s.database.insertRows(table, rows)) {
        st.SkipWithError("no grid");
        return;
    }
    QByteArray lif = QByteArray::number(exchange::cameraEventNumber(event, cls)) + ",4,12,100 m,+0.8,m/s\r\n";
    for (int lane = 1; lane <= 10; ++lane)
        lif += QStringLiteral("%1,%2,%3,Etter,Forn,Klubb,10.%4\r\n")
                   .arg(lane)
                   .arg(110 + lane)
                   .arg(lane)
                   .arg(100 + 37 * lane)
                   .toUtf8();
    for (auto _ : st) {
        exchange::FinishImport done;
        if (!exchange::importFinishFile(s, lif, QStringLiteral("r.lif"), done) || done.stored != 10)
            st.SkipWithError("import failed");
    }
}
BENCHMARK(BM_FinishFileIntoGrid)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return arenor::bench::runBenchmarks(argc, argv);
}
