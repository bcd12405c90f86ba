#include "TestSupport.h"

#include "db/Schema.h"
#include "events/Rounds.h"
#include "registers/Entries.h"

#include <QSqlQuery>
#include <QTest>

using namespace arenor;
using namespace arenor::registers;

class TestEntries : public QObject {
    Q_OBJECT

    // P = 10 competitors, R = 2 relay teams: 48 entry records.
    void makeMeet(test::TestMeet &m)
    {
        m.makeDatabase(10, 2, 2);
        m.state.entryMatrix = EntryMatrix();
        m.state.roundLoaded.fill(false);
        m.prompt.clear();
    }
    static void sql(test::TestMeet &m, const QString &statement)
    {
        QSqlQuery q(m.state.database.handle());
        QVERIFY2(q.exec(statement), qPrintable(statement));
    }

private slots:
    void addressing_data()
    {
        QTest::addColumn<int>("round");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("relays");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("row");
        QTest::newRow("line 3, round 2") << 1 << 2 << false << 15 << 3;
        QTest::newRow("relay line 1, round 2") << 1 << 0 << true << 23 << 11;
        QTest::newRow("first record") << 0 << 0 << false << 1 << 1;
        QTest::newRow("last team, final") << 3 << 1 << true << 48 << 12;
    }
    void addressing()
    {
        QFETCH(int, round);
        QFETCH(int, line);
        QFETCH(bool, relays);
        QFETCH(int, record);
        QFETCH(int, row);
        QCOMPARE(entryRecordNumber(round, line, relays, 10, 2), record);
        const auto place = entryPlace(record, 10, 2);
        QVERIFY(place);
        QCOMPARE(place->round, round);
        QCOMPARE(place->row, row);
        // With the relay display and P = 40, list line 0 is matrix row 41.
        QCOMPARE(entrantRow(0, true, 40), 41);
    }

    void jumpBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("record"); // 0: no record
        for (const char *none : {"", "0", "49", "99999", "-3", "abc", "1e9", "1e400"})
            QTest::newRow(none) << QString::fromLatin1(none) << 0;
        QTest::newRow("1") << QStringLiteral(" 1") << 1;
        QTest::newRow("48") << QStringLiteral("48") << 48;
    }
    void jumpBox()
    {
        QFETCH(QString, text);
        QFETCH(int, record);
        QCOMPARE(entryJumpTarget(text, 10, 2).value_or(0), record);
        QVERIFY(!entryPlace(0, 10, 2) && !entryPlace(49, 10, 2));
    }

    void tickIsStoredAtOnce()
    {
        test::TestMeet m;
        makeMeet(m);
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
        test::TestMeet m;
        makeMeet(m);
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
        sql(m, QStringLiteral("DELETE FROM \"Påmelding\" WHERE rowid > 10"));
        QVERIFY(!setEntries(m.state, 0, 12, {1, 11}, true));
        QVERIFY(!m.state.entryMatrix.entered(0, 12, 1));
        EntryRecord rec;
        QVERIFY(readEntryRecord(m.state, 1, rec) && !rec.entered[12]);
    }

    void roundLoading()
    {
        test::TestMeet m;
        makeMeet(m);
        // Round 2 is records 13..24: mark its first and last, and the records around it.
        for (int record : {12, 13, 24, 25})
            sql(m, QStringLiteral("UPDATE \"Påmelding\" SET \"7\" = 1 WHERE rowid = %1").arg(record));
        const RoundLoad load = loadRoundEntries(m.state, 1);
        QVERIFY(load.status && !load.indexError);
        for (int row = 1; row <= 12; ++row)
            QCOMPARE(m.state.entryMatrix.entered(1, 7, row), row == 1 || row == 12);

        // Short and misnumbered blocks: message 35 once, what is there is read, no crash.
        sql(m, QStringLiteral("UPDATE \"Påmelding\" SET \"0\" = ' 99' WHERE rowid = 14"));
        QVERIFY(loadRoundEntries(m.state, 1).indexError);
        sql(m, QStringLiteral("DELETE FROM \"Påmelding\" WHERE rowid > 40"));
        m.state.roundLoaded.fill(false);
        events::selectRound(m.state, 3);
        QCOMPARE(m.prompt.messageTexts(), QStringList{m.state.texts.message(35)});
        events::selectRound(m.state, 1);
        QVERIFY(m.state.entryMatrix.entered(1, 7, 12));
    }

    void otherMeetSizesNeverRead()
    {
        test::TestMeet m;
        makeMeet(m);
        sql(m, QStringLiteral("UPDATE \"Påmelding\" SET \"1\" = 1 WHERE rowid = 12"));
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
        test::TestMeet m;
        makeMeet(m);
        const QString typed = QStringLiteral("Høyde \"A\"/B's ") + QString(990, u'ø');
        QSqlQuery q(m.state.database.handle());
        QVERIFY(q.prepare(QStringLiteral("UPDATE \"Øvelser\" SET \"6\" = ? WHERE rowid = 1")));
        q.addBindValue(typed);
        QVERIFY(q.exec());
        QVERIFY(readEventNames(m.state));
        QCOMPARE(m.state.eventNames[6], typed);
        QCOMPARE(m.state.eventNames[13], QStringLiteral("60_m"));
    }
};

QTEST_GUILESS_MAIN(TestEntries)
#include "TestEntries.moc"
