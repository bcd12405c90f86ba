#pragma once
// What a results site holds, kept beside its pages so that publishing after a restart knows
// the pages made before. The file lies in a folder anyone may edit: reading it keeps only
// entries whose page names are the site's own safe names.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

namespace arenor::publish {

inline const QString kManifestName = QStringLiteral("arenor-site.json");
inline const QString kIndexPage = QStringLiteral("index.html");
inline const QString kStyleSheet = QStringLiteral("style.css");
inline const QString kListPrefix = QStringLiteral("list-");
inline const QString kRoundPrefix = QStringLiteral("round-");

// The page of one list.
struct SiteList {
    QString key;  // the list's text file name: the same list made again replaces its page
    QString page; // "list-....html"
    QString title;
    QString kind;
    QString round; // empty for meet-wide lists
    bool refresh = false;

    bool operator==(const SiteList &) const = default;
};

struct SiteRound {
    QString name;
    QString page; // "round-....html"

    bool operator==(const SiteRound &) const = default;
};

struct SiteManifest {
    QString meet; // which meet the lists belong to
    QList<SiteList> lists;
    QList<SiteRound> rounds;
    QMap<QString, QString> hashes; // page -> hash of what was last written to it

    bool operator==(const SiteManifest &) const = default;

    qsizetype listIndex(const QString &key) const;
    QString roundPage(const QString &name) const;
    // Every page name in use.
    QSet<QString> pages() const;
};

QByteArray writeManifest(const SiteManifest &manifest);
// Any bytes: what cannot be read is left out, so the worst a broken file does is forget pages.
SiteManifest readManifest(const QByteArray &bytes);

// A page name the site may write: lower-case letters, digits and "-" after the prefix, ".html",
// at most kMaxPageName characters. Never a path.
constexpr qsizetype kMaxPageName = 100;
bool isPageName(const QString &name, QStringView prefix);
// A new page name from any text (a list's file name, a round's name): letters without their
// accents, everything else "-", shortened, and numbered when taken.
QString makePageName(QStringView prefix, QStringView text, const QSet<QString> &taken);

} // namespace arenor::publish
