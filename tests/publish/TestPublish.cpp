#include "SampleLists.h"
#include "TestSupport.h"

#include "app/Publishing.h"
#include "publish/HtmlPage.h"
#include "publish/SitePublisher.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

using namespace arenor;
using namespace arenor::publish;
using namespace arenor::test;

namespace {

SiteInfo info(const QString &currentRound = QStringLiteral("Finale"))
{
    SiteInfo i;
    i.meet = QStringLiteral("/meets/Vår.mdb");
    i.meetLines = {QStringLiteral("Vårstevnet <&>"), QStringLiteral("Kirkenes")};
    i.rounds = {QStringLiteral("Innledende"), QStringLiteral("Finale")};
    i.currentRound = currentRound;
    return i;
}

// xmllint's complaints about a page, empty when it is valid HTML.
QString lint(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("xmllint"), {QStringLiteral("--html"), QStringLiteral("--noout"), path});
    if (!p.waitForFinished())
        return QStringLiteral("xmllint did not run (./scripts/setup installs libxml2-utils)");
    const QString out = QString::fromUtf8(p.readAllStandardError());
    return p.exitCode() == 0 && out.isEmpty() ? QString() : path + u'\n' + out;
}

} // namespace

class TestPublish : public QObject {
    Q_OBJECT
private slots:
    // Headings become column headings, cells find their column by position, everything typed
    // is escaped, rules are table borders, and a Section with its columns is a table of its own.
    void listPage()
    {
        ListDocument d =
            sampleResultList(QStringLiteral("100m <Menn> & \"Damer\""), QStringLiteral("Finale"), 3);
        d.lines[d.lines.size() - 4].cells[2].text = QStringLiteral("<b>Ola's</b> & co");
        d.add(ListLineKind::Section, QStringLiteral("Heat 2"));
        d.lines.append(tableLine(ListLineKind::Columns, {"Bane", "Navn"}, {{4, true}, {20}}));
        d.lines.append(tableLine(ListLineKind::Row, {"3", "Kari"}, {{4, true}, {20}}));
        const QString html = QString::fromUtf8(listPageHtml(
            d, PageFrame{Language::Norwegian, {"Vårstevnet"}, "Finale", "round-finale.html", true}));
        QCOMPARE(html.count(QStringLiteral("<table>")), 2);
        QCOMPARE(html.count(QStringLiteral("<th scope=\"col\"")), 8);
        QVERIFY(html.contains(QStringLiteral("<th scope=\"col\" class=\"num\">Resultat</th>")));
        QVERIFY(html.contains(
            QStringLiteral("<tr><td class=\"num\">3</td><td class=\"num\">103</td><td>Åse Ødegård "
                           "Løper 3</td><td>Bjørnevatn I</td><td class=\"num\">10.03</td><td "
                           "class=\"minor num\">0.03</td></tr>")));
        QVERIFY(html.contains(QStringLiteral("<td>&lt;b&gt;Ola&#39;s&lt;/b&gt; &amp; co</td>")));
        QVERIFY(html.contains(QStringLiteral("<h1>100m &lt;Menn&gt; &amp; &quot;Damer&quot;</h1>")));
        QVERIFY(html.contains(QStringLiteral("<h2>Heat 2</h2>")));
        QVERIFY(html.contains(
            QStringLiteral("<div class=\"meet\">\n<p>Vårstevnet</p>\n<p>14.06.2026</p>\n</div>")));
        QVERIFY(html.contains(QStringLiteral("<td class=\"num\">3</td><td>Kari</td>")));
        QVERIFY(!html.contains(QStringLiteral("==")) && !html.contains(QStringLiteral("<b>")));
        QVERIFY(html.contains(QString::fromUtf8(refreshLine())));
        QVERIFY(html.contains(QStringLiteral("<meta name=\"viewport\"")));
    }

    // Page names from anything a name may hold: never a path, never too long, never twice.
    void pageNames_data()
    {
        Cases<QString, QString>::columns();
        QTest::newRow("letters") << "Resultater_100m Æsøy Å"
                                 << "list-resultater-100m-aesoy-a.html";
        QTest::newRow("path") << "../x"
                              << "list-x.html";
        QTest::newRow("separators") << "a/b\\c:d"
                                    << "list-a-b-c-d.html";
        QTest::newRow("nothing usable") << "<>\"'"
                                        << "list-page.html";
        QTest::newRow("taken") << "Taken"
                               << "list-taken-2.html";
        QTest::newRow("long") << QString(200, u'x') << "list-" + QString(60, u'x') + ".html";
    }
    void pageNames()
    {
        const auto [text, expected] = Cases<QString, QString>::fetch();
        const QString name = makePageName(kListPrefix, text, {QStringLiteral("list-taken.html")});
        QCOMPARE(name, expected);
        QVERIFY(isPageName(name, kListPrefix));
    }

    // A manifest from outside keeps only safe, unique page names, and reads back as written.
    void manifest()
    {
        const QByteArray outside =
            R"({"format":1,"meet":"m","rounds":[{"name":"Finale","page":"round-finale.html"},
            {"name":"Evil","page":"../round-x.html"}],"lists":[{"key":"a","page":"list-a.html","title":"A"},
            {"key":"b","page":"/etc/list-b.html"},{"key":"c","page":"index.html"},{"key":"d","page":"list-a.html"},
            {"key":"a","page":"list-e.html"},{"key":"f","page":"list-f.html","round":"Finale","refresh":true}],
            "hashes":{"list-a.html":"1","../x":"2","arenor-site.json":"3"}})";
        const SiteManifest m = readManifest(outside);
        QCOMPARE(m.rounds.size(), 1);
        QCOMPARE(m.lists.size(), 2);
        QCOMPARE(m.lists[1].page, QStringLiteral("list-f.html"));
        QCOMPARE(m.hashes.keys(), QStringList{"list-a.html"});
        QCOMPARE(readManifest(writeManifest(m)), m);
        QCOMPARE(readManifest("{\"format\":2,\"lists\":[{\"key\":\"a\",\"page\":\"list-a.html\"}]}"),
                 SiteManifest{});
    }

    // A site is valid HTML throughout; what did not change is not written again, also after a
    // restart; pages of a round no longer in progress stop reloading.
    void site()
    {
        QTemporaryDir dir;
        SitePublisher site(dir.path());
        const ListDocument a = sampleResultList("100m Menn", "Finale", 5);
        ListDocument b = sampleResultList("Klasse G13 <&>", "Innledende", 4, true, "class");
        const ListDocument points = sampleResultList("Poeng", QString(), 2, false, "points");
        QVERIFY(site.publish(info(), QList<ListDocument>{a, b, points}));
        for (const QString &name : QDir(dir.path()).entryList({"*.html"}, QDir::Files))
            QVERIFY2(lint(dir.filePath(name)).isEmpty(), qPrintable(lint(dir.filePath(name))));
        const QString index = QString::fromUtf8(readFile(dir.filePath("index.html")));
        QVERIFY(index.indexOf("round-innledende.html") < index.indexOf("round-finale.html"));
        QVERIFY(index.contains("list-poeng.html") && index.contains("Vårstevnet &lt;&amp;&gt;"));
        QVERIFY(QString::fromUtf8(readFile(dir.filePath("round-innledende.html")))
                    .contains("Klasse G13 &lt;&amp;&gt;"));

        QVERIFY(site.publish(info(), a));
        QCOMPARE(site.written(), QStringList{});
        b.lines[b.lines.size() - 3].cells[4].text = "11.11";
        QVERIFY(site.publish(info(), b));
        QCOMPARE(site.written(), (QStringList{"list-klasse-g13.html", kManifestName}));

        SitePublisher restarted(dir.path());
        QVERIFY(restarted.publish(info("Innledende"), sampleResultList("200m", "Finale", 2)));
        QVERIFY(readFile(dir.filePath("round-innledende.html")).contains("list-klasse-g13.html"));
        QVERIFY(!readFile(dir.filePath("list-100m-menn.html")).contains(refreshLine()));
        QVERIFY(readFile(dir.filePath("list-klasse-g13.html")).contains(refreshLine()));
        QVERIFY(lint(dir.filePath("list-klasse-g13.html")).isEmpty());

        SiteInfo other = info();
        other.meet = "/meets/Other.mdb";
        QVERIFY(restarted.publish(other, sampleResultList("400m", "Finale", 2)));
        QVERIFY(!readFile(dir.filePath("round-finale.html")).contains("list-200m.html"));
    }

    // A folder that cannot take the site says why, and a page that cannot be written leaves the
    // index and the manifest as they were.
    void badFolders()
    {
        TestMeet meet;
        QTemporaryDir dir;
        writeFile(dir.filePath("plain"), "x");
        const ListDocument a = sampleResultList("100m", "Finale", 2);
        const QList<std::pair<QString, QString>> bad{{dir.filePath("missing"), "the folder does not exist"},
                                                     {dir.filePath("plain"), "the folder does not exist"},
                                                     {meet.state.meetDir, "it is the meet directory"},
                                                     {"/proc", "could not be written"}};
        SiteInfo i = info();
        i.language = Language::English;
        i.meetDir = meet.state.meetDir;
        for (const auto &[folder, why] : bad) {
            const Status s = SitePublisher(folder).publish(i, a);
            QVERIFY2(s.error().contains(why), qPrintable(folder + ": " + s.error()));
        }
        QCOMPARE(filesIn(meet.state.meetDir), QStringList{});

        SitePublisher site(dir.path());
        QVERIFY(site.publish(i, a));
        const QByteArray index = readFile(dir.filePath("index.html"));
        const QByteArray manifest = readFile(dir.filePath(kManifestName));
        QVERIFY(QDir(dir.path()).mkdir("list-200m.html"));
        QVERIFY(site.publish(i, sampleResultList("200m", "Finale", 2)).error().contains("list-200m.html"));
        QCOMPARE(readFile(dir.filePath("index.html")), index);
        QCOMPARE(readFile(dir.filePath(kManifestName)), manifest);
    }

    // With the option on every list made is published; a folder gone is told once, not per list.
    void publishingOption()
    {
        TestMeet meet;
        QTemporaryDir dir;
        ResultsPublishing publishing(meet.state);
        const ListDocument a = sampleResultList("100m", meet.state.roundName(), 2);
        emit meet.state.notifier.listMade(a, QString());
        QVERIFY(!QFile::exists(dir.filePath("index.html")));

        storePublishSetting(meet.state, {true, dir.filePath("site")});
        QCOMPARE(publishSetting(meet.state).folder, dir.filePath("site"));
        emit meet.state.notifier.listMade(a, QString());
        emit meet.state.notifier.listMade(a, QString());
        QCOMPARE(meet.prompt.messageTexts().size(), 1);
        QVERIFY(meet.prompt.lastMessage().contains(QDir::toNativeSeparators(dir.filePath("site"))));

        QVERIFY(QDir(dir.path()).mkdir("site"));
        emit meet.state.notifier.listMade(a, QString());
        QVERIFY(publishing.lastStatus());
        QVERIFY(readFile(dir.filePath("site/list-100m.html")).contains(refreshLine()));
        QVERIFY(readFile(dir.filePath("site/round-finale.html")).contains("list-100m.html"));

        PublishRun run(meet.state, dir.filePath("run/site"));
        emit meet.state.notifier.listMade(a, QString());
        QVERIFY(run.finish());
        QVERIFY(QFile::exists(dir.filePath("run/site/list-100m.html")));
    }
};

QTEST_GUILESS_MAIN(TestPublish)
#include "TestPublish.moc"
