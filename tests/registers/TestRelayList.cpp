// The relay team list file: its layout against golden files byte for byte, its long and short
// names, and showing it in the editor.
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
    auto runner = [&runners](int i) { return runners.value(i, QStringLiteral("-")); };
    s.catalogs.relays[size_t(t)] = {no, club, cls, {runner(0), runner(1), runner(2), runner(3)}};
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
    // Columns 32 and 63 hold whatever the texts: a text reaching a column stop moves on to the
    // next line at that column.
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

    // Teams without a club are left out; only the register is listed, never past the catalogue.
    void onlyTeamsWithAClubInTheRegisterAreListed()
    {
        AppState s;
        QCOMPARE(listBytes(s), readFile(dataFile("relay_none.txt")));
        setTeam(s, 1, " 1", "-", "Junior", {"1,A B"});
        setTeam(s, 2, " 2", "-  ", "-", {});
        QCOMPARE(listBytes(s), readFile(dataFile("relay_none.txt")));
        plainTeams(s);
        setTeam(s, 4, " 4", "Beyond", "-", {});
        s.catalogs.relayCount = 3;
        QCOMPARE(listBytes(s), readFile(dataFile("relay_teams.txt"))); // the plain teams
        s.catalogs.relayCount = 9999;
        QVERIFY(listBytes(s).contains("Beyond"));
    }

    // "Lag" replaces the file of the name the option gives; "Se på" shows it, or says that none
    // was made; a file that cannot be written is reported.
    void makeAndShowTheListFile()
    {
        TestMeet m;
        QVERIFY(!showRelayList(m.state));
        QCOMPARE(m.prompt.messageTexts(), QStringList{m.state.texts.message(4)});
        plainTeams(m.state);
        m.state.options[OptLongFileNames] = 1;
        QFile old(m.state.meetDir + "Stafettlag.txt"); // an older, longer list is replaced whole
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(5000, 'z')) && old.flush());
        QVERIFY(makeRelayList(m.state).ok());
        QCOMPARE(readFile(old.fileName()), readFile(dataFile("relay_teams.txt")));
        QVERIFY(!QFile::exists(m.state.meetDir + "St-lag.txt"));
        m.state.options[OptLongFileNames] = 0;
        QVERIFY(makeRelayList(m.state).ok());
        m.state.options[OptMaximiseEditor] = 1;
        QVERIFY(showRelayList(m.state));
        QCOMPARE(m.editor.launches.size(), size_t(1));
        QCOMPARE(m.editor.launches[0].file, m.state.meetDir + "St-lag.txt");
        QVERIFY(m.editor.launches[0].maximised);
        QVERIFY(QFile::remove(old.fileName()) && QDir().mkpath(old.fileName())); // a directory in its way
        m.state.options[OptLongFileNames] = 1;
        QVERIFY(makeRelayList(m.state).error().contains("Stafettlag.txt"));
    }
};

QTEST_GUILESS_MAIN(TestRelayList)
#include "TestRelayList.moc"
