#include "ProgramLock.h"

#include <QDir>

namespace arenor {

ProgramLock::ProgramLock(const QString &programDir)
    : m_dir(QDir(programDir).absolutePath()), m_lock(m_dir + QStringLiteral("/Arenor.lock"))
{
    // Only a lock whose program is gone is stale, however long the other program has run.
    m_lock.setStaleLockTime(0);
}

bool ProgramLock::tryLock()
{
    return m_lock.isLocked() || m_lock.tryLock(0);
}

qint64 ProgramLock::holder() const
{
    qint64 pid = 0;
    QString host, app;
    return m_lock.getLockInfo(&pid, &host, &app) ? pid : 0;
}

bool claimProgramDirectory(ProgramLock &lock, Prompt &prompt, const TextTables &texts)
{
    while (!lock.tryLock()) {
        const bool no = texts.messageLanguage() == Language::Norwegian;
        const QString pid = QString::number(lock.holder());
        const QString text =
            no ? QStringLiteral("Programkatalogen ") + lock.directory() +
                     QStringLiteral(" er i bruk av et annet program som kjører nå (prosess ") + pid +
                     QStringLiteral("). To programmer i samme katalog ville skrive over hverandres stevne og "
                                    "tider.\n\nVil du avslutte? (Nei prøver igjen.)")
               : QStringLiteral("The program directory ") + lock.directory() +
                     QStringLiteral(" is in use by another program that is running now (process ") + pid +
                     QStringLiteral("). Two programs in one directory would overwrite each other's meet and "
                                    "times.\n\nDo you want to quit? (No tries again.)");
        if (prompt.askYesNo(text, texts.message(1), Icon::Exclamation))
            return false;
    }
    return true;
}

} // namespace arenor
