// Relay teams without a window: the catalogue slot a record reaches, the pick lists of the
// relay window, the jump box, wiping, and reading the table back into the catalogue.
#include "TestSupport.h"

#include "base/Convert.h"
#include "db/Schema.h"
#include "registers/Relay.h"

#include <QTest>

using namespace arenor;
using namespace arenor::registers;
using namespace arenor::test;

namespace {

QVariantList team(const QString &no, const QString &club = QStringLiteral("-"),
                  const QString &cls = QStringLiteral("-"), const QStringList &runners = {})
{
    QVariantList r{no, club, cls};
    for (int i = 0; i < kRelayRunners; ++i)
        r.append(i < runners.size() ? runners[i] : QStringLiteral("-"));
    return r;
}

void setPerson(AppState &s, int no, const QString &name, const QString &club, const QString &cls)
{
    PersonSlot &p = s.catalogs.persons[size_t(no)];
    p.startNo = numberText(qint64(no));
    p.name = name;
    p.club = club;
    p.cls = cls;
    s.catalogs.personCount = std::max(s.catalogs.personCount, no);
}

// Records every call the reader makes on the progress bar and status text.
struct RecordingProgress : ProgressSink {
    QStringList statusTexts;
    int maximum = -1;
    int lastValue = -1;
    void setStatusText(const QString &t) override { statusTexts << t; }
    void setProgressMaximum(int m) override { maximum = m; }
    void setProgressValue(int v) override { lastValue = v; }
};

} // namespace

class TestRelay : public QObject {
    Q_OBJECT
private slots:
    void syncReachesOnlyItsSlot_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("slot"); // -1: no slot, nothing written
        QTest::newRow("leading blank") << " 7" << 7;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("last slot") << "50" << 50;
        QTest::newRow("one past") << "51" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("jump-box overflow") << "99999" << -1;
        QTest::newRow("huge") << QString(10000, u'9') << -1;
        QTest::newRow("text reads 0") << "abc" << 0;
        QTest::newRow("empty reads 0") << "" << 0;
        QTest::newRow("fraction cut") << "12.7" << 12;
    }
    void syncReachesOnlyItsSlot()
    {
        QFETCH(QString, number);
        QFETCH(int, slot);
        AppState s;
        const QVariantList record =
            team(number, "IL Tyrving", "Junior", {"3,Hansen Per", "4,Berg Ola", "-", "x"});
        const auto before = s.catalogs.relays;
        QCOMPARE(syncRelayCatalog(s, record), slot >= 0);
        QCOMPARE(relayNumberProblem(s, number, " 4").isEmpty(), slot >= 0);
        for (int k = 0; k <= kMaxRelays; ++k) {
            const RelaySlot &r = s.catalogs.relays[size_t(k)];
            if (k != slot) {
                QCOMPARE(r.teamNo, before[size_t(k)].teamNo);
                QCOMPARE(r.club, before[size_t(k)].club);
                continue;
            }
            QCOMPARE(r.teamNo, number); // as typed, not normalised
            QCOMPARE(r.club, QStringLiteral("IL Tyrving"));
            QCOMPARE(r.cls, QStringLiteral("Junior"));
            QCOMPARE(r.runner[0], QStringLiteral("3,Hansen Per"));
            QCOMPARE(r.runner[3], QStringLiteral("x"));
        }
    }

    void refusedNumberTellsWhyAndWhatIsKept()
    {
        AppState s;
        const QString no = relayNumberProblem(s, "77", " 4");
        QVERIFY2(no.contains("\"77\"") && no.contains("0 til 50") && no.contains("\"4\""), qPrintable(no));
        s.texts.load(Language::English);
        const QString en = relayNumberProblem(s, "51 %1\n%2", " 4");
        QVERIFY2(en.contains("0 to 50") && en.contains("\"51 %1 %2\""), qPrintable(en));
    }

    void startListFollowsEditsOnlyWhenAskedAndNotWhileReading()
    {
        AppState s;
        int refreshed = 0;
        refreshStartListAfterEdit(s); // nobody listens yet: nothing happens
        QObject::connect(&s.notifier, &MeetNotifier::entriesChanged, [&refreshed] { ++refreshed; });
        refreshStartListAfterEdit(s);
        QCOMPARE(refreshed, 0);
        s.options[OptAutoUpdateStartList] = 1;
        refreshStartListAfterEdit(s);
        QCOMPARE(refreshed, 1);
        s.readingRegister = true;
        refreshStartListAfterEdit(s);
        QCOMPARE(refreshed, 1);
    }

    void unnamed_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("unnamed");
        QTest::newRow("after a reset") << "-" << true;
        QTest::newRow("both names dashes") << "- -" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks") << "   " << true;
        QTest::newRow("surname only") << "Hansen -" << false;
        QTest::newRow("first name only") << "- Per" << false;
        QTest::newRow("hyphenated") << "Berg-Dahl Kari" << false;
    }
    void unnamed()
    {
        QFETCH(QString, name);
        QFETCH(bool, unnamed);
        QCOMPARE(isUnnamed(name), unnamed);
    }

    void pickListsFollowClubAndClass()
    {
        AppState s;
        s.catalogs.classes[1] = "Junior";
        s.catalogs.classes[2] = "Senior";
        s.catalogs.classes[3] = " Menn_Elite ";
        s.catalogs.classes[4] = "_";
        s.catalogs.classes[5] = "Junior"; // the same name twice is offered once
        setPerson(s, 1, "Hansen Per", "Klubb A", "Senior");
        setPerson(s, 2, "Berg Ola", " Klubb A ", "Junior ");
        setPerson(s, 3, "Dahl Kari", "Klubb B", "Junior");
        setPerson(s, 4, "- -", "Klubb A", "Menn_Elite"); // unnamed: offers nothing
        setPerson(s, 5, "Lie Eva", "Klubb A", "Junior");
        setPerson(s, 6, "Moe Ask", "-", "Senior");
        setPerson(s, 7, "-", "-", "Junior");
        setPerson(s, 9, "Vik Ida", "Klubb A", "Ukjent"); // class not in the register
        s.catalogs.personCount = 8;                      // competitor 9 lies beyond the register

        QCOMPARE(relayClassChoices(s, "Klubb A"), QStringList({"Junior", "Senior"}));
        QCOMPARE(relayClassChoices(s, " Klubb A"), QStringList({"Junior", "Senior"}));
        QCOMPARE(relayClassChoices(s, "Klubb B"), QStringList({"Junior"}));
        // Before a club is chosen the box reads "-": the classes of competitors without a club.
        QCOMPARE(relayClassChoices(s, "-"), QStringList({"Senior"}));
        QCOMPARE(relayClassChoices(s, "Klubb C"), QStringList());

        QCOMPARE(relayRunnerChoices(s, "Klubb A", "Junior"), QStringList({" 2,Berg Ola", " 5,Lie Eva"}));
        QCOMPARE(relayRunnerChoices(s, "Klubb A", " Senior"), QStringList({" 1,Hansen Per"}));
        QCOMPARE(relayRunnerChoices(s, "Klubb A", "Menn_Elite"), QStringList());
        QCOMPARE(relayRunnerChoices(s, "-", "Junior"), QStringList());
        QCOMPARE(relayRunnerChoices(s, "Klubb A", "Ukjent"), QStringList());
    }

    void pickListsStayInsideTheCatalogue()
    {
        AppState s;
        setPerson(s, kMaxPersons, "Sist Per", "K", "J");
        s.catalogs.classes[1] = "J";
        s.catalogs.personCount = 99999; // a count no reader would leave; still no overrun
        QCOMPARE(relayRunnerChoices(s, "K", "J"), QStringList({" 3000,Sist Per"}));
        QCOMPARE(relayClassChoices(s, "K"), QStringList({"J"}));
        s.catalogs.personCount = -4;
        QCOMPARE(relayRunnerChoices(s, "K", "J"), QStringList());
    }

    void jump_data()
    {
        QTest::addColumn<QString>("mover");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("offset"); // -999: nothing happens
        QTest::newRow("forward") << "12"
                                 << " 5" << 15 << 7;
        QTest::newRow("back") << " 2"
                              << " 5" << 15 << -3;
        QTest::newRow("same") << "5"
                              << "5" << 15 << 0;
        QTest::newRow("zero ignored") << "0"
                                      << " 5" << 15 << -999;
        QTest::newRow("count + 1 ignored") << "16"
                                           << " 5" << 15 << -999;
        QTest::newRow("last") << "15"
                              << " 5" << 15 << 10;
        QTest::newRow("overflow ignored") << "99999"
                                          << " 5" << 15 << -999;
        QTest::newRow("very long ignored") << QString(500, u'9') << " 5" << 15 << -999;
        QTest::newRow("text ignored") << "abc"
                                      << " 5" << 15 << -999;
        QTest::newRow("negative ignored") << "-3"
                                          << " 5" << 15 << -999;
        QTest::newRow("empty register") << "1"
                                        << "" << 0 << -999;
        QTest::newRow("shown number odd") << "3"
                                          << "abc" << 5 << 3;
    }
    void jump()
    {
        QFETCH(QString, mover);
        QFETCH(QString, shown);
        QFETCH(int, count);
        QFETCH(int, offset);
        const std::optional<int> r = jumpOffset(mover, shown, count);
        QCOMPARE(r.has_value(), offset != -999);
        if (r) QCOMPARE(*r, offset);
    }

    void readRebuildsCatalogueAndCount()
    {
        TestMeet m;
        m.makeDatabase(4, 5, 2);
        const QString table = schema::tableName(m.state, schema::Table::Stafettlag);
        QVERIFY(
            m.state.database
                .exec("UPDATE " + db::quoteIdentifier(table) + " SET \"1\" = ?, \"3\" = ? WHERE rowid = 2",
                      {"IL Tyrving", "1,Hansen Per"})
                .ok());
        m.state.catalogs.relayCount = 0;
        m.state.catalogs.relays[40].club = "stale";
        RecordingProgress progress;
        m.state.progress = &progress;
        int refreshed = 0;
        QObject::connect(&m.state.notifier, &MeetNotifier::entriesChanged, [&refreshed] { ++refreshed; });
        m.state.options[OptAutoUpdateStartList] = 1;

        const RegisterRead r = readRelayTeams(m.state);
        QVERIFY(r.status.ok());
        QCOMPARE(r.count, 5);
        QVERIFY(!r.indexError);
        QCOMPARE(m.state.catalogs.relayCount, 5);
        QCOMPARE(m.state.catalogs.relays[2].teamNo, QStringLiteral(" 2"));
        QCOMPARE(m.state.catalogs.relays[2].club, QStringLiteral("IL Tyrving"));
        QCOMPARE(m.state.catalogs.relays[2].runner[0], QStringLiteral("1,Hansen Per"));
        QCOMPARE(m.state.catalogs.relays[5].cls, QStringLiteral("-"));
        QCOMPARE(m.state.catalogs.relays[40].club, QString());
        QCOMPARE(refreshed, 0); // the walk holds the entries window back
        QVERIFY(!m.state.readingRegister);
        QCOMPARE(progress.statusTexts, QStringList({"Leser stafettlag registeret"}));
        QCOMPARE(progress.maximum, 5);
        QCOMPARE(progress.lastValue, 0); // reset at the end
    }

    void readNotesIndexErrors_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("indexError");
        QTest::newRow("third holds 4") << 3 << "4" << true;
        QTest::newRow("last holds 9") << 5 << "9" << true;
        QTest::newRow("last holds text") << 5 << "abc" << true;
        QTest::newRow("fraction") << 2 << "2.5" << true;
        QTest::newRow("blanks around") << 2 << " 2 " << false;
    }
    void readNotesIndexErrors()
    {
        QFETCH(int, row);
        QFETCH(QString, number);
        QFETCH(bool, indexError);
        TestMeet m;
        m.makeDatabase(3, 5, 2);
        const QString table = schema::tableName(m.state, schema::Table::Stafettlag);
        QVERIFY(
            m.state.database
                .exec("UPDATE " + db::quoteIdentifier(table) + " SET \"0\" = ?, \"1\" = ? WHERE rowid = ?",
                      {number, "Moved", row})
                .ok());
        const RegisterRead r = readRelayTeams(m.state);
        QVERIFY(r.status.ok());
        QCOMPARE(r.indexError, indexError);
        // The register keeps its size, and the catalogue is rebuilt all the same.
        QCOMPARE(r.count, 5);
        QCOMPARE(m.state.catalogs.relayCount, 5);
        if (const std::optional<int> k = relaySlotFor(number); k && row != 5)
            QCOMPARE(m.state.catalogs.relays[size_t(*k)].club,
                     *k == row ? QStringLiteral("Moved") : QStringLiteral("-"));
        QCOMPARE(m.state.catalogs.relays[1].club, row == 1 ? QStringLiteral("Moved") : QStringLiteral("-"));
    }

    void readEmptyAndMissingTables()
    {
        TestMeet m;
        m.makeDatabase(2, 0, 1);
        m.state.catalogs.relayCount = 7;
        RegisterRead r = readRelayTeams(m.state);
        QVERIFY(r.status.ok());
        QCOMPARE(r.count, 0);
        QVERIFY(!r.indexError);
        QCOMPARE(m.state.catalogs.relayCount, 0);

        QVERIFY(m.state.database.dropTable(schema::tableName(m.state, schema::Table::Stafettlag)).ok());
        m.state.catalogs.relayCount = 3;
        m.state.catalogs.relays[1].club = "kept";
        r = readRelayTeams(m.state);
        QVERIFY(!r.status.ok());
        QCOMPARE(m.state.catalogs.relayCount, 3);
        QCOMPARE(m.state.catalogs.relays[1].club, QStringLiteral("kept"));
    }

    void readStopsAtTheCatalogueSize()
    {
        TestMeet m;
        m.makeDatabase(2, kMaxRelays, 1);
        const QString table = schema::tableName(m.state, schema::Table::Stafettlag);
        QVERIFY(m.state.database.insertRows(table, {{" 51", "Over", "-", "-", "-", "-", "-"}}).ok());
        const RegisterRead r = readRelayTeams(m.state);
        QCOMPARE(r.count, kMaxRelays);
        QCOMPARE(m.state.catalogs.relayCount, kMaxRelays);
        QCOMPARE(m.state.catalogs.relays[50].teamNo, QStringLiteral(" 50"));
    }
};

QTEST_GUILESS_MAIN(TestRelay)
#include "TestRelay.moc"
