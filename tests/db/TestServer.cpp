// A meet on a server against what goes wrong there: a server that cannot be reached, a wrong
// password, a database of another program or of a newer version, an upload cut off half way,
// two stations uploading at once, and the way from a file to the server and back with odd
// values. Skipped where no server is given (PGHOST).
#include "TestSupport.h"

#include "db/Engine.h"
#include "db/Schema.h"
#include "db/Transfer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

using namespace arenor;
using namespace arenor::db;
using namespace arenor::test;

namespace {

// Runs statements on the server's maintenance database (or another) as the test user.
bool serverExec(const QStringList &statements, const QString &database = QStringLiteral("postgres"))
{
    const QString name = QStringLiteral("server-test-") + QString::number(quintptr(QThread::currentThreadId()));
    bool done = true;
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setDatabaseName(database);
        done = admin.open();
        QSqlQuery q(admin);
        for (const QString &sql : statements)
            if (done && !q.exec(sql)) {
                qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
                done = false;
            }
        q.finish();
        admin.close();
    }
    QSqlDatabase::removeDatabase(name);
    return done;
}

QString databaseOf(const QString &address)
{
    return ServerAddress::parse(address).value_or(ServerAddress{}).database;
}

// Ends the server's connection `backend` from a connection of its own once its transaction
// has made a good part of a meet (many relations locked), as a dropped network would.
void cutOffWhenHalfWay(int backend, const std::atomic<bool> &stop)
{
    const QString name = QStringLiteral("server-test-killer");
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (admin.open()) {
            QSqlQuery q(admin);
            const QString sql = QStringLiteral(
                "SELECT pg_terminate_backend(%1) FROM pg_locks WHERE pid = %1 AND locktype = 'relation' "
                "HAVING count(*) > 30").arg(backend);
            while (!stop && !(q.exec(sql) && q.next() && q.value(0).toBool()))
                QThread::msleep(1);
            q.finish();
            admin.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

// The tables of the server database as another station sees them.
QStringList serverTables(const QString &address)
{
    Database look;
    FileProblem problem = FileProblem::None;
    look.open(address, &problem);
    return look.isOpen() ? look.tables() : QStringList{QStringLiteral("<cannot open>")};
}

// Every table of a meet file as SQLite declares and holds it: its fields with their declared
// types, and every row with the type of each value, in record order; and the version.
QStringList fileDump(const QString &path)
{
    Database d;
    if (!d.open(path))
        return {QStringLiteral("<cannot open>")};
    QStringList out;
    QSqlQuery q(d.handle());
    q.exec(QStringLiteral("PRAGMA user_version"));
    out << QStringLiteral("user_version ") + (q.next() ? q.value(0).toString() : QString());
    for (const QString &t : d.tables()) {
        out << QStringLiteral("table ") + t;
        q.exec(QStringLiteral("PRAGMA table_info(") + quoteIdentifier(t) + u')');
        while (q.next())
            out << QStringLiteral("  field %1 %2 %3").arg(q.value(0).toString(), q.value(1).toString(),
                                                           q.value(2).toString());
        q.exec(QStringLiteral("SELECT rowid, * FROM ") + quoteIdentifier(t) + QStringLiteral(" ORDER BY rowid"));
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i) {
                const QVariant v = q.value(i);
                values << (v.isNull() ? QStringLiteral("NULL") : QString::fromLatin1(v.typeName()) + u':' + v.toString());
            }
            out << QStringLiteral("  ") + values.join(u'|');
        }
    }
    return out;
}

// A small meet file with grids, field-event rows and odd values in them.
QString oddMeet(TestMeet &meet)
{
    meet.makeDatabase(15, 5, 5);
    Database &d = meet.state.database;
    const QString grid = QStringLiteral("Klasse_Finale_Lengde_Menn");
    // Typed columns as the grid tables and older files have them.
    const QList<FieldDef> fields{{QStringLiteral("0"), FieldType::Integer}, {QStringLiteral("1"), FieldType::Text},
                                 {QStringLiteral("2"), FieldType::Double},  {QStringLiteral("3"), FieldType::Boolean},
                                 {QStringLiteral("Navn \"kalt\" Ø"), FieldType::Text}};
    const QString unicodeGrid = QStringLiteral("Klasse_Finale_Høyde_Jenter 'Ø'");

    const QList<QVariantList> rows{
        {1, QStringLiteral(""), 0.1, true, QStringLiteral("O'Brien \"Ø\" Ærø")},
        {QStringLiteral("DNS"), QVariant(), 1e-7, false, QString()},
        {QVariant(), QStringLiteral("007"), 5, QVariant(), QStringLiteral("12")},
        {QStringLiteral("12abc"), QStringLiteral("12"), QStringLiteral("x"), QStringLiteral("1"), QStringLiteral(" ")},
        {2.5, 3.25, QStringLiteral("inf"), 0, QStringLiteral("𝄞 日本")},
        {qlonglong(9007199254740993), QStringLiteral("1e3"), -2.5e-300, 2, QStringLiteral("0x10")},
        {QStringLiteral(""), QStringLiteral("-0"), QStringLiteral(""), QStringLiteral("DNF"), QStringLiteral("a\nb\tc")},
        // Overflowing numbers SQLite keeps as infinite reals.
        {QStringLiteral("1e999"), QStringLiteral("1e999"), QStringLiteral("-1e999"), QStringLiteral("inf"), QStringLiteral("Inf")},
    };
    if (!d.createTable(grid, fields) || !d.insertRows(grid, rows) || !d.createTable(unicodeGrid, fields) ||
        !d.insertRows(unicodeGrid, rows))
        return {};
    // A deleted record leaves a gap in the record numbers that must stay.
    if (!d.exec(QStringLiteral("DELETE FROM ") + quoteIdentifier(grid) + QStringLiteral(" WHERE rowid = 3")))
        return {};
    const QList<QVariantList> attempts{{grid, 1, 1, QStringLiteral("7.12"), QStringLiteral("+1.9")},
                                       {grid, 1, 2, QStringLiteral("X"), QString()},
                                       {grid, 2, 1, QStringLiteral(""), QVariant()}};
    if (!d.insertRows(schema::kForsok, attempts) ||
        !d.insertRows(schema::kHoyder, {{unicodeGrid, 0, QStringLiteral("1.50"), QStringLiteral("1")}}) ||
        !d.insertRows(schema::kHoydekort, {{unicodeGrid, 7, 0, QStringLiteral("xxo"), QString()}}))
        return {};
    return d.path();
}

} // namespace

class TestServer : public QObject {
    Q_OBJECT
    QStringList m_made;

    // A new, empty database on the server, dropped when the test ends.
    QString newDatabase()
    {
        const QString address = newServerDatabase();
        m_made << databaseOf(address);
        return address;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("PGHOST"))
            QSKIP("no server: PGHOST is not set");
    }

    void cleanupTestCase()
    {
        for (const QString &name : m_made)
            serverExec({QStringLiteral("DROP DATABASE IF EXISTS ") + quoteIdentifier(name) +
                        QStringLiteral(" WITH (FORCE)")});
    }

    // Unreachable servers and refused passwords say so, and leave nothing open.
    void serverDownAndPasswords()
    {
        const QString address = newDatabase();
        ServerAddress wrongPort = *ServerAddress::parse(address);
        wrongPort.host = qEnvironmentVariable("PGHOST");
        wrongPort.port = qEnvironmentVariableIntValue("PGPORT") + 1;
        ServerAddress noSocket = wrongPort;
        const QTemporaryDir emptyDir;
        noSocket.host = emptyDir.path();
        noSocket.port = -1;
        for (const ServerAddress &a : {wrongPort, noSocket}) {
            Database d;
            FileProblem problem = FileProblem::None;
            const Status s = d.open(a.toString(), &problem);
            QVERIFY(!s.ok());
            QCOMPARE(problem, FileProblem::ServerDown);
            QVERIFY(!d.isOpen());
            QVERIFY2(s.error().contains(a.toString()), qPrintable(s.error()));
            QVERIFY2(s.error().contains(QStringLiteral("connect")), qPrintable(s.error()));
        }

        ServerAddress pw = *ServerAddress::parse(address);
        pw.user = QStringLiteral("arenor_pw");
        for (const QString &password : {QString(), QStringLiteral("wrong")}) {
            Database d;
            FileProblem problem = FileProblem::None;
            const Status s = d.open(pw.toString(), &problem, password);
            QVERIFY(!s.ok());
            QCOMPARE(problem, FileProblem::PasswordNeeded);
            QVERIFY(!d.isOpen());
            QVERIFY(!s.error().contains(QStringLiteral("wrong")) || password.isEmpty());
        }
        Database d;
        FileProblem problem = FileProblem::None;
        QVERIFY(!d.open(pw.toString(), &problem, QStringLiteral("secret")).ok());
        QCOMPARE(problem, FileProblem::Empty);
        QVERIFY(d.isOpen());
        QCOMPARE(d.password(), QStringLiteral("secret"));
        QVERIFY(!d.path().contains(QStringLiteral("secret")));
    }

    // A database of another program, and a meet of a newer version, are refused untouched.
    void foreignAndNewerRefused()
    {
        const QString foreign = newDatabase();
        QVERIFY(serverExec({QStringLiteral("CREATE TABLE results (x integer)")}, databaseOf(foreign)));
        Database d;
        FileProblem problem = FileProblem::None;
        QVERIFY(!d.open(foreign, &problem).ok());
        QCOMPARE(problem, FileProblem::Foreign);
        QVERIFY(!d.isOpen());
        Database upload;
        problem = FileProblem::None;
        upload.open(foreign, &problem);
        QVERIFY(!upload.isOpen());

        TestMeet meet;
        meet.makeDatabase();
        const QString newer = newDatabase();
        {
            Database server;
            server.open(newer, &problem);
            QVERIFY(uploadMeet(meet.state.database, server).ok());
        }
        const int version = userVersion(Format::Modern, schema::kSchemaVersion + 1);
        QVERIFY(serverExec({QStringLiteral("UPDATE arenor_meet SET user_version = %1").arg(version)}, databaseOf(newer)));
        QVERIFY(!schema::openMeet(d, newer, &problem).ok());
        QCOMPARE(problem, FileProblem::Newer);
        QVERIFY(!d.isOpen());
        QVERIFY(d.open(newer).ok());
        QCOMPARE(d.schemaVersion(), schema::kSchemaVersion + 1);
    }

    // An upload that fails half way, by an object in its way or by the connection cut off,
    // leaves the server database empty and the file as it was.
    void failedUploadLeavesNothing()
    {
        TestMeet meet;
        meet.makeDatabase();
        Database &file = meet.state.database;
        const QString path = file.path();
        const QByteArray before = readFile(path);
        const QStringList tables = file.tables();
        QVERIFY(tables.size() > 10);

        // A view named like a table in the middle of the meet: the database still counts as empty.
        const QString blocked = newDatabase();
        QVERIFY(serverExec({QStringLiteral("CREATE VIEW ") + quoteIdentifier(tables[tables.size() / 2]) +
                            QStringLiteral(" AS SELECT 1 AS x")},
                           databaseOf(blocked)));
        {
            Database server;
            FileProblem problem = FileProblem::None;
            server.open(blocked, &problem);
            QCOMPARE(problem, FileProblem::Empty);
            QVERIFY(!uploadMeet(file, server).ok());
        }
        QCOMPARE(serverTables(blocked), QStringList());

        // The connection ended by the server while the upload's transaction is open.
        const QString cut = newDatabase();
        Database server;
        FileProblem problem = FileProblem::None;
        server.open(cut, &problem);
        QSqlQuery pid(server.handle());
        QVERIFY(pid.exec(QStringLiteral("SELECT pg_backend_pid()")) && pid.next());
        const int backend = pid.value(0).toInt();
        std::atomic<bool> stop = false;
        std::thread killer([&] { cutOffWhenHalfWay(backend, stop); });
        const Status s = uploadMeet(file, server);
        stop = true;
        killer.join();
        QVERIFY2(!s.ok(), "the upload ended by the server reported success");
        server.close();
        QCOMPARE(serverTables(cut), QStringList());
        QCOMPARE(readFile(path), before);
        QCOMPARE(file.tables(), tables);
    }

    // Two stations upload to one database at once: one meet arrives, the other is told.
    void twoStationsUploadAtOnce()
    {
        TestMeet meet;
        meet.makeDatabase();
        const QString path = meet.state.database.path();
        meet.state.database.close();
        const QString address = newDatabase();
        std::atomic<int> ready = 0;
        Status results[2];
        auto station = [&](int i) {
            Database from;
            Database to;
            FileProblem problem = FileProblem::None;
            if (!from.open(path)) {
                results[i] = Status::failure(QStringLiteral("file"));
                ++ready;
                return;
            }
            to.open(address, &problem);
            ++ready;
            while (ready < 2)
                std::this_thread::yield();
            results[i] = problem == FileProblem::Empty ? uploadMeet(from, to) : Status::failure(QStringLiteral("open"));
        };
        std::thread a(station, 0);
        std::thread b(station, 1);
        a.join();
        b.join();
        QVERIFY2(results[0].ok() != results[1].ok(), qPrintable(results[0].error() + QStringLiteral(" / ") + results[1].error()));
        const Status &refused = results[0].ok() ? results[1] : results[0];
        QVERIFY2(refused.error().contains(QStringLiteral("not empty")), qPrintable(refused.error()));
        Database d;
        QVERIFY(schema::openMeet(d, address).ok());
    }

    // File to server and back: every table with the same declared types and the same rows in
    // the same order, values of the same types, and the same version.
    void roundTripKeepsEveryValue()
    {
        TestMeet meet;
        const QString path = oddMeet(meet);
        QVERIFY(!path.isEmpty());
        const QStringList original = fileDump(path);
        const QString address = newDatabase();
        Database server;
        FileProblem problem = FileProblem::None;
        server.open(address, &problem);

        // Long event and class names make a grid name past the 63 bytes the server keeps of a
        // name: refused whole rather than cut short.
        Database &file = meet.state.database;
        const QString longGrid = QStringLiteral("Klasse_Kvalifisering_Høydehopp_uten_tilløp_Kvinner_veteraner_Østfold");
        QVERIFY(file.createTable(longGrid, {{QStringLiteral("0")}}).ok());
        const Status refused = uploadMeet(file, server);
        QVERIFY2(refused.error().contains(longGrid), qPrintable(refused.error()));
        QCOMPARE(server.tables(), QStringList());
        QVERIFY(file.dropTable(longGrid).ok());

        QVERIFY(uploadMeet(file, server).ok());
        server.close();
        QVERIFY(server.open(address).ok());
        const QString back = meet.dir.filePath(QStringLiteral("back.mdb"));
        QVERIFY(downloadMeet(server, back).ok());
        const QStringList returned = fileDump(back);
        for (qsizetype i = 0; i < std::min(original.size(), returned.size()); ++i)
            QCOMPARE(returned[i], original[i]);
        QCOMPARE(returned.size(), original.size());
        // A download never overwrites a file.
        QVERIFY(!downloadMeet(server, back).ok());
        QCOMPARE(fileDump(back), original);
    }
};

QTEST_GUILESS_MAIN(TestServer)
#include "TestServer.moc"
