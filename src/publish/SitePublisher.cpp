#include "SitePublisher.h"

#include "publish/HtmlPage.h"

#include <QCollator>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace arenor::publish {

namespace {

constexpr qint64 kMaxManifestBytes = 16 * 1024 * 1024;

QString hashOf(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}

enum class Group { Events, Classes, Other };

Group groupOf(const QString &kind)
{
    if (kind == QLatin1String("event") || kind == QLatin1String("grid") || kind == QLatin1String("heat"))
        return Group::Events;
    if (kind == QLatin1String("class"))
        return Group::Classes;
    return Group::Other;
}

QList<PageLink> sortedLinks(QList<PageLink> links, Language language)
{
    QCollator collator(language == Language::English ? QLocale(QLocale::English)
                                                     : QLocale(QLocale::NorwegianBokmal));
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(links.begin(), links.end(), [&](const PageLink &a, const PageLink &b) {
        return collator.compare(a.text, b.text) < 0;
    });
    return links;
}

} // namespace

Status checkPublishFolder(const QString &folder, const QString &meetDir, Language language)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return Status::failure(TextTables::text(Text::PublishFolderMissing, language));
    const QString meet = QFileInfo(meetDir).canonicalFilePath();
    if (!meet.isEmpty() && info.canonicalFilePath() == meet)
        return Status::failure(TextTables::text(Text::PublishFolderIsMeet, language));
    if (!info.isWritable())
        return Status::failure(TextTables::text(Text::PublishFolderReadOnly, language));
    return {};
}

Status SitePublisher::publish(const SiteInfo &info, const ListDocument &document)
{
    return publishAll(info, {&document});
}

Status SitePublisher::publish(const SiteInfo &info, const QList<ListDocument> &documents)
{
    QList<const ListDocument *> all;
    all.reserve(documents.size());
    for (const ListDocument &d : documents)
        all.append(&d);
    return publishAll(info, all);
}

Status SitePublisher::writePage(const QString &name, const QByteArray &bytes, SiteManifest &manifest,
                                Language language, bool force)
{
    const QString path = m_folder + u'/' + name;
    const QString hash = hashOf(bytes);
    if (!force && manifest.hashes.value(name) == hash && QFileInfo::exists(path))
        return {};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Status::failure(TextTables::text(Text::PublishWriteFailed, language)
                                   .arg(QDir::toNativeSeparators(path), file.errorString()));
    manifest.hashes.insert(name, hash);
    m_written.append(name);
    return {};
}

Status SitePublisher::markRefresh(SiteList &list, bool refresh, SiteManifest &manifest, Language language)
{
    // The page's document is gone by now; the reload line is the one thing that differs.
    QFile file(m_folder + u'/' + list.page);
    if (!file.open(QIODevice::ReadOnly)) {
        list.refresh = refresh;
        return {};
    }
    QByteArray bytes = file.readAll();
    file.close();
    const QByteArray line = refreshLine();
    if (refresh && !bytes.contains(line)) {
        const QByteArray after = QByteArrayLiteral("initial-scale=1\">\n");
        const qsizetype at = bytes.indexOf(after);
        if (at >= 0)
            bytes.insert(at + after.size(), line);
    } else if (!refresh) {
        bytes.replace(line, QByteArray());
    }
    list.refresh = refresh;
    return writePage(list.page, bytes, manifest, language);
}

void SitePublisher::noteManifestFile()
{
    const QFileInfo file(m_folder + u'/' + kManifestName);
    m_manifestTime = file.lastModified();
    m_manifestSize = file.exists() ? file.size() : -1;
}

void SitePublisher::loadManifest()
{
    const QFileInfo info(m_folder + u'/' + kManifestName);
    if (m_manifest && info.lastModified() == m_manifestTime &&
        (info.exists() ? info.size() : -1) == m_manifestSize)
        return;
    QFile file(info.filePath());
    m_manifest = info.size() <= kMaxManifestBytes && file.open(QIODevice::ReadOnly)
                     ? readManifest(file.readAll())
                     : SiteManifest{};
    noteManifestFile();
}

Status SitePublisher::publishAll(const SiteInfo &info, const QList<const ListDocument *> &documents)
{
    m_written.clear();
    if (Status s = checkPublishFolder(m_folder, info.meetDir, info.language); !s)
        return s;
    loadManifest();
    // Changes are made to a copy that becomes the site's once the manifest is written.
    SiteManifest m = *m_manifest;
    if (m.meet != info.meet) {
        m.lists.clear();
        m.rounds.clear();
        m.meet = info.meet;
    }
    const Language lang = info.language;
    auto live = [&](const QString &round) { return !round.isEmpty() && round == info.currentRound; };
    auto roundPageOf = [&](const QString &round) {
        if (round.isEmpty())
            return QString();
        QString page = m.roundPage(round);
        if (page.isEmpty()) {
            page = makePageName(kRoundPrefix, round, m.pages());
            m.rounds.append(SiteRound{round, page});
        }
        return page;
    };

    if (Status s = writePage(kStyleSheet, styleSheet(), m, lang); !s)
        return s;

    QSet<QString> made;
    for (const ListDocument *doc : documents) {
        const QString key = doc->fileName.isEmpty() ? doc->title : doc->fileName;
        if (key.isEmpty())
            continue;
        qsizetype i = m.listIndex(key);
        if (i < 0) {
            QString base = doc->fileName.isEmpty() ? doc->title : QFileInfo(doc->fileName).completeBaseName();
            m.lists.append(SiteList{key, makePageName(kListPrefix, base, m.pages()), {}, {}, {}, false});
            i = m.lists.size() - 1;
        }
        SiteList &list = m.lists[i];
        list.title = doc->title.trimmed().isEmpty() ? key : doc->title.trimmed();
        list.kind = doc->kind;
        list.round = doc->roundName;
        list.refresh = live(list.round);
        const PageFrame frame{lang, info.meetLines, list.round, roundPageOf(list.round), list.refresh};
        if (Status s = writePage(list.page, listPageHtml(*doc, frame), m, lang); !s)
            return s;
        made.insert(key);
    }
    // Pages of a round that is no longer (or now) in progress stop (or start) reloading.
    for (SiteList &list : m.lists)
        if (!made.contains(list.key) && list.refresh != live(list.round))
            if (Status s = markRefresh(list, live(list.round), m, lang); !s)
                return s;

    // The rounds in the meet's order, then any others the site holds.
    QStringList rounds;
    for (const QString &r : info.rounds)
        if (!r.isEmpty() && !rounds.contains(r))
            rounds << r;
    for (const SiteList &list : m.lists)
        if (!list.round.isEmpty() && !rounds.contains(list.round))
            rounds << list.round;

    QList<PageLink> roundLinks, meetLists;
    for (const QString &round : rounds) {
        QList<PageLink> groups[3];
        for (const SiteList &list : m.lists)
            if (list.round == round)
                groups[int(groupOf(list.kind))].append(PageLink{list.page, list.title, {}});
        if (groups[0].isEmpty() && groups[1].isEmpty() && groups[2].isEmpty())
            continue;
        const QString page = roundPageOf(round);
        const QList<LinkGroup> linkGroups{
            {TextTables::text(Text::SiteEvents, lang), sortedLinks(groups[0], lang)},
            {TextTables::text(Text::SiteClasses, lang), sortedLinks(groups[1], lang)},
            {TextTables::text(Text::SiteOtherLists, lang), sortedLinks(groups[2], lang)}};
        const PageFrame frame{lang, info.meetLines, QString(), QString(), live(round)};
        if (Status s = writePage(page, linkPageHtml(round, QString(), linkGroups, frame), m, lang); !s)
            return s;
        roundLinks.append(
            PageLink{page, round, live(round) ? TextTables::text(Text::SiteInProgress, lang) : QString()});
    }
    for (const SiteList &list : m.lists)
        if (list.round.isEmpty())
            meetLists.append(PageLink{list.page, list.title, {}});

    // The index goes last, with the manifest just before it: whatever it links is there.
    QString heading = headerTexts(info.meetLines).value(0);
    if (heading.isEmpty())
        heading = TextTables::text(Text::SiteHome, lang);
    const QString updated = info.updated.isValid()
                                ? TextTables::text(Text::SiteUpdated, lang)
                                      .arg(info.updated.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
                                : QString();
    const QByteArray index =
        linkPageHtml(heading, updated,
                     {{TextTables::text(Text::SiteRounds, lang), roundLinks},
                      {TextTables::text(Text::SiteMeetLists, lang), sortedLinks(meetLists, lang)}},
                     PageFrame{lang, info.meetLines, {}, {}, false});
    if (m != *m_manifest || !QFileInfo::exists(m_folder + u'/' + kManifestName)) {
        SiteManifest written = m;
        if (Status s = writePage(kManifestName, writeManifest(m), written, lang, true); !s)
            return s;
        noteManifestFile();
    }
    m_manifest = m;
    // The index is compared with the file itself, so an index that could not be written once is
    // written the next time whatever the manifest says.
    QFile current(m_folder + u'/' + kIndexPage);
    if (current.open(QIODevice::ReadOnly) && current.size() == index.size() && current.readAll() == index)
        return {};
    current.close();
    return writePage(kIndexPage, index, m, lang, true);
    return {};
}

} // namespace arenor::publish
