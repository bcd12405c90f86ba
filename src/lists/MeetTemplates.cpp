#include "MeetTemplates.h"

#include "base/TextFile.h"

namespace arenor::lists {

QStringList infoTemplateLines(const TextTables &texts, bool testMode)
{
    return {ruler(u'-', 82),
            texts.message(85),
            ruler(u'-', 82),
            texts.message(86),
            ruler(u'-', 67),
            texts.message(testMode ? 87 : 89),
            texts.message(testMode ? 88 : 90),
            ruler(u'-', 67)};
}

QStringList reportTemplateLines(const TextTables &texts)
{
    return {texts.message(83), ruler(u'-', 44), texts.message(84)};
}

Status writeInfoTemplate(const AppState &state, const QString &path)
{
    return writeTextFile(path, infoTemplateLines(state.texts, state.testMode()));
}

Status writeReportTemplate(const AppState &state, const QString &path)
{
    return writeTextFile(path, reportTemplateLines(state.texts));
}

} // namespace arenor::lists
