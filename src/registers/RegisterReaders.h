#pragma once
// Reading the registers into their catalogues. Each reader walks its table in record order
// while AppState::readingRegister holds back the automatic start-list refresh, shows its
// progress, and checks that record k holds number k. The register size is the number of
// records (at most the catalogue's size), whatever the last record's number says: the entries
// table is laid out by that many records.

#include "db/AppState.h"
#include "registers/Relay.h" // RegisterRead, readRelayTeams

namespace arenor::registers {

// Competitors: PersonCatalog and PersonCount (status text message 108).
RegisterRead readPersons(AppState &state);
// Clubs: ClubCatalog and ClubCount (message 109).
RegisterRead readClubs(AppState &state);
// Classes: ClassCatalog slot r from record r, and the class pick list (AppState::classLines,
// last 40 lines kept); its viewers are told. count is the number of class records.
RegisterRead readClasses(AppState &state);

// Message 35 when a read found a record whose number is not its position.
void reportIndexError(AppState &state, const RegisterRead &read);

// The register reading sequence: competitors, relay teams, clubs, classes (each index error
// reported), then the entries window's lists. Missing tables leave their catalogues as they are.
void readRegisters(AppState &state);

} // namespace arenor::registers
