#include "TestSupport.h"

#include "events/GridList.h"
#include "print/ListCommands.h"
#include "print/ListPrint.h"
#include "print/ui/ListPrintDialog.h"

#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

using namespace arenor;
using namespace arenor::test;

namespace {

// A class list of `rows` rows with Norwegian letters and names longer than their column.
ListDocument classList(int rows, events::ListType type)
{
    events::GridList list;
    list.type = type;
    list.infoLines = {"", "", "", "", "Vårstevnet på Ørland", "Ås", "14.06.2026", "IL Ærlig"};
    list.selection = {"Finale_", 3, "100m", "_", 2, "Menn"};
    list.columns = QString("Heat|Bane|Htpl|Øvpl|Stnr|Navn|Klubb|Resultat|Differanse").split(u'|');
    for (int i = 1; i <= rows; ++i)
        list.rows << QStringList{
            "1",
            "2",
            "3",
            QString::number(i),
            QString::number(i),
            QStringLiteral("Ærlig Øvreås Åsen %1 Langnavnsen").arg(i, 4, 10, QChar(u'0')),
            "Bjørnevatn IL",
            "12.34",
            "0.00"};
    ListDocument document;
    TextTables texts;
    [&] { QVERIFY(events::gridListDocument(texts, list, document).ok()); }();
    return document;
}

// What poppler makes of a PDF: its text with the layout kept, and its page count and size.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestListPrint : public QObject {
    Q_OBJECT
private slots:
    // A 3000-row list: every row on paper whole, the headings and the page footer on every
    // page, no ":" printed (separators are rules), and as many pages as the painter counted.
    // A list wider than a portrait page turns the page; a narrow one does not.
    void pdf_data()
    {
        Cases<int, int, QString>::columns();
        QTest::newRow("standard, 3000 rows") << 3000 << int(events::ListType::Standard) << "595 x 842";
        QTest::newRow("heat layout: landscape") << 3 << int(events::ListType::Heat) << "842 x 595";
    }
    void pdf()
    {
        const auto [rows, type, size] = Cases<int, int, QString>::fetch();
        const ListDocument document = classList(rows, events::ListType(type));
        QTemporaryDir dir;
        const QString path = dir.filePath("list.pdf");
        int pages = 0;
        QVERIFY(print::writeListPdf(path, document, {"Stevnet", "07.12.2026", "Side %1 av %2"}, &pages).ok());
        const QString info = run("pdfinfo", {path});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +%1\\n").arg(pages))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size: +" + size)), qPrintable(info));
        const QString text = run("pdftotext", {"-layout", path, "-"});
        for (int i = 1; i <= rows; ++i)
            QVERIFY(text.contains(QStringLiteral("Ærlig Øvreås Åsen %1 La ").arg(i, 4, 10, QChar(u'0'))));
        QCOMPARE(text.count("Side "), pages);
        QVERIFY(text.contains(QStringLiteral("Side %1 av %1").arg(pages)));
        QCOMPARE(text.count("Vårstevnet på Ørland"), pages + 1); // each page's header, and the list's
        QCOMPARE(text.count("Navn"), pages);
        QVERIFY(!text.contains(u':'));
        QVERIFY(rows < 100 || pages > 40);
    }

    // "Save as PDF …": cancelled, nothing; a folder that is not there, a message naming the
    // file and nothing made; otherwise the whole file, ".pdf" added to a bare name.
    void saveAsPdf()
    {
        TestMeet meet;
        ListDocument document = classList(2, events::ListType::Standard);
        meet.prompt.setNextFile(std::nullopt);
        QVERIFY(!print::saveListAsPdf(meet.state, document));
        const QString missing = meet.dir.filePath("missing/list.pdf");
        meet.prompt.setNextFile(missing);
        QVERIFY(!print::saveListAsPdf(meet.state, document));
        QVERIFY(meet.prompt.lastMessage().contains(missing) && !QFile::exists(missing));
        meet.prompt.setNextFile(meet.dir.filePath("list"));
        QVERIFY(print::saveListAsPdf(meet.state, document));
        QVERIFY(readFile(meet.dir.filePath("list.pdf")).startsWith("%PDF"));
        QCOMPARE(filesIn(meet.dir.path()).filter(".pdf"), QStringList{"list.pdf"});
    }

    // The print buttons keep their letter unless the window's own controls have it; hidden
    // controls take none; with every letter taken the caption stays as it is.
    void mnemonics_data()
    {
        Cases<QStringList, QString, QString>::columns();
        QTest::newRow("free") << QStringList{"&Lukk"} << "Skriv &ut …"
                              << "Skriv &ut …";
        QTest::newRow("taken: next free letter")
            << QStringList{"&Ut/Inn", "&Stigende", "&Kombi"} << "Skriv &ut …"
            << "Sk&riv ut …";
        QTest::newRow("hidden control") << QStringList{"-&Ut/Inn"} << "Skriv &ut …"
                                        << "Skriv &ut …";
        QTest::newRow("all taken") << QStringList{"&a", "&b", "&c"} << "&ab c"
                                   << "&ab c";
    }
    void mnemonics()
    {
        const auto [others, caption, expected] = Cases<QStringList, QString, QString>::fetch();
        QWidget window;
        for (const QString &other : others)
            (new QRadioButton(QString(other).remove(u'-'), &window))->setHidden(other.startsWith(u'-'));
        QPushButton button(&window);
        print::setCaptionWithFreeMnemonic(button, caption, window);
        QCOMPARE(button.text(), expected);
    }
};

QTEST_MAIN(TestListPrint)
#include "TestListPrint.moc"
