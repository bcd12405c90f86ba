#include "Station.h"

#include <QDeadlineTimer>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace arenor::db {

namespace {
const QString kChannel = QStringLiteral("arenor");
constexpr int kAliveInterval = 3000; // a lost connection is found this soon while idle
constexpr int kLostEvery = 5;        // while lost, every fifth tick tries the server again
} // namespace

Station::Station(Database &database, QObject *parent) : QObject(parent), m_db(database)
{
    m_alive.setInterval(kAliveInterval);
    connect(&m_alive, &QTimer::timeout, this, [this] {
        // A server that is gone is tried less often: each try may wait for the connect timeout.
        if (m_db.connectionLost() && ++m_idleTicks % kLostEvery != 0)
            return;
        // A connection lost while nothing is written would silently stop the news.
        if ((m_db.isOpen() || m_db.connectionLost()) && !m_db.inTransaction()) {
            QSqlQuery probe(m_db.handle());
            if (m_db.connectionLost() || !probe.exec(QStringLiteral("SELECT 1"))) {
                probe.finish();
                m_db.checkConnection();
            }
        }
    });
}

Station::~Station()
{
    stop();
}

void Station::listen()
{
    stop();
    if (!m_db.isOpen() || !m_db.onServer())
        return;
    m_listening = true;
    m_db.connectionWatcher = [this](bool working) {
        if (!working) {
            emit connectionLost();
            return;
        }
        subscribe();
        emit connectionRestored();
    };
    subscribe();
    m_alive.start();
}

void Station::subscribe()
{
    QSqlDriver *driver = m_db.handle().driver();
    if (!driver)
        return;
    // A driver opened again is a new object's state: connect once, subscribe anew.
    disconnect(driver, &QSqlDriver::notification, this, nullptr);
    connect(driver, &QSqlDriver::notification, this,
            [this](const QString &name, QSqlDriver::NotificationSource source, const QVariant &payload) {
                heard(name, int(source), payload);
            });
    if (!driver->subscribedToNotifications().contains(kChannel))
        driver->subscribeToNotification(kChannel);
}

void Station::stop()
{
    m_alive.stop();
    if (!m_listening)
        return;
    m_listening = false;
    m_db.connectionWatcher = nullptr;
    if (m_db.isOpen()) {
        if (QSqlDriver *driver = m_db.handle().driver()) {
            disconnect(driver, &QSqlDriver::notification, this, nullptr);
            driver->unsubscribeFromNotification(kChannel);
        }
    }
}

void Station::heard(const QString &name, int source, const QVariant &payload)
{
    // Our own writes come back too; the logic that made them has told its listeners already.
    if (name != kChannel || source == int(QSqlDriver::SelfSource))
        return;
    const QString table = payload.toString();
    if (!table.isEmpty())
        emit tableChanged(table);
}

Status lockForMaking(Database &database, const QString &name, int waitMs, bool *busy)
{
    if (busy)
        *busy = false;
    if (!database.onServer())
        return {};
    // Held to the end of the transaction, also when the station dies: the server lets go.
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        QSqlQuery q(database.handle());
        q.prepare(QStringLiteral("SELECT pg_try_advisory_xact_lock(hashtext(?))"));
        q.addBindValue(name);
        if (!q.exec() || !q.next())
            return Status::failure(QStringLiteral("cannot lock ") + name + QStringLiteral(": ") +
                                   q.lastError().text());
        if (q.value(0).toBool())
            return {};
        if (deadline.hasExpired())
            break;
        QThread::msleep(100);
    }
    if (busy)
        *busy = true;
    return {};
}

} // namespace arenor::db
