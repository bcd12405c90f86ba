#pragma once
// The entries of every round in memory: round, event slot and entrant row. Row r is
// competitor r for r = 1..P and relay team r - P after them. The matrix remembers the register
// sizes it was laid out for, so a meet with other sizes never reads the rows of another.

#include "db/Catalogs.h"

#include <QString>
#include <array>
#include <vector>

namespace arenor {

constexpr int kMaxEntrantRows = kMaxPersons + kMaxRelays; // 3050

class EntryMatrix {
public:
    EntryMatrix() : m_cells(size_t(kRounds) * (kEventSlots + 1) * (kMaxEntrantRows + 1), 0) {}

    // round 0..3, event 1..36, row 1..3050; anything outside reads as not entered.
    bool entered(int round, int event, int row) const
    {
        return valid(round, event, row) && m_cells[index(round, event, row)] != 0;
    }
    // Writes outside the matrix are ignored.
    void set(int round, int event, int row, bool on)
    {
        if (valid(round, event, row))
            m_cells[index(round, event, row)] = on ? 1 : 0;
    }
    void clearRound(int round)
    {
        if (round < 0 || round >= kRounds)
            return;
        const auto first = m_cells.begin() + qsizetype(index(round, 0, 0));
        std::fill(first, first + (kEventSlots + 1) * (kMaxEntrantRows + 1), quint8(0));
    }
    void clear() { std::fill(m_cells.begin(), m_cells.end(), quint8(0)); }

    // The register sizes the rows were laid out for (-1: none yet).
    int persons = -1;
    int relays = -1;

    static bool valid(int round, int event, int row)
    {
        return round >= 0 && round < kRounds && event >= 1 && event <= kEventSlots && row >= 1 &&
               row <= kMaxEntrantRows;
    }

private:
    static size_t index(int round, int event, int row)
    {
        return (size_t(round) * (kEventSlots + 1) + size_t(event)) * (kMaxEntrantRows + 1) + size_t(row);
    }
    std::vector<quint8> m_cells;
};

} // namespace arenor
