#include "TimeFileHeader.h"

#include "base/TextFile.h"

namespace arenor::timing {

QString timesFileTitle(Direction d, TitleStyle style)
{
    const bool out = d == Direction::Out;
    switch (style) {
    case TitleStyle::Empty:
        break;
    case TitleStyle::Registration:
        return out ? QStringLiteral(" TIDFIL UT ") : QStringLiteral(" TIDFIL INN");
    case TitleStyle::Correction:
        return out ? QStringLiteral(" TIDFIL UT") : QStringLiteral(" TIDFIL INN");
    case TitleStyle::GridImport:
        return out ? QStringLiteral(" TIDFIL  UT ") : QStringLiteral(" TIDFIL  INN ");
    }
    return out ? QStringLiteral(" TIDFIL UT ") : QStringLiteral(" TIDFIL INN ");
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
