#include "Publishing.h"

#include "lists/ListText.h"

#include <QDir>
#include <QSettings>

namespace arenor {

namespace {

const QString kOnKey = QStringLiteral("Publish/On");
const QString kFolderKey = QStringLiteral("Publish/Folder");

QString memoryPath(const AppState &state)
{
    return state.programFile(QStringLiteral("Arenor.ini"));
}

} // namespace

PublishSetting publishSetting(const AppState &state)
{
    const QSettings memory(memoryPath(state), QSettings::IniFormat);
    return PublishSetting{memory.value(kOnKey, false).toBool(), memory.value(kFolderKey).toString()};
}

void storePublishSetting(const AppState &state, const PublishSetting &setting)
{
    QSettings memory(memoryPath(state), QSettings::IniFormat);
    memory.setValue(kOnKey, setting.on);
    memory.setValue(kFolderKey, setting.folder);
}

publish::SiteInfo siteInfo(const AppState &state)
{
    publish::SiteInfo info;
    info.meet = state.databasePath();
    // Without Info.txt the pages go without the header block; the lists tell of that file.
    if (!lists::infoHeaderLines(state, info.meetLines))
        info.meetLines.clear();
    info.rounds = state.texts.roundNames();
    info.currentRound = state.roundName();
    info.meetDir = state.meetDir;
    info.language = state.texts.language();
    info.updated = QDateTime::currentDateTime();
    return info;
}

QString publishFailureText(const AppState &state, const QString &folder, const Status &why)
{
    return state.texts.message(Text::PublishFailed).arg(QDir::toNativeSeparators(folder), why.error());
}

Status publishIndex(const AppState &state, const QString &folder)
{
    publish::SitePublisher site(folder);
    if (Status s = site.publish(siteInfo(state), QList<ListDocument>{}); !s)
        return Status::failure(
            state.texts.message(Text::PublishRefused).arg(QDir::toNativeSeparators(folder), s.error()));
    return {};
}

ResultsPublishing::ResultsPublishing(AppState &state, QObject *parent) : QObject(parent), m_state(state)
{
    connect(&state.notifier, &MeetNotifier::listMade, this,
            [this](const ListDocument &document, const QString &) { listMade(document); });
}

void ResultsPublishing::listMade(const ListDocument &document)
{
    const PublishSetting setting = publishSetting(m_state);
    if (!setting.on || setting.folder.isEmpty()) {
        m_last = {};
        return;
    }
    if (!m_site || m_site->folder() != setting.folder) {
        m_site = std::make_unique<publish::SitePublisher>(setting.folder);
        m_told.clear();
    }
    m_last = m_site->publish(siteInfo(m_state), document);
    if (m_last) {
        m_told.clear();
        return;
    }
    // A meet's worth of lists made into a folder that is gone would otherwise ask for one click
    // per list.
    const QString text = publishFailureText(m_state, setting.folder, m_last);
    if (text != m_told && m_state.prompt)
        m_state.informText(text, Icon::Exclamation);
    m_told = text;
}

PublishRun::PublishRun(AppState &state, const QString &folder) : m_state(state), m_folder(folder)
{
    connect(&state.notifier, &MeetNotifier::listMade, this,
            [this](const ListDocument &document, const QString &) { m_documents.append(document); });
}

Status PublishRun::finish()
{
    QDir().mkpath(m_folder);
    publish::SitePublisher site(m_folder);
    if (Status s = site.publish(siteInfo(m_state), m_documents); !s)
        return Status::failure(publishFailureText(m_state, m_folder, s));
    return {};
}

} // namespace arenor
