#include "TestSupport.h"

#include "base/Convert.h"
#include "db/Schema.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace arenor;
using namespace arenor::test;
using schema::Table;

namespace {

QString cell(AppState &s, Table t, int record, int field)
{
    db::Recordset rs;
    if (!rs.open(s.database, schema::tableName(t)))
        return QStringLiteral("<no table>");
    rs.moveTo(record - 1);
    return rs.field(field).toString();
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
QString schemaDump(db::Database &d)
{
    QSqlQuery q(d.handle());
    QStringList out = column(q, QStringLiteral("PRAGMA user_version"));
    out += column(q, QStringLiteral("PRAGMA application_id"));
    out += column(q, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid"));
    for (const QString &t : d.tables())
        out += column(q, QStringLiteral("SELECT '") + t + QStringLiteral("', * FROM pragma_table_info(") +
                             db::quoteIdentifier(t).replace(u'"', u'\'') + u')');
    return out.join(u'\n') + u'\n';
}

// Every row of the tables a new meet fills with fixed values (of the event setups a sample).
QString rowsDump(db::Database &d)
{
    QSqlQuery q(d.handle());
    QStringList out;
    for (const QString &t : d.tables()) {
        const QString where = t == schema::kOppsett
                                  ? QStringLiteral(" WHERE rowid IN (1, 441, 481, 921, 1121, 1531, 5760)")
                                  : QString();
        for (const QString &line :
             column(q, QStringLiteral("SELECT rowid, * FROM ") + db::quoteIdentifier(t) + where +
                           QStringLiteral(" ORDER BY rowid")))
            out << t + u' ' + line;
    }
    return out.join(u'\n') + u'\n';
}

void compareWithGolden(const QString &actual, const QString &name)
{
    const QString path = dataFile(name);
    if (qEnvironmentVariableIsSet("ARENOR_WRITE_GOLDEN")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(actual.toUtf8());
    }
    QCOMPARE(actual, QString::fromUtf8(readFile(path)));
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT
private slots:
    // The schema and the rows of a new meet, byte for byte.
    void newMeetMatchesTheGoldenFiles()
    {
        TestMeet meet;
        meet.state.dateStamp = QStringLiteral("2026.01.02");
        meet.makeDatabase(5, 2, 2);
        compareWithGolden(schemaDump(meet.state.database), QStringLiteral("schema_new_meet.txt"));
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
            } else {
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

    void testModeAndLanguageOfTheMoment()
    {
        TestMeet meet;
        meet.state.options[OptTestMode] = true;
        meet.state.texts.load(Language::English);
        meet.makeDatabase(8, 1, 3);
        AppState &s = meet.state;
        QCOMPARE(cell(s, Table::Personer, 7, 1), QStringLiteral("Forn7"));
        QCOMPARE(cell(s, Table::Personer, 7, 2), QStringLiteral("Etter7"));
        QCOMPARE(cell(s, Table::Personer, 7, 5), QStringLiteral("Misc- 7 5"));
        QCOMPARE(cell(s, Table::Klubber, 1, 1), QStringLiteral("Club 1"));
        QCOMPARE(cell(s, Table::Klubber, 3, 5), QStringLiteral("Misc- 3 5"));
        QCOMPARE(cell(s, Table::Pamelding, 9, 13), QStringLiteral("1"));
        QCOMPARE(cell(s, Table::Pamelding, 9, 2), QStringLiteral("0"));
        QCOMPARE(cell(s, Table::Klasser, 22, 1), QStringLiteral("Boys_8_year"));
        QCOMPARE(cell(s, Table::Ovelser, 1, 1), QStringLiteral("Sledge"));
        QCOMPARE(s.catalogs.persons[7].name, QStringLiteral("Etter7 Forn7"));
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
        QCOMPARE(cell(s, Table::Personer, 2, 1), QStringLiteral("-"));
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "TestSchema.moc"
