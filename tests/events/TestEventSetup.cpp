#include "TestSupport.h"

#include "events/EventSetup.h"
#include "events/Rounds.h"
#include "registers/Entries.h"

#include <QSqlQuery>
#include <QTest>

using namespace arenor;
using namespace arenor::events;

class TestEventSetup : public QObject {
    Q_OBJECT
private slots:
    void mover_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("record"); // 0: ignored
        for (const char *none : {"", "0", "5761", "-3", "abc", "1e9", "99999"})
            QTest::newRow(none) << QString::fromLatin1(none) << 0;
        QTest::newRow("first") << QStringLiteral(" 1") << 1;
        QTest::newRow("last") << QStringLiteral("5760") << 5760;
    }
    void mover()
    {
        QFETCH(QString, text);
        QFETCH(int, record);
        QCOMPARE(setupMoverTarget(text).value_or(0), record);
        QCOMPARE(setupRecordNumber(3, 36, 40), 5760);
        QCOMPARE(setupRecordNumber(1, 3, 11), 1440 + 80 + 11);
    }

    void shownValues_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("7") << "7"
                           << "5";
        QTest::newRow("-2") << "-2"
                            << "0";
        QTest::newRow("3") << "3"
                           << "3";
        QTest::newRow("1e400") << "1e400"
                               << "5";
    }
    void shownValues()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(clampedHelpColumns(stored), shown);
        QCOMPARE(timeFormatsEnabled(0), std::optional<bool>(true));
        QCOMPARE(timeFormatsEnabled(1), std::optional<bool>(false)); // "Technical" greys them
        QCOMPARE(timeFormatsEnabled(2), std::optional<bool>());      // "Kombi" leaves them
    }

    void namesAndCounts()
    {
        test::TestMeet m;
        m.makeDatabase(4, 2, 2);
        AppState &s = m.state;
        s.eventNames[3] = QStringLiteral("Spyd");
        s.catalogs.classes[11] = QStringLiteral("Gutter_7_år");
        s.catalogs.classes[12] = QStringLiteral("Gutter_8_år");
        const QString classes[] = {QStringLiteral("Gutter_7_år"), QStringLiteral("-"),
                                   QStringLiteral("Gutter_8_år"), QStringLiteral("Gutter_7_år")};
        for (int r = 1; r <= 4; ++r)
            s.catalogs.persons[size_t(r)].cls = classes[r - 1];
        s.catalogs.relays[1].cls = QStringLiteral("Gutter_8_år");
        s.catalogs.relays[2].cls = QStringLiteral("-");
        selectRound(s, 0);
        QVERIFY(registers::setEntries(s, 0, 3, {1, 2, 3, 5, 6}, true));
        // Competitor 2 and team 2 have no class: they are not counted.
        QCOMPARE(eventListLines(s)[2], QStringLiteral(" 3> Spyd,"));
        QVERIFY(eventListLines(s)[0].startsWith(QStringLiteral(" 0  ")));
        QCOMPARE(classListLines(s, 3, false)[10], QStringLiteral(" 1> Gutter_7_år,"));
        QCOMPARE(classListLines(s, 3, false)[11], QStringLiteral(" 1> Gutter_8_år,"));
        QCOMPARE(classListLines(s, 3, true)[11], QStringLiteral(" 1> Gutter_8_år,"));
        QCOMPARE(classListLines(s, 3, true).size(), kClassCount);
        // The next round has its own entries.
        selectRound(s, 1);
        QCOMPARE(eventListLines(s)[2], QStringLiteral(" 0  Spyd,"));

        s.roundTag = QStringLiteral("Finale_");
        QCOMPARE(gridTableName(s, 3, 11, QStringLiteral("_600_g_")), QStringLiteral("Kl-F0311"));
        s.options[OptLongFileNames] = 1;
        QCOMPARE(gridTableName(s, 3, 11, QStringLiteral(" _600_g_ ")),
                 QStringLiteral("Klasse_Finale_Spyd_600_g_Gutter_7_år"));
        QCOMPARE(setupStatusText(s, 3, 11, QStringLiteral(" _ ")), QStringLiteral("Finale_Spyd_Gutter_7_år"));
    }

    void roundLoadedOnce()
    {
        test::TestMeet m;
        m.makeDatabase(10, 2, 2);
        selectRound(m.state, 1);
        QSqlQuery q(m.state.database.handle());
        QVERIFY(q.exec(QStringLiteral("UPDATE \"Påmelding\" SET \"2\" = 1 WHERE rowid = 13")));
        selectRound(m.state, 1);
        QVERIFY(!m.state.entryMatrix.entered(1, 2, 1));
        rereadCurrentRound(m.state); // "&Les"
        QVERIFY(m.state.entryMatrix.entered(1, 2, 1));
        QCOMPARE(m.state.roundTag, m.state.texts.roundName(1) + u'_');
        selectRound(m.state, -1);
        QCOMPARE(m.state.currentRound, 1);
    }

    void setupRecords()
    {
        test::TestMeet m;
        m.makeDatabase(2, 0, 1);
        QStringList f;
        QVERIFY(readSetupRecord(m.state, 5760, f));
        QCOMPARE(f.mid(0, 5), (QStringList{"5760", "0", "0", "0", "0"}));
        QVERIFY(writeSetupField(m.state, 5760, SetupHelpColumns, QStringLiteral("4")));
        QVERIFY(readSetupRecord(m.state, 5760, f) && f[SetupHelpColumns] == QLatin1String("4"));
        QVERIFY(!readSetupRecord(m.state, 5761, f));
    }
};

QTEST_GUILESS_MAIN(TestEventSetup)
#include "TestEventSetup.moc"
