#include "TestSupport.h"

#include "app/Lifecycle.h"
#include "app/MeetFile.h"
#include "app/ServerMeet.h"
#include "app/StartUp.h"
#include "db/Schema.h"

#include <QDirIterator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using namespace arenor;
using namespace arenor::test;
using lifecycle::Outcome;

namespace {

// The meet file Demomeet.mdb with one competitor's name typed in.
struct FileMeet : TestMeet {
    FileMeet()
    {
        state.currentDatabase = QStringLiteral("Demomeet.mdb");
        state.setMeetDirectory();
        makeDatabase();
        meetFilesCheck(state);
        setStoredText(state, schema::tableName(state, schema::Table::Personer), 1, 1, QStringLiteral("Kari Nordmann"));
        prompt.clear();
    }
    QString file(const QString &name) const { return dir.path() + u'/' + name; }
    QString firstName() { return storedText(state, schema::tableName(state, schema::Table::Personer), 1, 1); }
};

// The four address questions answered for a database of the test server (a name, or the
// address newServerDatabase gives).
void answerAddress(ScriptedPrompt &prompt, const QString &database, const QString &user = QStringLiteral("arenor"))
{
    prompt.clear();
    for (const QString &a : {qEnvironmentVariable("PGHOST"), qEnvironmentVariable("PGPORT"),
                             database.mid(database.lastIndexOf(u'/') + 1), user})
        prompt.setNextInput(a);
}

bool told(const ScriptedPrompt &prompt, const QString &text)
{
    return prompt.lastMessage().contains(text);
}

void adminExec(const QString &sql)
{
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("server-test-admin"));
        admin.setDatabaseName(QStringLiteral("postgres"));
        QVERIFY(admin.open());
        QSqlQuery q(admin);
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("server-test-admin"));
}

// Whether any file under dir holds text.
bool anyFileHolds(const QString &dir, const QByteArray &text)
{
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (readFile(it.next()).contains(text))
            return true;
    return false;
}

} // namespace

class TestServerMeet : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("PGHOST"))
            QSKIP("no PostgreSQL server: PGHOST is not set");
    }

    // Upload through the command, go on there, download to a file and go on with it, open the
    // server meet again through its questions: the data travels, the address is remembered.
    void uploadDownloadAndOpen()
    {
        FileMeet m;
        const QString database = newServerDatabase().section(u'/', -1);
        answerAddress(m.prompt, database);
        m.prompt.setNextAnswer(Answer::Yes);
        QCOMPARE(lifecycle::uploadToServer(m.state), Outcome::Done);
        QCOMPARE(m.prompt.unexpected(), 0);
        const QString address = m.state.currentDatabase;
        QVERIFY2(db::isServerAddress(address) && address.contains(u'/' + database), qPrintable(address));
        QVERIFY(m.state.database.onServer());
        QCOMPARE(m.firstName(), QStringLiteral("Kari Nordmann"));
        QCOMPARE(rememberedMeet(m.state), address);
        QVERIFY(m.state.windowTitle().contains(u'[' + address + u']'));
        QCOMPARE(m.state.meetDir, m.file(database) + u'/');
        // The commands that work on the file itself are refused politely.
        m.prompt.clear();
        QCOMPARE(lifecycle::compactMeetDatabase(m.state), Outcome::Stopped);
        QCOMPARE(lifecycle::repairMeetDatabase(m.state), Outcome::Stopped);
        QCOMPARE(m.prompt.messageTexts().size(), 2);

        m.prompt.clear();
        m.prompt.setNextFile(m.file(QStringLiteral("Back.mdb")));
        m.prompt.setNextAnswer(Answer::Yes);
        QCOMPARE(lifecycle::downloadFromServer(m.state), Outcome::Done);
        QCOMPARE(m.state.currentDatabase, QStringLiteral("Back.mdb"));
        QVERIFY(!m.state.database.onServer());
        QCOMPARE(m.firstName(), QStringLiteral("Kari Nordmann"));
        // Downloading a file meet, or uploading a server meet, is told and does nothing.
        m.prompt.clear();
        QCOMPARE(lifecycle::downloadFromServer(m.state), Outcome::Stopped);
        QCOMPARE(m.prompt.messageTexts().size(), 1);

        answerAddress(m.prompt, database);
        QCOMPARE(lifecycle::openServerMeet(m.state), Outcome::Done);
        QCOMPARE(m.state.currentDatabase, address);
        QCOMPARE(m.firstName(), QStringLiteral("Kari Nordmann"));
        // The same meet again reads it again.
        answerAddress(m.prompt, database);
        QCOMPARE(lifecycle::openServerMeet(m.state), Outcome::Done);
        QCOMPARE(m.prompt.messageTexts().size(), 0);
        QVERIFY(m.state.database.onServer());
        m.prompt.clear();
        QCOMPARE(lifecycle::uploadToServer(m.state), Outcome::Stopped);
        QCOMPARE(m.prompt.messageTexts().size(), 1);

        // An empty database is no meet to open; the current meet stays.
        answerAddress(m.prompt, newServerDatabase());
        QCOMPARE(lifecycle::openServerMeet(m.state), Outcome::Stopped);
        QVERIFY(told(m.prompt, m.state.texts.message(Text::FileServerNoMeet)));
        QCOMPARE(m.state.currentDatabase, address);
    }

    // A database that is not empty takes no upload, and the meet file stays as it was.
    void uploadRefused()
    {
        FileMeet m;
        m.state.database.close();
        const QByteArray before = readFile(m.file(QStringLiteral("Demomeet.mdb")));
        QVERIFY(m.state.database.open(m.state.databasePath()).ok());

        const QString withMeet = newServerDatabase().section(u'/', -1);
        answerAddress(m.prompt, withMeet);
        m.prompt.setNextAnswer(Answer::No);
        QCOMPARE(lifecycle::uploadToServer(m.state), Outcome::Done);
        QCOMPARE(m.state.currentDatabase, QStringLiteral("Demomeet.mdb"));
        answerAddress(m.prompt, withMeet);
        QCOMPARE(lifecycle::uploadToServer(m.state), Outcome::Stopped);
        QVERIFY(told(m.prompt, m.state.texts.message(Text::UploadTargetHoldsMeet).mid(3)));

        // A meet of a newer program version is not opened, and the current meet stays.
        {
            db::Database newer;
            QVERIFY(newer.open(QStringLiteral("postgresql:///") + withMeet).ok());
            QVERIFY(newer.setSchemaVersion(schema::kSchemaVersion + 1).ok());
        }
        answerAddress(m.prompt, withMeet);
        QCOMPARE(lifecycle::openServerMeet(m.state), Outcome::Stopped);
        QVERIFY(told(m.prompt, m.state.texts.message(Text::FileNewer)));
        QCOMPARE(m.state.currentDatabase, QStringLiteral("Demomeet.mdb"));

        // A database of another program.
        const QString foreign = newServerDatabase();
        {
            db::Database other;
            other.open(foreign);
            QVERIFY(other.exec(QStringLiteral("CREATE TABLE invoices (n integer)")).ok());
        }
        answerAddress(m.prompt, foreign);
        QCOMPARE(lifecycle::uploadToServer(m.state), Outcome::Stopped);
        QVERIFY(told(m.prompt, m.state.texts.message(Text::FileForeign)));

        m.state.database.close();
        QCOMPARE(readFile(m.file(QStringLiteral("Demomeet.mdb"))), before);
    }

    // A user the server asks a password of: asked hidden, a wrong one is told, the right one
    // is used and lives in memory only.
    void passwordAsked()
    {
        FileMeet m;
        const QString database = QStringLiteral("t_pw_") + QUuid::createUuid().toString(QUuid::Id128);
        adminExec(QStringLiteral("CREATE DATABASE %1 OWNER arenor_pw TEMPLATE template0").arg(database));

        answerAddress(m.prompt, database, QStringLiteral("arenor_pw"));
        m.prompt.setNextInput(QStringLiteral("wrong"));
        QCOMPARE(lifecycle::uploadToServer(m.state), Outcome::Stopped);
        QVERIFY(told(m.prompt, m.state.texts.message(Text::FilePasswordNeeded)));
        const auto &asked = m.prompt.asked();
        QVERIFY(asked.at(asked.size() - 2).input.password);
        QVERIFY(!asked.at(0).input.password);

        answerAddress(m.prompt, database, QStringLiteral("arenor_pw"));
        m.prompt.setNextInput(QStringLiteral("secret"));
        m.prompt.setNextAnswer(Answer::Yes);
        QCOMPARE(lifecycle::uploadToServer(m.state), Outcome::Done);
        QCOMPARE(m.prompt.unexpected(), 0);
        QVERIFY(m.state.database.onServer());
        QVERIFY(!m.state.currentDatabase.contains(QStringLiteral("secret")));
        // Going back to the meet after another asks nothing more in this run.
        m.state.database.close();
        m.prompt.clear();
        QVERIFY(lifecycle::meetBecameCurrent(m.state).ok());
        QCOMPARE(m.prompt.asked().size(), size_t(0));
        m.state.saveSettings();
        m.state.database.close();
        QVERIFY(!anyFileHolds(m.dir.path(), "secret"));
    }
};

QTEST_GUILESS_MAIN(TestServerMeet)
#include "TestServerMeet.moc"
