#include "TestSupport.h"

#include "db/RecordModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace arenor;
using namespace arenor::test;

class TestRecordModel : public QObject {
    Q_OBJECT
private slots:
    void editsReachTheRightRowByRowid()
    {
        TestMeet meet;
        db::Database &d = meet.state.database;
        QVERIFY(db::Database::create(meet.state.databasePath(), db::Format::Modern).ok());
        QVERIFY(d.open(meet.state.databasePath()).ok());
        QVERIFY(d.createTable(QStringLiteral("Klubb \"A\""), db::numberedFields(3)).ok());
        // Two records with equal values: only rowid tells them apart.
        QVERIFY(d.insertRows(QStringLiteral("Klubb \"A\""), {{" 1", "-", "-"}, {" 1", "-", "-"}, {" 3", "x", "y"}}).ok());
        db::RecordModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.open(d, QStringLiteral("Klubb \"A\"")));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 3);
        QSignalSpy written(&model, &db::RecordModel::recordWritten);
        QVERIFY(model.setData(model.index(1, 1), QStringLiteral("Ås IL")));
        QCOMPARE(written.count(), 1);
        QVERIFY(model.refresh());
        QCOMPARE(model.text(0, 1), QStringLiteral("-"));
        QCOMPARE(model.text(1, 1), QStringLiteral("Ås IL"));

        // A batch writes once.
        model.beginBatch();
        model.setValue(2, 1, QStringLiteral("a"));
        model.setValue(2, 2, QStringLiteral("b"));
        QCOMPARE(written.count(), 1);
        QVERIFY(model.endBatch());
        QCOMPARE(written.count(), 2);
        QVERIFY(model.refresh());
        QCOMPARE(model.record(2), QVariantList({" 3", "a", "b"}));

        QCOMPARE(model.appendRecord({" 4"}), 3);
        QVERIFY(model.removeRows(0, 1));
        QVERIFY(model.refresh());
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.text(0, 1), QStringLiteral("Ås IL"));
        QCOMPARE(model.text(2, 0), QStringLiteral(" 4"));
        QVERIFY(!model.insertRows(0, 1)); // records are only added at the end

        model.close();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.setValue(0, 0, QStringLiteral("x")));
    }
};

QTEST_GUILESS_MAIN(TestRecordModel)
#include "TestRecordModel.moc"
