#pragma once
// The info file (meet name and date heading every list) and the report file templates.

#include "db/AppState.h"

namespace arenor::lists {

QStringList infoTemplateLines(const TextTables &texts, bool testMode);
QStringList reportTemplateLines(const TextTables &texts);

Status writeInfoTemplate(const AppState &state, const QString &path);
Status writeReportTemplate(const AppState &state, const QString &path);

} // namespace arenor::lists
