#include "base/TextFile.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace arenor;

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void decodesUtf8WithWindowsFallback_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf8") << QByteArray("Påmelding") << QStringLiteral("Påmelding");
        QTest::newRow("cp1252 å") << QByteArray("P\xe5melding") << QStringLiteral("Påmelding");
        QTest::newRow("cp1252 euro") << QByteArray("\x80 5") << QStringLiteral("€ 5");
        QTest::newRow("mixed") << QByteArray("\xc3\xb8 og \xf8") << QStringLiteral("ø og ø");
        QTest::newRow("truncated sequence") << QByteArray("a\xc3") << QStringLiteral("aÃ");
        QTest::newRow("overlong") << QByteArray("\xc0\xaf") << QStringLiteral("À¯");
    }
    void decodesUtf8WithWindowsFallback()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeText(bytes), text);
    }

    void splitsEveryLineEnd()
    {
        QCOMPARE(splitLines(QStringLiteral("a\r\nb\nc\rd")), QStringList({"a", "b", "c", "d"}));
        QCOMPARE(splitLines(QStringLiteral("a\r\n\r\n")), QStringList({"a", ""}));
        QCOMPARE(splitLines(QString()), QStringList());
    }

    void writesCrLfUtf8()
    {
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        writeLines(buf, {QStringLiteral("Øvelser"), QString()});
        QCOMPARE(buf.data(), QByteArray("\xc3\x98velser\r\n\r\n"));
    }

    void failedWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.txt"));
        QVERIFY(writeTextFile(path, {QStringLiteral("old")}).ok());
        QVERIFY(!writeTextFile(dir.filePath(QStringLiteral("missing/x.txt")), {QStringLiteral("new")}).ok());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "TestTextFile.moc"
