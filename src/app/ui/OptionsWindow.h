#pragma once
// The options window: sixteen options, the editor and language choices, the background
// picture, and Save / Load / Close for the settings file. Also the frame's side of the
// settings (bars, relabelling, window placements).

#include "app/Settings.h"
#include "app/ui/ChildWindow.h"

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;
class QRadioButton;

namespace arenor {

class OptionsWindow : public ChildWindow {
    Q_OBJECT
public:
    OptionsWindow(AppState &state, MainWindow &main);

    void retranslate() override;
    // Shows the options, the choices and the picture list as the state holds them.
    void showState();

    QCheckBox *optionBox(int index) const { return m_options[size_t(index)]; }
    QRadioButton *editorButton(int index) const { return m_editors[size_t(index)]; }
    QRadioButton *languageButton(int index) const { return m_languages[size_t(index)]; }
    QComboBox *pictureList() const { return m_pictures; }
    QCheckBox *publishBox() const { return m_publish; }
    QLineEdit *publishFolderEdit() const { return m_publishFolder; }
    QPushButton *publishFolderButton() const { return m_publishChoose; }
    // 0 Save, 1 Load, 2 Close.
    QPushButton *commandButton(int index) const { return m_buttons[size_t(index)]; }

    // The meet's lane priority: stored when it is a lane table; otherwise the user is told why
    // and the one kept is shown again. Empty removes it.
    bool storeLanePriority(const QString &text);
    QLineEdit *lanePriorityBox() const { return m_lanePriority; }

    // The caption number of option check box 0..15.
    static int optionCaption(int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void command(int index);
    void pictureChosen(int index);
    void fillPictureList();
    // Publishing switched on or off, or another folder chosen: a new folder takes the site's
    // index at once, and one that cannot leaves the option as it was.
    void publishToggled(bool on);
    void choosePublishFolder();
    void startPublishing(const QString &folder);
    // A frame of exclusive choices named <name>RadioButton0.. in a button group.
    QGroupBox *makeChoiceFrame(const QString &name, QButtonGroup *&group, QRadioButton **buttons, int count);

    MainWindow &m_main;
    std::array<QCheckBox *, OptionCount> m_options{};
    std::array<QRadioButton *, kEditorChoices> m_editors{};
    std::array<QRadioButton *, kLanguageChoices> m_languages{};
    QButtonGroup *m_editorGroup = nullptr;
    QButtonGroup *m_languageGroup = nullptr;
    QGroupBox *m_optionFrame = nullptr;
    QGroupBox *m_editorFrame = nullptr;
    QGroupBox *m_languageFrame = nullptr;
    QLabel *m_pictureLabel = nullptr;
    QLabel *m_lanePriorityLabel = nullptr;
    QLineEdit *m_lanePriority = nullptr;
    QComboBox *m_pictures = nullptr;
    QCheckBox *m_publish = nullptr;
    QLineEdit *m_publishFolder = nullptr;
    QPushButton *m_publishChoose = nullptr;
    std::array<QPushButton *, 3> m_buttons{};
    bool m_showing = false;
};

// The frame's side of the settings, owned by the main window.
SettingsHost *createSettingsHost(AppState &state, MainWindow &main);

// A child window's five placement numbers: left, top, width, height in pixels of the
// window area, and its state. nullopt when it is minimised or maximised.
std::optional<WindowPlacement> normalPlacementOf(const QMdiSubWindow *sub);
// Moves a newly loaded window to its first two numbers, when the settings file gave them.
void restorePlacement(const AppState &state, WindowId id, QMdiSubWindow *sub);

} // namespace arenor
