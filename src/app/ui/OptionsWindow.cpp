#include "OptionsWindow.h"

#include "app/Publishing.h"
#include "app/ui/MainWindow.h"
#include "events/SeedStore.h"
#include "exchange/ui/CameraFolderBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <cmath>

namespace arenor {

namespace {

// Unchecks every button of an exclusive group, which Qt allows only while it is not exclusive.
void showChoice(QButtonGroup *group, int index)
{
    if (index >= 0 && group->button(index)) {
        group->button(index)->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

// The frame's side of the settings: it follows changed options and languages and answers
// where the child windows stand.
class FrameSettingsHost : public QObject, public SettingsHost {
public:
    FrameSettingsHost(AppState &state, MainWindow &main) : QObject(&main), m_state(state), m_main(main)
    {
        MeetNotifier *n = &state.notifier;
        connect(n, &MeetNotifier::optionChanged, this, &FrameSettingsHost::optionChanged);
        connect(n, &MeetNotifier::languageChanged, this, &FrameSettingsHost::languageChanged);
        connect(n, &MeetNotifier::settingsApplied, this, &FrameSettingsHost::settingsApplied);
    }

    std::optional<WindowPlacement> normalPlacement(int window) override
    {
        if (window < 0 || window >= kChildWindowCount)
            return std::nullopt;
        return normalPlacementOf(m_main.subWindow(WindowId(window)));
    }

private:
    void optionChanged(int index)
    {
        const bool on = m_state.option(Option(index));
        switch (index) {
        case OptShowStatusBar:
            m_main.setStatusAreaVisible(on);
            break;
        case OptShowToolBar:
            m_main.setToolBarVisible(on);
            break;
        case OptShowButtonBar:
            m_main.setButtonBarVisible(on);
            break;
        default:
            break;
        }
    }

    void languageChanged()
    {
        m_main.applyCaptions();
        // A progress text left in the status bar would stay in the old language.
        m_main.setStatusText(QString());
        // The round names follow the language, and so do the list names of the round.
        m_main.fillRoundSelector();
        m_state.setRoundTag(m_state.currentRound);
    }

    void settingsApplied()
    {
        if (auto *w = dynamic_cast<OptionsWindow *>(m_main.childWindow(WindowId::Options)))
            w->showState();
    }

    AppState &m_state;
    MainWindow &m_main;
};

} // namespace

OptionsWindow::OptionsWindow(AppState &state, MainWindow &main)
    : ChildWindow(WindowId::Options, state), m_main(main)
{
    setObjectName(QStringLiteral("Form7"));
    // The options of old on the left, publishing, seeding and the camera on the right, so the
    // window stays low enough for the window area of a laptop screen.
    auto *outer = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    auto *layout = new QVBoxLayout;
    auto *extra = new QVBoxLayout;
    columns->addLayout(layout);
    columns->addLayout(extra);
    outer->addLayout(columns);

    m_optionFrame = new QGroupBox(this);
    m_optionFrame->setObjectName(QStringLiteral("optionGroupBox"));
    auto *grid = new QGridLayout(m_optionFrame);
    for (int i = 0; i < OptionCount; ++i) {
        auto *box = new QCheckBox(m_optionFrame);
        box->setObjectName(QStringLiteral("optionCheckBox%1").arg(i));
        grid->addWidget(box, i % 8, i / 8);
        // toggled, not clicked: a screen reader's toggle action changes the option as a click does.
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            if (!m_showing)
                setOption(m_state, i, on ? 1 : 0);
        });
        m_options[size_t(i)] = box;
    }
    layout->addWidget(m_optionFrame);

    auto *choices = new QHBoxLayout;
    m_editorFrame =
        makeChoiceFrame(QStringLiteral("editor"), m_editorGroup, m_editors.data(), kEditorChoices);
    connect(m_editorGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on && !m_showing)
            chooseEditor(m_state, id);
    });
    choices->addWidget(m_editorFrame);
    m_languageFrame =
        makeChoiceFrame(QStringLiteral("language"), m_languageGroup, m_languages.data(), kLanguageChoices);
    connect(m_languageGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        // Queued: the switch relabels this very button while it is being toggled.
        if (on && !m_showing)
            QMetaObject::invokeMethod(
                this, [this, id] { chooseLanguage(m_state, id); }, Qt::QueuedConnection);
    });
    choices->addWidget(m_languageFrame);
    layout->addLayout(choices);

    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    m_pictures = new QComboBox(this);
    m_pictures->setObjectName(QStringLiteral("pictureComboBox"));
    m_pictureLabel->setBuddy(m_pictures);
    connect(m_pictures, &QComboBox::activated, this, [this](int index) { pictureChosen(index); });
    layout->addWidget(m_pictureLabel);
    layout->addWidget(m_pictures);

    auto *publishRow = new QHBoxLayout;
    m_publish = new QCheckBox(this);
    m_publish->setObjectName(QStringLiteral("publishCheckBox"));
    connect(m_publish, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing)
            publishToggled(on);
    });
    m_publishFolder = new QLineEdit(this);
    m_publishFolder->setObjectName(QStringLiteral("publishFolderLineEdit"));
    m_publishFolder->setReadOnly(true);
    m_publishChoose = new QPushButton(this);
    m_publishChoose->setObjectName(QStringLiteral("publishFolderPushButton"));
    connect(m_publishChoose, &QPushButton::clicked, this, [this] { choosePublishFolder(); });
    publishRow->addWidget(m_publishFolder, 1);
    publishRow->addWidget(m_publishChoose);
    extra->addWidget(m_publish);
    extra->addLayout(publishRow);
    // The meet's own lane priority for seeded heats, kept in the meet.
    m_lanePriorityLabel = new QLabel(this);
    m_lanePriorityLabel->setObjectName(QStringLiteral("lanePriorityLabel"));
    m_lanePriority = new QLineEdit(this);
    m_lanePriority->setObjectName(QStringLiteral("lanePriorityLineEdit"));
    m_lanePriorityLabel->setBuddy(m_lanePriority);
    connect(m_lanePriority, &QLineEdit::editingFinished, this, [this] {
        if (m_lanePriority->isModified())
            storeLanePriority(m_lanePriority->text());
    });
    extra->addWidget(m_lanePriorityLabel);
    extra->addWidget(m_lanePriority);
    extra->addWidget(new exchange::CameraFolderBox(state, this));
    extra->addStretch(1);

    auto *buttons = new QHBoxLayout;
    const char *names[3] = {"savePushButton", "loadPushButton", "closePushButton"};
    for (int i = 0; i < 3; ++i) {
        auto *b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(names[i]));
        connect(b, &QPushButton::clicked, this, [this, i] { command(i); });
        buttons->addWidget(b);
        m_buttons[size_t(i)] = b;
    }
    outer->addLayout(buttons);
    showState();
}

QGroupBox *OptionsWindow::makeChoiceFrame(const QString &name, QButtonGroup *&group, QRadioButton **buttons,
                                          int count)
{
    auto *frame = new QGroupBox(this);
    frame->setObjectName(name + QStringLiteral("GroupBox"));
    group = new QButtonGroup(this);
    auto *column = new QVBoxLayout(frame);
    for (int i = 0; i < count; ++i) {
        buttons[i] = new QRadioButton(frame);
        buttons[i]->setObjectName(name + QStringLiteral("RadioButton%1").arg(i));
        group->addButton(buttons[i], i);
        column->addWidget(buttons[i]);
    }
    column->addStretch(1);
    return frame;
}

int OptionsWindow::optionCaption(int index)
{
    // Captions 54..67 hold the first fourteen; the last two were added later at 358, 359.
    return index < 14 ? 54 + index : 358 + (index - 14);
}

void OptionsWindow::retranslate()
{
    ChildWindow::retranslate();
    const TextTables &t = m_state.texts;
    for (int i = 0; i < OptionCount; ++i)
        m_options[size_t(i)]->setText(t.caption(optionCaption(i)));
    for (int i = 0; i < kEditorChoices; ++i)
        m_editors[size_t(i)]->setText(t.caption(68 + i));
    for (int i = 0; i < kLanguageChoices; ++i)
        m_languages[size_t(i)]->setText(t.caption(71 + i));
    // The frames have no caption numbers of their own.
    m_optionFrame->setTitle(t.caption(Text::OptionsFrame));
    m_editorFrame->setTitle(t.caption(Text::EditorFrame));
    m_languageFrame->setTitle(t.caption(Text::LanguageFrame));
    m_publish->setText(t.caption(Text::PublishOption));
    m_publishFolder->setAccessibleName(plainCaption(t.caption(Text::PublishFolderTitle)));
    m_publishChoose->setText(t.caption(Text::PublishChooseFolder));
    m_publishChoose->setAccessibleName(plainCaption(t.caption(Text::PublishChooseFolder)));
    m_pictureLabel->setText(t.caption(76));
    m_lanePriorityLabel->setText(t.message(Text::LanePriority));
    m_lanePriority->setAccessibleName(plainCaption(t.message(Text::LanePriority)));
    m_pictures->setAccessibleName(t.caption(76));
    for (int i = 0; i < 3; ++i) {
        m_buttons[size_t(i)]->setText(t.caption(77 + i));
        m_buttons[size_t(i)]->setAccessibleName(plainCaption(t.caption(77 + i)));
    }
}

void OptionsWindow::showState()
{
    // What the state holds is shown, not written back.
    const QScopedValueRollback showing(m_showing, true);
    for (int i = 0; i < OptionCount; ++i)
        m_options[size_t(i)]->setChecked(m_state.options[size_t(i)] != 0);
    showChoice(m_editorGroup, m_state.editorChoice);
    showChoice(m_languageGroup, m_state.languageChoice);
    const PublishSetting publishing = publishSetting(m_state);
    m_publish->setChecked(publishing.on);
    m_publishFolder->setText(QDir::toNativeSeparators(publishing.folder));
    m_publishFolder->setToolTip(m_publishFolder->text());
    m_lanePriority->setText(events::meetLanePriority(m_state.database));
    m_lanePriority->setModified(false);
}

void OptionsWindow::publishToggled(bool on)
{
    PublishSetting setting = publishSetting(m_state);
    if (!on) {
        setting.on = false;
        storePublishSetting(m_state, setting);
        return;
    }
    if (setting.folder.isEmpty())
        choosePublishFolder();
    else
        startPublishing(setting.folder);
}

void OptionsWindow::choosePublishFolder()
{
    const PublishSetting setting = publishSetting(m_state);
    FileRequest request;
    request.title = plainCaption(m_state.texts.caption(Text::PublishFolderTitle));
    request.directory = setting.folder.isEmpty() ? m_state.programDir : setting.folder;
    request.folder = true;
    const std::optional<QString> folder = m_state.prompt ? m_state.prompt->file(request) : std::nullopt;
    if (folder && !folder->isEmpty())
        startPublishing(*folder);
    else
        showState();
}

void OptionsWindow::startPublishing(const QString &folder)
{
    if (Status s = publishIndex(m_state, folder); !s)
        m_state.informText(s.error(), Icon::Exclamation);
    else
        storePublishSetting(m_state, PublishSetting{true, QDir(folder).absolutePath()});
    showState();
}

bool OptionsWindow::storeLanePriority(const QString &text)
{
    events::Notice problem{Text::Count, {}};
    if (Status s = events::storeMeetLanePriority(m_state.database, text, &problem); !s) {
        m_state.informText(problem.text != Text::Count ? events::noticeText(m_state.texts, problem)
                                                       : s.error(),
                           Icon::Exclamation);
        m_lanePriority->setText(events::meetLanePriority(m_state.database));
        m_lanePriority->setModified(false);
        return false;
    }
    m_lanePriority->setText(events::meetLanePriority(m_state.database));
    m_lanePriority->setModified(false);
    return true;
}

void OptionsWindow::showEvent(QShowEvent *event)
{
    fillPictureList();
    showState();
    ChildWindow::showEvent(event);
}

void OptionsWindow::fillPictureList()
{
    m_pictures->clear();
    // The empty entry lets the user take the picture away.
    m_pictures->addItem(QString());
    m_pictures->addItems(m_state.backgroundPictures);
    m_pictures->setCurrentIndex(std::max(0, m_pictures->findText(m_state.backgroundPicture)));
}

void OptionsWindow::pictureChosen(int index)
{
    const QString name = m_pictures->itemText(index);
    m_state.backgroundPicture = name;
    const QString path = name.isEmpty() ? QString() : m_state.programFile(name);
    m_main.setBackgroundPicture(!path.isEmpty() && QFile::exists(path) ? path : QString());
}

void OptionsWindow::command(int index)
{
    switch (index) {
    case 0:
        m_state.saveSettings();
        break;
    case 1:
        if (m_state.settings)
            m_state.settings->load(true);
        showState();
        break;
    default:
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->hide();
        else
            hide();
        break;
    }
}

ChildWindow *createOptionsWindow(AppState &state, MainWindow &main)
{
    return new OptionsWindow(state, main);
}

SettingsHost *createSettingsHost(AppState &state, MainWindow &main)
{
    return new FrameSettingsHost(state, main);
}

std::optional<WindowPlacement> normalPlacementOf(const QMdiSubWindow *sub)
{
    if (!sub || sub->isMinimized() || sub->isMaximized())
        return std::nullopt;
    const QRect g = sub->geometry();
    return WindowPlacement{float(g.x()), float(g.y()), float(g.width()), float(g.height()), 0.0f};
}

void restorePlacement(const AppState &state, WindowId id, QMdiSubWindow *sub)
{
    const auto first = size_t(int(id) * kPlacementsPerWindow);
    if (!sub || !state.placementRead[first] || !state.placementRead[first + 1])
        return;
    // Stray numbers must not put a window out of reach.
    constexpr float kFar = 10000.0f;
    const int x = int(std::lround(std::clamp(state.placements[first], 0.0f, kFar)));
    const int y = int(std::lround(std::clamp(state.placements[first + 1], 0.0f, kFar)));
    sub->move(x, y);
}

} // namespace arenor
