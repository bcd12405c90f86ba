#pragma once
// A station of a server meet keeps up with the others: a table another station changed is
// read again and announced through the notifier as if this station had changed it, so every
// window shows it; a lost connection is told once and what was missed meanwhile is read again.

#include "db/AppState.h"
#include "db/Station.h"

#include <QObject>
#include <QSet>
#include <QTimer>

namespace arenor {

class StationSync : public QObject, public DataBound {
    Q_OBJECT
public:
    explicit StationSync(AppState &state, QObject *parent = nullptr);
    ~StationSync() override;

    void bindDatabase(db::Database &database) override;
    void unbindDatabase() override;

    db::Station &station() { return m_station; }
    // Reads again and announces what the other stations changed, as heard so far.
    void applyHeard();

private:
    void apply(const QString &table);
    void reloadEntries();
    AppState &m_state;
    db::Station m_station;
    QSet<QString> m_heard;
    bool m_all = false; // the connection was opened again: everything
    QTimer m_soon;
};

} // namespace arenor
