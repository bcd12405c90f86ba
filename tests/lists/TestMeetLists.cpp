#include "TestSupport.h"

#include "base/Convert.h"
#include "base/TextFile.h"
#include "lists/MeetLists.h"

#include <QRandomGenerator>
#include <QTest>

using namespace arenor;
using namespace arenor::lists;
using namespace arenor::test;

namespace {

enum Kind { StartList, Contingent, Newspaper, Points };

// A small meet: slot 3 is empty ("-"), Olsen runs six events, two clubs share no long name,
// relay team 1 carries the number of competitor 1, and the results list of the final holds
// a standard, a heat, a standard and a relay section (tests/data/lists_meet_results.in).
void smallMeet(TestMeet &meet, bool english, bool separators)
{
    AppState &s = meet.state;
    s.texts.load(english ? Language::English : Language::Norwegian);
    meet.makeDatabase(7, 3, 5);
    QVERIFY(s.bindDataControls().ok()); // points setup 1: 41 - place
    s.setRoundTag(3);
    s.options[OptSeparators] = separators;
    s.options[OptDifferences] = true;
    const char *events[] = {"100m", "200m", "Long jump", "High jump", "Shot put", "800m", "4x100m relay"};
    for (int e = 1; e <= kEventSlots; ++e)
        s.eventNames[size_t(e)] = e <= 7 ? QString::fromUtf8(events[e - 1]) : QStringLiteral("_");
    const QStringList clubs = {"IL Nordlys Atletklubb", "Tjalve", "-", "Ready", "Fana"};
    for (int k = 1; k <= 5; ++k)
        s.catalogs.clubs[size_t(k)] = clubs[k - 1];
    struct P {
        const char *name, *club, *cls;
        qint16 code;
        QList<int> events;
    };
    const P persons[] = {{"Hansen Per", "IL Nordlys Atletklubb", "Senior men", 1, {1, 2}},
                         {"Berg Kari", "Tjalve", "Junior women", 2, {1, 3}},
                         {"-", "Ghost club", "Ghost", 1, {1, 2}},
                         {"Olsen Ola Nordmann-Langnavn", "Tjalve", "Senior men", 3, {1, 2, 3, 4, 5, 6}},
                         {"Lie Anne", "Ready", "Junior women", 4, {1, 3, 4, 5, 6}},
                         {"Dahl Emil", "IL Nordlys Atletklubb", "Senior men", 0, {}},
                         {"Moe Siri", "Fana", "Junior women", 1, {3}}};
    for (int p = 1; p <= 7; ++p) {
        const P &x = persons[p - 1];
        s.catalogs.persons[size_t(p)] = {numberText(qint64(p)), x.name, x.club, x.cls, x.code};
        for (int e : x.events)
            s.entryMatrix.set(3, e, p, true);
    }
    const char *teams[][2] = {
        {"Tjalve", "Senior men"}, {"-", "Ghost"}, {"IL Nordlys Atletklubb", "Junior women"}};
    for (int t = 1; t <= 3; ++t) {
        s.catalogs.relays[size_t(t)] = {numberText(qint64(t)), teams[t - 1][0], teams[t - 1][1], {}};
        s.entryMatrix.set(3, 7, 7 + t, true);
    }
    writeFile(s.meetFile(QStringLiteral("Al-F.txt")),
              readFile(dataFile(QStringLiteral("lists_meet_results.in"))));
    meet.prompt.clear();
}

Status make(Kind kind, AppState &s, const QString &path)
{
    switch (kind) {
    case StartList:
        return MakeStartListText(s, path);
    case Contingent:
        return MakeContingentList(s, path);
    case Newspaper:
        return MakeNewspaperList(s, path);
    case Points:
        return MakePointsList(s, path);
    }
    return {};
}

} // namespace

class TestMeetLists : public QObject {
    Q_OBJECT
private slots:
    // Every list byte for byte in both languages, separators on and off. The goldens show:
    // no row for slot 3 or relay team 2, Olsen's six events without a closing ":", prices by
    // contingent code, the relay newspaper line with the club's name, "KLUBBER" in Norwegian.
    void listsMatchGolden_data()
    {
        Cases<int, bool, bool, QString>::columns();
        const char *names[] = {"startlist", "contingent", "newspaper", "points"};
        for (int kind : {StartList, Contingent, Newspaper, Points})
            for (bool english : {false, true})
                for (bool separators : {true, false}) {
                    QString golden = QStringLiteral("lists_meet_%1").arg(names[kind]);
                    if (kind != Newspaper) // the newspaper list has neither language nor separators
                        golden += (english ? "_en" : "_no") + QString(separators ? "" : "_nosep");
                    QTest::addRow(
                        "%s", qPrintable(golden + (english ? " en" : " no") + (separators ? "" : " nosep")))
                        << kind << english << separators << golden + ".txt";
                }
    }
    void listsMatchGolden()
    {
        auto [kind, english, separators, golden] = Cases<int, bool, bool, QString>::fetch();
        TestMeet meet;
        smallMeet(meet, english, separators);
        meet.prompt.setNextInput(QStringLiteral("25"));
        const QString path = meet.state.meetFile(QStringLiteral("list.txt"));
        QVERIFY(make(Kind(kind), meet.state, path).ok());
        const QByteArray bytes = readFile(path);
        QVERIFY(!bytes.contains("Ghost"));
        compareWithGolden(bytes, golden);
    }

    // What the fee box takes (a null text answers Cancel): Berg's price (three quarters of two events).
    void contingentFee_data()
    {
        Cases<QString, QByteArray>::columns();
        QTest::newRow("25") << QString("25") << QByteArray(" 37.50");
        QTest::newRow("decimal comma") << QString("25,50") << QByteArray(" 38.25");
        QTest::newRow("cut, not rounded") << QString("0.29") << QByteArray(" 0.43");
        QTest::newRow("not a number") << QString("abc") << QByteArray(" 0.00");
        QTest::newRow("negative: refused") << QString("-5") << QByteArray();
        QTest::newRow("cancel") << QString() << QByteArray();
    }
    void contingentFee()
    {
        auto [typed, price] = Cases<QString, QByteArray>::fetch();
        TestMeet meet;
        smallMeet(meet, true, true);
        meet.prompt.setNextInput(typed.isNull() ? std::nullopt : std::optional(typed));
        const QString path = meet.state.meetFile(QStringLiteral("list.txt"));
        QVERIFY(MakeContingentList(meet.state, path).ok());
        const QList<QByteArray> lines = readFile(path).split('\n');
        const auto berg =
            std::find_if(lines.begin(), lines.end(), [](const QByteArray &l) { return l.contains("Berg"); });
        QCOMPARE(berg == lines.end() ? QByteArray() : berg->mid(66, price.size()), price);
        QCOMPARE(meet.prompt.messageTexts().size(), typed == "-5" ? 1 : 0);
    }

    // A relay team's number is no competitor's, and a club named longer than the lists' club
    // column still gets its points.
    void pointsGoToTheRightEntrants()
    {
        TestMeet meet;
        smallMeet(meet, true, true);
        const PointTotals totals = pointTotals(meet.state, readTextLines(meet.state.meetFile("Al-F.txt")));
        QCOMPARE(totals.persons[1], 40 + 39);    // not also the 39 of relay team 1
        QCOMPARE(totals.clubs[1], 40 + 39 + 40); // "IL Nordlys A" in the rows
    }

    // Hand-edited results lists: a best effort, the original kept.
    void handEditedResultsList_data()
    {
        Cases<QByteArray, int>::columns();
        const QByteArray list = readFile(dataFile(QStringLiteral("lists_meet_results.in")));
        QByteArray shortLines, garbage, longList = list.left(list.lastIndexOf("\r\n=") + 2);
        for (const QByteArray &line : list.split('\n'))
            shortLines += line.left(20) + '\n';
        QRandomGenerator random(13);
        for (int i = 0; i < 100000; ++i)
            garbage += char(random.bounded(256));
        for (qsizetype i = longList.count('\n'); i < 100000; ++i)
            longList += ":  2   :  2    :  1    : Tjalve                    : Senior men   : 46.00    :\r\n";
        QTest::newRow("short lines") << shortLines << 4;
        QTest::newRow("garbage") << garbage << -1;
        QTest::newRow("100,000 lines, no closing ruler") << longList << 4;
        QTest::newRow("a ruler missing")
            << QByteArray(list).replace(QByteArray(82, '=') + "\r\n\r\n200m", "\r\n200m") << 4;
    }
    void handEditedResultsList()
    {
        auto [list, headings] = Cases<QByteArray, int>::fetch();
        TestMeet meet;
        smallMeet(meet, false, true);
        writeFile(meet.state.meetFile("Al-F.txt"), list);
        const QString path = meet.state.meetFile(QStringLiteral("list.txt"));
        QVERIFY(MakeNewspaperList(meet.state, path).ok());
        if (headings >= 0)
            QCOMPARE(readTextLines(path).count(QString()), headings);
        QVERIFY(MakePointsList(meet.state, path).ok());
        QCOMPARE(readFile(meet.state.meetFile("Al-F.txt")), list);
    }
};

QTEST_GUILESS_MAIN(TestMeetLists)
#include "TestMeetLists.moc"
