// The register logic without windows: reading the registers into their catalogues, which slot
// a record reaches, the jump box, the class and runner pick lists, and the points a place is
// worth.
#include "TestSupport.h"

#include "base/Convert.h"
#include "db/Schema.h"
#include "registers/Classes.h"
#include "registers/Clubs.h"
#include "registers/Competitors.h"
#include "registers/Points.h"
#include "registers/RegisterReaders.h"
#include "registers/RegisterRules.h"
#include "registers/Relay.h"

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

} // namespace

class TestRegisters : public QObject {
    Q_OBJECT
private slots:
    // Record k must hold number k; the size is the number of records whatever they hold.
    void readChecksTheNumbering_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("indexError");
        // clang-format off
        for (auto [record, number, error] :
             {std::tuple{3, " 3", false}, {3, "3 ", false}, {3, " 4", true}, {3, "3.5", true},
             {1, "abc", true}, {5, "99999", true}})
            QTest::newRow(number) << record << QString::fromLatin1(number) << error;
        // clang-format on
    }
    void readChecksTheNumbering()
    {
        QFETCH(int, record);
        QFETCH(QString, number);
        QFETCH(bool, indexError);
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

    // A record reaches the catalogue slot its number names; outside the catalogue, none.
    void syncReachesOnlyItsSlot_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("personSlot"); // -1: none
        QTest::addColumn<int>("clubSlot");
        // clang-format off
        for (auto [number, person, club] :
             {std::tuple{" 7", 7, 7}, {"7abc", 7, 7}, {"abc", 0, 0}, {"50", 50, 50}, {"51", 51, -1},
             {"3000", 3000, -1}, {"3001", -1, -1}, {"-1", -1, -1}, {"1e9", -1, -1}})
            QTest::newRow(number) << QString::fromLatin1(number) << person << club;
        // clang-format on
        QTest::newRow("10,000 digits") << QString(10000, u'9') << -1 << -1;
    }
    void syncReachesOnlyItsSlot()
    {
        QFETCH(QString, number);
        QFETCH(int, personSlot);
        QFETCH(int, clubSlot);
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
    }

    void jump_data()
    {
        QTest::addColumn<QString>("mover");
        QTest::addColumn<int>("offset"); // from record 5 of 15; -999: nothing happens
        // clang-format off
        for (auto [mover, offset] :
             {std::pair{"12", 7}, {" 2", -3}, {"15", 10}, {"0", -999}, {"16", -999}, {"99999", -999},
             {"abc", -999}, {"-3", -999}})
            QTest::newRow(mover) << QString::fromLatin1(mover) << offset;
        // clang-format on
    }
    void jump()
    {
        QFETCH(QString, mover);
        QFETCH(int, offset);
        QCOMPARE(jumpOffset(mover, QStringLiteral(" 5"), 15).value_or(-999), offset);
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
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("points");
        // clang-format off
        for (auto [text, points] :
             {std::pair{" 12", 12}, {"abc", 0}, {"2.5", 2}, {"-4", -4}, {"1e400", kMaxPointsPerPlace},
             {"-1e400", -kMaxPointsPerPlace}})
            QTest::newRow(text) << QString::fromLatin1(text) << points;
        // clang-format on
    }
    void pointsForPlace()
    {
        QFETCH(QString, text);
        QFETCH(int, points);
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
};

QTEST_GUILESS_MAIN(TestRegisters)
#include "TestRegisters.moc"
