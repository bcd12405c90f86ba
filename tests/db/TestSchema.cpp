#include "TestSupport.h"

#include "base/Convert.h"
#include "app/MeetFile.h"
#include "db/Schema.h"
#include "registers/RegisterReaders.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace arenor;
using namespace arenor::test;
using schema::Table;

namespace {

QString cell(AppState &s, Table t, int record, int field)
{
    db::Recordset rs;
    if (!rs.open(s.database, schema::tableName(s, t)))
        return QStringLiteral("<no table>");
    rs.moveTo(record - 1);
    return rs.field(field).toString();
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    void freshMeetHasEveryTableAndRow()
    {
        TestMeet meet;
        meet.makeDatabase(15, 5, 5);
        AppState &s = meet.state;
        db::Database &d = s.database;
        QCOMPARE(d.recordCount(QStringLiteral("Klasser")), 40);
        QCOMPARE(d.recordCount(QStringLiteral("Klubber")), 5);
        QCOMPARE(d.recordCount(QStringLiteral("Oppsett")), 5760);
        QCOMPARE(d.recordCount(QStringLiteral("Øvelser")), 10);
        QCOMPARE(d.recordCount(QStringLiteral("Påmelding")), 80);
        QCOMPARE(d.recordCount(QStringLiteral("Personer")), 15);
        QCOMPARE(d.recordCount(QStringLiteral("Poengoppsett")), 10);
        QCOMPARE(d.recordCount(QStringLiteral("Tidtakingoppsett")), 1);
        QCOMPARE(d.recordCount(QStringLiteral("Stafettlag")), 5);
        QCOMPARE(d.fieldNames(QStringLiteral("Personer")).size(), 23);
        QCOMPARE(d.fieldNames(QStringLiteral("Klubber")).size(), 16);
        QCOMPARE(d.fieldNames(QStringLiteral("Øvelser")).size(), 37);
        QCOMPARE(d.fieldNames(QStringLiteral("Poengoppsett")).size(), 41);
        QCOMPARE(d.fieldNames(QStringLiteral("Tidtakingoppsett")).last(), QStringLiteral("23"));

        QCOMPARE(cell(s, Table::Personer, 7, 0), QStringLiteral(" 7"));
        QCOMPARE(toInteger(cell(s, Table::Personer, 7, 0)), qint64(7));
        QCOMPARE(cell(s, Table::Personer, 7, 19), QStringLiteral("1"));
        QCOMPARE(cell(s, Table::Personer, 7, 22), QStringLiteral("-"));
        QCOMPARE(cell(s, Table::Klasser, 1, 1), QStringLiteral("Junior"));
        QCOMPARE(cell(s, Table::Klasser, 3, 1), QStringLiteral("_"));
        QCOMPARE(cell(s, Table::Klasser, 22, 1), QStringLiteral("Gutter_8_år"));
        QCOMPARE(cell(s, Table::Ovelser, 1, 13), QStringLiteral("60_m"));
        QCOMPARE(cell(s, Table::Ovelser, 1, 36), QStringLiteral("Gateløp"));
        QCOMPARE(cell(s, Table::Ovelser, 2, 1), QStringLiteral("-"));
        QCOMPARE(cell(s, Table::Poengoppsett, 10, 1), QStringLiteral(" 40"));
        QCOMPARE(cell(s, Table::Poengoppsett, 10, 40), QStringLiteral(" 1"));
        QCOMPARE(cell(s, Table::Stafettlag, 5, 6), QStringLiteral("-"));

        // Event setups: record number from round, event and class, defaults by event.
        auto setup = [&](int round, int event, int cls, int field) {
            return cell(s, Table::Oppsett, (round - 1) * 1440 + (event - 1) * 40 + cls, field);
        };
        QCOMPARE(setup(4, 36, 40, 0), QStringLiteral("5760"));
        QCOMPARE(setup(2, 3, 11, 0), QStringLiteral("1531"));
        QCOMPARE(setup(1, 12, 1, 1), QStringLiteral("1"));
        QCOMPARE(setup(1, 12, 1, 3), QStringLiteral("1"));
        QCOMPARE(setup(1, 13, 1, 1), QStringLiteral("0"));
        QCOMPARE(setup(1, 24, 1, 2), QStringLiteral("2"));
        QCOMPARE(setup(1, 29, 1, 2), QStringLiteral("0"));
        QCOMPARE(setup(3, 30, 7, 5), s.dateStamp);
        QCOMPARE(setup(3, 30, 7, 6), QStringLiteral("00.00"));
        QCOMPARE(setup(3, 30, 7, 7), QStringLiteral("_"));

        // Timing setup: channels 1, 3, 5 out, 2, 4, 6 in.
        db::Recordset t;
        QVERIFY(t.open(d, QStringLiteral("Tidtakingoppsett")).ok());
        const bool flags[16] = {false, false, true, false, true, false, false, true,
                                true,  false, false, true, true, false, false, true};
        for (int i = 0; i < 16; ++i)
            QCOMPARE(t.field(i).toBool(), flags[i]);
        QCOMPARE(t.text(16), QStringLiteral("2"));
        QCOMPARE(t.text(18), QStringLiteral("03BC"));
        QCOMPARE(t.text(20), QStringLiteral("TTL 8 BIT I/O"));
        QCOMPARE(t.text(23), QStringLiteral("1"));

        QCOMPARE(s.catalogs.persons[15].startNo, QStringLiteral(" 15"));
        QCOMPARE(s.catalogs.persons[15].contingentCode, qint16(1));
        QCOMPARE(s.catalogs.clubs[5], QStringLiteral("-"));
        QCOMPARE(s.catalogs.relays[5].club, QStringLiteral("-"));
    }

    void entryBlocksPerRound()
    {
        TestMeet meet;
        meet.makeDatabase(5, 2, 1);
        QCOMPARE(meet.state.database.recordCount(QStringLiteral("Påmelding")), 28);
        QCOMPARE(schema::entryRecord(0, 6, 5, 2), 6);  // relay team 1, round 1
        QCOMPARE(schema::entryRecord(1, 1, 5, 2), 8);  // competitor 1, round 2
        QCOMPARE(schema::entryRecord(1, 7, 5, 2), 14); // relay team 2, round 2
        QCOMPARE(cell(meet.state, Table::Pamelding, 28, 0), QStringLiteral(" 28"));
        QCOMPARE(cell(meet.state, Table::Pamelding, 14, 36), QStringLiteral("0"));
    }

    void smallestMeet()
    {
        TestMeet meet;
        meet.makeDatabase(1, 0, 1);
        db::Database &d = meet.state.database;
        QCOMPARE(d.recordCount(QStringLiteral("Personer")), 1);
        QCOMPARE(d.recordCount(QStringLiteral("Påmelding")), 4);
        QCOMPARE(d.recordCount(QStringLiteral("Stafettlag")), 0);
        QVERIFY(d.tableExists(QStringLiteral("Stafettlag")));
        QCOMPARE(d.recordCount(QStringLiteral("Klasser")), 40);
        QCOMPARE(d.recordCount(QStringLiteral("Øvelser")), 10);
        QCOMPARE(d.recordCount(QStringLiteral("Poengoppsett")), 10);
    }

    void testModeSampleValues()
    {
        TestMeet meet;
        meet.state.options[OptTestMode] = true;
        meet.makeDatabase(8, 1, 3);
        AppState &s = meet.state;
        QCOMPARE(cell(s, Table::Personer, 7, 1), QStringLiteral("Forn7"));
        QCOMPARE(cell(s, Table::Personer, 7, 2), QStringLiteral("Etter7"));
        QCOMPARE(cell(s, Table::Personer, 7, 3), QStringLiteral("Klubb 1"));
        QCOMPARE(cell(s, Table::Personer, 7, 5), QStringLiteral("Misc- 7 5"));
        QCOMPARE(cell(s, Table::Klubber, 1, 1), QStringLiteral("Klubb 1"));
        QCOMPARE(cell(s, Table::Klubber, 3, 5), QStringLiteral("Misc- 3 5"));
        QCOMPARE(cell(s, Table::Pamelding, 9, 1), QStringLiteral("1"));
        QCOMPARE(cell(s, Table::Pamelding, 9, 13), QStringLiteral("1"));
        QCOMPARE(cell(s, Table::Pamelding, 9, 35), QStringLiteral("1"));
        QCOMPARE(cell(s, Table::Pamelding, 9, 2), QStringLiteral("0"));
        QCOMPARE(s.catalogs.persons[7].name, QStringLiteral("Etter7 Forn7"));
        QCOMPARE(s.catalogs.clubs[1], QStringLiteral("Klubb 1"));
    }

    void classesFollowLanguageOfTheMoment()
    {
        TestMeet meet;
        meet.state.texts.load(Language::English);
        meet.makeDatabase(1, 0, 1);
        QCOMPARE(cell(meet.state, Table::Klasser, 22, 1), QStringLiteral("Boys_8_year"));
        QCOMPARE(cell(meet.state, Table::Ovelser, 1, 1), QStringLiteral("Sledge"));
    }

    void existingTableKeptOnNoReplacedOnYes()
    {
        TestMeet meet;
        meet.makeDatabase(3, 1, 2);
        AppState &s = meet.state;
        QVERIFY(s.database.exec(QStringLiteral("UPDATE \"Personer\" SET \"1\" = 'Kari' WHERE rowid = 2")).ok());
        meet.prompt.clear();
        meet.prompt.setNextAnswer(Answer::No);
        s.catalogs.personCount = 9;
        QVERIFY(schema::initPersons(s).ok());
        QCOMPARE(meet.prompt.lastMessage(), QStringLiteral("Personer eksisterer.Vil du overskrive den gamle!"));
        QCOMPARE(meet.prompt.asked().back().message.buttons, Buttons::YesNo);
        QCOMPARE(s.database.recordCount(QStringLiteral("Personer")), 3);
        QCOMPARE(cell(s, Table::Personer, 2, 1), QStringLiteral("Kari"));

        meet.prompt.setNextAnswer(Answer::Yes);
        QVERIFY(schema::initPersons(s).ok());
        QCOMPARE(s.database.recordCount(QStringLiteral("Personer")), 9);
        QCOMPARE(cell(s, Table::Personer, 2, 1), QStringLiteral("-"));
    }

    void largestMeetAndReaders()
    {
        TestMeet meet;
        meet.makeDatabase(3000, 50, 50);
        QCOMPARE(meet.state.database.recordCount(QStringLiteral("Påmelding")), 4 * 3050);
        Catalogs &c = meet.state.catalogs;
        c = Catalogs();
        int refreshed = 0;
        QObject::connect(&meet.state.notifier, &MeetNotifier::entriesChanged, [&] { ++refreshed; });
        registers::readRegisters(meet.state);
        QCOMPARE(c.personCount, 3000);
        QCOMPARE(c.relayCount, 50);
        QCOMPARE(c.clubCount, 50);
        QCOMPARE(c.classes[40], QStringLiteral("_"));
        QCOMPARE(c.classes[2], QStringLiteral("Senior"));
        QCOMPARE(c.persons[3000].startNo, QStringLiteral(" 3000"));
        QCOMPARE(refreshed, 1);
        QVERIFY(!meet.state.readingRegister);
    }

    void formatQuestionAndMessages()
    {
        TestMeet meet;
        meet.state.options[OptAllMessages] = true;
        meet.prompt.setNextAnswer(Answer::No); // the 16-bit choice
        QVERIFY(createMeetFile(meet.state).ok());
        const QStringList texts = meet.prompt.messageTexts();
        QCOMPARE(texts.size(), 3);
        QCOMPARE(texts[0], formatQuestion(meet.state.texts));
        QCOMPARE(texts[1], meet.state.texts.message(32));
        QCOMPARE(texts[2], meet.state.texts.message(33));
        QVERIFY(meet.state.database.open(meet.state.databasePath()).ok());
        QCOMPARE(meet.state.database.format(), db::Format::Compact);

        // An existing file: message 25 first, No keeps it.
        meet.state.database.close();
        meet.prompt.clear();
        meet.prompt.setNextAnswer(Answer::No);
        CreateOutcome outcome = CreateOutcome::Created;
        QVERIFY(createMeetFile(meet.state, &outcome).ok());
        QCOMPARE(outcome, CreateOutcome::KeptOld);
        QCOMPARE(meet.prompt.messageTexts(), QStringList({meet.state.texts.message(25)}));
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "TestSchema.moc"
