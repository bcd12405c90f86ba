#include "db/Engine.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace arenor;
using namespace arenor::db;

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void quotesAnyName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("quote") << QStringLiteral("Kl\"asse \"\"x");
        QTest::newRow("non-ascii") << QStringLiteral("Øvelse_Høyde_Jenter_9_år");
        QTest::newRow("sql") << QStringLiteral("x\"; DROP TABLE \"Personer\"; --");
    }
    void quotesAnyName()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("q.mdb"));
        QVERIFY(Database::create(path, Format::Modern).ok());
        Database db;
        QVERIFY(db.open(path).ok());
        QVERIFY(db.createTable(QStringLiteral("Personer"), numberedFields(2)).ok());
        QVERIFY(db.createTable(name, numberedFields(3)).ok());
        QVERIFY(db.tableExists(name));
        QVERIFY(db.tables().contains(QStringLiteral("Personer")));
        QVERIFY(db.insertRows(name, {{"a", "b", "c"}}).ok());
        Recordset rs;
        QVERIFY(rs.open(db, name).ok());
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.fieldNames(), QStringList({"0", "1", "2"}));
        QVERIFY(db.dropTable(name).ok());
        QVERIFY(!db.tableExists(name));
        QVERIFY(db.tableExists(QStringLiteral("Personer")));
    }

    void openRefusesWhatIsNoMeet_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("problem");
        QTest::newRow("empty") << QByteArray() << int(FileProblem::Empty);
        QTest::newRow("text") << QByteArray("hello world, not a database at all").repeated(4)
                              << int(FileProblem::NotDatabase);
        QTest::newRow("old windows") << QByteArray("\0\x01\0\0Standard Jet DB", 19).leftJustified(200, '\0')
                                     << int(FileProblem::OldFormat);
        QByteArray damaged("SQLite format 3\0", 16);
        damaged += QByteArray(84, '\0');
        damaged[16] = '\x01'; // an impossible page size
        damaged += QByteArray(4000, '\x5a');
        QTest::newRow("damaged header") << damaged << int(FileProblem::NotDatabase);
        QByteArray foreign("SQLite format 3\0", 16);
        foreign += QByteArray(84, '\0');
        foreign[68] = 0x12;
        QTest::newRow("other program") << foreign << int(FileProblem::Foreign);
        // A meet cut to half its bytes: its header still looks whole.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("half.mdb"));
        QByteArray whole;
        {
            QVERIFY(Database::create(path, Format::Modern).ok());
            Database db;
            QVERIFY(db.open(path).ok());
            QVERIFY(db.createTable(QStringLiteral("T"), numberedFields(2)).ok());
            QList<QVariantList> rows(2000,
                                     QVariantList{QStringLiteral("some text"), QStringLiteral("more text")});
            QVERIFY(db.insertRows(QStringLiteral("T"), rows).ok());
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        whole = f.readAll();
        QTest::newRow("cut to half") << whole.left(whole.size() / 2) << int(FileProblem::NotDatabase);
    }
    void openRefusesWhatIsNoMeet()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, problem);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.mdb"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        Database db;
        FileProblem p = FileProblem::None;
        QVERIFY(!db.open(path, &p).ok());
        QCOMPARE(int(p), problem);
        QVERIFY(!db.isOpen());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
        QVERIFY(!db.open(dir.filePath(QStringLiteral("missing.mdb")), &p).ok());
        QCOMPARE(p, FileProblem::Missing);
    }

    void recordsetNavigatesInAddingOrder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.mdb"));
        QVERIFY(Database::create(path, Format::Modern).ok());
        Database db;
        QVERIFY(db.open(path).ok());
        QList<FieldDef> fields = numberedFields(3);
        fields[2].type = FieldType::Boolean;
        QVERIFY(db.createTable(QStringLiteral("T"), fields).ok());
        Recordset rs;
        QVERIFY(rs.open(db, QStringLiteral("T")).ok());
        QVERIFY(rs.eof() && rs.bof());
        // Added in an order that no sort on the values would give.
        for (const char *v : {"c", "a", "b", "a"}) {
            rs.addNew();
            rs.setField(0, QString::fromLatin1(v));
            rs.setField(QStringLiteral("1"), QStringLiteral("x"));
            rs.setField(2, true);
            QVERIFY(rs.update().ok());
        }
        Recordset again;
        QVERIFY(again.open(db, QStringLiteral("T")).ok());
        QCOMPARE(again.recordCount(), 4);
        QStringList order;
        for (again.moveFirst(); !again.eof(); again.moveNext())
            order << again.text(0);
        QCOMPARE(order, QStringList({"c", "a", "b", "a"}));
        // Changing the second of two identical-looking rows changes only that row.
        again.moveTo(3);
        again.setField(1, QStringLiteral("changed"));
        QVERIFY(again.update().ok());
        Recordset check;
        QVERIFY(check.open(db, QStringLiteral("T")).ok());
        check.moveTo(1);
        QCOMPARE(check.text(1), QStringLiteral("x"));
        check.moveTo(3);
        QCOMPARE(check.text(1), QStringLiteral("changed"));

        Recordset sorted;
        QVERIFY(sorted.open(db, QStringLiteral("T"), QStringLiteral("0")).ok());
        QStringList s;
        for (sorted.moveFirst(); !sorted.eof(); sorted.moveNext())
            s << sorted.text(0) + sorted.text(1);
        QCOMPARE(s, QStringList({"ax", "achanged", "bx", "cx"}));
    }

    void failedTransactionLeavesTableAsItWas()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        QVERIFY(Database::create(path, Format::Modern).ok());
        Database db;
        QVERIFY(db.open(path).ok());
        QVERIFY(db.createTable(QStringLiteral("T"), numberedFields(1)).ok());
        QVERIFY(db.insertRows(QStringLiteral("T"), {{"keep"}}).ok());
        Status s = db.transaction([&]() -> Status {
            if (Status d = db.dropTable(QStringLiteral("T")); !d)
                return d;
            return Status::failure(QStringLiteral("crash half way"));
        });
        QVERIFY(!s.ok());
        QCOMPARE(db.recordCount(QStringLiteral("T")), 1);
        QVERIFY(!db.exec(QStringLiteral("SELECT * FROM nowhere")).ok());
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "TestEngine.moc"
