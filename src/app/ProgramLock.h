#pragma once
// One program per program directory: a lock file in the directory, held for the whole run. A
// lock left by a program that died is taken over.

#include "base/Prompt.h"
#include "base/TextTables.h"

#include <QLockFile>
#include <QString>

namespace arenor {

class ProgramLock {
public:
    explicit ProgramLock(const QString &programDir);
    // True when this program now holds the directory.
    bool tryLock();
    // The process id of the program that holds it (0 when unknown).
    qint64 holder() const;
    QString directory() const { return m_dir; }

private:
    QString m_dir;
    QLockFile m_lock;
};

// Takes the directory for this program. While another program holds it, says so (message
// language) and asks whether to quit: Yes gives false, No tries again.
bool claimProgramDirectory(ProgramLock &lock, Prompt &prompt, const TextTables &texts);

} // namespace arenor
