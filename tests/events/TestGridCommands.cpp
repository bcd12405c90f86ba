#include "events/GridColumns.h"
#include "events/GridCommands.h"
#include "events/GridSort.h"
#include "events/StartSetup.h"
#include "timing/TimeList.h"

#include <QTemporaryDir>

#include <QAbstractItemModelTester>
#include <QStringListModel>

#include "CaseTable.h"

using namespace arenor;
using namespace arenor::events;

class TestGridCommands : public QObject {
    Q_OBJECT
private slots:
    void commands_data() { test::addCaseRows("grid_commands.txt", 5); }
    void commands()
    {
        QFETCH(QStringList, cells); // kind, format, results, places, differences
        const ResultKind kind = test::kindOf(cells[0]);
        const TimeFormat format = test::formatOf(cells[1]);
        const QStringList rows = cells[2].split(u';');
        QStringList placeTexts;
        for (int place : gridPlaces(rows, kind, format))
            placeTexts << QString::number(place);
        QCOMPARE(placeTexts.join(u','), cells[3]);
        QCOMPARE(gridDifferences(rows, kind, format).join(u';'), cells[4]);
    }

    // Results sort by value, rows without a result last either way; text in Norwegian order.
    void sorting_data()
    {
        QTest::addColumn<int>("as");
        QTest::addColumn<QString>("values");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<QString>("sorted");
        const int result = int(SortAs::Result), text = int(SortAs::Text);
        QTest::newRow("times up") << result << "10.20;-;9.80;10.00;;9.80" << false
                                  << "9.80;9.80;10.00;10.20;-;";
        QTest::newRow("times down") << result << "10.20;-;9.80;10.00" << true << "10.20;10.00;9.80;-";
        QTest::newRow("lengths down") << result << "4.95;x;10.05;7" << true << "10.05;7;4.95;x";
        QTest::newRow("names") << text << "Øen;aas;Zeta;Åsen;Ærø;Berg" << false
                               << "aas;Berg;Zeta;Ærø;Øen;Åsen";
        QTest::newRow("names down") << text << "Øen;Åsen;Zeta" << true << "Åsen;Øen;Zeta";
    }
    void sorting()
    {
        QFETCH(int, as);
        QFETCH(QString, values);
        QFETCH(bool, descending);
        QStringListModel source(values.split(u';'));
        GridSortModel shown;
        QAbstractItemModelTester tester(&shown);
        shown.setSourceModel(&source);
        shown.sortGrid(0, descending, SortAs(as), ResultKind::Time, TimeFormat::SecondsHundredths);
        QStringList texts;
        for (int r = 0; r < shown.rowCount(); ++r)
            texts << source.stringList()[shown.sourceRow(r)];
        QTEST(texts.join(u';'), "sorted");
    }

    void sortProposals()
    {
        GridContext heat;
        heat.type = ListType::Heat;
        heat.run = true;
        const SortProposal p = sortProposal(heat, false);
        QVERIFY(p.column == 8 && p.descending == false);
        heat.run = false;
        heat.technical = true;
        QVERIFY(sortProposal(heat, false).descending == true);
        QVERIFY(!sortProposal(heat, true).column && !sortProposal(heat, true).descending);
        heat.type = ListType::Multi;
        QVERIFY(!sortProposal(heat, false).column);
        QCOMPARE(sortExpression(3, true), QStringLiteral(" 3 Desc"));
    }

    // Staggered start times: the step with its carries, groups, "by number"; unsound input is
    // refused rather than handed out as wrong times.
    void startTimes_data()
    {
        QTest::addColumn<QString>("setup"); // format, start, interval, group size, rows (;) or count
        QTest::addColumn<QString>("times");
        QTest::newRow("interval 45") << "HMS,09.59.30,45,1,4"
                                     << "09.59.30;10.00.15;10.01.00;10.01.45";
        QTest::newRow("interval 90") << "HMS,10.59.00,90,1,3"
                                     << "10.59.00;11.00.30;11.02.00";
        QTest::newRow("groups by number") << "HMS,10.00.00,30,2,2;3;7"
                                          << "10.00.00;10.00.30;10.01.30";
        QTest::newRow("minutes") << "MSH,01.59.50,15,1,2"
                                 << "01.59.50;02.14.50";
        QTest::newRow("seconds format") << "SH,10.00,5,1,3"
                                        << "10.00;15.00;20.00";
        QTest::newRow("group size 0") << "HMS,10.00.00,30,0,3"
                                      << "";
        QTest::newRow("interval abc") << "HMS,10.00.00,abc,1,3"
                                      << "";
        QTest::newRow("past midnight") << "HMS,23.59.30,45,1,2"
                                       << "23.59.30;";
        QTest::newRow("by number past 99.99") << "SH,99.00,30,1,1;2;5"
                                              << "99.00;;";
        QTest::newRow("not a time") << "HMS,10.00,30,1,2"
                                    << "";
    }
    void startTimes()
    {
        QFETCH(QString, setup);
        const QStringList s = setup.split(u',');
        StartSetupRequest request;
        request.format = test::formatOf(s[0]);
        request.startTime = s[1];
        request.interval = s[2];
        request.groupSize = s[3];
        QStringList times;
        QString notice;
        const Status status =
            s[4].contains(u';')
                ? gridStartTimes(request, s[4].split(u';'), true, times, Language::English, &notice)
                : events::startTimes(request, s[4].toInt(), times, Language::English);
        QTEST(times.join(u';'), "times");
        QCOMPARE(status.ok(), !times.isEmpty());
        // The starts left without a time are named, the lowest and the highest.
        const bool left = s[4].contains(u';') && times.contains(QString());
        QCOMPARE(notice.section(u':', 0, 0),
                 left ? QStringLiteral("No start time for start numbers 2\u20135") : QString());
    }

    void startTimesFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("UtTider.txt"));
        StartSetupRequest request{true, QStringLiteral("10.00.00"), QStringLiteral("30"),
                                  QStringLiteral("2")};
        QVERIFY(!writeStartTimesFile(path, request, 3001, Language::English));
        QVERIFY(!QFile::exists(path));
        QVERIFY(writeStartTimesFile(path, request, 3, Language::English));
        timing::TimeList list;
        timing::ChannelCounters counters;
        QVERIFY(timing::readTimesFile(path, list, counters));
        QStringList lines;
        for (const timing::TimeRecord &r : list.records)
            lines << r.index + u' ' + r.time + u' ' + r.number;
        QCOMPARE(lines.join(u';'), QStringLiteral("0001 10.00.00 1;0002 10.00.00 2;0003 10.00.30 3"));
        // Only the starts the format holds: 19.00.00 and 299 minutes is the last.
        request = {true, QStringLiteral("19.00.00"), QStringLiteral("60"), QStringLiteral("1")};
        QString notice;
        QVERIFY(writeStartTimesFile(path, request, 400, Language::English, &notice));
        QVERIFY(notice.startsWith(QStringLiteral("No start time for start numbers 301\u2013400: the time "
                                                 "format holds times up to 23.59.59.")));
        QVERIFY(timing::readTimesFile(path, list, counters));
        QCOMPARE(list.records.size(), size_t(300));
        QCOMPARE(list.records.back().time, QStringLiteral("23.59.00"));
    }

    void stepResults()
    {
        const QStringList out = QString("0.59.95;0.00.00;-;0.10.00").split(u';');
        const QStringList in = QString("1.05.10;0.12.34;0.50.00;0.09.00").split(u';');
        QCOMPARE(gridStepResults(out, in, ResultKind::Time, TimeFormat::MinutesSecondsHundredths).join(u';'),
                 QStringLiteral("00.05.15;00.12.34;-;-00.01.00"));
    }

    // A grid made in Norwegian keeps working after a switch to English, and the other way.
    void columnsByRoleInEitherLanguage()
    {
        for (Language made : {Language::Norwegian, Language::English}) {
            for (ListType type : {ListType::Standard, ListType::Heat, ListType::Relay, ListType::Step}) {
                QStringList names;
                const QList<GridColumn> layout = gridColumnLayout(type, 3);
                for (const GridColumn &column : layout)
                    names << columnName(column, made);
                const GridColumns columns(names);
                QVERIFY(columns.missing(type).isEmpty());
                for (int i = 0; i < layout.size(); ++i) {
                    const GridColumn c = layout[i];
                    QCOMPARE(c.role == ColumnRole::Help ? columns.helpIndex(c.help) : columns.index(c.role),
                             i);
                }
            }
        }
        const GridColumns norwegian(
            {"Øvpl", " stnr ", "Navn", "KLUBB", "Resultat", "Hjelp-2", "Differanse", "x"});
        QCOMPARE(norwegian.index(ColumnRole::Number), 1);
        QCOMPARE(norwegian.helpIndex(2), 5);
        QCOMPARE(norwegian.helpIndex(1), -1);
        QCOMPARE(columnNames(norwegian.missing(ListType::Step), Language::Norwegian),
                 QStringLiteral("Ut, Inn"));
        QStringList names;
        for (const GridColumn &column : gridColumnLayout(ListType::Heat, 2))
            names << columnName(column, Language::Norwegian);
        QCOMPARE(names.join(u','),
                 QStringLiteral("Heat,Bane,Htpl,Øvpl,Stnr,Navn,Klubb,Resultat,Hjelp-1,Hjelp-2,Differanse"));
    }
};

QTEST_GUILESS_MAIN(TestGridCommands)
#include "TestGridCommands.moc"
