#include "SiteManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace arenor::publish {

namespace {

constexpr int kFormat = 1;
constexpr qsizetype kMaxSlug = 60;

bool isSlugChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-';
}

// Letters a page name may carry, from one character of a name.
QString plainLetters(QChar c)
{
    switch (c.toLower().unicode()) {
    case u'æ':
        return QStringLiteral("ae");
    case u'ø':
        return QStringLiteral("o");
    case u'å':
        return QStringLiteral("a");
    case u'ß':
        return QStringLiteral("ss");
    default:
        break;
    }
    QString out;
    for (QChar d : QString(c).normalized(QString::NormalizationForm_KD).toLower())
        if (isSlugChar(d))
            out += d;
    return out;
}

// A text of the file as it reads back once written: a broken surrogate escape becomes what
// writing makes of it.
QString textOf(const QJsonObject &o, const QString &key)
{
    const QString s = o.value(key).toString();
    return s.isValidUtf16() ? s : QString::fromUtf8(s.toUtf8());
}

} // namespace

qsizetype SiteManifest::listIndex(const QString &key) const
{
    for (qsizetype i = 0; i < lists.size(); ++i)
        if (lists[i].key == key)
            return i;
    return -1;
}

QString SiteManifest::roundPage(const QString &name) const
{
    for (const SiteRound &r : rounds)
        if (r.name == name)
            return r.page;
    return {};
}

QSet<QString> SiteManifest::pages() const
{
    QSet<QString> out{kIndexPage, kStyleSheet, kManifestName};
    for (const SiteList &l : lists)
        out.insert(l.page);
    for (const SiteRound &r : rounds)
        out.insert(r.page);
    return out;
}

bool isPageName(const QString &name, QStringView prefix)
{
    static const QString suffix = QStringLiteral(".html");
    if (name.size() > kMaxPageName || !name.startsWith(prefix) || !name.endsWith(suffix))
        return false;
    const QStringView slug =
        QStringView(name).mid(prefix.size(), name.size() - prefix.size() - suffix.size());
    return !slug.isEmpty() && slug.front() != u'-' && std::all_of(slug.begin(), slug.end(), isSlugChar);
}

QString makePageName(QStringView prefix, QStringView text, const QSet<QString> &taken)
{
    QString slug;
    for (QChar c : text) {
        const QString letters = plainLetters(c);
        if (!letters.isEmpty())
            slug += letters;
        else if (!slug.isEmpty() && !slug.endsWith(u'-'))
            slug += u'-';
        if (slug.size() >= kMaxSlug)
            break;
    }
    slug.truncate(kMaxSlug);
    while (slug.endsWith(u'-'))
        slug.chop(1);
    if (slug.isEmpty())
        slug = QStringLiteral("page");
    const QString base = prefix.toString() + slug;
    QString name = base + QStringLiteral(".html");
    for (int n = 2; taken.contains(name); ++n)
        name = base + u'-' + QString::number(n) + QStringLiteral(".html");
    return name;
}

QByteArray writeManifest(const SiteManifest &manifest)
{
    QJsonArray lists;
    for (const SiteList &l : manifest.lists)
        lists.append(QJsonObject{{QStringLiteral("key"), l.key},
                                 {QStringLiteral("page"), l.page},
                                 {QStringLiteral("title"), l.title},
                                 {QStringLiteral("kind"), l.kind},
                                 {QStringLiteral("round"), l.round},
                                 {QStringLiteral("refresh"), l.refresh}});
    QJsonArray rounds;
    for (const SiteRound &r : manifest.rounds)
        rounds.append(QJsonObject{{QStringLiteral("name"), r.name}, {QStringLiteral("page"), r.page}});
    QJsonObject hashes;
    for (auto it = manifest.hashes.cbegin(); it != manifest.hashes.cend(); ++it)
        hashes.insert(it.key(), it.value());
    const QJsonObject root{{QStringLiteral("format"), kFormat},
                           {QStringLiteral("meet"), manifest.meet},
                           {QStringLiteral("lists"), lists},
                           {QStringLiteral("rounds"), rounds},
                           {QStringLiteral("hashes"), hashes}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

SiteManifest readManifest(const QByteArray &bytes)
{
    SiteManifest m;
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    if (root.value(QStringLiteral("format")).toInt() != kFormat)
        return m;
    m.meet = textOf(root, QStringLiteral("meet"));
    QSet<QString> used{kIndexPage, kStyleSheet, kManifestName};
    const QJsonArray rounds = root.value(QStringLiteral("rounds")).toArray();
    for (const QJsonValue &v : rounds) {
        const QJsonObject o = v.toObject();
        SiteRound r{textOf(o, QStringLiteral("name")), textOf(o, QStringLiteral("page"))};
        if (r.name.isEmpty() || !isPageName(r.page, kRoundPrefix) || used.contains(r.page) ||
            !m.roundPage(r.name).isEmpty())
            continue;
        used.insert(r.page);
        m.rounds.append(r);
    }
    const QJsonArray lists = root.value(QStringLiteral("lists")).toArray();
    for (const QJsonValue &v : lists) {
        const QJsonObject o = v.toObject();
        SiteList l{textOf(o, QStringLiteral("key")),   textOf(o, QStringLiteral("page")),
                   textOf(o, QStringLiteral("title")), textOf(o, QStringLiteral("kind")),
                   textOf(o, QStringLiteral("round")), o.value(QStringLiteral("refresh")).toBool()};
        if (l.key.isEmpty() || !isPageName(l.page, kListPrefix) || used.contains(l.page) ||
            m.listIndex(l.key) >= 0)
            continue;
        used.insert(l.page);
        m.lists.append(l);
    }
    const QJsonObject hashes = root.value(QStringLiteral("hashes")).toObject();
    for (auto it = hashes.begin(); it != hashes.end(); ++it)
        if (used.contains(it.key()) && it.key() != kManifestName && it.value().isString())
            m.hashes.insert(it.key(), QString::fromUtf8(it.value().toString().toUtf8()));
    return m;
}

} // namespace arenor::publish
