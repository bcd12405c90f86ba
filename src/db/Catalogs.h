#pragma once
// In-memory mirrors of the registers, so lists and pick lists need not read the database.

#include <QString>
#include <array>

namespace arenor {

constexpr int kMaxPersons = 3000;
constexpr int kMaxClubs = 50;
constexpr int kMaxRelays = 50;
constexpr int kMaxClassSlots = 50;
constexpr int kClassCount = 40;
constexpr int kEventSlots = 36;
constexpr int kRounds = 4;

constexpr int kDefaultPersons = 15;
constexpr int kDefaultRelays = 5;
constexpr int kDefaultClubs = 5;

struct PersonSlot {
    QString startNo;
    QString name; // surname, one blank, first name
    QString club;
    QString cls;
    qint16 contingentCode = 0;
};

struct RelaySlot {
    QString teamNo;
    QString club;
    QString cls;
    std::array<QString, 4> runner;
};

struct Catalogs {
    std::array<PersonSlot, kMaxPersons + 1> persons;   // PersonCatalog, slot 0 unused
    std::array<QString, kMaxClubs + 1> clubs;          // ClubCatalog
    std::array<QString, kMaxClassSlots + 1> classes;   // ClassCatalog, 1..40 used
    std::array<RelaySlot, kMaxRelays + 1> relays;      // RelayCatalog
    // CatalogSizes
    int personCount = 0; // P
    int relayCount = 0;  // R
    int clubCount = 0;   // C

    static bool validPerson(qint64 n) { return n >= 0 && n <= kMaxPersons; }
    static bool validClub(qint64 n) { return n >= 0 && n <= kMaxClubs; }
    static bool validRelay(qint64 n) { return n >= 0 && n <= kMaxRelays; }
    static bool validClass(qint64 n) { return n >= 0 && n <= kMaxClassSlots; }
};

} // namespace arenor
