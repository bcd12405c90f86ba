// Field-event places and combined-events points, over the rule book's own cases and the
// published scoring tables.

#include "db/Schema.h"
#include "events/CombinedEvents.h"
#include "events/FieldEventStore.h"
#include "events/FieldEvents.h"
#include "events/GridColumns.h"

#include <QTemporaryDir>

#include <QTest>

using namespace arenor;
using namespace arenor::events;

namespace {

// "7.50 x 7.80 -" as a series.
QList<Attempt> series(const QString &text)
{
    QList<Attempt> s;
    for (const QString &t : text.split(u' ', Qt::SkipEmptyParts))
        s.append(*parseAttempt(t, Language::English, nullptr));
    return s;
}

// "1.91 1.93" and rows "o - xo" into a card.
HeightCard card(const QString &heights, const QStringList &rows)
{
    HeightCard c;
    for (const QString &h : heights.split(u' '))
        c.heights.append(*parseHeight(h, Language::English, nullptr));
    for (const QString &row : rows) {
        QList<HeightCell> cells;
        for (const QString &t : row.split(u' ', Qt::SkipEmptyParts))
            cells.append(*parseHeightCell(t == u"." ? QString() : t, Language::English, nullptr));
        c.cells.append(cells);
    }
    return c;
}

QString placesText(const QList<FieldPlace> &places)
{
    QStringList out;
    for (const FieldPlace &p : places)
        out.append(QString::number(p.place) + QLatin1String(p.tied ? "=" : "") +
                   QLatin1String(p.jumpOff ? "J" : ""));
    return out.join(u' ');
}

} // namespace

class TestFieldEvents : public QObject {
    Q_OBJECT
private slots:
    void attempts_data();
    void attempts();
    void horizontalPlaces_data();
    void horizontalPlaces();
    void finalRounds();
    void verticalPlaces_data();
    void verticalPlaces();
    void cardChecks();
    void points_data();
    void points();
    void publishedTotals();
    void noMarkAndRanking();
    void storedAndWrittenBack();
};

void TestFieldEvents::attempts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // the attempt written back, or "!" plus a word of the message
    QTest::newRow("comma") << "7,35"
                           << "7.35";
    QTest::newRow("point") << " 7.3 "
                           << "7.30";
    QTest::newRow("whole metres") << "12"
                                  << "12.00";
    QTest::newRow("capital foul") << "X"
                                  << "x";
    QTest::newRow("pass") << "-"
                          << "-";
    QTest::newRow("retired") << "R"
                             << "r";
    QTest::newRow("not taken") << ""
                               << "";
    QTest::newRow("zero") << "0"
                          << "!foul";
    QTest::newRow("unit") << "7.35 m"
                          << "!unit";
    QTest::newRow("three decimals") << "7.355"
                                    << "!decimals";
    QTest::newRow("card text") << "xx o"
                               << "!one attempt";
    QTest::newRow("huge") << QString(10000, u'7') << "!one attempt";
}

void TestFieldEvents::attempts()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QString error;
    const std::optional<Attempt> a = parseAttempt(typed, Language::English, &error);
    if (shown.startsWith(u'!')) {
        QVERIFY(!a);
        QVERIFY2(error.contains(shown.mid(1)), qPrintable(error));
        QVERIFY(error.size() < 200); // a pasted page is quoted cut short
        QString norwegian;
        QVERIFY(!parseAttempt(typed, Language::Norwegian, &norwegian) && norwegian != error);
    } else {
        QVERIFY2(a, qPrintable(error));
        QCOMPARE(attemptText(*a), shown);
    }
}

void TestFieldEvents::horizontalPlaces_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("places");
    QTest::newRow("second best breaks the tie")
        << QStringList{"7.50 7.20 x", "7.50 7.30 -", "7.60 x x"} << "3 2 1";
    QTest::newRow("third best, then a further mark")
        << QStringList{"7.50 7.20 7.00", "7.20 7.50 7.10", "7.50 7.20"} << "2 1 3";
    QTest::newRow("same series share") << QStringList{"6.00 x 6.10", "6.10 6.00 -", "5.00"} << "1= 1= 3";
    QTest::newRow("no valid mark, no place") << QStringList{"x x x", "- r", "4.10"} << "0 0 1";
}

void TestFieldEvents::horizontalPlaces()
{
    QFETCH(QStringList, rows);
    QFETCH(QString, places);
    QList<QList<Attempt>> s;
    for (const QString &r : rows)
        s.append(series(r));
    QCOMPARE(placesText(events::horizontalPlaces(s)), places);
}

void TestFieldEvents::finalRounds()
{
    // Ten jumpers: the two tied for eighth after three rounds both go on; the order of
    // rounds 4 to 6 is the standing reversed, tied ones in their draw order.
    QList<QList<Attempt>> s;
    for (const char *r :
         {"6.00", "6.90", "6.00", "x x x", "6.50", "6.20 6.00", "6.40", "6.20 6.00", "6.70", "6.80"})
        s.append(series(QString::fromLatin1(r)));
    const QList<bool> in = finalists(s, 8);
    QCOMPARE(in.count(true), 9);
    QVERIFY(!in[3] && in[0]);
    QCOMPARE(finalRoundsOrder(s, 8), (QList<int>{0, 2, 5, 7, 6, 4, 8, 9, 1}));
    // Later rounds do not move the order; a finalist count of 3 cuts there.
    s[0] = series("6.00 x x 8.00");
    QCOMPARE(finalRoundsOrder(s, 3), (QList<int>{8, 9, 1}));
    QCOMPARE(events::horizontalPlaces(s).first().place, 1);
    // Eight or fewer all go on, those without a valid mark first.
    QCOMPARE(finalRoundsOrder(s.first(4), 8), (QList<int>{3, 0, 2, 1}));

    // Wind: the best mark's wind is the one shown; a mark with more than +2.0 is flagged.
    QList<Attempt> w = series("7.80 7.95 7.95");
    w[1].wind = *parseWind(u"+2,1", Language::English, nullptr);
    w[2].wind = *parseWind(u"1.2", Language::English, nullptr);
    QCOMPARE(windText(*bestAttempt(w)->wind), QStringLiteral("+2.1"));
    QVERIFY(*bestAttempt(w)->wind > kWindLimit);
    QString error;
    QVERIFY(!parseWind(u"2 m/s", Language::English, &error) && error.contains(u"m/s"));
}

void TestFieldEvents::verticalPlaces_data()
{
    QTest::addColumn<QString>("heights");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("jumpOffHeights");
    QTest::addColumn<QStringList>("jumpOff");
    QTest::addColumn<QString>("places");
    // The rule book's example: failures at the best height, then over the whole competition.
    const QStringList book{"- - xo xo xo xxx", "o - o o xxx", "o - xo xo x- xx", "- xo o xxo xxo xxx",
                           "- - - xxx"};
    QTest::newRow("rule book countback")
        << "1.91 1.93 1.95 1.97 1.99 2.01" << book << "" << QStringList{} << "1 3 4 2 0";
    const QStringList tied{"o xo o xxx", "xo o o xxx", "o o xo xxx", "o o xo xxx"};
    QTest::newRow("first tied: jump-off needed")
        << "1.80 1.84 1.88 1.91" << tied << "" << QStringList{} << "1=J 1=J 3= 3=";
    // Bar raised (both fail), lowered (one clears): the jump-off settles first and second.
    QTest::newRow("jump-off settled")
        << "1.80 1.84 1.88 1.91" << tied << "1.93 1.91" << QStringList{"x o", "x x"} << "1 2 3= 3=";
    QTest::newRow("jump-off going on")
        << "1.80 1.84 1.88 1.91" << tied << "1.93" << QStringList{"x", "x"} << "1=J 1=J 3= 3=";
    QTest::newRow("failures above the best height do not count")
        << "1.50 1.55 1.60" << QStringList{"xo o xxx", "xo o xx-", "o o o"} << "" << QStringList{}
        << "2= 2= 1";
}

void TestFieldEvents::verticalPlaces()
{
    QFETCH(QString, heights);
    QFETCH(QStringList, rows);
    QFETCH(QString, jumpOffHeights);
    QFETCH(QStringList, jumpOff);
    QFETCH(QString, places);
    HeightCard c = card(heights, rows);
    if (!jumpOffHeights.isEmpty()) {
        const HeightCard j = card(jumpOffHeights, jumpOff);
        c.jumpOffHeights = j.heights;
        c.jumpOff = j.cells;
    }
    QCOMPARE(checkHeightCard(c, Language::English), QString());
    QCOMPARE(placesText(events::verticalPlaces(c)), places);
}

void TestFieldEvents::cardChecks()
{
    QCOMPARE(checkHeightCard(card("1.50 1.45", {}), Language::English),
             QStringLiteral("The heights must rise: 1.45 comes after 1.50."));
    QVERIFY(checkHeightCard(card("1.50 1.55 1.60", {"o", "xx- x o"}), Language::English).contains(u"1.60"));
    HeightCard j = card("1.50", {"o", "o"});
    j.jumpOffHeights = {155};
    j.jumpOff = {{HeightCell{1, true, false}}, {}};
    QVERIFY(checkHeightCard(j, Language::English).contains(u"jump-off"));
    // On paper: columns as wide as their widest text, the heading first.
    const HeightCard paper = card("1.50 1.55", {"o xxx", "xo xxx"});
    QCOMPARE(fieldCardLines(QStringLiteral("HIGH JUMP"), {"7 Ola", "9 Kari"}, {}, &paper,
                            events::verticalPlaces(paper), Language::English),
             (QStringList{"HIGH JUMP", "", "        1.50  1.55  Best  Place", "7 Ola   o     xxx   1.50  1",
                          "9 Kari  xo    xxx   1.50  2"}));
    QList<Attempt> windy = series("7.10 x");
    windy[0].wind = 23;
    QCOMPARE(fieldCardLines({}, {"1"}, {windy}, nullptr, {{1, false, false}}, Language::Norwegian).last(),
             QStringLiteral("1  7.10(+2.3w)  x  7.10   1"));
    QString error;
    for (const char *bad : {"xxxo", "oo", "x o", "1.85"})
        QVERIFY2(!parseHeightCell(QString::fromLatin1(bad), Language::English, &error) && !error.isEmpty(),
                 qPrintable(bad));
    QVERIFY(!parseHeight(u"1.85 m", Language::Norwegian, &error) && error.contains(u"1,85"));
}

void TestFieldEvents::points_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("women");
    QTest::addColumn<bool>("indoor");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<bool>("hand");
    QTest::addColumn<int>("points");
    // Values of the published tables.
    QTest::newRow("LJ 7.76") << "LJ" << false << false << "7.76" << false << 1000;
    QTest::newRow("SP 18.40") << "SP" << false << false << "18,40" << false << 1000;
    QTest::newRow("400m 46.17") << "400m" << false << false << "46.17" << false << 1000;
    QTest::newRow("110mH 13.80") << "110mH" << false << false << "13.80" << false << 1000;
    QTest::newRow("DT 56.17") << "DT" << false << false << "56.17" << false << 1000;
    QTest::newRow("JT 77.19") << "JT" << false << false << "77.19" << false << 1000;
    QTest::newRow("1500m 3:53.79") << "1500m" << false << false << "3.53.79" << false << 1000;
    QTest::newRow("60m 6.68 indoor") << "60m" << false << true << "6.68" << false << 999;
    QTest::newRow("60mH 7.93 indoor") << "60mH" << false << true << "7.93" << false << 999;
    QTest::newRow("1000m 2:29.00 indoor") << "1000m" << false << true << "2.29.00" << false << 1000;
    QTest::newRow("100m hand 10.6 = 10.84") << "100m" << false << false << "10.6" << true << 897;
    QTest::newRow("100m 10.84") << "100m" << false << false << "10.84" << false << 897;
    QTest::newRow("W HJ 1.86") << "HJ" << true << false << "1.86" << false << 1054;
    QTest::newRow("W 800m 2:08.51") << "800m" << true << false << "2.08.51" << false << 987;
    // Beyond the formula's base: 0, never negative or complex.
    QTest::newRow("1500m slower than B") << "1500m" << false << false << "8.01.00" << false << 0;
    QTest::newRow("HJ at B") << "HJ" << false << false << "0.75" << false << 0;
    QTest::newRow("SP below B") << "SP" << true << true << "1.20" << false << 0;
    QTest::newRow("no mark") << "JT" << true << false << "-" << false << 0;
}

void TestFieldEvents::points()
{
    QFETCH(QString, event);
    QFETCH(bool, women);
    QFETCH(bool, indoor);
    QFETCH(QString, mark);
    QFETCH(bool, hand);
    QFETCH(int, points);
    const ScoringEvent *e = ScoringTable::builtIn().find(event, women ? Sex::Women : Sex::Men,
                                                         indoor ? Venue::Indoor : Venue::Outdoor);
    QVERIFY(e);
    const TimeFormat format =
        mark.count(u'.') == 2 ? TimeFormat::MinutesSecondsHundredths : TimeFormat::SecondsHundredths;
    QCOMPARE(combinedPoints(*e, combinedMark(*e, mark, format, hand)), points);
}

void TestFieldEvents::publishedTotals()
{
    const ScoringTable &table = ScoringTable::builtIn();
    QVERIFY(table.source().contains(u"2001 edition"));
    struct Case {
        Sex sex;
        const char *name;
        QStringList marks;
        int total;
    };
    // Decathlon, Talence 2018 (9126); heptathlon, Seoul 1988 (7291).
    const QList<Case> cases{
        {Sex::Men,
         "Decathlon",
         {"10.55", "7.80", "16.00", "2.05", "48.42", "13.75", "50.54", "5.45", "71.90", "4.36.11"},
         9126},
        {Sex::Women, "Heptathlon", {"12.69", "1.86", "15.80", "22.56", "7.27", "45.66", "2.08.51"}, 7291}};
    for (const Case &c : cases) {
        const auto def =
            std::find_if(table.definitions().begin(), table.definitions().end(), [&](const auto &d) {
                return d.name == QLatin1String(c.name) && d.sex == c.sex && d.venue == Venue::Outdoor;
            });
        QVERIFY(def != table.definitions().end());
        QList<ScoringEvent> events;
        QList<CombinedMark> marks;
        for (qsizetype i = 0; i < def->events.size(); ++i) {
            events.append(*table.find(def->events[i], c.sex, Venue::Outdoor));
            const TimeFormat f = c.marks[i].count(u'.') == 2 ? TimeFormat::MinutesSecondsHundredths
                                                             : TimeFormat::SecondsHundredths;
            marks.append(combinedMark(events.last(), c.marks[i], f));
        }
        const QList<CombinedLine> lines = scoreCombined(events, {marks});
        QCOMPARE(lines[0].total, c.total);
        QCOMPARE(lines[0].running.last(), c.total);
    }
    QString error;
    QVERIFY(
        !ScoringTable::parse(QStringLiteral("source\tx\nM\toutdoor\tLJ\tjump\tA\t220\t1.4\t0\n"), &error));
    QVERIFY(error.startsWith(u"line 2"));
}

void TestFieldEvents::noMarkAndRanking()
{
    const ScoringTable &t = ScoringTable::builtIn();
    const QList<ScoringEvent> events{*t.find(QStringLiteral("60mH"), Sex::Women, Venue::Indoor),
                                     *t.find(QStringLiteral("HJ"), Sex::Women, Venue::Indoor)};
    const QList<QList<CombinedMark>> marks{
        {{850, false}, {170, false}}, {{850, false}, {}}, {{850, false}, {170, false}}, {}};
    const QList<CombinedLine> lines = scoreCombined(events, marks);
    QCOMPARE(lines[1].total, lines[1].points[0]);
    QCOMPARE(lines[1].running, (QList<int>{lines[1].points[0], lines[1].points[0]}));
    QCOMPARE(noMarkNote(events, lines[1], Language::English), QStringLiteral("No mark in HJ: 0 points"));
    QCOMPARE(noMarkNote(events, lines[0], Language::English), QString());
    QCOMPARE(lines[0].place, 1);
    QVERIFY(lines[0].tied && lines[2].tied);
    QCOMPARE(lines[1].place, 3);
    QCOMPARE(lines[3].total, 0);
    QCOMPARE(lines[3].noMark.size(), 2);
}

void TestFieldEvents::storedAndWrittenBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.mdb"));
    QVERIFY(db::Database::create(path, db::Format::Modern).ok());
    db::Database d;
    QVERIFY(d.open(path).ok());
    for (const auto &[name, fields] : schema::fieldEventTables())
        QVERIFY(d.createTable(name, db::numberedFields(fields)).ok());
    const QString grid = QStringLiteral("Kl-F0101");
    QList<db::FieldDef> columns;
    for (ColumnRole r : {ColumnRole::Place, ColumnRole::Number, ColumnRole::Name, ColumnRole::Results})
        columns.append({columnName({r, 0}, Language::Norwegian), db::FieldType::Text});
    QVERIFY(d.createTable(grid, columns).ok());
    QVERIFY(d.insertRows(grid, {{0, "7", "Ola", "-"}, {0, "9", "Kari", "-"}}).ok());

    QList<Attempt> s = series("x 6.10 - r");
    s[1].wind = 21;
    QVERIFY(saveAttempts(d, grid, QStringLiteral("9"), s).ok());
    QVERIFY(saveAttempts(d, grid, QStringLiteral("9"), s).ok()); // replaced, not doubled
    QVERIFY(saveAttempts(d, grid, QStringLiteral("7"), series("6.20")).ok());
    QVERIFY(d.exec(QStringLiteral("INSERT INTO \"Forsøk\" VALUES ('Kl-F0101', '7', 2, '7.35 m', '')")).ok());
    QHash<QString, QList<Attempt>> loaded;
    QStringList unread;
    QVERIFY(loadAttempts(d, grid, loaded, &unread).ok());
    QCOMPARE(loaded.value(QStringLiteral("9")), s);
    QCOMPARE(unread, QStringList{QStringLiteral("7")});

    const QStringList numbers{QStringLiteral("7"), QStringLiteral("9")};
    HeightCard c = card("1.50 1.55", {"o xxx", "xo xxx"});
    c.jumpOffHeights = {155};
    c.jumpOff = {{HeightCell{1, false, false}}, {HeightCell{0, true, false}}};
    QVERIFY(saveHeightCard(d, grid, numbers, c, Language::English).ok());
    HeightCard back;
    QVERIFY(loadHeightCard(d, grid, numbers, back).ok());
    QCOMPARE(back.heights, c.heights);
    QCOMPARE(back.cells, c.cells);
    QCOMPARE(back.jumpOff, c.jumpOff);
    // A faulty card is refused and the stored one stays.
    HeightCard bad = card("1.55 1.50", {});
    QVERIFY(!saveHeightCard(d, grid, numbers, bad, Language::English).ok());
    QVERIFY(loadHeightCard(d, grid, numbers, back).ok());
    QCOMPARE(back.heights, c.heights);

    // The class list prints them under each competitor.
    const QList<QStringList> notes = fieldListNotes(d, grid, numbers, Language::English);
    QCOMPARE(notes[0], (QStringList{"        Attempts: 6.20", "        Heights: 1.50 o  1.55 xxx",
                                    "        Jump-off: 1.55 x"}));
    QCOMPARE(notes[1].first(), QStringLiteral("        Attempts: x 6.10(+2.1w) - r"));
    QCOMPARE(fieldListNotes(d, QStringLiteral("other"), numbers, Language::English)[0], QStringList());

    QList<FieldCompetitor> people;
    QVERIFY(readFieldCompetitors(d, grid, people).ok());
    QCOMPARE(people.size(), 2);
    QVERIFY(writeFieldResults(d, grid, people, {QStringLiteral("6.20"), QStringLiteral("6.10")},
                              events::horizontalPlaces({series("6.20"), s}))
                .ok());
    db::Recordset rs;
    QVERIFY(rs.open(d, grid).ok());
    rs.moveLast();
    QCOMPARE(rs.text(3) + u' ' + rs.text(0), QStringLiteral("6.10 2"));

    const QList<CombinedSetup> setups{
        {QStringLiteral("Sjukamp"), 3, Sex::Women, Venue::Outdoor, {"100mH", "HJ"}, {14, 2}, {"100mH"}}};
    QVERIFY(saveCombinedSetups(d, setups).ok());
    QList<CombinedSetup> read;
    QVERIFY(loadCombinedSetups(d, read).ok());
    QCOMPARE(read.size(), 1);
    QCOMPARE(read[0].codes, setups[0].codes);
    QCOMPARE(read[0].events, setups[0].events);
    QCOMPARE(read[0].handTimed, setups[0].handTimed);
    QCOMPARE(read[0].sex, Sex::Women);
}

QTEST_GUILESS_MAIN(TestFieldEvents)
#include "TestFieldEvents.moc"
