#include "ScriptedPrompt.h"
#include "app/ProgramLock.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace arenor;

class TestProgramLock : public QObject {
    Q_OBJECT
private slots:
    // A second program on one directory is told it is in use and may quit; the lock of a
    // program that died is taken over without a question.
    void oneProgramPerDirectory()
    {
        QTemporaryDir dir;
        QProcess holder;
        holder.start(QStringLiteral(ARENOR_MEET_CHILD), {QStringLiteral("lock"), dir.path()});
        QVERIFY(holder.waitForReadyRead(20000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));

        ProgramLock lock(dir.path());
        ScriptedPrompt prompt;
        TextTables texts;
        prompt.setNextAnswer(Answer::No);  // try again
        prompt.setNextAnswer(Answer::Yes); // quit
        QVERIFY(!claimProgramDirectory(lock, prompt, texts));
        QCOMPARE(prompt.asked().size(), size_t(2));
        QVERIFY(prompt.lastMessage().startsWith(QStringLiteral("Programkatalogen ") + dir.path() +
                                                QStringLiteral(" er i bruk")));
        QVERIFY(prompt.lastMessage().contains(QString::number(holder.processId())));

        holder.kill();
        QVERIFY(holder.waitForFinished(20000));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("Arenor.lock"))));
        prompt.clear();
        QVERIFY(claimProgramDirectory(lock, prompt, texts));
        QVERIFY(prompt.asked().empty());

        QProcess second;
        second.start(QStringLiteral(ARENOR_MEET_CHILD), {QStringLiteral("lock"), dir.path()});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(TestProgramLock)
#include "TestProgramLock.moc"
