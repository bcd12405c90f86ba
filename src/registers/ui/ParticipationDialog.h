#pragma once
// "Deltagelse": whether the selected group takes part in one event or not.

#include "base/TextTables.h"

#include <QDialog>

class QRadioButton;

namespace arenor {

class ParticipationDialog : public QDialog {
    Q_OBJECT
public:
    ParticipationDialog(const TextTables &texts, QWidget *parent = nullptr);
    // "&Skal delta" (true) or "&Skal ikke delta".
    bool takesPart() const;
    void setTakesPart(bool on);

private:
    QRadioButton *m_take = nullptr;
    QRadioButton *m_dont = nullptr;
};

} // namespace arenor
