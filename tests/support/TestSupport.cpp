#include "TestSupport.h"

#include "app/MeetFile.h"

#include <QFile>
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

QString dataFile(const QString &name)
{
    return qEnvironmentVariable("ARENOR_TEST_DATA") + u'/' + name;
}

} // namespace arenor::test
