#pragma once
// The channel setup rows of the GPIO and serial adapters: chip and lines, or the serial port,
// offered from what the system has. Shown only for those two adapter types.

#include "base/TextTables.h"
#include "timing/TimingSetup.h"

#include <QObject>
#include <QPair>
#include <QVariant>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace arenor {

class EventAdapterControls : public QObject {
    Q_OBJECT
public:
    // Adds the rows to grid from row on, in parent.
    EventAdapterControls(QWidget *parent, QGridLayout *grid, int row);

    void retranslate(Language language);
    // The record into the controls.
    void show(const timing::TimingSetup &setup);
    // Shows the rows of the chosen type, offers the devices there are now, and locks the
    // choices while automatic timing runs.
    void update(const timing::TimingSetup &setup, bool automatic);

signals:
    void changed(const QList<QPair<int, QVariant>> &changes);

private:
    void offer(QComboBox *box, const QStringList &paths);

    Language m_language = Language::Norwegian;
    QLabel *m_chipLabel = nullptr;
    QComboBox *m_chip = nullptr;
    QLabel *m_inputsLabel = nullptr;
    QLineEdit *m_inputs = nullptr;
    QLabel *m_outputsLabel = nullptr;
    QLineEdit *m_outputs = nullptr;
    QLabel *m_serialLabel = nullptr;
    QComboBox *m_serial = nullptr;
    QLabel *m_info = nullptr;
};

} // namespace arenor
