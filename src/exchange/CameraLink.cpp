#include "CameraLink.h"

#include "exchange/ExchangeTexts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace arenor::exchange {

namespace {

const QString kFolderKey = QStringLiteral("PhotoFinish/Folder");
const QString kWatchKey = QStringLiteral("PhotoFinish/WatchResults");

QString memoryPath(const AppState &state)
{
    return state.programFile(QStringLiteral("Arenor.ini"));
}

// A camera writes a result file in more than one step: it is read once it has been quiet this long.
constexpr int kSettleMs = 300;

} // namespace

CameraSetting cameraSetting(const AppState &state)
{
    const QSettings memory(memoryPath(state), QSettings::IniFormat);
    return {memory.value(kFolderKey).toString(), memory.value(kWatchKey).toBool()};
}

void storeCameraSetting(AppState &state, const CameraSetting &setting)
{
    {
        QSettings memory(memoryPath(state), QSettings::IniFormat);
        memory.setValue(kFolderKey, setting.folder);
        memory.setValue(kWatchKey, setting.watch && !setting.folder.isEmpty());
    }
    emit state.notifier.cameraFolderChanged();
}

QString startListBase(const AppState &state)
{
    // A server meet is named by its database.
    if (const auto server = db::ServerAddress::parse(state.currentDatabase))
        return server->database;
    return QFileInfo(state.databasePath()).completeBaseName();
}

CameraLink::CameraLink(AppState &state, QObject *parent) : QObject(parent), m_state(state)
{
    // Many changes in a row (a grid drawn, a row moved) give one write once they are done.
    m_writeSoon.setSingleShot(true);
    m_writeSoon.setInterval(0);
    connect(&m_writeSoon, &QTimer::timeout, this, [this] { writeLists(); });
    m_readSoon.setSingleShot(true);
    m_readSoon.setInterval(kSettleMs);
    connect(&m_readSoon, &QTimer::timeout, this, &CameraLink::readNewResults);
    auto soon = [this] {
        if (!m_setting.folder.isEmpty())
            m_writeSoon.start();
    };
    MeetNotifier *n = &state.notifier;
    connect(n, &MeetNotifier::gridChanged, this, soon);
    connect(n, &MeetNotifier::roundChanged, this, soon);
    connect(n, &MeetNotifier::meetSwitched, this, soon);
    // The files name the runners as the register does.
    connect(n, &MeetNotifier::registerChanged, this, [soon](MeetNotifier::Register which) {
        if (which == MeetNotifier::Register::Competitors)
            soon();
    });
    connect(n, &MeetNotifier::cameraFolderChanged, this, [this, soon] {
        followSetting();
        soon();
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_readSoon, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_readSoon, qOverload<>(&QTimer::start));
    followSetting();
}

void CameraLink::followSetting()
{
    const CameraSetting before = m_setting;
    m_setting = cameraSetting(m_state);
    if (m_setting.folder != before.folder)
        m_told.clear();
    if (m_setting.folder == before.folder && m_setting.watch == before.watch)
        return;
    if (const QStringList watched = m_watcher.files() + m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
    m_seen.clear();
    if (!m_setting.watch || !QFileInfo(m_setting.folder).isDir())
        return;
    // The files already there when watching starts are results of earlier races: taken as read.
    m_watcher.addPath(m_setting.folder);
    const QDir dir(m_setting.folder);
    for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*.lif")}, QDir::Files)) {
        QFile file(info.absoluteFilePath());
        if (file.open(QIODevice::ReadOnly))
            remember(info.absoluteFilePath(), file.readAll());
    }
}

void CameraLink::remember(const QString &path, const QByteArray &bytes)
{
    m_seen.insert(path, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256));
    if (!m_watcher.files().contains(path))
        m_watcher.addPath(path);
}

Status CameraLink::writeLists()
{
    if (m_setting.folder.isEmpty() || !m_state.database.isOpen())
        return {};
    const Status s = writeStartLists(m_state, m_setting.folder, startListBase(m_state));
    if (s) {
        m_told.clear();
        return s;
    }
    const QString text = exchangeText(ExText::CameraListsFailed, m_state.texts)
                             .arg(QDir::toNativeSeparators(m_setting.folder), s.error());
    if (text != m_told) {
        m_told = text;
        m_state.informText(text, Icon::Exclamation);
    }
    return s;
}

void CameraLink::readNewResults()
{
    if (!m_setting.watch || m_setting.folder.isEmpty() || !m_state.database.isOpen())
        return;
    if (m_reading) {
        // A message of this reading is open: look again when it is done.
        m_readSoon.start();
        return;
    }
    m_reading = true;
    const QDir dir(m_setting.folder);
    for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*.lif")}, QDir::Files, QDir::Name)) {
        const QString path = info.absoluteFilePath();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue; // still held by the camera: the next change brings it back
        const QByteArray bytes = file.readAll();
        // An empty file is one the camera has only begun.
        if (bytes.isEmpty() ||
            m_seen.value(path) == QCryptographicHash::hash(bytes, QCryptographicHash::Sha256))
            continue;
        remember(path, bytes);
        m_state.savePendingRecords();
        FinishImport done;
        if (Status s = importFinishFile(m_state, bytes, info.fileName(), done, m_shownFormat); !s) {
            m_state.informText(
                exchangeText(ExText::CameraFileFailed, m_state.texts).arg(info.fileName(), s.error()),
                Icon::Exclamation);
            continue;
        }
        m_state.progressSink().setStatusText(exchangeText(ExText::FinishStored, m_state.texts)
                                                 .arg(done.stored)
                                                 .arg(info.fileName(), done.table));
        emit resultsStored(done.table);
    }
    m_reading = false;
}

} // namespace arenor::exchange
