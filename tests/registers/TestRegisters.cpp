// The register logic without windows: reading the registers into their catalogues, the number
// rule of every box naming a record, the class and runner pick lists, the points a place is
// worth, the entries per round, and the relay team list.
#include "TestSupport.h"

#include "base/Convert.h"
#include "db/Schema.h"
#include "events/Rounds.h"
#include "registers/Classes.h"
#include "registers/Clubs.h"
#include "registers/Competitors.h"
#include "registers/Entries.h"
#include "registers/Points.h"
#include "registers/RegisterReaders.h"
#include "registers/RegisterRules.h"
#include "registers/Relay.h"
#include "registers/RelayList.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::registers;
using schema::Table;

namespace {

void setCell(AppState &s, Table t, int record, int field, const QString &value)
{
    setStoredText(s, schema::tableName(s, t), record, field, value);
}

// P = 10 competitors, R = 2 relay teams: 48 entry records, no round read yet.
struct EntriesMeet : TestMeet {
    EntriesMeet()
    {
        makeDatabase(10, 2, 2);
        state.entryMatrix = EntryMatrix();
        state.roundLoaded.fill(false);
        prompt.clear();
    }
};

void sql(AppState &s, const QString &statement)
{
    QSqlQuery q(s.database.handle());
    QVERIFY2(q.exec(statement), qPrintable(statement));
}

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

class TestRegisters : public QObject {
    Q_OBJECT
private slots:
    // Record k must hold number k; the size is the number of records whatever they hold.
    void readChecksTheNumbering_data()
    {
        Cases<int, QString, bool>::columns();
        // clang-format off
        for (auto [record, number, error] :
             {std::tuple{3, " 3", false}, {3, "3 ", false}, {3, " 4", true}, {3, "3.5", true},
             {1, "abc", true}, {5, "99999", true}})
            QTest::newRow(number) << record << QString::fromLatin1(number) << error;
        // clang-format on
    }
    void readChecksTheNumbering()
    {
        auto [record, number, indexError] = Cases<int, QString, bool>::fetch();
        TestMeet meet;
        meet.makeDatabase(5, 5, 5);
        AppState &s = meet.state;
        for (Table t : {Table::Personer, Table::Klubber, Table::Stafettlag}) {
            setCell(s, t, record, 0, number);
            setCell(s, t, record, 1, QStringLiteral("Moved"));
        }
        s.catalogs = Catalogs();
        int refreshed = 0;
        s.options[OptAutoUpdateStartList] = 1;
        QObject::connect(&s.notifier, &MeetNotifier::entriesChanged, [&] {
            QVERIFY(!s.readingRegister);
            ++refreshed;
        });
        meet.prompt.clear();
        readRegisters(s);
        // Message 35 for each misnumbered register; the entries window once, at the end.
        QCOMPARE(meet.prompt.messageTexts(), QStringList(indexError ? 3 : 0, s.texts.message(35)));
        QCOMPARE(refreshed, 1);
        // The catalogues are rebuilt all the same, each record into the slot its number names.
        const Catalogs &c = s.catalogs;
        QCOMPARE(c.personCount + c.clubCount + c.relayCount, 15);
        QCOMPARE(c.classes[1], s.texts.message(201));
        if (const std::optional<int> k = catalogueSlot(number, kMaxClubs)) {
            // A later record of that number overwrites it ("third holds 4": the fourth, read last).
            const bool moved = *k <= record || *k > 5;
            QCOMPARE(c.clubs[size_t(*k)], moved ? QStringLiteral("Moved") : QStringLiteral("-"));
            QCOMPARE(c.relays[size_t(*k)].club, c.clubs[size_t(*k)]);
            QCOMPARE(c.persons[size_t(*k)].name, QStringLiteral("- ") + c.clubs[size_t(*k)]);
        }
    }

    // A register is no bigger than its catalogue; a missing table leaves its catalogue alone;
    // with no meet open nothing is read.
    void readersStayInsideTablesAndCatalogues()
    {
        TestMeet m;
        m.makeDatabase(2, kMaxRelays, 1);
        AppState &s = m.state;
        QVERIFY(
            s.database.insertRows(QStringLiteral("Stafettlag"), {{" 51", "Over", "-", "-", "-", "-", "-"}})
                .ok());
        QCOMPARE(readRelayTeams(s).count, kMaxRelays);
        QCOMPARE(s.catalogs.relays[50].teamNo, QStringLiteral(" 50"));
        QVERIFY(s.database.dropTable(QStringLiteral("Klubber")).ok());
        s.catalogs.clubs[1] = QStringLiteral("kept");
        QVERIFY(!readClubs(s).status.ok());
        QCOMPARE(s.catalogs.clubs[1], QStringLiteral("kept"));
        s.database.close();
        s.catalogs.personCount = 99;
        readRegisters(s);
        QCOMPARE(s.catalogs.personCount, 99);
    }

    // One number rule for every box that names a record: read as a number (text after it
    // ignored), and outside the register or catalogue it names nothing, however large. A record
    // reaches the catalogue slot its number names; the jump boxes move from record 5 of 15
    // (register windows) or to an entry record of 48.
    void numbersNameOnlyWhatExists_data()
    {
        // personSlot: -1: none
        // jump: -999: nothing happens
        // entry: 0: no record
        Cases<QString, int, int, int, int>::columns();
        // clang-format off
        for (auto [number, person, club, jump, entry] :
             {std::tuple{" 7", 7, 7, 2, 7}, {"7abc", 7, 7, 2, 7}, {" 2", 2, 2, -3, 2}, {"15", 15, 15, 10, 15},
              {"16", 16, 16, -999, 16}, {"48", 48, 48, -999, 48}, {"49", 49, 49, -999, 0}, {"50", 50, 50, -999, 0},
              {"51", 51, -1, -999, 0}, {"3000", 3000, -1, -999, 0}, {"3001", -1, -1, -999, 0},
              {"99999", -1, -1, -999, 0}, {"abc", 0, 0, -999, 0}, {"", 0, 0, -999, 0}, {"0", 0, 0, -999, 0},
              {"-1", -1, -1, -999, 0}, {"1e9", -1, -1, -999, 0}, {"1e400", -1, -1, -999, 0}})
            QTest::newRow(number) << QString::fromLatin1(number) << person << club << jump << entry;
        // clang-format on
        QTest::newRow("10,000 digits") << QString(10000, u'9') << -1 << -1 << -999 << 0;
    }
    void numbersNameOnlyWhatExists()
    {
        auto [number, personSlot, clubSlot, jump, entry] = Cases<QString, int, int, int, int>::fetch();
        AppState s;
        QVariantList person(schema::kPersonFields, QStringLiteral("x"));
        person[PersonStartNo] = number;
        person[PersonContingent] = QStringLiteral("99999"); // clamped, never overflowing
        QCOMPARE(syncPersonCatalog(s, person), personSlot >= 0);
        QCOMPARE(syncClubCatalog(s, {number, QStringLiteral("Ny")}), clubSlot >= 0);
        QCOMPARE(syncRelayCatalog(s, {number, QStringLiteral("Ny")}), clubSlot >= 0);
        const Catalogs &c = s.catalogs;
        QCOMPARE(int(std::count_if(c.persons.begin(), c.persons.end(),
                                   [](auto &p) { return p.contingentCode == 32767; })),
                 personSlot >= 0 ? 1 : 0);
        QCOMPARE(int(std::count(c.clubs.begin(), c.clubs.end(), QStringLiteral("Ny"))),
                 clubSlot >= 0 ? 1 : 0);
        // A short record (a table with fewer fields) reads as empty fields.
        QVERIFY(syncPersonCatalog(s, {QStringLiteral(" 2")}));
        QCOMPARE(jumpOffset(number, QStringLiteral(" 5"), 15).value_or(-999), jump);
        QCOMPARE(entryJumpTarget(number, 10, 2).value_or(0), entry);
        QVERIFY(!entryPlace(0, 10, 2) && !entryPlace(49, 10, 2));
    }

    // The pick list keeps exactly the last 40 lines however often it is read; the catalogue
    // goes by record position.
    void classListKeepsTheLastFortyLines()
    {
        TestMeet meet;
        meet.makeDatabase(3, 1, 2);
        AppState &s = meet.state;
        setCell(s, Table::Klasser, 3, 1, QStringLiteral("Mini"));
        setCell(s, Table::Klasser, 5, 0, QStringLiteral(" 9"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(readClasses(s).count, 40);
        QCOMPARE(s.classLines.size(), 40);
        QCOMPARE(s.classLines[2], QStringLiteral("Mini"));
        QCOMPARE(classChoices(s).value(2), QStringLiteral("Mini"));
        // A table short of two records: the two last old lines stay on top.
        QVERIFY(s.database.exec(QStringLiteral("DELETE FROM \"Klasser\" WHERE rowid > 38")).ok());
        readClasses(s);
        QCOMPARE(s.classLines.mid(0, 2), (QStringList{s.texts.message(239), s.texts.message(240)}));
        QCOMPARE(s.classLines[4], QStringLiteral("Mini"));
        QVERIFY(s.catalogs.classes[39].isEmpty());
    }

    // Classes and runners offered for a relay team: named competitors of the club (and class),
    // compared trimmed, each class once, never past the register or the catalogue.
    void relayPickLists()
    {
        AppState s;
        s.catalogs.classes[1] = s.catalogs.classes[3] = QStringLiteral("Junior");
        s.catalogs.classes[2] = QStringLiteral("Senior");
        s.catalogs.persons[1] = {" 1", "Hansen Per", "Klubb A", "Senior", 1};
        s.catalogs.persons[2] = {" 2", "Berg Ola", " Klubb A ", "Junior ", 1};
        s.catalogs.persons[4] = {" 4", "- -", "Klubb A", "Junior", 1}; // unnamed
        s.catalogs.persons[5] = {" 5", "Moe Ask", "-", "Senior", 1};
        s.catalogs.persons[9] = {" 9", "Vik Ida", "Klubb A", "Junior", 1}; // beyond the register
        s.catalogs.personCount = 8;
        QCOMPARE(relayClassChoices(s, " Klubb A"), QStringList({"Junior", "Senior"}));
        QCOMPARE(relayClassChoices(s, "-"), QStringList({"Senior"}));
        QCOMPARE(relayRunnerChoices(s, "Klubb A", "Junior"), QStringList({" 2,Berg Ola"}));
        s.catalogs.persons[kMaxPersons] = {" 3000", "Sist Per", "K", "Junior", 1};
        s.catalogs.personCount = 99999;
        QCOMPARE(relayRunnerChoices(s, "K", "Junior"), QStringList({" 3000,Sist Per"}));
        s.catalogs.personCount = -4;
        QCOMPARE(relayRunnerChoices(s, "K", "Junior"), QStringList());
    }

    void pointsForPlace_data()
    {
        Cases<QString, int>::columns();
        // clang-format off
        for (auto [text, points] :
             {std::pair{" 12", 12}, {"abc", 0}, {"2.5", 2}, {"-4", -4}, {"1e400", kMaxPointsPerPlace},
             {"-1e400", -kMaxPointsPerPlace}})
            QTest::newRow(text) << QString::fromLatin1(text) << points;
        // clang-format on
    }
    void pointsForPlace()
    {
        auto [text, points] = Cases<QString, int>::fetch();
        TestMeet meet;
        meet.makeDatabase(1, 0, 1);
        AppState &s = meet.state;
        setCell(s, Table::Poengoppsett, 2, 5, text);
        QCOMPARE(registers::pointsForPlace(s, 5), 0); // nothing bound, no setup chosen
        QVERIFY(s.bindDataControls().ok());
        QCOMPARE(registers::pointsForPlace(s, 5), 36); // the first setup of a new meet: 41 - place
        QVERIFY(selectPointSetup(s, 1));
        QCOMPARE(registers::pointsForPlace(s, 5), points);
        QCOMPARE(registers::pointsForPlace(s, 41), 0);
        QVERIFY(!selectPointSetup(s, 10)); // no such setup: the chosen one stays
        QCOMPARE(registers::pointsForPlace(s, 5), points);
    }

    // Entries: where a round's line lives, ticks stored at once, rounds read afresh.
    void addressing_data()
    {
        Cases<int, int, bool, int, int>::columns();
        // clang-format off
        for (auto [name, round, line, relays, record, row] : {std::tuple{"line 3, round 2", 1, 2, false, 15, 3},
             {"relay line 1, round 2", 1, 0, true, 23, 11}, {"first record", 0, 0, false, 1, 1},
             {"last team, final", 3, 1, true, 48, 12}})
            QTest::newRow(name) << round << line << relays << record << row;
        // clang-format on
    }
    void addressing()
    {
        auto [round, line, relays, record, row] = Cases<int, int, bool, int, int>::fetch();
        QCOMPARE(entryRecordNumber(round, line, relays, 10, 2), record);
        const auto place = entryPlace(record, 10, 2);
        QVERIFY(place);
        QCOMPARE(place->round, round);
        QCOMPARE(place->row, row);
        // With the relay display and P = 40, list line 0 is matrix row 41.
        QCOMPARE(entrantRow(0, true, 40), 41);
    }

    void tickIsStoredAtOnce()
    {
        EntriesMeet m;
        QCOMPARE(m.state.database.recordCount(QStringLiteral("Påmelding")), 48);
        events::selectRound(m.state, 1);
        QVERIFY(setEntry(m.state, 15, 5, true));
        QVERIFY(m.state.entryMatrix.entered(1, 5, 3));
        // A tick on a round not loaded yet reaches the table; its reading brings it.
        QVERIFY(setEntry(m.state, 48, 36, true));
        QVERIFY(!m.state.entryMatrix.entered(3, 36, 12));
        // As after a kill: the file alone holds both ticks.
        m.state.database.close();
        QVERIFY(m.state.database.open(m.state.databasePath()));
        EntryRecord rec;
        QVERIFY(readEntryRecord(m.state, 15, rec));
        QCOMPARE(rec.index.trimmed(), QStringLiteral("15"));
        QVERIFY(rec.entered[5] && !rec.entered[4]);
        events::selectRound(m.state, 3);
        QVERIFY(m.state.entryMatrix.entered(3, 36, 12));
        QVERIFY(setEntry(m.state, 15, 5, false));
        QVERIFY(readEntryRecord(m.state, 15, rec) && !rec.entered[5]);
        QVERIFY(!setEntry(m.state, 49, 1, true));
        QVERIFY(!setEntry(m.state, 1, 37, true));
        QCOMPARE(m.prompt.messageTexts().size(), 0);
    }

    void groupEntry()
    {
        EntriesMeet m;
        events::selectRound(m.state, 0);
        QVERIFY(setEntries(m.state, 0, 12, {2, 5, 9}, true));
        m.state.roundLoaded.fill(false);
        const EntryMatrix before = m.state.entryMatrix;
        events::selectRound(m.state, 0); // the table reads as the matrix was
        for (int row = 1; row <= 12; ++row) {
            const bool in = row == 2 || row == 5 || row == 9;
            QCOMPARE(m.state.entryMatrix.entered(0, 12, row), in);
            QCOMPARE(before.entered(0, 12, row), in);
            QVERIFY(!m.state.entryMatrix.entered(0, 11, row));
        }
        // A missing record fails the whole group: nothing changes.
        sql(m.state, QStringLiteral("DELETE FROM \"Påmelding\" WHERE rowid > 10"));
        QVERIFY(!setEntries(m.state, 0, 12, {1, 11}, true));
        QVERIFY(!m.state.entryMatrix.entered(0, 12, 1));
        EntryRecord rec;
        QVERIFY(readEntryRecord(m.state, 1, rec) && !rec.entered[12]);
    }

    void roundLoading()
    {
        EntriesMeet m;
        // Round 2 is records 13..24: mark its first and last, and the records around it.
        for (int record : {12, 13, 24, 25})
            sql(m.state, QStringLiteral("UPDATE \"Påmelding\" SET \"7\" = 1 WHERE rowid = %1").arg(record));
        const RoundLoad load = loadRoundEntries(m.state, 1);
        QVERIFY(load.status && !load.indexError);
        for (int row = 1; row <= 12; ++row)
            QCOMPARE(m.state.entryMatrix.entered(1, 7, row), row == 1 || row == 12);

        // Short and misnumbered blocks: message 35 once, what is there is read, no crash.
        sql(m.state, QStringLiteral("UPDATE \"Påmelding\" SET \"0\" = ' 99' WHERE rowid = 14"));
        QVERIFY(loadRoundEntries(m.state, 1).indexError);
        sql(m.state, QStringLiteral("DELETE FROM \"Påmelding\" WHERE rowid > 40"));
        m.state.roundLoaded.fill(false);
        events::selectRound(m.state, 3);
        QCOMPARE(m.prompt.messageTexts(), QStringList{m.state.texts.message(35)});
        events::selectRound(m.state, 1);
        QVERIFY(m.state.entryMatrix.entered(1, 7, 12));
    }

    void otherMeetSizesNeverRead()
    {
        EntriesMeet m;
        sql(m.state, QStringLiteral("UPDATE \"Påmelding\" SET \"1\" = 1 WHERE rowid = 12"));
        events::selectRound(m.state, 0);
        QVERIFY(m.state.entryMatrix.entered(0, 1, 12));
        // Another meet with other sizes: its rounds are read afresh, not shifted.
        m.state.catalogs.personCount = 11;
        m.state.catalogs.relayCount = 0;
        events::selectRound(m.state, 0);
        QVERIFY(m.state.roundLoaded[0] && !m.state.roundLoaded[1]);
        QVERIFY(!m.state.entryMatrix.entered(0, 1, 12));
    }

    void eventNamesAsTyped()
    {
        EntriesMeet m;
        const QString typed = QStringLiteral("Høyde \"A\"/B's ") + QString(990, u'ø');
        setCell(m.state, Table::Ovelser, 1, 6, typed);
        QVERIFY(readEventNames(m.state));
        QCOMPARE(m.state.eventNames[6], typed);
        QCOMPARE(m.state.eventNames[13], QStringLiteral("60_m"));
    }

    // The relay team list file: its layout against golden files byte for byte, its long and
    // short names, and showing it in the editor.
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

QTEST_GUILESS_MAIN(TestRegisters)
#include "TestRegisters.moc"
