#include "TestSupport.h"

#include "app/MeetFile.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace arenor::test {

TestMeet::TestMeet()
{
    state.programDir = dir.path();
    state.prompt = &prompt;
    state.editor = &editor;
    state.setMeetDirectory();
}

void TestMeet::makeDatabase(int persons, int relays, int clubs)
{
    state.catalogs.personCount = persons;
    state.catalogs.relayCount = relays;
    state.catalogs.clubCount = clubs;
    prompt.setNextAnswer(Answer::Yes); // format question
    QVERIFY(createMeetFile(state).ok());
    QVERIFY(state.database.open(state.databasePath()).ok());
}

QString storedText(AppState &state, const QString &table, int record, int field)
{
    db::Recordset rs;
    if (!rs.open(state.database, table))
        return QStringLiteral("<no table>");
    rs.moveTo(record - 1);
    return rs.text(field);
}

void setStoredText(AppState &state, const QString &table, int record, int field, const QString &value)
{
    QVERIFY(state.database
                .exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                          .arg(db::quoteIdentifier(table), db::quoteIdentifier(QString::number(field))),
                      {value, record})
                .ok());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

QList<QVariantList> rowsOf(db::Database &database, const QString &table)
{
    QList<QVariantList> rows;
    QSqlQuery q(database.handle());
    q.exec(QStringLiteral("SELECT * FROM ") + db::quoteIdentifier(table) + QStringLiteral(" ORDER BY rowid"));
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        rows << row;
    }
    return rows;
}

QString dataFile(const QString &name)
{
    return qEnvironmentVariable("ARENOR_TEST_DATA") + u'/' + name;
}

void compareWithGolden(const QByteArray &actual, const QString &name)
{
    if (qEnvironmentVariableIsSet("ARENOR_WRITE_GOLDEN"))
        writeFile(dataFile(name), actual);
    QCOMPARE(actual, readFile(dataFile(name)));
}

} // namespace arenor::test
