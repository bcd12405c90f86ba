#pragma once
// The start setup window: a common or staggered start, into the grid's out-time column or, as
// planned start times, into the out-times file.

#include "db/AppState.h"
#include "events/StartSetup.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace arenor {

class StartSetupDialog : public QDialog {
    Q_OBJECT
public:
    StartSetupDialog(AppState &state, events::TimeFormat format, QWidget *parent = nullptr);

    QRadioButton *type(int i) const { return m_type[size_t(i)]; } // 0 common, 1 staggered
    QLineEdit *startTime() const { return m_startTime; }
    QLineEdit *interval() const { return m_interval; }
    QLineEdit *groupSize() const { return m_group; }
    QCheckBox *byNumber() const { return m_byNumber; }
    QCheckBox *toFile() const { return m_toFile; }
    events::StartSetupRequest request() const;

signals:
    // "&Ok": the caller hands out the times; it closes the window when they are placed.
    void confirmed();

private:
    events::TimeFormat m_format;
    std::array<QRadioButton *, 2> m_type{};
    QLineEdit *m_startTime = nullptr;
    QLineEdit *m_interval = nullptr;
    QLineEdit *m_group = nullptr;
    QCheckBox *m_byNumber = nullptr;
    QCheckBox *m_toFile = nullptr;
};

} // namespace arenor
