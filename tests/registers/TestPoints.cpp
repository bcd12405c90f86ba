// Points by place without a window: the setup shown, the points a place is worth, wiping.
#include "TestSupport.h"

#include "db/Schema.h"
#include "registers/Points.h"

#include <QTest>

using namespace arenor;
using namespace arenor::registers;
using namespace arenor::test;

class TestPoints : public QObject {
    Q_OBJECT
private slots:
    void newDatabaseGivesFortyDownToOneInEverySetup()
    {
        TestMeet m;
        m.makeDatabase(1, 0, 1);
        for (int setup = 0; setup < 10; ++setup) {
            QVERIFY(selectPointSetup(m.state, setup).ok());
            QCOMPARE(m.state.shownPoints.row, setup);
            for (int p = 1; p <= kPointPlaces; ++p)
                QCOMPARE(pointsForPlace(m.state, p), 41 - p);
        }
    }

    void theSetupShownIsTheOneUsed()
    {
        TestMeet m;
        m.makeDatabase(1, 0, 1);
        const QString table = schema::tableName(m.state, schema::Table::Poengoppsett);
        QVERIFY(m.state.database
                    .exec("UPDATE " + db::quoteIdentifier(table) +
                          " SET \"1\" = '100', \"40\" = '7' WHERE rowid = 2")
                    .ok());
        QVERIFY(selectPointSetup(m.state, 0).ok());
        QCOMPARE(pointsForPlace(m.state, 1), 40);
        QVERIFY(selectPointSetup(m.state, 1).ok());
        QCOMPARE(pointsForPlace(m.state, 1), 100);
        QCOMPARE(pointsForPlace(m.state, 2), 39);
        QCOMPARE(pointsForPlace(m.state, 40), 7);
    }

    void aSetupThatIsNotThereLeavesTheShownOne()
    {
        TestMeet m;
        m.makeDatabase(1, 0, 1);
        QVERIFY(selectPointSetup(m.state, 2).ok());
        QVERIFY(!selectPointSetup(m.state, 10).ok());
        QVERIFY(!selectPointSetup(m.state, -1).ok());
        QCOMPARE(m.state.shownPoints.row, 2);
        QCOMPARE(pointsForPlace(m.state, 1), 40);
    }

    void placeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("points");
        QTest::newRow("as written") << " 12" << 12;
        QTest::newRow("plain") << "7" << 7;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("dash") << "-" << 0;
        QTest::newRow("leading number") << "15p" << 15;
        QTest::newRow("half rounds to even") << "2.5" << 2;
        QTest::newRow("rounds up") << "3.6" << 4;
        QTest::newRow("negative") << "-4" << -4;
        QTest::newRow("huge") << "99999999999" << kMaxPointsPerPlace;
        QTest::newRow("overflowing exponent") << "1e400" << kMaxPointsPerPlace;
        QTest::newRow("very negative") << "-1e400" << -kMaxPointsPerPlace;
        QTest::newRow("10,000 digits") << QString(10000, u'9') << kMaxPointsPerPlace;
    }
    void placeText()
    {
        QFETCH(QString, text);
        QFETCH(int, points);
        AppState s;
        QVariantList setup{" 1"};
        for (int p = 1; p <= kPointPlaces; ++p)
            setup.append(p == 5 ? QVariant(text) : QVariant(" 1"));
        showPointSetup(s, 0, setup);
        QCOMPARE(pointsForPlace(s, 5), points);
    }

    void placesOutsideTheSetupGiveNothing()
    {
        AppState s;
        QCOMPARE(pointsForPlace(s, 1), 0); // no setup shown yet
        QVariantList setup{" 1"};
        for (int p = 1; p <= kPointPlaces; ++p)
            setup.append(" 9");
        showPointSetup(s, 0, setup);
        QCOMPARE(pointsForPlace(s, 0), 0);
        QCOMPARE(pointsForPlace(s, 41), 0);
        QCOMPARE(pointsForPlace(s, -2147483647 - 1), 0);
        QCOMPARE(pointsForPlace(s, 40), 9);
        // A short record (a damaged table) gives 0 for the missing places.
        showPointSetup(s, 3, {" 4", "5"});
        QCOMPARE(pointsForPlace(s, 1), 5);
        QCOMPARE(pointsForPlace(s, 2), 0);
    }

    void wipeGivesNoPointsAndKeepsTheSetup()
    {
        TestMeet m;
        m.makeDatabase(1, 0, 1);
        QVERIFY(selectPointSetup(m.state, 2).ok());
        wipeShownPoints(m.state);
        QCOMPARE(m.state.shownPoints.row, 2);
        for (int p = 1; p <= kPointPlaces; ++p) {
            QCOMPARE(m.state.shownPoints.places[size_t(p - 1)], QStringLiteral("0"));
            QCOMPARE(pointsForPlace(m.state, p), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestPoints)
#include "TestPoints.moc"
