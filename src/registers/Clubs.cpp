#include "Clubs.h"

#include "registers/RegisterRules.h"

namespace arenor::registers {

std::optional<int> clubSlotFor(const QString &clubNo)
{
    return catalogueSlot(clubNo, kMaxClubs);
}

bool syncClubCatalog(AppState &state, const QVariantList &record)
{
    const std::optional<int> k = clubSlotFor(record.value(ClubNumber).toString());
    if (!k)
        return false;
    state.catalogs.clubs[size_t(*k)] = record.value(ClubName).toString();
    return true;
}

QList<int> clubWipeFields()
{
    QList<int> fields;
    for (int f = ClubName; f <= ClubMobile; ++f)
        fields.append(f);
    return fields;
}

} // namespace arenor::registers
