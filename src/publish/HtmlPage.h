#pragma once
// A list document as one static web page, and the pages and style sheet around it. The pages
// need no scripts and no fonts from the network, and read on a phone without sideways
// scrolling: tables wrap their cells and drop empty columns on a narrow screen.

#include "base/ListDocument.h"
#include "base/TextTables.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace arenor::publish {

// How often a page of the round in progress reloads itself, in seconds.
constexpr int kRefreshSeconds = 60;
// The line that makes a page reload; pages made before a round ended lose it again.
QByteArray refreshLine();

QString escapeHtml(QStringView text);

// The header block's lines as a page shows them: the boxes of Info.txt's form ("-----",
// ": Stevnenavn : Vårstevnet :") give their filled-in values; rules and empty fields go.
QStringList headerTexts(const QStringList &lines);

// What every page of the site shows around its content.
struct PageFrame {
    Language language = Language::Norwegian;
    QStringList meetLines; // the meet's header block: name, place, date, organiser
    QString roundName;     // the round the page belongs to, empty for the index and meet-wide lists
    QString roundPage;     // the round's page, for the way back
    bool refresh = false;  // the page belongs to the round in progress
};

QByteArray listPageHtml(const ListDocument &document, const PageFrame &frame);

// A link on the index or a round page.
struct PageLink {
    QString page;
    QString text;
    QString note; // shown beside the link ("in progress")
};
struct LinkGroup {
    QString heading;
    QList<PageLink> links;
};

// The index and the round pages: a heading, an optional line under it, groups of links.
QByteArray linkPageHtml(const QString &heading, const QString &subline, const QList<LinkGroup> &groups,
                        const PageFrame &frame);

// The style sheet every page links to.
QByteArray styleSheet();

} // namespace arenor::publish
