// CSV reading and writing, importing competitors with their entries, and the exports.

#include "TestSupport.h"
#include "db/Schema.h"
#include "events/EventSetup.h"
#include "events/GridColumns.h"
#include "events/Rounds.h"
#include "exchange/CameraLink.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/PhotoFinish.h"
#include "registers/Entries.h"
#include "registers/RegisterReaders.h"
#include "registers/SeedMarks.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>

using namespace arenor;
using namespace arenor::exchange;
using arenor::test::Cases;

namespace {

QList<QStringList> parsed(const QByteArray &bytes)
{
    const CsvRead r = parseCsv(bytes);
    return r.records;
}

void prepare(test::TestMeet &meet, int persons = 15)
{
    meet.makeDatabase(persons, 5, 5);
    registers::readRegisters(meet.state);
    QVERIFY(registers::readEventNames(meet.state).ok());
    events::selectRound(meet.state, meet.state.currentRound);
}

QStringList statuses(const QList<LineCheck> &checks)
{
    QStringList out;
    for (const LineCheck &c : checks)
        out << QStringLiteral("%1:%2:%3").arg(c.line).arg(int(c.status)).arg(c.slot);
    return out;
}

// Four runners of class Senior in a 100 m heat grid (heats 1 and 2, lanes drawn), as "Gridlist"
// makes it, in table.
void makeHeatGrid(test::TestMeet &meet, QString &table)
{
    prepare(meet);
    AppState &state = meet.state;
    CsvImport import;
    QVERIFY(import
                .setData("Startnr,Fornavn,Etternavn,Klubb,Klasse\n3,Ola,Hansen,Ørn IF,Senior\n"
                         "5,Per,Berg,IL Tyr,Senior\n7,Kari,Nordmann,\"IL Tyr, "
                         "friidrett\",Senior\n9,Lise,Dal,,Senior\n",
                         QStringLiteral("x.csv"), state)
                .ok());
    ImportSummary summary;
    QVERIFY(import.apply(state, summary).ok());
    // The grid as "Gridlist" makes it for a heat list, with heats and lanes drawn.
    const int round = state.currentRound, event = 14, cls = 2;
    const int setup = events::setupRecordNumber(round, event, cls);
    for (auto [field, value] : {std::pair{events::SetupCategory, "0"},
                                {events::SetupListType, "1"},
                                {events::SetupTimeFormat, "2"}})
        QVERIFY(events::writeSetupField(state, setup, field, QString::fromLatin1(value)).ok());
    table = events::gridTableName(state, event, cls, QStringLiteral("_"));
    QList<db::FieldDef> fields;
    for (const events::GridColumn &c : events::gridColumnLayout(events::ListType::Heat, 0))
        fields << db::FieldDef{events::columnName(c, Language::Norwegian), db::FieldType::Text};
    QVERIFY(state.database.createTable(table, fields).ok());
    QCOMPARE(state.database
                 .insertRows(table, {{"1", "3", "", "", "9", "Dal Lise", "-", "", ""},
                                     {"2", "4", "", "", "7", "Nordmann Kari", "IL Tyr", "", ""},
                                     {"2", "3", "", "", "5", "Berg Per", "IL Tyr", "", ""},
                                     {"2", "5", "", "", "3", "Hansen Ola", "Ørn IF", "", ""}})
                 .error(),
             QString());
}

} // namespace

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void readsCsv_data()
    {
        Cases<QByteArray, QList<QStringList>>::columns();
        using L = QList<QStringList>;
        QTest::newRow("quotes, doubled quotes, breaks")
            << QByteArray("a,b\r\n\"x,1\",\"say \"\"hi\"\"\nnext\"\r\n")
            << L{{"a", "b"}, {"x,1", "say \"hi\"\nnext"}};
        QTest::newRow("semicolon heading, comma in data")
            << QByteArray("a;b\n1,5;2\n") << L{{"a", "b"}, {"1,5", "2"}};
        QTest::newRow("bom, cr only, blank lines")
            << QByteArray("\xEF\xBB\xBFn\r\r\xC3\xB8\r") << L{{"n"}, {"ø"}};
        QTest::newRow("windows-1252") << QByteArray("n\n\xF8st\n") << L{{"n"}, {"øst"}};
        QTest::newRow("no final line end, empty fields")
            << QByteArray("a,b,c\n,,") << L{{"a", "b", "c"}, {"", "", ""}};
        QTest::newRow("guarded formula") << QByteArray("'=cmd|x,'-3,'x\n") << L{{"=cmd|x", "-3", "'x"}};
        QTest::newRow("tab separated") << QByteArray("a\tb\n1\t2\n") << L{{"a", "b"}, {"1", "2"}};
    }
    void readsCsv()
    {
        const auto [bytes, expected] = Cases<QByteArray, QList<QStringList>>::fetch();
        QCOMPARE(parsed(bytes), expected);
    }

    void refusesBrokenFiles()
    {
        CsvRead open = parseCsv("a,b\n1,\"2\n3\n");
        QCOMPARE(open.error, CsvError::OpenQuote);
        QCOMPARE(open.errorLine, 2);
        QCOMPARE(parseCsv(QByteArray("a\0b", 3)).error, CsvError::NotText);
        test::TestMeet meet;
        CsvImport import;
        QVERIFY(!import.setData("", QStringLiteral("x.csv"), meet.state).ok());
        QVERIFY(!import.setData("Fornavn;Etternavn\r\n", QStringLiteral("x.csv"), meet.state).ok());
    }

    // What is written reads back the same, and no cell starts a formula in a spreadsheet.
    void writesCsvThatReadsBack()
    {
        const QList<QStringList> records = {{"=1+2", "+47 22", "-", "@SUM(A1)", "'=x"},
                                            {"a;b", " lead", "q\"uote", "line\r\nbreak", ""}};
        for (QChar sep : {u',', u';'}) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            writeCsv(buffer, records, sep);
            const QByteArray bytes = buffer.data();
            for (const QByteArray &line : bytes.mid(3).split('\n'))
                QVERIFY2(!line.startsWith('=') && !line.contains(",=") && !line.contains(";+"),
                         line.constData());
            const CsvRead back = parseCsv(bytes);
            QCOMPARE(back.separator, sep);
            QCOMPARE(back.records, records);
        }
    }

    void checksAndImportsLines()
    {
        test::TestMeet meet;
        prepare(meet, 6);
        AppState &state = meet.state;
        // Start number 2 taken by the first line's competitor, a club and a class that are new,
        // an unknown event, a line without a class, one that does not parse, then a full register.
        const QByteArray csv = "Startnr;Fornavn;Etternavn;Klubb;Klasse;Øvelser;100_m\r\n"
                               "2;Kari;Nordmann;IL Tyr;Senior;Kule, Lengde;x\r\n"
                               "2;Ola;Hansen;IL Tyr;Senior;;\r\n"
                               ";Per;Berg;Ny klubb;Veteraner;Kule;\r\n"
                               ";Lise;Dal;IL Tyr;Senior;Svømming;\r\n"
                               ";Tor;Li;IL Tyr;;;1\r\n"
                               "bad;line\r\n"
                               "\r\n"
                               ";A;A;;Junior;;\r\n;B;B;;Junior;;\r\n;C;C;;Junior;;\r\n;D;D;;Junior;;\r\n";
        CsvImport import;
        QVERIFY(import.setData(csv, QStringLiteral("x.csv"), state).ok());
        QCOMPARE(import.columns().at(6), (ColumnMap{ColumnKind::Event, 14}));
        QList<LineCheck> checks;
        QVERIFY(import.check(state, checks).ok());
        using S = LineStatus;
        const QStringList expected = {QStringLiteral("2:%1:2").arg(int(S::Ok)),
                                      QStringLiteral("3:%1:0").arg(int(S::StartNumberTaken)),
                                      QStringLiteral("4:%1:1").arg(int(S::Ok)),
                                      QStringLiteral("5:%1:0").arg(int(S::UnknownEvent)),
                                      QStringLiteral("6:%1:0").arg(int(S::ClassMissing)),
                                      QStringLiteral("7:%1:0").arg(int(S::DoesNotParse)),
                                      QStringLiteral("9:%1:3").arg(int(S::Ok)),
                                      QStringLiteral("10:%1:4").arg(int(S::Ok)),
                                      QStringLiteral("11:%1:5").arg(int(S::Ok)),
                                      QStringLiteral("12:%1:6").arg(int(S::Ok))};
        QCOMPARE(statuses(checks).mid(0, 10), expected);
        // The register of 6 is full before line 13 would need a seventh place.
        QVERIFY(import.setData(csv + ";E;E;;Junior;;\r\n", QStringLiteral("x.csv"), state).ok());
        QVERIFY(import.check(state, checks).ok());
        QCOMPARE(checks.last().status, S::RegisterFull);

        ImportSummary summary;
        QVERIFY(import.apply(state, summary).ok());
        QCOMPARE(summary.added, 6);
        QCOMPARE(summary.entries, 4);
        QCOMPARE(summary.newClubs, 2);
        QCOMPARE(summary.newClasses, 1);
        QCOMPARE(summary.skipped.size(), 5);
        QCOMPARE(state.catalogs.persons[2].name, QStringLiteral("Nordmann Kari"));
        QCOMPARE(state.catalogs.persons[1].club, QStringLiteral("Ny klubb"));
        QCOMPARE(state.catalogs.clubs[1], QStringLiteral("IL Tyr"));
        QCOMPARE(state.catalogs.classes[3], QStringLiteral("Veteraner"));
        const int round = state.currentRound;
        QVERIFY(state.entryMatrix.entered(round, 2, 2) && state.entryMatrix.entered(round, 8, 2) &&
                state.entryMatrix.entered(round, 14, 2) && state.entryMatrix.entered(round, 2, 1));
        // The same file again finds everybody there: nobody is added twice.
        QVERIFY(import.setData(csv, QStringLiteral("x.csv"), state).ok());
        QVERIFY(import.apply(state, summary).ok());
        QCOMPARE(summary.added, 0);
        QCOMPARE(summary.known, 6);
    }

    // Seed marks in an event's column or in a seed mark column for the line's one event
    // (Kule 2, Lengde 8, 100_m 14); a mark that does not read skips the line.
    void importsSeedMarks_data()
    {
        Cases<QByteArray, LineStatus, QString>::columns();
        using S = LineStatus;
        QTest::newRow("decimal comma") << QByteArray("A;Senior;;10,85;;") << S::Ok << "14=10,85";
        QTest::newRow("minutes with a colon") << QByteArray("A;Senior;;1:02.5;;") << S::Ok << "14=1.02.5";
        QTest::newRow("flag, no mark") << QByteArray("A;Senior;;1;;") << S::Ok << "14=";
        QTest::newRow("two columns") << QByteArray("A;Senior;;11.02;6.10;") << S::Ok << "8=6.10 14=11.02";
        QTest::newRow("seed column") << QByteArray("A;Senior;Lengde;;;7,35") << S::Ok << "8=7,35";
        QTest::newRow("seed column NM") << QByteArray("A;Senior;Kule;;;NM") << S::Ok << "2=";
        QTest::newRow("seed column, two events")
            << QByteArray("A;Senior;Kule;x;;12.1") << S::SeedMarkEvents << "";
        QTest::newRow("seed column, no event") << QByteArray("A;Senior;;;;12.1") << S::SeedMarkEvents << "";
        QTest::newRow("unit typed") << QByteArray("A;Senior;;10.85s;;") << S::SeedMarkUnreadable << "";
        QTest::newRow("four parts") << QByteArray("A;Senior;;1.02.03.04;;") << S::SeedMarkUnreadable << "";
        QTest::newRow("no time reads it") << QByteArray("A;Senior;;1.99.99;;") << S::SeedMarkUnreadable << "";
    }
    void importsSeedMarks()
    {
        const auto [line, status, expected] = Cases<QByteArray, LineStatus, QString>::fetch();
        test::TestMeet meet;
        prepare(meet);
        AppState &state = meet.state;
        CsvImport import;
        QVERIFY(import
                    .setData("Etternavn;Klasse;Øvelser;100_m;Lengde;Seedingsresultat\n" + line,
                             QStringLiteral("x.csv"), state)
                    .ok());
        ImportSummary summary;
        QCOMPARE(import.apply(state, summary).ok(), status == LineStatus::Ok);
        if (status != LineStatus::Ok) {
            QCOMPARE(summary.skipped.value(0).status, status);
            return;
        }
        QStringList stored;
        for (int e = 1; e <= kEventSlots; ++e)
            if (state.entryMatrix.entered(state.currentRound, e, 1))
                stored << QStringLiteral("%1=%2").arg(e).arg(
                    registers::readSeedMarks(state.database, state.currentRound, e).value(1).mark);
        QCOMPARE(stored.join(u' '), expected);
    }

    void importsNothingWhenNoLineIsGood()
    {
        test::TestMeet meet;
        prepare(meet);
        CsvImport import;
        QVERIFY(
            import.setData("Fornavn,Etternavn,Øvelser\nA,B,Svømming\n", QStringLiteral("x.csv"), meet.state)
                .ok());
        ImportSummary summary;
        QVERIFY(!import.apply(meet.state, summary).ok());
        QCOMPARE(test::storedText(meet.state, schema::kPersoner, 1, 2), QStringLiteral("-"));
    }

    // Competitors exported from one meet and imported into a new one give the same registers
    // and entries.
    void roundTrip()
    {
        test::TestMeet from;
        prepare(from);
        const QByteArray csv = "Start number,First name,Surname,Club,Class,Sex,Born,Events,100_m\n"
                               "3,\"Anne, Marie\",Ås,Tyr,Senior,Jente,2001,Kule | 100_m,\"12,3\"\n"
                               "7,=Evil,\"Quote \"\"Q\"\"\",-,Junior,,,Lengde,10:05\n"
                               ",Bo,Ek,Tyr,Junior,,,,\n";
        CsvImport import;
        QVERIFY(import.setData(csv, QStringLiteral("x.csv"), from.state).ok());
        ImportSummary summary;
        QVERIFY(import.apply(from.state, summary).ok());
        QCOMPARE(summary.added, 3);
        QCOMPARE(summary.marks, 2);
        QList<QStringList> records;
        QVERIFY(competitorRecords(from.state, records).ok());
        QCOMPARE(records.size(), 4);
        const QString path = from.dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(writeCsvFile(from.state, path, records).ok());

        test::TestMeet to;
        prepare(to);
        QVERIFY(import.read(path, to.state).ok());
        QVERIFY(import.apply(to.state, summary).ok());
        QCOMPARE(summary.skipped.size(), 0);
        for (const QString &table :
             {schema::kPersoner, schema::kKlubber, schema::kKlasser, schema::kPamelding, schema::kSeedmerker})
            QCOMPARE(test::rowsOf(to.state.database, table), test::rowsOf(from.state.database, table));
    }

    // Camera times in the event's format, the thousandths rounded up to the format's unit.
    void convertsFinishTimes_data()
    {
        Cases<QString, int, QString>::columns();
        QTest::newRow("up to hundredths") << "10.231" << 2 << "10.24";
        QTest::newRow("exact hundredths") << "10.230" << 2 << "10.23";
        QTest::newRow("tenths") << "10.1" << 2 << "10.10";
        QTest::newRow("minutes") << "1:02.345" << 1 << "01.02.35";
        QTest::newRow("whole seconds up") << "1:02.001" << 0 << "00.01.03";
        QTest::newRow("ten-thousandths") << "9.9901" << 2 << "10.00";
        QTest::newRow("non-finisher") << "DNF" << 2 << "";
        QTest::newRow("seconds past 59 after minutes") << "1:75.00" << 1 << "";
    }
    void convertsFinishTimes()
    {
        const auto [time, format, expected] = Cases<QString, int, QString>::fetch();
        QCOMPARE(finishTimeText(time, events::timeFormatFromCode(format)).value_or(QString()), expected);
    }

    // A heat grid of 100 m, class Senior: start lists out, one race's results back in.
    void photoFinishRoundTrip()
    {
        test::TestMeet meet;
        AppState &state = meet.state;
        const int event = 14, cls = 2;
        QString table;
        makeHeatGrid(meet, table);
        if (QTest::currentTestFailed())
            return;

        const QString folder = meet.dir.filePath(QStringLiteral("camera"));
        int grids = 0;
        QVERIFY(writeStartLists(state, folder, QStringLiteral("Demomeet"), &grids).ok());
        QCOMPARE(grids, 1);
        QByteArray lists;
        for (const char *ext : {".ppl", ".evt", ".sch"})
            lists += QByteArray("== ") + ext + "\n" +
                     test::readFile(folder + QStringLiteral("/Demomeet") + QLatin1String(ext));
        test::compareWithGolden(lists, QStringLiteral("photofinish_startlists.txt"));

        const QByteArray lif = test::readFile(test::dataFile(QStringLiteral("photofinish_heat2.lif")));
        FinishImport done;
        QVERIFY(importFinishFile(state, lif, QStringLiteral("h.lif"), done).ok());
        QCOMPARE(done.stored, 4);
        QStringList results;
        for (const QVariantList &row : test::rowsOf(state.database, table))
            results << row.value(4).toString() + u'=' + row.value(7).toString();
        QCOMPARE(results.join(u' '), QStringLiteral("9=DQ 7=10.24 5=DNF 3=62.30"));
        QCOMPARE(heatWind(state, 4, event, cls, 2), QStringLiteral("+1.3"));
        QList<QStringList> records;
        QVERIFY(roundResultRecords(state, records).ok());
        QCOMPARE(records.size(), 5);
        QCOMPARE(records[2].mid(0, 10), (QStringList{"100_m", "Senior", "Finale", "2", "4", "", "7",
                                                     "Nordmann Kari", "IL Tyr", "10.24"}));

        // A start number outside the grid, or a grid that does not exist, changes nothing.
        const QList<QVariantList> before = test::rowsOf(state.database, table);
        for (const QByteArray &bad :
             {QByteArray("1403,4,1,x\n1,7,4,N,K,,11.00\n"), QByteArray("1402,3,1,x\n1,7,4,N,K,,11.00\n"),
              QByteArray("1402,4,1,x\n1,7,4,N,K,,11.00\n2,8,5,A,B,,12.00\n"), QByteArray("1402,4\n"),
              QByteArray("1402,4,1,x\n1\n")})
            QVERIFY2(!importFinishFile(state, bad, QStringLiteral("b.lif"), done).ok(), bad.constData());
        QCOMPARE(test::rowsOf(state.database, table), before);
    }

    // The camera's folder from the options: the start list command writes there without asking,
    // a start list changed in a grid is written again (a failure told once, the grid kept), and
    // result files left there go in as they appear, each once until it changes.
    void cameraFolderFollowsGrids()
    {
        test::TestMeet meet;
        AppState &state = meet.state;
        QString table;
        makeHeatGrid(meet, table);
        if (QTest::currentTestFailed())
            return;
        const QString folder = meet.dir.filePath(QStringLiteral("camera"));
        QVERIFY(QDir().mkpath(folder));
        // A race of an earlier run, there before watching starts: not read.
        test::writeFile(folder + QStringLiteral("/old.lif"), "1402,4,2,x\n1,7,4,N,K,,9.99\n");
        CameraLink link(state);
        QSignalSpy stored(&link, &CameraLink::resultsStored);
        storeCameraSetting(state, {folder, true});
        const QString evt = folder + u'/' + startListBase(state) + QStringLiteral(".evt");
        QTRY_VERIFY(QFile::exists(evt));
        QVERIFY(QFile::remove(evt));
        meet.prompt.clear();
        QVERIFY(startListsCommand(state));
        QVERIFY(QFile::exists(evt));
        QCOMPARE(meet.prompt.asked().size(), 1); // what was written; no file question
        QCOMPARE(meet.prompt.asked().front().kind, ScriptedPrompt::Asked::Message);

        // A lane changed is a start list change, a result is not; the camera's files follow.
        db::RecordModel grid;
        QVERIFY(grid.open(state.database, table));
        const events::GridColumns columns(grid.fieldNames());
        const int lane = columns.index(events::ColumnRole::Lane),
                  result = columns.index(events::ColumnRole::Results);
        QVERIFY(columns.holdsStartList(lane) && !columns.holdsStartList(result));
        QSignalSpy edited(&grid, &QAbstractItemModel::dataChanged);
        QVERIFY(grid.setValue(0, lane, QStringLiteral("6")));
        QCOMPARE(edited.size(), 1);
        QCOMPARE(edited[0][0].toModelIndex().column(), lane);
        QCOMPARE(edited[0][1].toModelIndex().column(), lane);
        emit state.notifier.gridChanged(table);
        QTRY_VERIFY(test::readFile(evt).contains(",9,6,Dal,Lise,"));
        // A folder that cannot take the files: told once however often the grid changes.
        meet.prompt.clear();
        storeCameraSetting(state, {evt + QStringLiteral("/x"), false});
        QTRY_COMPARE(meet.prompt.messageTexts().size(), 1);
        emit state.notifier.gridChanged(table);
        emit state.notifier.gridChanged(table);
        QTest::qWait(20);
        QCOMPARE(meet.prompt.messageTexts().size(), 1);
        storeCameraSetting(state, {folder, true});

        // A result file the camera leaves goes in as it appears.
        auto result7 = [&] { return test::rowsOf(state.database, table).at(1).value(result).toString(); };
        const QByteArray lif = test::readFile(test::dataFile(QStringLiteral("photofinish_heat2.lif")));
        test::writeFile(folder + QStringLiteral("/race.lif"), lif);
        QTRY_COMPARE(stored.size(), 1);
        QCOMPARE(stored[0][0].toString(), table);
        QCOMPARE(result7(), QStringLiteral("10.24"));
        // Read once: a correction by hand stays while the file is the same.
        QVERIFY(grid.refresh() && grid.setValue(1, result, QStringLiteral("10.30")));
        link.readNewResults();
        QCOMPARE(result7(), QStringLiteral("10.30"));
        // A file that does not go in is told once and changes nothing.
        meet.prompt.clear();
        test::writeFile(folder + QStringLiteral("/bad.lif"), "1402,4,2,x\n1,8,5,A,B,,12.00\n");
        QTRY_COMPARE(meet.prompt.messageTexts().size(), 1);
        QVERIFY(meet.prompt.lastMessage().contains(QStringLiteral("bad.lif")));
        link.readNewResults();
        QCOMPARE(meet.prompt.messageTexts().size(), 1);
        QCOMPARE(result7(), QStringLiteral("10.30"));
        // The race's file written again: read again.
        test::writeFile(folder + QStringLiteral("/race.lif"), lif + "\r\n");
        QTRY_COMPARE(result7(), QStringLiteral("10.24"));
        QCOMPARE(stored.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "TestExchange.moc"
