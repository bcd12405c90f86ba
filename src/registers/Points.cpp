#include "Points.h"

#include "base/Convert.h"
#include "db/Schema.h"

namespace arenor::registers {

static_assert(kPointPlaces == std::tuple_size_v<decltype(AppState::ShownPoints::places)>);
static_assert(kPointPlaces + 1 == schema::kPointFields);

int pointsForPlace(const AppState &state, int place)
{
    if (state.shownPoints.row < 0 || place < 1 || place > kPointPlaces) return 0;
    return int(toRoundedInteger(state.shownPoints.places[size_t(place - 1)], -kMaxPointsPerPlace,
                                kMaxPointsPerPlace));
}

void showPointSetup(AppState &state, int row, const QVariantList &fields)
{
    state.shownPoints.row = row;
    for (int p = 1; p <= kPointPlaces; ++p)
        state.shownPoints.places[size_t(p - 1)] = p < fields.size() ? fields[p].toString() : QString();
}

Status selectPointSetup(AppState &state, int row)
{
    db::Recordset rs;
    if (Status s = rs.open(state.database, schema::tableName(state, schema::Table::Poengoppsett)); !s)
        return s;
    if (row < 0 || row >= rs.recordCount())
        return Status::failure(QStringLiteral("no point setup %1").arg(row + 1));
    rs.moveTo(row);
    QVariantList fields;
    for (int f = 0; f < rs.fieldCount(); ++f)
        fields.append(rs.field(f));
    showPointSetup(state, row, fields);
    return {};
}

void setShownPlace(AppState &state, int place, const QString &text)
{
    if (place >= 1 && place <= kPointPlaces) state.shownPoints.places[size_t(place - 1)] = text;
}

void wipeShownPoints(AppState &state)
{
    state.shownPoints.places.fill(QStringLiteral("0"));
}

} // namespace arenor::registers
