#include "Clubs.h"

#include "app/Convert.h"
#include "registers/RegisterRules.h"

namespace arenor::registers {

std::optional<int> clubSlotFor(const QString &clubNo)
{
    const qint64 k = toInteger(clubNo);
    if (!Catalogs::validClub(k)) return std::nullopt;
    return int(k);
}

QString clubNumberProblem(const AppState &state, const QString &typed, const QString &kept)
{
    if (clubSlotFor(typed)) return {};
    return numberNotTakenText(state, QStringLiteral("Klubbnummer"), QStringLiteral("Club number"), typed,
                              kMaxClubs, kept);
}

bool syncClubCatalog(AppState &state, const QVariantList &record)
{
    const std::optional<int> k = clubSlotFor(record.value(ClubNumber).toString());
    if (!k) return false;
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
