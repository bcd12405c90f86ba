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
        const QString text =
            texts.message(Text::DirectoryInUse).arg(lock.directory(), QString::number(lock.holder()));
        if (prompt.askYesNo(text, texts.message(1), Icon::Exclamation))
            return false;
    }
    return true;
}

} // namespace arenor
