#pragma once
// The class register (table Klasser): 40 class names, addressed by their record position.

#include "db/AppState.h"

#include <QStringList>

namespace arenor::registers {

// Lines the class pick lists keep.
constexpr int kClassListLines = 40;

// The pick list after a class read: the names read are appended behind the old lines, then
// lines are removed from the top until at most `keep` remain, so exactly the last 40 stay.
QStringList appendKeepingLast(const QStringList &lines, const QStringList &added, int keep = kClassListLines);

} // namespace arenor::registers
