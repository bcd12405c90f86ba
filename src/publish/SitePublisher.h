#pragma once
// The static results site in a folder: index.html (the meet, its rounds, the meet-wide lists),
// one page per round linking its lists, one page per list, a style sheet and the manifest.
// Every file is replaced in one step, the index last, and only files whose content changed are
// written, so a web server or a sync tool never sees half a page.

#include "base/ListDocument.h"
#include "base/Status.h"
#include "base/TextTables.h"
#include "publish/SiteManifest.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace arenor::publish {

// What the site tells about the meet, from the meet as it stands.
struct SiteInfo {
    QString meet;          // which meet (its database): another meet starts the site afresh
    QStringList meetLines; // the lists' header block: name, place, date, organiser
    QStringList rounds;    // the round names in the meet's order
    QString currentRound;  // the round in progress: its pages reload themselves
    QString meetDir;       // the meet directory, which is never published into
    Language language = Language::Norwegian;
    QDateTime updated; // shown on the index; not shown when invalid
};

// Why a folder cannot take the site; ok when it can.
Status checkPublishFolder(const QString &folder, const QString &meetDir, Language language);

class SitePublisher {
public:
    explicit SitePublisher(QString folder) : m_folder(std::move(folder)) {}
    const QString &folder() const { return m_folder; }

    // Puts one list on the site (replacing its earlier page), with the round pages and the index.
    Status publish(const SiteInfo &info, const ListDocument &document);
    // Puts every list on the site at once; an empty list writes the style sheet and the index.
    Status publish(const SiteInfo &info, const QList<ListDocument> &documents);

    // The files the last publishing replaced, in the order written.
    const QStringList &written() const { return m_written; }

private:
    Status publishAll(const SiteInfo &info, const QList<const ListDocument *> &documents);
    Status writePage(const QString &name, const QByteArray &bytes, SiteManifest &manifest, Language language,
                     bool force = false);
    Status markRefresh(SiteList &list, bool refresh, SiteManifest &manifest, Language language);

    // The manifest as last read or written, and how its file looked then: another publisher (or
    // a person) changing the file makes it read again.
    void loadManifest();
    void noteManifestFile();
    QString m_folder;
    std::optional<SiteManifest> m_manifest;
    QDateTime m_manifestTime;
    qint64 m_manifestSize = -1;
    QStringList m_written;
};

} // namespace arenor::publish
