#include "TestSupport.h"
#include "base/TextFile.h"
#include "db/Schema.h"
#include "events/Advancement.h"
#include "events/EventSetup.h"
#include "events/GridAdvance.h"
#include "events/Seeding.h"
#include "registers/Entries.h"
#include "registers/SeedMarks.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>
#include <numeric>

using namespace arenor;
using namespace arenor::events;

namespace {

QString tableText(const LaneTable &t)
{
    QStringList groups;
    for (const QList<int> &g : t.groups) {
        QStringList lanes;
        for (int l : g)
            lanes << QString::number(l);
        groups << lanes.join(u' ');
    }
    return groups.join(QStringLiteral(" / "));
}

// Heats written "1:1:10.50 1:2:10.61 2:1:10.40": heat, place (0 none) and result; row i has
// id and start number i + 1.
QList<HeatRow> heatRows(const QString &text)
{
    QList<HeatRow> rows;
    for (const QString &cell : text.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList p = cell.split(u':');
        const int id = int(rows.size()) + 1;
        rows.append({id, id, p[0].toInt(), p[1].toInt(), p.value(2)});
    }
    return rows;
}

// "Q1 Q4 q2 qR7 | tie h1 p2 2:3,4": the advancers in rank order, then the ties.
QString advancementText(const Advancement &a)
{
    QStringList parts;
    for (const Advancer &x : a.advancers)
        parts << qualifierText(x.qualifier) + QString::number(x.id) +
                     (x.decided ? QStringLiteral("*") : QString());
    for (const Tie &t : a.ties) {
        QStringList ids;
        for (int id : t.ids)
            ids << QString::number(id);
        parts << QStringLiteral("| tie h%1 p%2 %3:%4")
                     .arg(t.heat)
                     .arg(t.place)
                     .arg(t.openPlaces)
                     .arg(ids.join(u','));
    }
    for (const Notice &n : a.notices)
        parts << QStringLiteral("| notice %1").arg(int(n.text));
    return parts.join(u' ');
}

} // namespace

class TestSeeding : public QObject {
    Q_OBJECT
private slots:
    // Lane tables typed by the organiser or shipped: each bad table is told, never used.
    void laneTables_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lanes");
        QTest::addColumn<QString>("expected"); // the groups, or "!" and the notice's text number
        QTest::newRow("groups") << "3 4 5 6 / 2 7 / 1 8" << 8 << "3 4 5 6 / 2 7 / 1 8";
        QTest::newRow("priority") << " 3 4 2  5 1 6" << 6 << "3 / 4 / 2 / 5 / 1 / 6";
        QTest::newRow("count from text") << "2 1" << 0 << "2 / 1";
        QTest::newRow("twice") << "1 2 2" << 3 << "!" + QString::number(int(Text::LaneTwice));
        QTest::newRow("missing") << "1 / 3" << 3 << "!" + QString::number(int(Text::LaneMissing));
        QTest::newRow("beyond") << "1 2 9" << 3 << "!" + QString::number(int(Text::LaneBeyond));
        QTest::newRow("word") << "1 two 3" << 3 << "!" + QString::number(int(Text::LaneNotANumber));
        QTest::newRow("empty") << "" << 0 << "!" + QString::number(int(Text::LaneMissing));
    }
    void laneTables()
    {
        QFETCH(QString, text);
        QFETCH(int, lanes);
        QFETCH(QString, expected);
        Notice problem{Text::Count, {}};
        const std::optional<LaneTable> t = parseLaneTable(text, lanes, &problem);
        QCOMPARE(t ? tableText(*t) : "!" + QString::number(int(problem.text)), expected);
    }

    // The shipped eight-lane tables of the rule book, centre-out for other counts, and the
    // meet's own priority before both when it fits.
    void shippedAndCentreOut()
    {
        QVERIFY(laneTableSource().contains(QStringLiteral("2023")));
        QCOMPARE(tableText(laneTableFor(eventGroupOf(QStringLiteral("100_m")), 8, {})),
                 "3 4 5 6 / 2 7 / 1 8");
        QCOMPARE(tableText(laneTableFor(eventGroupOf(QStringLiteral("110_m_hekk")), 8, {})),
                 "3 4 5 6 / 2 7 / 1 8");
        QCOMPARE(tableText(laneTableFor(eventGroupOf(QStringLiteral("200_m")), 8, {})),
                 "5 6 7 / 3 4 8 / 1 2");
        QCOMPARE(tableText(laneTableFor(eventGroupOf(QStringLiteral("400_m_hekk")), 8, {})),
                 "4 5 6 7 / 3 8 / 1 2");
        QCOMPARE(tableText(laneTableFor(eventGroupOf(QStringLiteral("4x100_m_staf")), 8, {})),
                 "4 5 6 7 / 3 8 / 1 2");
        QCOMPARE(tableText(laneTableFor(EventGroup::Straight, 6, {})), "3 4 / 2 5 / 1 6");
        QCOMPARE(tableText(laneTableFor(EventGroup::Straight, 5, {})), "3 / 2 4 / 1 5");
        QCOMPARE(tableText(laneTableFor(EventGroup::Straight, 6, QStringLiteral("3 4 2 5 1 6"))),
                 "3 / 4 / 2 / 5 / 1 / 6");
        Notice why{Text::Count, {}};
        QCOMPARE(tableText(laneTableFor(EventGroup::Straight, 6, QStringLiteral("1 2 3"), &why)),
                 "3 4 / 2 5 / 1 6");
        QCOMPARE(why.text, Text::LaneMissing);
    }

    // Marks read as results: the best first, marks without a value last; "1:02.5" is told.
    void rankByMarks()
    {
        const QList<SeedEntrant> e{{1, QStringLiteral("11.20")}, {2, QString()},
                                   {3, QStringLiteral("12,3")},  {4, QStringLiteral("NM")},
                                   {5, QStringLiteral("10.98")}, {6, QStringLiteral("1:02.5")},
                                   {7, QStringLiteral("DNS")},   {8, QStringLiteral("11.2")}};
        DrawRandom random(7);
        const Ranking r = rankByMark(e, ResultKind::Time, TimeFormat::SecondsHundredths, false, random);
        QCOMPARE(r.order.mid(0, 1), QList<int>{5});
        QCOMPARE(QSet<int>(r.order.begin() + 1, r.order.begin() + 3), (QSet<int>{1, 8})); // equal: drawn
        QCOMPARE(r.order[3], 3);
        QCOMPARE(QSet<int>(r.order.begin() + 4, r.order.end()), (QSet<int>{2, 4, 6, 7}));
        QCOMPARE(r.unreadable, QList<int>{6});
        QCOMPARE(r.withoutMark, 4);
        DrawRandom again(7);
        QCOMPARE(rankByMark(e, ResultKind::Time, TimeFormat::SecondsHundredths, false, again).order, r.order);
        DrawRandom jumps(1);
        const QList<SeedEntrant> j{
            {1, QStringLiteral("7.10")}, {2, QStringLiteral("7,35 m")}, {3, QStringLiteral("x")}};
        QCOMPARE(rankByMark(j, ResultKind::Number, TimeFormat::HoursMinutesSeconds, true, jumps).order,
                 (QList<int>{2, 1, 3}));
    }

    // Over many sizes, lane counts, tables and seeds: everybody placed once, heats even and
    // within the lanes, each rank group only in its lanes, and the same seed the same heats.
    void seedingProperties()
    {
        const LaneTable eight = *shippedLaneTable(EventGroup::TwoHundred, 8);
        const QList<std::pair<int, LaneTable>> tables{{8, eight},
                                                      {6, centreOutTable(6)},
                                                      {5, centreOutTable(5)},
                                                      {8, LaneTable{{{1, 1}}}},
                                                      {4, *parseLaneTable(u"2 3 1 4", 4)}};
        for (int count : {0, 1, 7, 8, 9, 19, 24, 25, 61}) {
            for (const auto &[lanes, table] : tables) {
                for (quint32 seed : {1u, 99u}) {
                    QList<int> ranked;
                    for (int i = 0; i < count; ++i)
                        ranked << 100 + i;
                    DrawRandom random(seed);
                    const SeedPlan plan = seedHeats(ranked, lanes, table, 0, random);
                    const QString where =
                        QStringLiteral("%1 in %2 lanes, seed %3").arg(count).arg(lanes).arg(seed);
                    QCOMPARE(plan.placements.size(), ranked.size());
                    QSet<int> ids;
                    QHash<int, QList<int>> heat; // heat -> ranks
                    QSet<std::pair<int, int>> seats;
                    const LaneTable used = plan.notices.isEmpty() ? table : centreOutTable(lanes);
                    for (const Placement &p : plan.placements) {
                        ids << p.id;
                        heat[p.heat] << p.id - 100;
                        QVERIFY2(p.lane >= 1 && p.lane <= lanes, qPrintable(where));
                        QVERIFY2(!seats.contains({p.heat, p.lane}), qPrintable(where));
                        seats << std::pair{p.heat, p.lane};
                    }
                    QCOMPARE(ids.size(), ranked.size());
                    int smallest = count, largest = 0;
                    for (auto it = heat.begin(); it != heat.end(); ++it) {
                        smallest = std::min(smallest, int(it->size()));
                        largest = std::max(largest, int(it->size()));
                        QVERIFY2(it->size() <= lanes, qPrintable(where));
                    }
                    QVERIFY2(count == 0 || largest - smallest <= 1, qPrintable(where));
                    // Rank k within a heat sits in the lanes of the group holding position k.
                    for (const Placement &p : plan.placements) {
                        QList<int> ranks = heat[p.heat];
                        std::sort(ranks.begin(), ranks.end());
                        int k = int(ranks.indexOf(p.id - 100)), g = 0;
                        while (k >= used.groups[g].size())
                            k -= int(used.groups[g++].size());
                        QVERIFY2(used.groups[g].contains(p.lane), qPrintable(where));
                    }
                    DrawRandom same(seed);
                    const SeedPlan again = seedHeats(ranked, lanes, table, 0, same);
                    for (qsizetype i = 0; i < plan.placements.size(); ++i)
                        QCOMPARE(again.placements[i].lane, plan.placements[i].lane);
                }
            }
        }
    }

    // The zigzag by hand, too few heats asked for, and no lanes at all.
    void zigzagAndBadCounts()
    {
        QCOMPARE(zigzagHeats(8, 3), (QList<int>{0, 1, 2, 2, 1, 0, 0, 1}));
        QList<int> ranked;
        for (int i = 1; i <= 19; ++i)
            ranked << i;
        DrawRandom random(3);
        const SeedPlan two = seedHeats(ranked, 8, centreOutTable(8), 2, random);
        QCOMPARE(two.heats, 3);
        QCOMPARE(two.notices.size(), 1);
        QCOMPARE(two.notices[0].text, Text::SeedTooFewHeats);
        const SeedPlan none = seedHeats(ranked, 0, {}, 0, random);
        QCOMPARE(none.placements.size(), 19);
        QCOMPARE(none.notices[0].text, Text::SeedNoLanes);
        QCOMPARE(parseAdvanceRule(u" 2 + 2 ")->byTime, 2);
        QCOMPARE(parseAdvanceRule(u"3")->byPlace, 3);
        QVERIFY(!parseAdvanceRule(u"2+-1"));
        QVERIFY(!parseAdvanceRule(u"two"));
    }

    void advancement_data()
    {
        QTest::addColumn<QString>("heats");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("decisions"); // "+3 -4": tied row 3 advances, 4 does not
        QTest::addColumn<QString>("overrides"); // "+7 -1": put in, taken out by hand
        QTest::addColumn<QString>("expected");
        // 19 sprinters in 3 heats, 2 + 2: heat winners by time, then seconds, then the fastest others.
        const QString three = "1:1:10.50 1:2:10.70 1:3:10.80 1:4:10.95 1:5:11.10 1:6:11.30 1:7:11.40 "
                              "2:1:10.40 2:2:10.75 2:3:10.79 2:4:11.00 2:5:11.20 2:6:11.50 "
                              "3:1:10.60 3:2:10.65 3:3:10.90 3:4:10.99 3:5:11.05 3:0:DNF";
        QTest::newRow("19 in 3 heats, 2+2") << three << "2+2"
                                            << ""
                                            << ""
                                            << "Q8 Q1 Q14 Q15 Q2 Q9 q10 q3";
        QTest::newRow("overrides") << three << "2+2"
                                   << ""
                                   << "+4 -9"
                                   << "Q8 Q1 Q14 Q15 Q2 q10 q3 qR4";
        QTest::newRow("places from results") << "1:0:10.5 1:0:10.3 1:0:- 2:0:10.4 2:0:10.6"
                                             << "1+1"
                                             << ""
                                             << ""
                                             << "Q2 Q4 q1";
        QTest::newRow("tie at place") << "1:1:10.1 1:2:10.2 1:2:10.2 2:1:10.0 2:2:10.3"
                                      << "2+1"
                                      << ""
                                      << ""
                                      << "Q4 Q1 Q5 | tie h1 p2 1:2,3";
        QTest::newRow("place tie, both") << "1:1:10.1 1:2:10.2 1:2:10.2 2:1:10.0 2:2:10.3"
                                         << "2+0"
                                         << "+2 +3"
                                         << ""
                                         << "Q4 Q1 Q2* Q3* Q5";
        QTest::newRow("place tie, picked") << "1:1:10.1 1:2:10.2 1:2:10.2 2:1:10.0 2:2:10.3 2:3:10.4"
                                           << "2+1"
                                           << "-2 +3"
                                           << ""
                                           << "Q4 Q1 Q3* Q5 q2";
        QTest::newRow("tie at time") << "1:1:10.1 1:2:10.5 2:1:10.0 2:2:10.5 2:3:10.9"
                                     << "1+1"
                                     << ""
                                     << ""
                                     << "Q3 Q1 | tie h0 p2 1:2,4";
        QTest::newRow("time tie, both") << "1:1:10.1 1:2:10.5 2:1:10.0 2:2:10.5 2:3:10.9"
                                        << "1+1"
                                        << "+2 +4"
                                        << ""
                                        << "Q3 Q1 q2* q4*";
        QTest::newRow("heat without finisher")
            << "1:1:10.1 1:2:10.5 2:0:DNS 2:0:DNF"
            << "1+1"
            << ""
            << ""
            << "Q1 q2 | notice " + QString::number(int(Text::AdvanceNoFinisher)) + " | notice " +
                   QString::number(int(Text::AdvanceTooMany));
    }
    void advancement()
    {
        QFETCH(QString, heats);
        QFETCH(QString, rule);
        QFETCH(QString, decisions);
        QFETCH(QString, overrides);
        QFETCH(QString, expected);
        QHash<int, Decision> d;
        for (const QString &w : decisions.split(u' ', Qt::SkipEmptyParts))
            d.insert(w.mid(1).toInt(), w[0] == u'+' ? Decision::Advance : Decision::Drop);
        QHash<int, bool> o;
        for (const QString &w : overrides.split(u' ', Qt::SkipEmptyParts))
            o.insert(w.mid(1).toInt(), w[0] == u'+');
        const Advancement a = advance(heatRows(heats), *parseAdvanceRule(rule), ResultKind::Time,
                                      TimeFormat::SecondsHundredths, d, o);
        QCOMPARE(advancementText(a), expected);
    }

    // Random heats with distinct times: exactly N of each heat and n more, unless a tie is shown.
    void advancementProperty()
    {
        DrawRandom random(11);
        for (int round = 0; round < 200; ++round) {
            const int heats = 1 + random.below(8), byPlace = random.below(4), byTime = random.below(5);
            QList<HeatRow> rows;
            int total = 0;
            for (int h = 1; h <= heats; ++h) {
                const int size = 4 + random.below(5);
                for (int p = 1; p <= size; ++p) {
                    const int id = int(rows.size()) + 1;
                    rows.append({id, id, h, p,
                                 QStringLiteral("%1.%2").arg(10 + p).arg(random.below(100), 2, 10,
                                                                         QLatin1Char('0'))});
                }
                total += size;
            }
            const Advancement a =
                advance(rows, {byPlace, byTime}, ResultKind::Time, TimeFormat::SecondsHundredths);
            int q = 0, qq = 0;
            for (const Advancer &x : a.advancers)
                (x.qualifier == Qualifier::Place ? q : qq)++;
            QCOMPARE(q, byPlace * heats);
            if (a.complete())
                QCOMPARE(qq, std::min(byTime, total - byPlace * heats));
            else
                QVERIFY(a.ties[0].ids.size() > a.ties[0].openPlaces);
        }
    }

    // As an organiser: 19 sprinters with marks, 3 heats seeded in the semi-final (the same heats
    // when made again), results typed, 2 + 2 with a tie for the last time slot picked by the
    // referee, the final entered and seeded Q before q.
    void organiserWalkThrough()
    {
        test::TestMeet m;
        m.makeDatabase(19, 0, 2);
        AppState &s = m.state;
        s.eventNames[14] = QStringLiteral("100_m");
        s.catalogs.classes[2] = QStringLiteral("Menn");
        s.currentRound = 2;
        s.setRoundTag(2);
        for (int p = 1; p <= 19; ++p) {
            s.catalogs.persons[size_t(p)] = {QString::number(p), QStringLiteral("N%1").arg(p),
                                             QStringLiteral("K"), QStringLiteral("Menn"), 1};
            const QString mark = p == 19   ? QString()
                                 : p == 18 ? QStringLiteral("1:02.5")
                                           : QStringLiteral("10.%1").arg(p + 10);
            const Status w = registers::writeSeedMark(s.database, 2, 14, p, mark);
            QVERIFY2(w, qPrintable(w.error()));
        }
        std::vector<int> all(19);
        std::iota(all.begin(), all.end(), 1);
        QVERIFY(registers::setEntries(s, 2, 14, all, true));
        QVERIFY(registers::loadRoundEntries(s, 2).status);
        GridContext context{listSelection(s, 14, 2, QStringLiteral("_")), ListType::Heat, 0, true};
        context.format = TimeFormat::SecondsHundredths;
        std::mt19937 random(5);
        GridTableOutcome outcome;
        m.prompt.setNextInput(QStringLiteral(" 8"));
        m.prompt.setNextAnswer(Answer::Yes); // by seed mark
        QVERIFY(CreateGridTable(s, context, outcome, random));
        QCOMPARE(outcome.rows, 19);
        QVERIFY(m.prompt.lastMessage().contains(QStringLiteral("18")));
        QList<HeatRow> rows;
        QVERIFY(readHeatRows(s, outcome.table, rows));
        const QList<QVariantList> first = test::rowsOf(s.database, outcome.table);
        QHash<int, QList<int>> heats; // heat -> start numbers by lane
        for (const QVariantList &r : first)
            heats[r[0].toInt()] << r[4].toInt();
        QCOMPARE(heats.size(), 3);
        QCOMPARE(heats[1].size() + heats[2].size() + heats[3].size(), 19);
        for (const QVariantList &r : first)
            if (r[4].toInt() <= 3) // the three best, one in each heat, in the middle lanes
                QVERIFY(r[0].toInt() == r[4].toInt() && r[1].toInt() >= 3 && r[1].toInt() <= 6);
        m.prompt.setNextAnswer(Answer::Yes); // overwrite
        m.prompt.setNextInput(QStringLiteral(" 8"));
        m.prompt.setNextAnswer(Answer::Yes);
        QVERIFY(CreateGridTable(s, context, outcome, random));
        QCOMPARE(test::rowsOf(s.database, outcome.table), first);

        // Results by lane within each heat: lane order i gives 10.i0 + heat hundredths; the
        // third of heat 3 ties with the third of heat 2 for the last slot.
        db::Recordset rs;
        QVERIFY(rs.open(s.database, outcome.table));
        QHash<int, int> inHeat;
        int tiedOut = 0, tiedIn = 0;
        for (int r = 0; r < rs.recordCount(); ++r) {
            rs.moveTo(r);
            const int heat = rs.field(0).toInt(), i = inHeat[heat]++;
            const int hundredths = 1000 + i * 10 + (i == 2 && heat == 3 ? 2 : heat);
            rs.setField(
                7,
                QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QLatin1Char('0')));
            QVERIFY(rs.update());
            if (i == 2 && heat == 2)
                tiedOut = rs.field(4).toInt();
            if (i == 2 && heat == 3)
                tiedIn = rs.field(4).toInt();
        }
        rs.close();
        m.prompt.setNextInput(QStringLiteral("2+2"));
        m.prompt.setNextAnswer(Answer::No);                                      // choose who
        m.prompt.setNextInput(QStringLiteral("%1 %2").arg(tiedIn).arg(tiedOut)); // two for one slot: refused
        m.prompt.setNextInput(QString::number(tiedIn));
        m.prompt.setNextInput(QString()); // no overrides
        const GridAdvanceOutcome advanced = advanceFromGrid(s, context, outcome.table);
        QVERIFY(advanced.done);
        QCOMPARE(advanced.advanced, 8);
        QCOMPARE(advanced.marks.value(tiedIn).qualifier, Qualifier::Time);
        QCOMPARE(advanced.marks.value(tiedIn).how, QStringLiteral("tie"));
        QCOMPARE(advanced.marks.value(tiedOut).qualifier, Qualifier::None);
        QCOMPARE(m.prompt.unexpected(), 0);
        const QHash<int, registers::SeedEntry> ranks = registers::readSeedMarks(s.database, 3, 14);
        QCOMPARE(ranks.size(), 8);
        QCOMPARE(ranks.value(heats[1][0]).rank, 0 + 1); // the fastest heat winner ranks first
        QCOMPARE(ranks.value(tiedIn).rank, 8);
        // The semi-final's list: Q or q and the seed mark after each row, its columns as ever.
        QVERIFY(QDir().mkpath(s.meetDir));
        QVERIFY(makeGridListFile(s, context, outcome.table, s.meetFile(QStringLiteral("semi.txt"))));
        const QStringList lines = readTextLines(s.meetFile(QStringLiteral("semi.txt")));
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^.{103} Q( |$)"))).size(), 6);
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^.{103} q  10\\.\\d\\d$"))).size(), 2);
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^.{103} 10\\.\\d\\d$"))).size(), 11);
        QVERIFY(registers::loadRoundEntries(s, 3).status);
        QVERIFY(s.entryMatrix.entered(3, 14, tiedIn) && !s.entryMatrix.entered(3, 14, tiedOut));

        // The final: one heat, the best ranked in the middle lanes, the q runners outside.
        s.currentRound = 3;
        s.setRoundTag(3);
        context.selection = listSelection(s, 14, 2, QStringLiteral("_"));
        m.prompt.setNextInput(QStringLiteral(" 8"));
        m.prompt.setNextAnswer(Answer::Yes);
        QVERIFY(CreateGridTable(s, context, outcome, random));
        QCOMPARE(outcome.rows, 8);
        for (const QVariantList &r : test::rowsOf(s.database, outcome.table)) {
            const int rank = ranks.value(r[4].toInt()).rank, lane = r[1].toInt();
            QVERIFY2(rank <= 4   ? lane >= 3 && lane <= 6
                     : rank <= 6 ? lane == 2 || lane == 7
                                 : lane == 1 || lane == 8,
                     qPrintable(QStringLiteral("rank %1 lane %2").arg(rank).arg(lane)));
        }
        QCOMPARE(readDraw(s.database, outcome.table)->how, QStringLiteral("rank"));

        // Advancing again in the semi-final: both tied advance, a bad override is told, then one
        // winner is taken out and a slow runner put in; the next round follows.
        s.currentRound = 2;
        s.setRoundTag(2);
        context.selection = listSelection(s, 14, 2, QStringLiteral("_"));
        const QString semi = gridTableOf(s, context.selection);
        const int out = heats[1][0], in = heats[1].last();
        m.prompt.setNextInput(QStringLiteral("2+2"));
        m.prompt.setNextAnswer(Answer::Yes);
        m.prompt.setNextInput(QStringLiteral("12"));
        m.prompt.setNextAnswer(Answer::Ok);
        m.prompt.setNextInput(QStringLiteral("+%1 -%2").arg(in).arg(out));
        const GridAdvanceOutcome again = advanceFromGrid(s, context, semi);
        QCOMPARE(again.advanced, 9);
        QCOMPARE(again.marks.value(in).qualifier, Qualifier::Referee);
        QCOMPARE(again.marks.value(out).how, QStringLiteral("referee"));
        QCOMPARE(again.marks.value(tiedOut).qualifier, Qualifier::Time);
        QVERIFY(m.prompt.messageTexts().contains(
            s.texts.message(Text::AdvanceOverrideBad).arg(QStringLiteral("12"))));
        QCOMPARE(m.prompt.unexpected(), 0);
        QVERIFY(registers::loadRoundEntries(s, 3).status);
        QVERIFY(s.entryMatrix.entered(3, 14, in) && !s.entryMatrix.entered(3, 14, out));

        // The semi-final's grid made anew at random: its Q and q and its draw are gone.
        QVERIFY(registers::loadRoundEntries(s, 2).status);
        m.prompt.setNextAnswer(Answer::Yes);
        m.prompt.setNextInput(QStringLiteral(" 8"));
        m.prompt.setNextAnswer(Answer::No);
        QVERIFY(CreateGridTable(s, context, outcome, random));
        QVERIFY(readAdvancement(s.database, semi).isEmpty() && !readDraw(s.database, semi));

        // New entries take the old seed marks with them: no mark is left on another's entry.
        m.prompt.setNextAnswer(Answer::Yes);
        QVERIFY(schema::initEntries(s));
        QVERIFY(registers::readSeedMarks(s.database, 2, 14).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSeeding)
#include "TestSeeding.moc"
