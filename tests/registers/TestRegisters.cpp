// The register layer without windows: reading the registers into their catalogues, keeping a
// catalogue slot in step with a record, the contingent buttons, the class pick list, and what
// typed text does to the tables.
#include "TestSupport.h"

#include "base/Convert.h"
#include "db/RecordModel.h"
#include "db/Schema.h"
#include "registers/Classes.h"
#include "registers/Clubs.h"
#include "registers/Competitors.h"
#include "registers/RegisterReaders.h"
#include "registers/RegisterRules.h"

#include <QTest>

using namespace arenor;
using namespace arenor::test;
using namespace arenor::registers;

namespace {

// Field `field` of record `record` (1-based) of a table, as stored.
void setCell(AppState &s, schema::Table t, int record, int field, const QString &value)
{
    const Status st = s.database.exec(
        QStringLiteral("UPDATE ") + db::quoteIdentifier(schema::tableName(s, t)) + QStringLiteral(" SET ") +
            db::quoteIdentifier(QString::number(field)) + QStringLiteral(" = ? WHERE rowid = ?"),
        {value, record});
    QVERIFY2(st.ok(), qPrintable(st.error()));
}

QVariantList personRecord(const QString &startNo, const QString &first, const QString &surname,
                          const QString &code = QStringLiteral("1"))
{
    QVariantList r;
    for (int f = 0; f < schema::kPersonFields; ++f)
        r.append(QStringLiteral("-"));
    r[PersonStartNo] = startNo;
    r[PersonFirstName] = first;
    r[PersonSurname] = surname;
    r[PersonClub] = QStringLiteral("Ås IL");
    r[PersonClass] = QStringLiteral("Junior");
    r[PersonContingent] = code;
    return r;
}

} // namespace

class TestRegisters : public QObject {
    Q_OBJECT
private slots:
    void readPersonsRebuildsTheCatalogue()
    {
        TestMeet meet;
        meet.state.options[OptTestMode] = true;
        meet.makeDatabase(15, 2, 3);
        Catalogs &c = meet.state.catalogs;
        c.persons[16].name = QStringLiteral("left from an older meet");
        c.personCount = 0;
        const RegisterRead read = readPersons(meet.state);
        QVERIFY(read.status.ok());
        QVERIFY(!read.indexError);
        QCOMPARE(read.count, 15);
        QCOMPARE(c.personCount, 15);
        QCOMPARE(c.persons[7].startNo, QStringLiteral(" 7"));
        QCOMPARE(c.persons[7].name, QStringLiteral("Etter7 Forn7"));
        QCOMPARE(c.persons[7].club, QStringLiteral("Klubb 1"));
        QCOMPARE(c.persons[7].cls, QStringLiteral("Junior"));
        QCOMPARE(c.persons[7].contingentCode, qint16(1));
        QVERIFY(c.persons[16].name.isEmpty());
        QVERIFY(!meet.state.readingRegister);
    }

    // Record k must hold number k; the size is the number of records whatever they hold.
    void indexCheck_data()
    {
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("indexError");
        QTest::newRow("as written") << 7 << " 7" << false;
        QTest::newRow("typed without blank") << 7 << "7" << false;
        QTest::newRow("trailing blank") << 7 << " 7 " << false;
        QTest::newRow("third holds 4") << 3 << " 4" << true;
        QTest::newRow("fraction") << 7 << "7.5" << true;
        QTest::newRow("text") << 1 << "abc" << true;
        QTest::newRow("empty") << 1 << "" << true;
        QTest::newRow("last far too big") << 15 << "99999" << true;
        QTest::newRow("last too small") << 15 << " 3" << true;
    }
    void indexCheck()
    {
        QFETCH(int, record);
        QFETCH(QString, number);
        QFETCH(bool, indexError);
        TestMeet meet;
        meet.makeDatabase(15, 2, 3);
        setCell(meet.state, schema::Table::Personer, record, PersonStartNo, number);
        setCell(meet.state, schema::Table::Klubber, 3, ClubNumber, number);
        const RegisterRead persons = readPersons(meet.state);
        QCOMPARE(persons.indexError, indexError);
        QCOMPARE(meet.state.catalogs.personCount, 15);
        const RegisterRead clubs = readClubs(meet.state);
        QCOMPARE(clubs.indexError, number.trimmed() != QLatin1String("3"));
        QCOMPARE(meet.state.catalogs.clubCount, 3);
    }

    void misnumberedRecordIsReportedAndTheCatalogueStillRebuilt()
    {
        TestMeet meet;
        meet.state.options[OptTestMode] = true;
        meet.makeDatabase(15, 2, 3);
        AppState &s = meet.state;
        setCell(s, schema::Table::Personer, 3, PersonStartNo, QStringLiteral(" 4"));
        setCell(s, schema::Table::Personer, 4, PersonFirstName, QStringLiteral("Fjerde"));
        setCell(s, schema::Table::Klubber, 2, ClubNumber, QStringLiteral(" 3"));
        s.catalogs = Catalogs();
        meet.prompt.clear();
        int refreshed = 0;
        s.options[OptAutoUpdateStartList] = 1;
        QObject::connect(&s.notifier, &MeetNotifier::entriesChanged, [&] {
            QVERIFY(!s.readingRegister);
            ++refreshed;
        });
        readRegisters(s);
        // One message for the competitors, one for the clubs; the entries window once, at the end.
        QCOMPARE(meet.prompt.messageTexts(), QStringList(2, s.texts.message(35)));
        QCOMPARE(refreshed, 1);
        QCOMPARE(s.catalogs.personCount, 15);
        QCOMPARE(s.catalogs.persons[4].name, QStringLiteral("Etter4 Fjerde")); // the fourth record, read last
        QVERIFY(s.catalogs.persons[3].name.isEmpty());
        QCOMPARE(s.catalogs.persons[15].name, QStringLiteral("Etter15 Forn15"));
        QCOMPARE(s.catalogs.clubCount, 3);
        QCOMPARE(s.catalogs.relayCount, 2);
        QCOMPARE(s.catalogs.classes[1], s.texts.message(201));
    }

    void missingTablesLeaveTheirCataloguesAlone()
    {
        TestMeet meet;
        meet.makeDatabase(4, 2, 3);
        AppState &s = meet.state;
        QVERIFY(s.database.dropTable(QStringLiteral("Klubber")).ok());
        s.catalogs.clubs[2] = QStringLiteral("kept");
        s.catalogs.clubCount = 3;
        const RegisterRead read = readClubs(s);
        QVERIFY(!read.status.ok());
        QCOMPARE(s.catalogs.clubs[2], QStringLiteral("kept"));
        QCOMPARE(s.catalogs.clubCount, 3);
        readRegisters(s);
        QCOMPARE(meet.prompt.unexpected(), 0);
        QCOMPARE(s.catalogs.personCount, 4);

        s.database.close();
        s.catalogs.personCount = 99;
        readRegisters(s); // nothing open: nothing read, nothing asked
        QCOMPARE(s.catalogs.personCount, 99);
    }

    void syncPersonSlot_data()
    {
        QTest::addColumn<QString>("startNo");
        QTest::addColumn<int>("slot"); // -1: no slot, nothing written
        QTest::newRow("leading blank") << " 7" << 7;
        QTest::newRow("trailing text") << "7abc" << 7;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("text reads 0") << "abc" << 0;
        QTest::newRow("highest") << "3000" << 3000;
        QTest::newRow("above") << "3001" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("overflowing") << "99999" << -1;
        QTest::newRow("exponent") << "1e9" << -1;
    }
    void syncPersonSlot()
    {
        QFETCH(QString, startNo);
        QFETCH(int, slot);
        AppState state;
        const Catalogs before = state.catalogs;
        const bool stored =
            syncPersonCatalog(state, personRecord(startNo, QStringLiteral("Kari"), QStringLiteral("Nordmann"),
                                                  QStringLiteral(" 2")));
        QCOMPARE(stored, slot >= 0);
        if (slot < 0) {
            for (int k = 0; k <= kMaxPersons; ++k)
                QVERIFY(state.catalogs.persons[size_t(k)].name == before.persons[size_t(k)].name);
            QVERIFY(!startNumberProblem(state, startNo, QStringLiteral(" 5")).isEmpty());
            return;
        }
        QVERIFY(startNumberProblem(state, startNo, QStringLiteral(" 5")).isEmpty());
        const PersonSlot &p = state.catalogs.persons[size_t(slot)];
        QCOMPARE(p.startNo, numberText(qint64(slot)));
        QCOMPARE(p.name, QStringLiteral("Nordmann Kari"));
        QCOMPARE(p.club, QStringLiteral("Ås IL"));
        QCOMPARE(p.cls, QStringLiteral("Junior"));
        QCOMPARE(p.contingentCode, qint16(2));
    }

    void contingentCodeNeverOverflows()
    {
        AppState state;
        QVERIFY(syncPersonCatalog(state, personRecord(QStringLiteral("1"), {}, {}, QStringLiteral("99999"))));
        QCOMPARE(state.catalogs.persons[1].contingentCode, qint16(32767));
        QVERIFY(syncPersonCatalog(state, personRecord(QStringLiteral("1"), {}, {}, QStringLiteral("x"))));
        QCOMPARE(state.catalogs.persons[1].contingentCode, qint16(0));
        // A short record (a table with fewer fields) is read as empty fields, not out of bounds.
        QVERIFY(syncPersonCatalog(state, {QStringLiteral(" 2")}));
        QCOMPARE(state.catalogs.persons[2].name, QStringLiteral(" "));
    }

    void contingentButtons_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("option");
        QTest::newRow("full") << " 1" << 0;
        QTest::newRow("3/4") << " 2" << 1;
        QTest::newRow("no blank") << "3" << 2;
        QTest::newRow("1/4") << " 4" << 3;
        QTest::newRow("decimal four") << "4.0" << 3;
        QTest::newRow("between") << "2.5" << -1;
        QTest::newRow("five") << "5" << -1;
        QTest::newRow("zero") << "0" << -1;
        QTest::newRow("text") << "abc" << -1;
        QTest::newRow("empty") << "" << -1;
    }
    void contingentButtons()
    {
        QFETCH(QString, code);
        QFETCH(int, option);
        QCOMPARE(contingentOption(code), option);
        if (option >= 0) QCOMPARE(contingentOption(contingentCodeText(option)), option);
    }

    void contingentTextsCarryTheSignBlank()
    {
        QCOMPARE(contingentCodeText(0), QStringLiteral(" 1"));
        QCOMPARE(contingentCodeText(1), QStringLiteral(" 2")); // "3/4"
        QCOMPARE(contingentCodeText(3), QStringLiteral(" 4"));
    }

    void numberProblemTellsWhy()
    {
        AppState state;
        QString text = startNumberProblem(state, QStringLiteral("5000"), QStringLiteral(" 5"));
        QVERIFY(text.contains(QStringLiteral("\"5000\"")));
        QVERIFY(text.contains(QStringLiteral("3000")));
        QVERIFY(text.contains(QStringLiteral("\"5\"")));
        QVERIFY(text.startsWith(QStringLiteral("Startnummer")));
        // Typed text is shown as typed (no placeholder expansion), and long input cut short.
        text = clubNumberProblem(state, QStringLiteral("99%1%2 ") + QString(500, u'9'), QStringLiteral(" 4"));
        QVERIFY(text.contains(QStringLiteral("\"99%1%2 9999999999999...\"")));
        QVERIFY(text.size() < 200);
        state.texts.loadMessages(Language::English);
        text = clubNumberProblem(state, QStringLiteral("51"), QStringLiteral(" 4"));
        QVERIFY(text.startsWith(QStringLiteral("Club number \"51\" was not taken")));
        QVERIFY(text.contains(QStringLiteral(" 50")));
        QVERIFY(clubNumberProblem(state, QStringLiteral("50"), QStringLiteral(" 4")).isEmpty());
    }

    void renamedClubReachesItsSlot()
    {
        AppState state;
        state.catalogs.clubCount = 5;
        QVariantList club(schema::kClubFields, QStringLiteral("-"));
        club[ClubNumber] = QStringLiteral(" 4");
        club[ClubName] = QStringLiteral("Ny klubb");
        QVERIFY(syncClubCatalog(state, club));
        QCOMPARE(state.catalogs.clubs[4], QStringLiteral("Ny klubb"));
        QCOMPARE(clubChoices(state).value(3), QStringLiteral("Ny klubb"));
        QCOMPARE(clubChoices(state).size(), 5);
        club[ClubNumber] = QStringLiteral("75");
        club[ClubName] = QStringLiteral("Utenfor");
        QVERIFY(!syncClubCatalog(state, club));
        QVERIFY(!clubChoices(state).contains(QStringLiteral("Utenfor")));
        state.catalogs.clubCount = 999; // whatever the count says, no slot past 50 is read
        QCOMPARE(clubChoices(state).size(), kMaxClubs);
    }

    void classListKeepsTheLastFortyLines()
    {
        TestMeet meet;
        meet.makeDatabase(3, 1, 2);
        AppState &s = meet.state;
        int told = 0;
        auto *viewer = new QObject;
        QObject::connect(&s.notifier, &MeetNotifier::registerChanged, viewer, [&](MeetNotifier::Register r) {
            if (r == MeetNotifier::Register::Classes)
                ++told;
        });
        for (int i = 0; i < 5; ++i)
            QCOMPARE(readClasses(s).count, 40);
        QCOMPARE(told, 5);
        QCOMPARE(s.classLines.size(), 40);
        QCOMPARE(s.classLines[1], s.texts.message(202));

        setCell(s, schema::Table::Klasser, 3, 1, QStringLiteral("Mini"));
        // The catalogue goes by position, not by the index a record holds.
        setCell(s, schema::Table::Klasser, 5, 0, QStringLiteral(" 9"));
        readClasses(s);
        QCOMPARE(s.classLines.size(), 40);
        QCOMPARE(s.classLines[2], QStringLiteral("Mini"));
        QCOMPARE(s.catalogs.classes[3], QStringLiteral("Mini"));
        QCOMPARE(s.catalogs.classes[5], s.texts.message(205));
        QCOMPARE(classChoices(s).value(2), QStringLiteral("Mini"));

        // A table short of two records: the two last old lines stay on top.
        QVERIFY(s.database.exec(QStringLiteral("DELETE FROM \"Klasser\" WHERE rowid > 38")).ok());
        readClasses(s);
        QCOMPARE(s.classLines.size(), 40);
        QCOMPARE(s.classLines[0], s.texts.message(239));
        QCOMPARE(s.classLines[1], s.texts.message(240));
        QCOMPARE(s.classLines[4], QStringLiteral("Mini"));
        QVERIFY(s.catalogs.classes[39].isEmpty());

        delete viewer;
        readClasses(s);
        QCOMPARE(told, 7);
    }

    void appendKeepingLast_data()
    {
        QTest::addColumn<int>("old");
        QTest::addColumn<int>("added");
        QTest::addColumn<int>("first"); // number of the first line left, counting old lines first
        QTest::addColumn<int>("size");
        QTest::newRow("empty list") << 0 << 40 << 1 << 40;
        QTest::newRow("full list") << 40 << 40 << 41 << 40;
        QTest::newRow("short table") << 40 << 38 << 39 << 40;
        QTest::newRow("few lines") << 3 << 5 << 1 << 8;
        QTest::newRow("long table") << 0 << 45 << 6 << 40;
    }
    void appendKeepingLast()
    {
        QFETCH(int, old);
        QFETCH(int, added);
        QFETCH(int, first);
        QFETCH(int, size);
        QStringList a, b;
        for (int i = 1; i <= old; ++i)
            a << QString::number(i);
        for (int i = 1; i <= added; ++i)
            b << QString::number(old + i);
        const QStringList kept = registers::appendKeepingLast(a, b);
        QCOMPARE(kept.size(), size);
        QCOMPARE(kept.first(), QString::number(first));
        QCOMPARE(kept.last(), QString::number(old + added));
    }

    void singleLine_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << "Per"
                               << "Per";
        QTest::newRow("LF") << "Per\nOla"
                            << "Per Ola";
        QTest::newRow("CRLF is one break") << "Per\r\nOla"
                                           << "Per Ola";
        QTest::newRow("CR") << "Per\rOla"
                            << "Per Ola";
        QTest::newRow("two breaks") << "a\n\nb"
                                    << "a  b";
        QTest::newRow("line separator") << QString::fromUtf16(u"a\u2028b") << "a b";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("quotes and semicolons") << "O'Neil; \"x\""
                                               << "O'Neil; \"x\"";
    }
    void singleLine()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(registers::singleLine(typed), stored);
    }

    // Whatever is typed is stored as typed and read back into the catalogue unchanged;
    // neighbouring records are untouched.
    void hostileTextRoundTrips()
    {
        TestMeet meet;
        meet.makeDatabase(5, 1, 2);
        AppState &s = meet.state;
        const QString longName = QString(10000, u'Å');
        const QString sql = QStringLiteral("Robert'); DROP TABLE \"Personer\";--");
        db::RecordModel model;
        QVERIFY(model.open(s.database, QStringLiteral("Personer")));
        QVERIFY(model.setRecord(1, personRecord(QStringLiteral(" 2"), longName, sql)));
        QVERIFY(
            model.setRecord(2, personRecord(QStringLiteral(" 3"), QString(), QStringLiteral("Ærø \"Øye\""))));
        const RegisterRead read = readPersons(s);
        QVERIFY(!read.indexError);
        QCOMPARE(s.database.recordCount(QStringLiteral("Personer")), 5);
        QCOMPARE(s.catalogs.persons[2].name, sql + u' ' + longName);
        QCOMPARE(s.catalogs.persons[3].name, QStringLiteral("Ærø \"Øye\" "));
        QCOMPARE(s.catalogs.persons[1].name, QStringLiteral("- -"));
        QCOMPARE(s.catalogs.persons[4].name, QStringLiteral("- -"));
    }
};

QTEST_GUILESS_MAIN(TestRegisters)
#include "TestRegisters.moc"
