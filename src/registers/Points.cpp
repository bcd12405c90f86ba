#include "Points.h"

#include "base/Convert.h"
#include "db/Schema.h"

namespace arenor::registers {

static_assert(kPointPlaces + 1 == schema::kPointFields);

int pointsForPlace(const AppState &state, int place)
{
    if (state.pointSetup < 0 || place < 1 || place > kPointPlaces)
        return 0;
    return int(toRoundedInteger(state.pointSetups.text(state.pointSetup, place), -kMaxPointsPerPlace,
                                kMaxPointsPerPlace));
}

bool selectPointSetup(AppState &state, int row)
{
    if (row < 0 || row >= state.pointSetups.rowCount())
        return false;
    state.pointSetup = row;
    return true;
}

} // namespace arenor::registers
