#pragma once
// What a station of a server meet tells its user about the other stations, in both languages.
// Kept beside the engine: the record models and the grid maker below the windows say it.

#include "base/TextTables.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace arenor::db {

enum class StationText {
    RecordChanged, // %1 table; followed by one FieldChanged line per field
    FieldChanged,  // %1 field, %2 stored value, %3 value read before
    RecordGone,    // %1 table
    GridBusy,      // %1 grid table
    ConnectionLost,
};

// The language these texts are given in: the message language, set by whoever loads it.
void setStationLanguage(Language language);
QString stationText(StationText id);
QString stationText(StationText id, Language language);

// Why a write was refused: the record was changed elsewhere since `read`; `stored` is what the
// table holds now (empty when the record is gone).
QString changedElsewhereText(const QString &table, const QStringList &fields, const QVariantList &read,
                             const QVariantList &stored, bool gone);

} // namespace arenor::db
