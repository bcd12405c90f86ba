// The relay team list file: its layout against golden files byte for byte, the column stops,
// its long and short names, and showing it in the editor.
#include "TestSupport.h"

#include "registers/RelayList.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace arenor;
using namespace arenor::registers;
using namespace arenor::test;

namespace {

void setTeam(AppState &s, int t, const QString &no, const QString &club, const QString &cls,
             const QStringList &runners)
{
    RelaySlot &r = s.catalogs.relays[size_t(t)];
    r.teamNo = no;
    r.club = club;
    r.cls = cls;
    for (int i = 0; i < 4; ++i)
        r.runner[size_t(i)] = runners.value(i, QStringLiteral("-"));
    s.catalogs.relayCount = std::max(s.catalogs.relayCount, t);
}

QByteArray listBytes(const AppState &s)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeRelayList(s, buffer);
    return buffer.data();
}

// The plain teams of relay_teams.txt: a full team, one without a club, one without runners.
void plainTeams(AppState &s)
{
    setTeam(s, 1, " 1", "IL Tyrving", "Junior", {"3,Hansen Per", "4,Berg Ola", "5,Dahl Kari", "-"});
    setTeam(s, 2, " 2", " - ", "Senior", {"6,Lie Eva"});
    setTeam(s, 3, " 3", " Ask IF ", "Senior", {});
}

} // namespace

class TestRelayList : public QObject {
    Q_OBJECT
private slots:
    void plainTeamsMatchTheGoldenFile()
    {
        AppState s;
        plainTeams(s);
        QCOMPARE(listBytes(s), readFile(dataFile("relay_teams.txt")));
    }

    void textsThatOverflowEveryColumnKeepTheLineLayout()
    {
        AppState s;
        setTeam(s, 1, "1", "Ørsta IL; \"Blå\"", "Gutter_17_år",
                {"12,Abcdefghijklmnopqrstuvwxyzæøå Abcdefg", // 40: runner 2 goes to the next line
                 "13,Nordmann-Kristiansen Ola Per",          // passes column 63: ":" on a line of its own
                 "14,Berg Ola Petter Kristian K",            // ends at column 31: no break
                 "15,Dahl Kari Anne Margrethe T"});          // ends at column 62: ":" at 63
        setTeam(s, 2, "2", "Klubb;2", "Senior",
                {"16,Haugen Anne Beate Kristinxx", // ": " + 30 reaches column 32: breaks
                 "17,Lie Per", "18," + QString(9997, u'N'), "19,Ola\r\nNordmann"});
        QCOMPARE(listBytes(s), readFile(dataFile("relay_overflow.txt")));
    }

    void teamsWithoutClubLeaveOnlyTheEmptyLines()
    {
        AppState s;
        QCOMPARE(listBytes(s), readFile(dataFile("relay_none.txt")));
        setTeam(s, 1, " 1", "-", "Junior", {"1,A B"});
        setTeam(s, 2, " 2", "-  ", "-", {});
        QCOMPARE(listBytes(s), readFile(dataFile("relay_none.txt")));
    }

    void onlyTheRegisterIsListed()
    {
        AppState s;
        plainTeams(s);
        setTeam(s, 4, " 4", "Beyond", "-", {});
        s.catalogs.relayCount = 3;
        QCOMPARE(listBytes(s), readFile(dataFile("relay_teams.txt")));
        s.catalogs.relayCount = 9999; // no slot past 50 is read
        QVERIFY(listBytes(s).contains("Beyond"));
    }

    void columnStops_data()
    {
        QTest::addColumn<int>("first");         // length of runner 1
        QTest::addColumn<int>("second");        // length of runner 2
        QTest::addColumn<QStringList>("shape"); // each line as "length:last character"
        QTest::newRow("short") << 1 << 1 << QStringList({"63::"});
        QTest::newRow("first ends at 31") << 29 << 1 << QStringList({"63::"});
        QTest::newRow("first reaches 32") << 30 << 1 << QStringList({"32:x", "63::"});
        QTest::newRow("second ends at 62") << 1 << 29 << QStringList({"63::"});
        QTest::newRow("second reaches 63") << 1 << 30 << QStringList({"63:x", "63::"});
        QTest::newRow("both overflow") << 40 << 40 << QStringList({"42:x", "73:x", "63::"});
        QTest::newRow("empty runners") << 0 << 0 << QStringList({"63::"});
    }
    void columnStops()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QStringList, shape);
        AppState s;
        setTeam(s, 1, "1", "K", "J", {QString(first, u'x'), QString(second, u'x'), "-", "-"});
        const QStringList lines = relayListLines(s);
        // empty, heading, rule, runners 1 and 2 ..., runners 3 and 4, rule, empty, empty
        const QStringList pair = lines.mid(3, lines.size() - 3 - 4);
        QStringList got;
        for (const QString &l : pair)
            got << QString::number(l.size()) + u':' + l.right(1);
        QCOMPARE(got, shape);
        // Whatever broke, runner 2 starts at column 32 and the closing ":" stands at column 63.
        QCOMPARE(pair.join(u'\n').count(u':'), 3);
        for (const QString &l : pair.mid(1))
            QVERIFY(l.startsWith(QString(31, u' ')));
    }

    void fileNameFollowsTheLongNamesOption()
    {
        TestMeet m;
        plainTeams(m.state);
        m.state.options[OptLongFileNames] = 1;
        QVERIFY(makeRelayList(m.state).ok());
        QCOMPARE(relayListPath(m.state), m.state.meetDir + "Stafettlag.txt");
        QCOMPARE(readFile(m.state.meetDir + "Stafettlag.txt"), readFile(dataFile("relay_teams.txt")));
        QVERIFY(!QFile::exists(m.state.meetDir + "St-lag.txt"));
        m.state.options[OptLongFileNames] = 0;
        QVERIFY(makeRelayList(m.state).ok());
        QCOMPARE(readFile(m.state.meetDir + "St-lag.txt"), readFile(dataFile("relay_teams.txt")));
    }

    void makingReplacesAnOlderList()
    {
        TestMeet m;
        QFile old(relayListPath(m.state));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'z'));
        old.close();
        plainTeams(m.state);
        QVERIFY(makeRelayList(m.state).ok());
        QCOMPARE(readFile(relayListPath(m.state)), readFile(dataFile("relay_teams.txt")));
    }

    void aFailedWriteIsReported()
    {
        TestMeet m;
        // A directory where the file belongs cannot be replaced by a file.
        QVERIFY(QDir().mkpath(relayListPath(m.state)));
        const Status s = makeRelayList(m.state);
        QVERIFY(!s.ok());
        QVERIFY(s.error().contains("St-lag.txt"));
    }

    void showBeforeMakeSaysNoListWasMade()
    {
        TestMeet m;
        QVERIFY(!showRelayList(m.state));
        QCOMPARE(m.prompt.lastMessage(), QStringLiteral("Det er ikke laget noen slik liste!"));
        QCOMPARE(m.prompt.asked().back().message.title, QStringLiteral("Info"));
        QVERIFY(m.editor.launches.empty());
    }

    void showStartsTheEditorOnTheList_data()
    {
        QTest::addColumn<bool>("maximise");
        QTest::addColumn<bool>("longNames");
        QTest::newRow("normal window, short name") << false << false;
        QTest::newRow("maximised, long name") << true << true;
    }
    void showStartsTheEditorOnTheList()
    {
        QFETCH(bool, maximise);
        QFETCH(bool, longNames);
        TestMeet m;
        m.state.options[OptMaximiseEditor] = maximise;
        m.state.options[OptLongFileNames] = longNames;
        m.state.editorCommand = "Write.exe ";
        QVERIFY(makeRelayList(m.state).ok());
        QVERIFY(showRelayList(m.state));
        QCOMPARE(m.editor.launches.size(), size_t(1));
        QCOMPARE(m.editor.launches[0].command, QStringLiteral("Write.exe "));
        QCOMPARE(m.editor.launches[0].file, m.state.meetDir + (longNames ? "Stafettlag.txt" : "St-lag.txt"));
        QCOMPARE(m.editor.launches[0].maximised, maximise);
        QCOMPARE(m.prompt.asked().size(), size_t(0));
    }

    void aListOfTheOtherNameIsNotShown()
    {
        TestMeet m;
        m.state.options[OptLongFileNames] = 1;
        QVERIFY(makeRelayList(m.state).ok());
        m.state.options[OptLongFileNames] = 0;
        QVERIFY(!showRelayList(m.state));
        QVERIFY(m.editor.launches.empty());
    }
};

QTEST_GUILESS_MAIN(TestRelayList)
#include "TestRelayList.moc"
