#include "TestSupport.h"

#include "events/EventSetup.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace arenor;
using namespace arenor::test;

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

Run runProgram(const QStringList &arguments)
{
    QProcess p;
    p.setProcessEnvironment([] {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("LANG", "C");
        return environment;
    }());
    p.start(QStringLiteral(ARENOR_PROGRAM), arguments);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestListBatch : public QObject {
    Q_OBJECT
private slots:
    // A meet in test mode (everyone entered in events 1, 13 and 35) whose event 1 is set up for
    // every class: every list of the final made, each also as a PDF, the exit status 0 and the
    // meet the windows open next untouched. A meet that is not there, or --pdf alone: a message
    // on stderr and a status that says so, nothing made.
    void makesEveryList()
    {
        TestMeet meet;
        meet.state.options[OptTestMode] = 1;
        meet.makeDatabase(12, 2, 3);
        for (int k = 1; k <= kClassCount; ++k) {
            const int record = events::setupRecordNumber(3, 1, k);
            QVERIFY(events::writeSetupField(meet.state, record, events::SetupCategory, "0"));
            QVERIFY(events::writeSetupField(meet.state, record, events::SetupListType, "0"));
        }
        meet.state.database.close();
        const QString pdf = meet.dir.filePath("pdf");
        const QString site = meet.dir.filePath("site");
        const Run run = runProgram({"--dir", meet.dir.path(), "--meet", meet.state.currentDatabase, "--make-lists",
                                    "--pdf", pdf, "--publish", site});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList made = filesIn(meet.state.meetDir).filter(".txt");
        for (const QString name :
             {"Al-F.txt", "Av-F.txt", "Ko-F.txt", "Ov-F01.txt", "Po-F.txt", "På-F.txt", "Ti-F.txt"})
            QVERIFY2(made.contains(name), qPrintable(made.join(" ") + run.err));
        QVERIFY(!made.filter("Kl-F01").isEmpty());
        QStringList expected;
        for (const QString &name : made)
            if (name != "Info.txt")
                expected << QString(name).replace(".txt", ".pdf");
        QCOMPARE(filesIn(pdf), expected);
        // Every list made has its page, and the index links the rounds.
        QCOMPARE(filesIn(site).filter(QRegularExpression("^list-.*\\.html$")).size(), expected.size());
        QVERIFY(QFile::exists(site + "/index.html"));
        QCOMPARE(run.out.count('\n'), made.size() - 1 + expected.size());
        QVERIFY(!QFile::exists(meet.state.programFile("Arenor.ini")));

        const Run missing = runProgram({"--dir", meet.dir.path(), "--meet", "None.mdb", "--make-lists"});
        QVERIFY(missing.status == 1 && missing.err.contains("None.mdb"));
        const Run alone = runProgram({"--dir", meet.dir.path(), "--pdf", pdf});
        QVERIFY(alone.status == 2 && alone.err.contains("--make-lists"));
    }
};

QTEST_GUILESS_MAIN(TestListBatch)
#include "TestListBatch.moc"
