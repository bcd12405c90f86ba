#include "TestSupport.h"

#include "base/TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace arenor;
using namespace arenor::test;

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void decodesUtf8WithWindowsFallback_data()
    {
        Cases<QByteArray, QString>::columns();
        QTest::newRow("utf8") << QByteArray("Påmelding") << QStringLiteral("Påmelding");
        QTest::newRow("cp1252 å") << QByteArray("P\xe5melding") << QStringLiteral("Påmelding");
        QTest::newRow("cp1252 euro") << QByteArray("\x80 5") << QStringLiteral("€ 5");
        QTest::newRow("mixed") << QByteArray("\xc3\xb8 og \xf8") << QStringLiteral("ø og ø");
        QTest::newRow("truncated sequence") << QByteArray("a\xc3") << QStringLiteral("aÃ");
        QTest::newRow("overlong") << QByteArray("\xc0\xaf") << QStringLiteral("À¯");
    }
    void decodesUtf8WithWindowsFallback()
    {
        auto [bytes, text] = Cases<QByteArray, QString>::fetch();
        QCOMPARE(decodeText(bytes), text);
    }

    // Every line end splits; the writer's CRLF and UTF-8 are held by the golden files.
    void splitsEveryLineEnd()
    {
        QCOMPARE(splitLines(QStringLiteral("a\r\nb\nc\rd")), QStringList({"a", "b", "c", "d"}));
        QCOMPARE(splitLines(QStringLiteral("a\r\n\r\n")), QStringList({"a", ""}));
        QCOMPARE(splitLines(QString()), QStringList());
    }

    // The old contents stay whole until the new ones are complete: while they are written the
    // file still reads as before, a reader that opened it earlier keeps reading the old
    // contents, and a write that cannot be made reports so and leaves the file alone.
    void rewriteKeepsTheOldContentsWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.txt"));
        QVERIFY(writeTextFile(path, {QStringLiteral("old")}).ok());
        QByteArray seenMidway;
        QVERIFY(writeFileAtomically(path, [&](QIODevice &d) {
                    d.write(QByteArray(100000, 'n'));
                    seenMidway = readFile(path);
                }).ok());
        QCOMPARE(seenMidway, QByteArray("old\r\n"));
        QCOMPARE(readFile(path), QByteArray(100000, 'n'));

        QFile reader(path);
        QVERIFY(reader.open(QIODevice::ReadOnly));
        QVERIFY(writeTextFile(path, {QStringLiteral("new")}).ok());
        QCOMPARE(reader.readAll(), QByteArray(100000, 'n'));
        QCOMPARE(readFile(path), QByteArray("new\r\n"));
        QVERIFY(!writeTextFile(dir.filePath(QStringLiteral("missing/x.txt")), {QStringLiteral("new")}).ok());
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "TestTextFile.moc"
