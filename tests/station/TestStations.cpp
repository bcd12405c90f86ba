// Two stations on one server meet: this process is one (with the program's station sync),
// station_helper the other.
#include "TestSupport.h"
#include "app/StationSync.h"
#include "db/Schema.h"
#include "db/StationTexts.h"
#include "events/EventSetup.h"
#include "events/GridTable.h"
#include "events/Rounds.h"
#include "registers/Competitors.h"
#include "registers/RegisterReaders.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <map>

using namespace arenor;

namespace {

// A meet of 15 competitors on a fresh server database, read as the program reads it, with
// this station hearing the others.
struct ServerStation {
    test::TestMeet meet;
    std::unique_ptr<StationSync> sync;
    AppState &state = meet.state;
    ServerStation()
    {
        meet.makeDatabase(15, 5, 5);
        if (!state.database.onServer())
            test::moveMeetToServer(state);
        sync = std::make_unique<StationSync>(state);
        registers::readRegisters(state);
        events::selectRound(state, state.currentRound);
        state.bindDataControls();
    }
    ~ServerStation() { state.unbindDataControls(); }
    QString address() const { return meet.state.database.path(); }
};

// Runs the other station; its lines of output as they come.
struct OtherStation {
    QProcess process;
    QStringList lines;
    explicit OtherStation(const QStringList &args)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] {
            while (process.canReadLine())
                lines << QString::fromUtf8(process.readLine()).trimmed();
        });
        process.start(QStringLiteral(STATION_HELPER), args);
    }
    ~OtherStation()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
};

// Another connection to the meet's database, as the server's administrator sees it.
QVariant askServer(const QString &address, const QString &sql)
{
    const QString name = QStringLiteral("station-admin");
    QVariant answer;
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setDatabaseName(db::ServerAddress::parse(address)->database);
        if (admin.open()) {
            QSqlQuery q(admin);
            if (q.exec(sql) && q.next())
                answer = q.value(0);
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(name);
    return answer;
}

events::GridTableRequest gridRequest(AppState &state)
{
    return {events::listSelection(state, 1, 1, QStringLiteral("_")), events::ListType::Standard, 0, true};
}

} // namespace

class TestStations : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("PGHOST"))
            QSKIP("no PostgreSQL server (PGHOST unset)");
    }

    // What the other station types is in this station's catalogues, entries and open models
    // within a second of each commit; its own writes are not heard back.
    void changesSeenAtOnce()
    {
        ServerStation here;
        db::RecordModel shown;
        QVERIFY(shown.open(here.state.database, schema::kPersoner));
        QSignalSpy registers(&here.state.notifier, &MeetNotifier::registerChanged);
        QSignalSpy entries(&here.state.notifier, &MeetNotifier::entriesChanged);
        OtherStation other({here.address(), QStringLiteral("type")});
        QVERIFY(other.process.waitForStarted());
        const int round = here.state.currentRound;
        for (int k = 1; k <= 4; ++k) {
            other.process.write("next\n");
            QTRY_COMPARE_WITH_TIMEOUT(other.lines.value(k - 1), QStringLiteral("typed %1").arg(k), 5000);
            QTRY_VERIFY_WITH_TIMEOUT(
                here.state.catalogs.persons[size_t(k)].name.contains(QStringLiteral("Typed%1").arg(k)) &&
                    here.state.entryMatrix.entered(round, 1, k) &&
                    shown.text(k - 1, registers::PersonFirstName) == QStringLiteral("Typed%1").arg(k),
                1000);
        }
        QVERIFY(registers.contains(QVariantList{QVariant::fromValue(MeetNotifier::Register::Competitors)}));
        QVERIFY(registers.contains(QVariantList{QVariant::fromValue(MeetNotifier::Register::Entries)}));
        QVERIFY(entries.count() > 0);
        other.process.write("quit\n");
        QVERIFY(other.process.waitForFinished());

        // This station's own write is no news to it.
        registers.clear();
        QVERIFY(shown.setValue(5, registers::PersonFirstName, QStringLiteral("Own")));
        QTest::qWait(300);
        QCOMPARE(registers.count(), 0);
    }

    // A record another station changed after this one read it is not overwritten, neither
    // from a model nor from a record set: the write is refused naming the field, and the
    // stored values are what this station then holds and writes on from.
    void concurrentEditRefused()
    {
        ServerStation here;
        db::RecordModel model;
        QVERIFY(model.open(here.state.database, schema::kPersoner));
        db::Recordset rs;
        QVERIFY(rs.open(here.state.database, schema::kPersoner));
        rs.moveTo(3);
        auto edit = [&](int row, const QString &value) {
            OtherStation other({here.address(), QStringLiteral("edit"), QString::number(row),
                                QString::number(registers::PersonSurname), value});
            return other.process.waitForFinished() && other.lines == QStringList{QStringLiteral("edited")};
        };
        QVERIFY(edit(2, QStringLiteral("Theirs")));
        QSignalSpy refused(&model, &db::RecordModel::refused);
        QVERIFY(!model.setData(model.index(2, registers::PersonFirstName), QStringLiteral("Mine")));
        QCOMPARE(refused.count(), 1);
        const QString why = model.lastError();
        QVERIFY2(why.contains(QStringLiteral("field %1").arg(registers::PersonSurname)) ||
                     why.contains(QStringLiteral("felt %1").arg(registers::PersonSurname)),
                 qPrintable(why));
        QVERIFY2(why.contains(QStringLiteral("Theirs")), qPrintable(why));
        QCOMPARE(model.text(2, registers::PersonSurname), QStringLiteral("Theirs"));
        QCOMPARE(test::storedText(here.state, schema::kPersoner, 3, registers::PersonFirstName),
                 model.text(2, registers::PersonFirstName)); // "Mine" never stored
        QVERIFY(model.setValue(2, registers::PersonFirstName, QStringLiteral("Mine")));
        QCOMPARE(test::storedText(here.state, schema::kPersoner, 3, registers::PersonSurname),
                 QStringLiteral("Theirs"));

        QVERIFY(edit(3, QStringLiteral("Again")));
        rs.setField(registers::PersonClub, QStringLiteral("Club"));
        const Status s = rs.update();
        QVERIFY(!s.ok() && s.error().contains(QStringLiteral("Again")));
        QCOMPARE(rs.text(registers::PersonSurname), QStringLiteral("Again"));
        rs.setField(registers::PersonClub, QStringLiteral("Club"));
        QVERIFY(rs.update().ok());
    }

    // A station killed in the middle of its writes loses nothing it committed and leaves no
    // lock: the grid it was locking is made here at once. A grid being made at another
    // station is not made here, with a message.
    void killedStationLeavesNoLock()
    {
        ServerStation here;
        const QString grid = events::gridTableOf(here.state, gridRequest(here.state).selection);
        OtherStation other({here.address(), QStringLiteral("loop"), grid});
        QTRY_VERIFY_WITH_TIMEOUT(other.lines.size() >= 20, 10000);
        other.process.kill();
        QVERIFY(other.process.waitForFinished());
        while (other.process.canReadLine())
            other.lines << QString::fromUtf8(other.process.readLine()).trimmed();
        std::map<int, int> last; // row -> last write reported committed
        for (const QString &line : other.lines) {
            const QStringList parts = line.split(u' ');
            QCOMPARE(parts.value(0), QStringLiteral("committed"));
            last[parts.value(1).toInt()] = parts.value(2).toInt();
        }
        for (const auto &[row, i] : last) {
            const QString stored =
                test::storedText(here.state, schema::kPersoner, row + 1, registers::PersonSurname);
            QVERIFY2(stored.startsWith(QStringLiteral("Loop")) && stored.mid(4).toInt() >= i,
                     qPrintable(stored));
        }
        const QString locks = QStringLiteral("SELECT count(*) FROM pg_locks WHERE locktype = 'advisory'");
        QTRY_COMPARE_WITH_TIMEOUT(askServer(here.address(), locks).toInt(), 0, 5000);
        std::mt19937 random(1);
        events::GridTableOutcome outcome;
        QVERIFY(events::CreateGridTable(here.state, gridRequest(here.state), outcome, random));
        QVERIFY(outcome.created);

        // Another station holds the lock for the whole time this one waits.
        const QString held = QStringLiteral("held");
        {
            QSqlDatabase otherDb = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), held);
            otherDb.setDatabaseName(db::ServerAddress::parse(here.address())->database);
            QVERIFY(otherDb.open() && otherDb.transaction());
            QSqlQuery q(otherDb);
            q.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"));
            q.addBindValue(outcome.table);
            QVERIFY(q.exec());
            here.meet.prompt.setNextAnswer(Answer::Yes); // replace the grid
            QVERIFY(events::CreateGridTable(here.state, gridRequest(here.state), outcome, random));
            QVERIFY(!outcome.created);
            QCOMPARE(here.meet.prompt.lastMessage(),
                     db::stationText(db::StationText::GridBusy).arg(outcome.table));
            otherDb.rollback();
            otherDb.close();
        }
        QSqlDatabase::removeDatabase(held);
    }

    // A connection the server dropped is told once and opened again by itself: what was
    // committed is there, the next write works, and the other stations are heard again.
    void lostConnectionReopened()
    {
        ServerStation here;
        db::RecordModel model;
        QVERIFY(model.open(here.state.database, schema::kPersoner));
        QVERIFY(model.setValue(0, registers::PersonSurname, QStringLiteral("Before")));
        here.meet.prompt.clear();
        const QString terminate = QStringLiteral(
            "SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity WHERE application_name = 'Arenor' "
            "AND pid <> pg_backend_pid() AND datname = current_database()");
        QCOMPARE(askServer(here.address(), terminate).toInt(), 1);
        const QString lost = db::stationText(db::StationText::ConnectionLost);
        // Found by the next statement, or by the station's own check while idle.
        model.setValue(1, registers::PersonSurname, QStringLiteral("Lost"));
        QTRY_COMPARE_WITH_TIMEOUT(here.meet.prompt.messageTexts().count(lost), 1, 5000);
        QVERIFY(!here.state.database.connectionLost());
        QCOMPARE(test::storedText(here.state, schema::kPersoner, 1, registers::PersonSurname),
                 QStringLiteral("Before"));
        QVERIFY(model.setValue(1, registers::PersonSurname, QStringLiteral("After")));
        QCOMPARE(test::storedText(here.state, schema::kPersoner, 2, registers::PersonSurname),
                 QStringLiteral("After"));

        OtherStation other({here.address(), QStringLiteral("edit"), QStringLiteral("4"),
                            QString::number(registers::PersonFirstName), QStringLiteral("Heard")});
        QVERIFY(other.process.waitForFinished());
        QTRY_VERIFY_WITH_TIMEOUT(here.state.catalogs.persons[5].name.contains(QStringLiteral("Heard")), 1000);
        QCOMPARE(here.meet.prompt.messageTexts().count(lost), 1);
    }
};

QTEST_MAIN(TestStations)
#include "TestStations.moc"
