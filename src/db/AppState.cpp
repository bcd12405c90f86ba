#include "AppState.h"

#include "db/Schema.h"

#include <QDir>
#include <QFileInfo>

namespace arenor {

AppState::AppState()
{
    dateStamp = dateStampFor(QDate::currentDate());
    setRoundTag(3);
}

QString AppState::databasePath() const
{
    if (db::isServerAddress(currentDatabase))
        return currentDatabase.trimmed();
    if (QDir::isAbsolutePath(currentDatabase))
        return QDir::cleanPath(currentDatabase);
    return programFile(currentDatabase);
}

QString AppState::programFile(const QString &name) const
{
    return programDir + u'/' + name;
}

QString AppState::meetFile(const QString &name) const
{
    return meetDir + name;
}

QString AppState::meetDirFor(const QString &databasePath)
{
    // The file's name less ".mdb", in the file's own folder. A name without that ending, or
    // with nothing before it, cannot name a directory beside the file itself, so it gets
    // "_filer" added.
    const QFileInfo file(databasePath);
    const QString name = file.fileName();
    QString stem = name;
    if (name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive))
        stem.chop(4);
    if (stem.isEmpty() || stem == name)
        stem = name + QStringLiteral("_filer");
    return QDir::cleanPath(file.absolutePath() + u'/' + stem) + u'/';
}

bool AppState::setMeetDirectory()
{
    // A meet on a server keeps its lists and time files on this station, in a folder of the
    // program directory named after the server database.
    if (const auto server = db::ServerAddress::parse(currentDatabase)) {
        // Only what is safe in a folder name: a database named ".." stays inside.
        QString name = server->database;
        for (QChar &c : name)
            if (!c.isLetterOrNumber() && c != u'-' && c != u'_')
                c = u'_';
        meetDir = programFile(name) + u'/';
    } else {
        meetDir = meetDirFor(databasePath());
    }
    return QDir().mkpath(meetDir);
}

void AppState::addDataBound(DataBound *client)
{
    if (client && std::find(m_bound.begin(), m_bound.end(), client) == m_bound.end())
        m_bound.push_back(client);
}

void AppState::removeDataBound(DataBound *client)
{
    m_bound.erase(std::remove(m_bound.begin(), m_bound.end(), client), m_bound.end());
}

Status AppState::bindDataControls()
{
    Status s;
    if (!database.isOpen() || database.path() != databasePath())
        s = database.open(databasePath());
    if (s.ok()) {
        pointSetups.open(database, schema::tableName(*this, schema::Table::Poengoppsett));
        pointSetup = pointSetups.rowCount() > 0 ? 0 : -1;
        for (DataBound *c : m_bound)
            c->bindDatabase(database);
    }
    emit notifier.meetSwitched();
    return s;
}

void AppState::unbindDataControls()
{
    for (DataBound *c : m_bound)
        c->unbindDatabase();
    pointSetups.close();
    pointSetup = -1;
    database.close();
}

void AppState::rebindDataControls()
{
    if (!database.isOpen())
        return;
    for (DataBound *c : m_bound)
        c->unbindDatabase();
    for (DataBound *c : m_bound)
        c->bindDatabase(database);
}

bool AppState::savePendingRecords(const DataBound *except)
{
    bool ok = true;
    for (DataBound *c : m_bound)
        if (c != except)
            ok = c->savePending() && ok;
    return ok;
}

void AppState::setRoundTag(int round)
{
    roundTag = texts.roundName(round) + u'_';
}

QString AppState::windowTitle() const
{
    return productName(texts) + QStringLiteral(" [") + currentDatabase + u']';
}

QString AppState::dateStampFor(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy.MM.dd"));
}

void AppState::inform(int messageNumber, Icon icon)
{
    informText(texts.message(messageNumber), icon);
}

void AppState::informText(const QString &text, Icon icon)
{
    if (prompt)
        prompt->inform(text, texts.message(1), icon);
}

bool AppState::startEditor(const QString &path)
{
    const bool ok = editor && editor->start({editorCommand, path, maximiseEditor()});
    if (!ok) {
        informText(texts.message(Text::NoEditor).arg(path), Icon::Exclamation);
    }
    return ok;
}

void AppState::saveSettings()
{
    if (settings)
        settings->save();
}

} // namespace arenor
