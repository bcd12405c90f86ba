#pragma once
// What the benchmark programs share: the largest meet in a temporary program directory, moved
// to a server when asked, and a main that runs the benchmarks under an offscreen application.

#include "RecordingEditorLauncher.h"
#include "ScriptedPrompt.h"
#include "app/MeetFile.h"
#include "db/AppState.h"
#include "db/Schema.h"
#include "db/Transfer.h"

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <benchmark/benchmark.h>

namespace arenor::bench {

// A meet at the largest register sizes, every table made; testMode fills names, clubs and
// classes in every record.
struct LargestMeet {
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompt prompt;
    bool ok = false;

    explicit LargestMeet(bool testMode = false)
    {
        state.programDir = dir.path();
        state.prompt = &prompt;
        state.options[size_t(OptTestMode)] = testMode;
        state.setMeetDirectory();
        state.catalogs.personCount = kMaxPersons;
        state.catalogs.relayCount = kMaxRelays;
        state.catalogs.clubCount = kMaxClubs;
        prompt.setNextAnswer(Answer::Yes);
        ok = createMeetFile(state) && state.database.open(state.databasePath());
    }
    ~LargestMeet() { dropServerDatabase(); }

    // The server of PGHOST, PGPORT and PGUSER; without it the server benchmarks are skipped.
    static bool serverGiven() { return !qEnvironmentVariableIsEmpty("PGHOST"); }
    static constexpr const char *kNoServer = "no server: set PGHOST, PGPORT and PGUSER (. /work/pgenv) "
                                             "to measure a meet on a server";

    // Moves the meet to a new database on the server over its socket and opens it there, as a
    // station does after uploading. The database is dropped again at the end.
    QString moveToServer()
    {
        if (!ok)
            return QStringLiteral("no meet");
        serverDatabase = QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128);
        if (!adminExec(QStringLiteral("CREATE DATABASE ") + db::quoteIdentifier(serverDatabase) +
                       QStringLiteral(" TEMPLATE template0"))) {
            serverDatabase.clear();
            return QStringLiteral("cannot make a database on the server");
        }
        const QString address = QStringLiteral("postgresql:///") + serverDatabase;
        db::Database server;
        db::FileProblem problem = db::FileProblem::None;
        server.open(address, &problem);
        if (problem != db::FileProblem::Empty)
            return QStringLiteral("the new server database does not open empty");
        if (Status s = db::uploadMeet(state.database, server); !s)
            return s.error();
        server.close();
        state.database.close();
        state.currentDatabase = address;
        state.setMeetDirectory();
        if (Status s = state.database.open(address); !s)
            return s.error();
        return {};
    }

    QString serverDatabase;

private:
    static bool adminExec(const QString &sql)
    {
        const QString name = QStringLiteral("bench-admin");
        bool done = false;
        {
            QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            admin.setDatabaseName(QStringLiteral("postgres"));
            if (admin.open()) {
                QSqlQuery q(admin);
                done = q.exec(sql);
                if (!done)
                    qWarning("server: %s", qPrintable(q.lastError().text()));
                admin.close();
            } else {
                qWarning("server: %s", qPrintable(admin.lastError().text()));
            }
        }
        QSqlDatabase::removeDatabase(name);
        return done;
    }

    void dropServerDatabase()
    {
        if (serverDatabase.isEmpty())
            return;
        state.database.close();
        adminExec(QStringLiteral("DROP DATABASE IF EXISTS ") + db::quoteIdentifier(serverDatabase) +
                  QStringLiteral(" WITH (FORCE)"));
    }
};

// The largest meet in test mode; a benchmark without it measures nothing, so it stops.
struct TestModeMeet : LargestMeet {
    explicit TestModeMeet(bool server = false) : LargestMeet(true)
    {
        if (!ok)
            qFatal("making the meet failed");
        if (server)
            if (const QString e = moveToServer(); !e.isEmpty())
                qFatal("moving the meet to the server failed: %s", qPrintable(e));
    }
};

// Skips a server benchmark where no server is given; true when it may run.
inline bool serverReady(benchmark::State &st, bool server)
{
    if (server && !LargestMeet::serverGiven()) {
        st.SkipWithError(LargestMeet::kNoServer);
        return false;
    }
    return true;
}

inline int runBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace arenor::bench
