#pragma once
// The sort window: which of the grid's first ten columns to sort by, and the direction. For
// an event grid it proposes the Results column in the direction that fits the event.

#include "db/AppState.h"
#include "events/GridSort.h"

#include <QDialog>
#include <array>

class QRadioButton;

namespace arenor {

class SortDialog : public QDialog {
    Q_OBJECT
public:
    // context: the event of the grid; nullptr for a register table (no proposals).
    SortDialog(AppState &state, const events::GridContext *context, int columnCount,
               QWidget *parent = nullptr);

    QRadioButton *column(int k) const { return m_columns[size_t(k)]; }
    QRadioButton *direction(int j) const { return m_directions[size_t(j)]; }
    // The chosen column 1..10, 0 when none is chosen; the chosen direction.
    int sortColumn() const;
    bool descending() const;

signals:
    // "&Sorter" with a column chosen; the window closes after.
    void sortRequested(int column, bool descending);

private:
    std::array<QRadioButton *, 10> m_columns{};
    std::array<QRadioButton *, 2> m_directions{};
};

} // namespace arenor
