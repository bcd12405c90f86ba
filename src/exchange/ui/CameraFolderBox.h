#pragma once
// The photo-finish camera's part of the options window: its folder (chosen, or cleared so the
// start list command asks again) and whether result files there are read as they appear.

#include "db/AppState.h"

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace arenor::exchange {

class CameraFolderBox : public QGroupBox {
    Q_OBJECT
public:
    CameraFolderBox(AppState &state, QWidget *parent = nullptr);
    void applyCaptions();
    // Shows the setting as Arenor.ini holds it.
    void showSetting();

    QLineEdit *folderEdit() const { return m_folder; }
    QPushButton *chooseButton() const { return m_choose; }
    QPushButton *clearButton() const { return m_clear; }
    QCheckBox *watchBox() const { return m_watch; }

private:
    void choose();

    AppState &m_state;
    QLabel *m_label = nullptr;
    QLineEdit *m_folder = nullptr;
    QPushButton *m_choose = nullptr;
    QPushButton *m_clear = nullptr;
    QCheckBox *m_watch = nullptr;
    bool m_showing = false;
};

} // namespace arenor::exchange
