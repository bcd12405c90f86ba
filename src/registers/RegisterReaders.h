#pragma once
// Reading the registers into their catalogues: competitors, relay teams, clubs, classes,
// then the entries window's lists.

#include "app/AppState.h"

namespace arenor::registers {

// The register reading sequence. Missing tables leave their catalogues as they are.
void readRegisters(AppState &state);

} // namespace arenor::registers
