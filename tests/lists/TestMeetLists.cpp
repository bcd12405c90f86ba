#include "TestSupport.h"

#include "base/TextFile.h"
#include "lists/MeetLists.h"

#include <QRandomGenerator>
#include <QTest>

using namespace arenor;
using namespace arenor::lists;
using namespace arenor::test;

namespace {

// A small meet (tests/data/lists_meet_registers.in: clubs, then competitors and relay teams
// with their events): slot 3 ("- -", as the register stores an empty slot) and relay team 2
// ("-") are empty, Olsen runs six events, relay team 1 has the number of competitor 1, and
// "IL Nordlys Atletklubb" is longer than the club column of the results list of the final
// (lists_meet_results.in), whose rows say "IL Nordlys A".
void smallMeet(TestMeet &meet, bool english, bool separators)
{
    AppState &s = meet.state;
    s.texts.load(english ? Language::English : Language::Norwegian);
    meet.makeDatabase(7, 3, 5);
    QVERIFY(s.bindDataControls().ok()); // points setup 1: 41 - place
    s.setRoundTag(3);
    s.options[OptSeparators] = separators;
    const auto events = QString("100m,200m,Long jump,High jump,Shot put,800m,4x100m relay").split(',');
    for (int e = 1; e <= kEventSlots; ++e)
        s.eventNames[size_t(e)] = events.value(e - 1, "_");
    int count[3] = {};
    for (const QString &line : readTextLines(dataFile(QStringLiteral("lists_meet_registers.in")))) {
        const QStringList f = line.split(u';');
        const int kind = f.size() == 1 ? 0 : f.size() == 5 ? 1 : 2, n = ++count[kind];
        if (kind == 0)
            s.catalogs.clubs[size_t(n)] = f[0];
        else if (kind == 1)
            s.catalogs.persons[size_t(n)] = {QString(" %1").arg(n), f[0], f[1], f[2], qint16(f[3].toInt())};
        else
            s.catalogs.relays[size_t(n)] = {QString(" %1").arg(n), f[0], f[1], {}};
        for (const QString &e : f.last().split(u' ', Qt::SkipEmptyParts))
            s.entryMatrix.set(3, e.toInt(), kind == 1 ? n : 7 + n, kind != 0);
    }
    writeFile(s.meetFile("Al-F.txt"), readFile(dataFile("lists_meet_results.in")));
}

Status (*const kMake[])(AppState &, const QString &) = {MakeStartListText, MakeContingentList,
                                                        MakeNewspaperList, MakePointsList};

} // namespace

class TestMeetLists : public QObject {
    Q_OBJECT
private slots:
    // Every list byte for byte in both languages, separators on and off. The goldens show: no
    // row for slot 3 or relay team 2; Olsen's six events without a closing ":"; prices by
    // contingent code; the relay newspaper line with the club's name; "KLUBBER" in Norwegian;
    // Hansen's 79 points without the relay team 1's; the 119 points of IL Nordlys Atletklubb.
    void listsMatchGolden_data()
    {
        Cases<int, bool, bool, QString>::columns();
        const QString names[] = {"startlist", "contingent", "newspaper", "points"};
        for (int kind = 0; kind < 4; ++kind) // the newspaper list has neither language nor separators
            for (const QString variant : {"_no", "_no_nosep", "_en", "_en_nosep"})
                QTest::addRow("%s", qPrintable(names[kind] + variant))
                    << kind << variant.startsWith("_en") << !variant.endsWith("sep")
                    << "lists_meet_" + names[kind] + (kind == 2 ? "" : variant) + ".txt";
    }
    void listsMatchGolden()
    {
        auto [kind, english, separators, golden] = Cases<int, bool, bool, QString>::fetch();
        TestMeet meet;
        smallMeet(meet, english, separators);
        meet.prompt.setNextInput(QStringLiteral("25"));
        const QString path = meet.state.meetFile(QStringLiteral("list.txt"));
        MadeLists made(meet.state);
        QVERIFY(kMake[kind](meet.state, path).ok());
        compareWithGolden(readFile(path), golden);
        // The list's document, told once, holds the file's lines in their kinds and cells.
        const QString kinds[] = {"T - N9 B - C = R6 = B3 S - C = R2 =",
                                 "S - C = R2 - N = B S - C = R2 - N = B S - C = R - N = B S - C = R - N = B",
                                 "B S R3 B S R2 B S R4 B S R2", "T - H2 - B S - C = R5 = B2 S - C = R4 ="};
        QCOMPARE(made.paths, QStringList{path});
        QCOMPARE(checkedDocument(made.documents.first(), path), kinds[kind]);
    }

    // What is typed into the fee box (a null text answers Cancel; Berg's row is three quarters
    // of two events), with results lists edited by hand: a best effort that finds every event
    // heading, and the results list is never changed.
    void typedAndEditedInput_data()
    {
        Cases<QString, QByteArray, QByteArray, int>::columns();
        const QByteArray list = readFile(dataFile(QStringLiteral("lists_meet_results.in")));
        QByteArray shortLines, garbage(100000, 0);
        for (const QByteArray &line : list.split('\n'))
            shortLines += line.left(20) + '\n';
        QRandomGenerator(13).fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
        QTest::newRow("25,50; short lines")
            << QString("25,50") << QByteArray(":  2      :  38.25   :") << shortLines << 4;
        QTest::newRow("cut, not rounded; garbage")
            << QString("0.29") << QByteArray(":  2      :  0.43    :") << garbage << -1;
        QTest::newRow("not a number; 100,000 lines")
            << QString("abc") << QByteArray(":  2      :  0.00    :") << list.repeated(2400) << 9600;
        QTest::newRow("negative: refused; a ruler missing")
            << QString("-5") << QByteArray()
            << QByteArray(list).replace(QByteArray(82, '=') + "\r\n\r\n200m", "\r\n200m") << 4;
        QTest::newRow("cancel") << QString() << QByteArray() << list << 4;
    }
    void typedAndEditedInput()
    {
        auto [typed, berg, list, headings] = Cases<QString, QByteArray, QByteArray, int>::fetch();
        TestMeet meet;
        smallMeet(meet, true, true);
        writeFile(meet.state.meetFile("Al-F.txt"), list);
        meet.prompt.setNextInput(typed.isNull() ? std::nullopt : std::optional(typed));
        const QString path = meet.state.meetFile(QStringLiteral("list.txt"));
        QVERIFY(MakeContingentList(meet.state, path).ok());
        QCOMPARE(readFile(path).split('\n').value(14).mid(54, berg.size()), berg);
        QCOMPARE(meet.prompt.lastMessage().contains("\"-5\""), typed == "-5");
        QVERIFY(MakeNewspaperList(meet.state, path).ok());
        QCOMPARE(headings < 0 ? -1 : readTextLines(path).count(QString()), headings);
        QVERIFY(MakePointsList(meet.state, path).ok());
        QCOMPARE(readFile(meet.state.meetFile("Al-F.txt")), list);
    }
};

QTEST_GUILESS_MAIN(TestMeetLists)
#include "TestMeetLists.moc"
