#pragma once
// The photo-finish camera's folder as the options keep it (in Arenor.ini beside the program,
// since Setup.ini's lines are fixed), and the link that follows it while the program runs: the
// start lists are written there again whenever a grid is made or its start list changes, and
// with watching on, the result files the camera leaves there are read into their grids as
// they come.

#include "db/AppState.h"
#include "exchange/PhotoFinish.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>

namespace arenor::exchange {

struct CameraSetting {
    QString folder; // empty: none chosen
    bool watch = false;
};

CameraSetting cameraSetting(const AppState &state);
// Stores the setting and tells the notifier.
void storeCameraSetting(AppState &state, const CameraSetting &setting);
// The base name of the start list files: the meet file's name.
QString startListBase(const AppState &state);

class CameraLink : public QObject {
    Q_OBJECT
public:
    explicit CameraLink(AppState &state, QObject *parent = nullptr);

    // The time format of a grid as an open window shows it.
    void setShownFormat(GridFormat format) { m_shownFormat = std::move(format); }
    // Writes the round's start lists into the folder now (nothing without a folder). A failure
    // is told once, and again only after a write worked or the folder changed.
    Status writeLists();
    // Reads every result file of the folder that is new or changed since it was last looked at.
    // A file that does not go in is told once; it is tried again when it changes.
    void readNewResults();

signals:
    // A result file's results are stored in the grid table.
    void resultsStored(const QString &table);

private:
    void followSetting();
    void remember(const QString &path, const QByteArray &bytes);

    AppState &m_state;
    GridFormat m_shownFormat;
    CameraSetting m_setting;
    QTimer m_writeSoon;
    QTimer m_readSoon;
    QFileSystemWatcher m_watcher;
    QHash<QString, QByteArray> m_seen; // result file -> digest of what was last read
    QString m_told;                    // the write failure last told
    bool m_reading = false;
};

} // namespace arenor::exchange
