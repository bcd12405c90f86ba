#pragma once
// One station of a meet on a server: hears which tables the other stations change (the
// triggers' notifications on the "arenor" channel), keeps the connection alive, and takes the
// lock under which one grid table is made. Nothing of this acts on a meet file.

#include "db/Engine.h"

#include <QObject>
#include <QTimer>

namespace arenor::db {

class Station : public QObject {
    Q_OBJECT
public:
    explicit Station(Database &database, QObject *parent = nullptr);
    ~Station() override;

    // Starts hearing the other stations when the database is a server meet (call after each
    // open); stops otherwise.
    void listen();
    void stop();
    bool listening() const { return m_listening; }

signals:
    // Another station changed the table (its name as stored).
    void tableChanged(const QString &table);
    // The connection to the server was lost (told once), and was opened again: whatever
    // happened meanwhile was not heard, so everything shown is to be read again.
    void connectionLost();
    void connectionRestored();

private:
    void heard(const QString &name, int source, const QVariant &payload);
    void subscribe();
    Database &m_db;
    QTimer m_alive;
    bool m_listening = false;
    int m_idleTicks = 0;
};

// Takes the lock under which the named thing (a grid table) is made, for the transaction
// running now: waits up to waitMs while another station holds it. *busy is set when it stays
// held elsewhere. Always given on SQLite.
Status lockForMaking(Database &database, const QString &name, int waitMs, bool *busy);

} // namespace arenor::db
