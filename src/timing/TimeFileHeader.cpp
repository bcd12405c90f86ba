#include "TimeFileHeader.h"

#include "app/TextFile.h"

namespace arenor::timing {

QString emptyFileTitle(Direction d)
{
    return d == Direction::Out ? QStringLiteral(" TIDFIL UT ") : QStringLiteral(" TIDFIL INN ");
}

QStringList headerLines(const QString &title)
{
    return {ruler(u'=', 42), title, ruler(u'=', 42)};
}

Status createEmptyTimesFile(const QString &path, Direction d)
{
    return writeTextFile(path, headerLines(emptyFileTitle(d)));
}

} // namespace arenor::timing
