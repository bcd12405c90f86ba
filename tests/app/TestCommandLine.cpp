#include "app/CommandLine.h"
#include "base/Version.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace arenor;

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("asked"); // help, version or empty
        QTest::addColumn<QString>("errorPart");

        QTest::newRow("nothing") << QStringList{} << true << QString() << QString();
        QTest::newRow("--dir DIR") << QStringList{"--dir", "meets"} << true << QString() << QString();
        QTest::newRow("--dir=DIR") << QStringList{"--dir=meets"} << true << QString() << QString();
        QTest::newRow("-h") << QStringList{"-h"} << true << "help" << QString();
        QTest::newRow("--version") << QStringList{"--version"} << true << "version" << QString();
        QTest::newRow("-v") << QStringList{"-v"} << true << "version" << QString();
        QTest::newRow("--dir without a value") << QStringList{"--dir"} << false << QString() << "dir";
        QTest::newRow("--publish DIR") << QStringList{"--make-lists", "--publish", "site"} << true << QString() << QString();
        QTest::newRow("--publish without a value") << QStringList{"--publish"} << false << QString() << "publish";
        QTest::newRow("--publish= empty") << QStringList{"--publish="} << false << QString() << "--publish: the folder";
        QTest::newRow("unknown option") << QStringList{"--meets"} << false << QString() << "meets";
        QTest::newRow("stray argument")
            << QStringList{"Demomeet.mdb"} << false << QString() << "Demomeet.mdb";
        // Before Qt has taken out its own options they are unknown, yet --version is seen.
        QTest::newRow("Qt option and --version")
            << QStringList{"-platform", "offscreen", "--version"} << false << "version"
            << "platform";
        QTest::newRow("lists with a meet and PDFs")
            << QStringList{"--make-lists", "--meet", "M.mdb", "--pdf", "out"} << true << QString()
            << QString();
        QTest::newRow("--pdf without --make-lists")
            << QStringList{"--pdf", "out"} << false << QString() << "--pdf";
        QTest::newRow("--server") << QStringList{"--server", "postgresql://arenor@db.club:5432/meet"} << true
                                  << QString() << QString();
        QTest::newRow("--server on the default host") << QStringList{"--server", "postgresql:///meet"} << true
                                                      << QString() << QString();
        QTest::newRow("--server with lists")
            << QStringList{"--make-lists", "--server", "postgresql://arenor@db/meet"} << true << QString() << QString();
        QTest::newRow("--server without a database")
            << QStringList{"--server", "postgresql://arenor@db/"} << false << QString() << "--server";
        QTest::newRow("--server given a file") << QStringList{"--server", "Meet.mdb"} << false << QString() << "--server";
        QTest::newRow("--server with a password")
            << QStringList{"--server", "postgresql://arenor:pw@db/meet"} << false << QString() << "--server";
        QTest::newRow("--server and --meet")
            << QStringList{"--make-lists", "--server", "postgresql://db/m", "--meet", "M.mdb"} << false
            << QString() << "--meet";
        // A Qt option that holds a "v" asks for no version.
        QTest::newRow("-reverse") << QStringList{"-reverse"} << false << QString() << "reverse";
    }

    // What the arguments ask for, and what is wrong with them; a second reading forgets the first.
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, ok);
        QFETCH(QString, asked);
        QFETCH(QString, errorPart);
        CommandLine line(Language::English);
        QVERIFY(line.parse({"arenor", "--version", "stray"}) == false);
        QCOMPARE(line.parse(QStringList{"/usr/bin/arenor"} + arguments), ok);
        QCOMPARE(line.helpAsked(), asked == "help");
        QCOMPARE(line.versionAsked(), asked == "version");
        QCOMPARE(line.error().isEmpty(), errorPart.isEmpty());
        QVERIFY2(line.error().contains(errorPart), qPrintable(line.error()));
        // The address is kept as the program writes it, so the title and Arenor.ini show one form.
        if (ok && arguments.contains("--server"))
            QCOMPARE(line.server(), arguments.at(arguments.indexOf("--server") + 1));
    }

    void helpAndVersion()
    {
        CommandLine english(Language::English);
        english.parse({"/usr/bin/arenor", "--help"});
        const QString help = english.helpText();
        QVERIFY2(help.startsWith("Usage: arenor [options]"), qPrintable(help));
        QVERIFY(help.contains("--dir <DIRECTORY>"));
        QVERIFY(help.contains("--publish <FOLDER>"));
        QVERIFY(english.parse({"arenor", "--make-lists", "--publish", "site"}));
        QCOMPARE(english.publishFolder(), QDir::current().absoluteFilePath("site"));
        QVERIFY(help.contains(QDir::homePath() + "/Arenor"));
        QCOMPARE(english.versionText(), QStringLiteral("Arenor %1\n").arg(kProgramVersion));

        CommandLine norwegian(Language::Norwegian);
        QVERIFY(norwegian.helpText().contains("--dir <KATALOG>"));
        QVERIFY(!norwegian.parse({"arenor", "x"}));
        QCOMPARE(norwegian.error(), QStringLiteral("Ukjent argument \"x\"."));
    }

    // The directory is made when missing and always given absolute; one that cannot be made
    // is refused with its name, and nothing is put in its place.
    void programDirectory()
    {
        QTemporaryDir tmp;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", tmp.path().toLocal8Bit());
        CommandLine line(Language::English);
        QString error;
        QVERIFY(line.parse({"arenor"}));
        QCOMPARE(line.programDirectory(&error), tmp.filePath("Arenor"));
        QVERIFY(QFileInfo(tmp.filePath("Arenor")).isDir());
        qputenv("HOME", home);

        QDir::setCurrent(tmp.path());
        QVERIFY(line.parse({"arenor", "--dir", "club/meets"}));
        QCOMPARE(line.programDirectory(&error), tmp.filePath("club/meets"));
        QVERIFY(QFileInfo(tmp.filePath("club/meets")).isDir());

        QFile file(tmp.filePath("plain"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        for (const QString &bad : {tmp.filePath("plain"), tmp.filePath("plain/meets"), QString()}) {
            QVERIFY(line.parse({"arenor", "--dir", bad}));
            QVERIFY(line.programDirectory(&error).isEmpty());
            QCOMPARE(error, QStringLiteral("Cannot create the program directory %1.").arg(bad));
        }
        QCOMPARE(file.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "TestCommandLine.moc"
