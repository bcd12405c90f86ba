// The database layer: names quoted whatever they hold, files that are no meet, records
// addressed by rowid in adding order, transactions that fail as a whole; and the meet schema,
// new and migrated, against golden files.
#include "TestSupport.h"

#include "db/Engine.h"
#include "db/RecordModel.h"
#include "db/Schema.h"
#include "db/Transfer.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace arenor;
using namespace arenor::db;
using namespace arenor::test;
using schema::Table;

namespace {

// A new, empty database file in dir, opened.
void openNew(Database &db, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("t.mdb"));
    QVERIFY(Database::create(path, Format::Modern).ok());
    QVERIFY(db.open(path).ok());
}

QStringList column(QSqlQuery &q, const QString &sql)
{
    QStringList lines;
    if (q.exec(sql))
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString();
            lines << values.join(u'|');
        }
    return lines;
}

// The schema of a file: its version, sqlite_master (without page numbers) and every table's
// columns.
QByteArray schemaDump(db::Database &d)
{
    QSqlQuery q(d.handle());
    QStringList out = column(q, QStringLiteral("PRAGMA user_version"));
    out += column(q, QStringLiteral("PRAGMA application_id"));
    out += column(q, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid"));
    for (const QString &t : d.tables())
        out += column(q, QStringLiteral("SELECT '") + t + QStringLiteral("', * FROM pragma_table_info(") +
                             db::quoteIdentifier(t).replace(u'"', u'\'') + u')');
    return (out.join(u'\n') + u'\n').toUtf8();
}

// The schema of a meet; a server meet is first brought back into a file, so the way there and
// back is checked against the same golden file.
QByteArray schemaOf(db::Database &d, const QString &dir)
{
    if (!d.onServer())
        return schemaDump(d);
    const QString path = dir + QStringLiteral("/back.mdb");
    db::Database back;
    if (!db::downloadMeet(d, path) || !back.open(path))
        return "download failed";
    return schemaDump(back);
}

// Every row of the tables a new meet fills with fixed values (of the event setups a sample).
QByteArray rowsDump(db::Database &d)
{
    QSqlQuery q(d.handle());
    QStringList out;
    for (const QString &t : d.tables()) {
        const QString where = t == schema::kOppsett
                                  ? QStringLiteral(" WHERE rowid IN (1, 441, 481, 921, 1121, 1531, 5760)")
                                  : QString();
        for (const QString &line :
             column(q, QStringLiteral("SELECT rowid, ") + d.allFields(t) + QStringLiteral(" FROM ") +
                           db::quoteIdentifier(t) + where +
                           QStringLiteral(" ORDER BY rowid")))
            out << t + u' ' + line;
    }
    return (out.join(u'\n') + u'\n').toUtf8();
}

} // namespace

class TestDatabase : public QObject {
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
        Database db;
        openNew(db, dir);
        QVERIFY(db.createTable(QStringLiteral("Personer"), numberedFields(2)).ok());
        QVERIFY(db.createTable(name, numberedFields(3)).ok());
        QVERIFY(db.tableExists(name));
        // Names match as SQLite matches them: ASCII letters blind to case, the others exactly.
        const QString upper = name.toUpper();
        const bool exists = db.tableExists(upper);
        QCOMPARE(exists, !db.createTable(upper, numberedFields(1)).ok());
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
        Cases<QByteArray, int>::columns();
        QTest::newRow("empty") << QByteArray() << int(FileProblem::Empty);
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
        {
            Database db;
            openNew(db, dir);
            QVERIFY(db.createTable(QStringLiteral("T"), numberedFields(2)).ok());
            QList<QVariantList> rows(2000,
                                     QVariantList{QStringLiteral("some text"), QStringLiteral("more text")});
            QVERIFY(db.insertRows(QStringLiteral("T"), rows).ok());
        }
        const QByteArray whole = readFile(dir.filePath(QStringLiteral("t.mdb")));
        QTest::newRow("cut to half") << whole.left(whole.size() / 2) << int(FileProblem::NotDatabase);
    }
    void openRefusesWhatIsNoMeet()
    {
        auto [content, problem] = Cases<QByteArray, int>::fetch();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.mdb"));
        writeFile(path, content);
        Database db;
        FileProblem p = FileProblem::None;
        QVERIFY(!db.open(path, &p).ok());
        QCOMPARE(int(p), problem);
        QVERIFY(!db.isOpen());
        QCOMPARE(readFile(path), content);
    }

    // Many rows written at once come back as written, in order, whatever the text holds; a
    // number in an integer field reads back as a number on either engine.
    void rowsWrittenAtOnceKeepValuesAndOrder()
    {
        TestMeet meet;
        meet.makeDatabase(1, 1, 1);
        Database &db = meet.state.database;
        QList<FieldDef> fields = numberedFields(2);
        fields.append({QStringLiteral("2"), FieldType::Integer});
        QVERIFY(db.createTable(QStringLiteral("Mange"), fields).ok());
        const QList<QVariantList> rows{{"a\"b\\c", "{x,y}", 7},
                                       {QVariant(), "NULL", QVariant()},
                                       {"", "æøå, \"", "DNS"},
                                       {"' OR 1=1 --", "3", 12}};
        QVERIFY(db.insertRows(QStringLiteral("Mange"), rows).ok());
        const QList<QVariantList> back = rowsOf(db, QStringLiteral("Mange"));
        QCOMPARE(back.size(), rows.size());
        for (qsizetype r = 0; r < rows.size(); ++r)
            for (int f = 0; f < 3; ++f) {
                QCOMPARE(back[r][f].isNull(), rows[r][f].isNull());
                QCOMPARE(back[r][f].toString(), rows[r][f].toString());
            }
        std::vector<qint64> rowids;
        std::vector<QVariantList> typed;
        QStringList names;
        QVERIFY(readTable(db, QStringLiteral("Mange"), names, rowids, typed).ok());
        QCOMPARE(typed[0][2].typeId(), int(QMetaType::LongLong));
        QCOMPARE(typed[2][2], QVariant(QStringLiteral("DNS")));
        QVERIFY(rowids[0] < rowids[1] && rowids[2] < rowids[3]);
    }

    // Records are addressed by rowid, in adding order, through a recordset and through the
    // grid's model alike: of identical rows only the one meant changes. The model writes a batch
    // once and adds records only at the end.
    void recordsAreAddressedByRowid()
    {
        QTemporaryDir dir;
        Database db;
        openNew(db, dir);
        const QString t = QStringLiteral("Klubb \"A\"");
        QList<FieldDef> fields = numberedFields(3);
        fields[2].type = FieldType::Boolean;
        QVERIFY(db.createTable(t, fields).ok());
        Recordset rs;
        QVERIFY(rs.open(db, t).ok());
        QVERIFY(rs.eof() && rs.bof());
        for (const char *v : {"c", "b", "a", "a", "a"}) { // an order no sort on the values gives
            rs.addNew();
            rs.setField(0, QString::fromLatin1(v));
            rs.setField(QStringLiteral("1"), QStringLiteral("x"));
            rs.setField(2, true);
            QVERIFY(rs.update().ok());
        }
        Recordset again;
        QVERIFY(again.open(db, t).ok());
        QCOMPARE(again.recordCount(), 5);
        again.moveTo(4);
        again.setField(1, QStringLiteral("changed"));
        QVERIFY(again.update().ok());

        RecordModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.open(db, t));
        QCOMPARE(model.columnCount(), 3);
        QSignalSpy written(&model, &RecordModel::recordWritten);
        QVERIFY(model.setData(model.index(2, 1), QStringLiteral("Ås IL")));
        QCOMPARE(written.count(), 1);
        auto rows = [&model] {
            QStringList texts;
            for (int r = 0; r < model.rowCount(); ++r)
                texts << model.text(r, 0) + model.text(r, 1);
            return texts;
        };
        QVERIFY(model.refresh());
        QCOMPARE(rows(), QStringList({"cx", "bx", "aÅs IL", "ax", "achanged"}));
        Recordset sorted;
        QVERIFY(sorted.open(db, t, QStringLiteral("0")).ok());
        QStringList byValue;
        for (sorted.moveFirst(); !sorted.eof(); sorted.moveNext())
            byValue << sorted.text(0) + sorted.text(1);
        QCOMPARE(byValue, QStringList({"aÅs IL", "ax", "achanged", "bx", "cx"}));

        model.beginBatch();
        model.setValue(0, 0, QStringLiteral("d"));
        model.setValue(0, 1, QStringLiteral("y"));
        QCOMPARE(written.count(), 1);
        QVERIFY(model.endBatch());
        QCOMPARE(written.count(), 2);
        QCOMPARE(model.appendRecord({" 4"}), 5);
        QVERIFY(model.removeRows(1, 1));
        QVERIFY(!model.insertRows(0, 1));
        QVERIFY(model.refresh());
        QCOMPARE(rows(), QStringList({"dy", "aÅs IL", "ax", "achanged", " 4"}));
        model.close();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.setValue(0, 0, QStringLiteral("x")));
    }

    void failedTransactionLeavesTableAsItWas()
    {
        QTemporaryDir dir;
        Database db;
        openNew(db, dir);
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

    // The schema and the rows of a new meet, byte for byte.
    void newMeetMatchesTheGoldenFiles()
    {
        TestMeet meet;
        meet.state.dateStamp = QStringLiteral("2026.01.02");
        meet.makeDatabase(5, 2, 2);
        compareWithGolden(schemaOf(meet.state.database, meet.dir.path()), QStringLiteral("schema_new_meet.txt"));
        compareWithGolden(rowsDump(meet.state.database), QStringLiteral("rows_new_meet.txt"));
        QCOMPARE(meet.state.catalogs.persons[5].startNo, QStringLiteral(" 5"));
        QCOMPARE(meet.state.catalogs.persons[5].contingentCode, qint16(1));
        QCOMPARE(meet.state.catalogs.clubs[2], QStringLiteral("-"));
        QCOMPARE(meet.state.catalogs.relays[2].club, QStringLiteral("-"));
    }

    // An older meet file (timing setup of 24 fields, of 26, or with every field added before
    // there were versions) is brought to the schema of a new meet when it is opened.
    void olderMeetIsMigratedOnOpen_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("fieldsAddedEarlier");
        QTest::newRow("first version") << 0 << false;
        QTest::newRow("second version") << 1 << false;
        QTest::newRow("third version") << 2 << false;
        QTest::newRow("fields added before versions") << 0 << true;
    }
    void olderMeetIsMigratedOnOpen()
    {
        QFETCH(int, version);
        QFETCH(bool, fieldsAddedEarlier);
        TestMeet meet;
        const QString path = meet.state.databasePath();
        QVERIFY(db::Database::create(path, db::Format::Modern).ok());
        {
            db::Database d;
            QVERIFY(d.open(path).ok());
            for (Table t : schema::meetTables()) {
                QList<db::FieldDef> fields;
                for (const schema::FieldSpec &f : schema::fieldSpecs(t))
                    if (f.since <= version || fieldsAddedEarlier)
                        fields << f.def;
                QVERIFY(d.createTable(schema::tableName(t), fields).ok());
            }
            QVariantList timing = schema::timingSetupRow();
            if (fieldsAddedEarlier) {
                timing[schema::kTimingInterval] = QStringLiteral("7");
                timing[schema::kTimingGpioChip] = QStringLiteral("/dev/gpiochip2");
            } else if (version < 2) {
                timing.resize(version == 0 ? schema::kTimingInterval : schema::kTimingGpioChip);
            }
            QVERIFY(d.insertRows(schema::kTidtakingoppsett, {timing}).ok());
            QVERIFY(d.setSchemaVersion(version).ok());
        }
        db::Database d;
        QVERIFY(schema::openMeet(d, path).ok());
        QCOMPARE(d.schemaVersion(), schema::kSchemaVersion);
        QCOMPARE(d.format(), db::Format::Modern);
        if (!fieldsAddedEarlier)
            compareWithGolden(schemaDump(d), QStringLiteral("schema_new_meet.txt"));
        db::Recordset rs;
        QVERIFY(rs.open(d, schema::kTidtakingoppsett).ok());
        QCOMPARE(rs.text(schema::kTimingInterval),
                 fieldsAddedEarlier ? QStringLiteral("7") : QStringLiteral("1"));
        QCOMPARE(rs.text(schema::kTimingDelay), QStringLiteral("10"));
        QCOMPARE(rs.text(schema::kTimingGpioChip),
                 fieldsAddedEarlier ? QStringLiteral("/dev/gpiochip2") : QStringLiteral("/dev/gpiochip0"));
        QCOMPARE(rs.text(schema::kTimingFields - 1), QString());
    }

    // A new meet in test mode with the English tables: sample names and English rows.
    void testModeAndLanguageOfTheMoment()
    {
        TestMeet meet;
        meet.state.options[OptTestMode] = true;
        meet.state.texts.load(Language::English);
        meet.state.dateStamp = QStringLiteral("2026.01.02");
        meet.makeDatabase(8, 1, 3);
        compareWithGolden(rowsDump(meet.state.database), QStringLiteral("rows_test_mode_en.txt"));
        QCOMPARE(meet.state.catalogs.persons[7].name, QStringLiteral("Etter7 Forn7"));
    }

    // Yes to "Personer exists. Do you want to overwrite the old one?" builds it anew (the No
    // answer is tried by the reset).
    void existingTableReplacedOnYes()
    {
        TestMeet meet;
        meet.makeDatabase(3, 1, 2);
        AppState &s = meet.state;
        QVERIFY(
            s.database.exec(QStringLiteral("UPDATE \"Personer\" SET \"1\" = 'Kari' WHERE rowid = 2")).ok());
        meet.prompt.clear();
        meet.prompt.setNextAnswer(Answer::Yes);
        s.catalogs.personCount = 9;
        QVERIFY(schema::initPersons(s).ok());
        QCOMPARE(meet.prompt.lastMessage(),
                 QStringLiteral("Personer eksisterer.Vil du overskrive den gamle!"));
        QCOMPARE(s.database.recordCount(QStringLiteral("Personer")), 9);
        QCOMPARE(storedText(s, QStringLiteral("Personer"), 2, 1), QStringLiteral("-"));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "TestDatabase.moc"
