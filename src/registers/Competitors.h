#pragma once
// The competitor register (table Personer): its fields, keeping PersonCatalog in step with a
// record, the contingent code buttons, wiping a record, and the pick lists of the window.

#include "db/AppState.h"

#include <QStringList>
#include <QVariant>
#include <optional>

namespace arenor::registers {

// The fields of a competitor record, by number.
enum PersonField {
    PersonStartNo = 0,
    PersonFirstName = 1,
    PersonSurname = 2,
    PersonClub = 3,
    PersonClass = 4,
    PersonAddress1 = 5,
    PersonAddress2 = 6,
    PersonTown = 7,
    PersonCounty = 8,
    PersonCountry = 9,
    PersonCode = 10,
    PersonJob = 11,
    PersonStatus = 12,
    PersonSex = 13,
    PersonOther = 14, // the only multi-line field
    PersonHomePhone = 15,
    PersonWorkPhone = 16,
    PersonFax = 17,
    PersonMobile = 18,
    PersonContingent = 19,
    PersonBorn = 20,
    PersonAge = 21,
};

// The fixed choices of the status and sex lists (the same in both languages).
QStringList statusChoices();
QStringList sexChoices();

// The PersonCatalog slot a start number text names (its numeric value), or nullopt when the
// value lies outside 0..3000 and so has no slot.
std::optional<int> personSlotFor(const QString &startNo);

// Why a typed start number cannot be kept (message language); empty when it can.
QString startNumberProblem(const AppState &state, const QString &typed, const QString &kept);

// Copies a competitor record (fields as stored) into its catalogue slot: start number,
// "surname first name", club, class and contingent code. Writes nothing and returns false
// when the start number has no slot.
bool syncPersonCatalog(AppState &state, const QVariantList &record);

// The contingent buttons Full, 3/4, 1/2, 1/4 (0..3) stand for the codes 1..4.
// The code text a button writes: " 1" .. " 4".
QString contingentCodeText(int option);
// The button a code text selects, or -1 when its value is not exactly 1..4.
int contingentOption(const QString &codeText);

// The fields "Visk" writes "-" into: every shown field but the start number and the code.
QList<int> personWipeFields();

// The club list of the window: ClubCatalog 1..ClubCount; the class list: ClassCatalog 1..40.
QStringList clubChoices(const AppState &state);
QStringList classChoices(const AppState &state);

} // namespace arenor::registers
