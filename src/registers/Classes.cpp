#include "Classes.h"

namespace arenor::registers {

QStringList appendKeepingLast(const QStringList &lines, const QStringList &added, int keep)
{
    QStringList all = lines + added;
    if (all.size() > keep) all.remove(0, all.size() - keep);
    return all;
}

} // namespace arenor::registers
