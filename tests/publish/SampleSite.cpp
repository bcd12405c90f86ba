// Makes a results site of sample lists in the folder given: for looking at the pages in a
// browser (scripts/site-screenshots).

#include "SampleLists.h"

#include "publish/SitePublisher.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

using namespace arenor;
using namespace arenor::test;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    publish::SiteInfo info;
    info.meet = QStringLiteral("sample");
    info.meetLines = {QStringLiteral(": Stevnenavn  : Vårstevnet på Kirkenes :"),
                      QStringLiteral("Kirkenes stadion"), QStringLiteral("14.06.2026"),
                      QStringLiteral("IL Nord & Co <arrangør>")};
    info.rounds = {QStringLiteral("Innledende"), QStringLiteral("Semifinale"), QStringLiteral("Finale")};
    info.currentRound = QStringLiteral("Finale");
    info.updated = QDateTime(QDate(2026, 6, 14), QTime(14, 32));
    QList<ListDocument> lists{
        sampleResultList(QStringLiteral("100m Menn Finale"), QStringLiteral("Finale"), 8),
        sampleResultList(QStringLiteral("200m Kvinner Innledende"), QStringLiteral("Innledende"), 24, true),
        sampleResultList(QStringLiteral("Klasse G13 \"Gutter\" <13 år>"), QStringLiteral("Finale"), 12, false,
                         QStringLiteral("class")),
        sampleResultList(QStringLiteral("Poengliste"), QString(), 6, false, QStringLiteral("points"))};
    ListDocument &longName = lists[0];
    longName.lines[longName.lines.size() - 3].cells[2].text =
        QStringLiteral("Karoline Alexandra Bjørnstjerne-Wilhelmsen");
    const Status s = publish::SitePublisher(folder).publish(info, lists);
    if (!s) {
        std::fprintf(stderr, "%s\n", qPrintable(s.error()));
        return 1;
    }
    return 0;
}
