#pragma once
// The result handling window: one bulk operation between the result column and the help
// columns of the open grid, over every row at once.

#include "db/AppState.h"
#include "events/GridTable.h"
#include "events/ResultHandling.h"

#include <QDialog>
#include <array>

class QLineEdit;
class QRadioButton;

namespace arenor {

class ResultHandlingDialog : public QDialog {
    Q_OBJECT
public:
    ResultHandlingDialog(AppState &state, const events::GridContext &context, const QString &table,
                         QWidget *parent = nullptr);

    QRadioButton *option(int index) const { return m_options[size_t(index)]; }
    // The column number boxes in the gaps of the captions: 0 and 1 for options 0 and 1, 2 and 3
    // for option 2, 4 and 5 for option 3, 6 for option 6.
    QLineEdit *info(int index) const { return m_info[size_t(index)]; }
    // The request the window holds now.
    events::HandleRequest request() const;

    // "&Bekreft": runs the operation and closes the window; a wrong column number or a failure
    // is told and the window stays open, the table unchanged.
    bool confirm();

private:
    AppState &m_state;
    events::GridContext m_context;
    QString m_table;
    std::array<QRadioButton *, 8> m_options{};
    std::array<QLineEdit *, 7> m_info{};
};

} // namespace arenor
