#pragma once
// The club register (table Klubber): its fields, keeping ClubCatalog in step with a record,
// and wiping a record.

#include "db/AppState.h"

#include <QVariant>
#include <optional>

namespace arenor::registers {

// The fields of a club record, by number.
enum ClubField {
    ClubNumber = 0,
    ClubName = 1,
    ClubSchool = 2,
    ClubLeader = 3,
    ClubCoach = 4,
    ClubAddress1 = 5,
    ClubAddress2 = 6,
    ClubTown = 7,
    ClubCounty = 8,
    ClubCountry = 9,
    ClubCode = 10,
    ClubOther = 11, // the only multi-line field
    ClubHomePhone = 12,
    ClubWorkPhone = 13,
    ClubFax = 14,
    ClubMobile = 15,
};

// The ClubCatalog slot a club number text names, or nullopt outside 0..50.
std::optional<int> clubSlotFor(const QString &clubNo);

// Why a typed club number cannot be kept (message language); empty when it can.
QString clubNumberProblem(const AppState &state, const QString &typed, const QString &kept);

// Copies the club name of a record into its catalogue slot. Writes nothing and returns false
// when the club number has no slot.
bool syncClubCatalog(AppState &state, const QVariantList &record);

// The fields "Visk" writes "-" into: all but the club number.
QList<int> clubWipeFields();

} // namespace arenor::registers
