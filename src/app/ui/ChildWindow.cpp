#include "ChildWindow.h"

#include <QLabel>
#include <QVBoxLayout>

namespace arenor {

ChildWindow::ChildWindow(WindowId id, AppState &state, QWidget *parent)
    : QWidget(parent), m_state(state), m_id(id)
{
    setObjectName(QStringLiteral("childWindow%1").arg(int(id)));
}

Text ChildWindow::defaultTitle(WindowId id)
{
    switch (id) {
    case WindowId::EventSetup:
        return Text::TitleEventSetup;
    case WindowId::Entries:
        return Text::TitleEntries;
    case WindowId::Options:
        return Text::TitleOptions;
    case WindowId::Competitors:
        return Text::TitleCompetitors;
    case WindowId::Clubs:
        return Text::TitleClubs;
    case WindowId::Points:
        return Text::TitlePoints;
    case WindowId::Relays:
        return Text::TitleRelays;
    case WindowId::Classes:
        return Text::TitleClasses;
    case WindowId::Timing:
        return Text::TitleTiming;
    }
    return Text::TitleEntries;
}

void ChildWindow::retranslate()
{
    setWindowTitle(m_state.texts.caption(defaultTitle(m_id)));
    setAccessibleName(windowTitle().trimmed());
}

namespace {

// A window whose contents come later: it shows its title so the frame can be tried out.
class ShellWindow : public ChildWindow {
public:
    ShellWindow(WindowId id, AppState &state) : ChildWindow(id, state)
    {
        auto *layout = new QVBoxLayout(this);
        m_label = new QLabel(this);
        m_label->setAlignment(Qt::AlignCenter);
        layout->addWidget(m_label);
        resize(420, 260);
    }
    void retranslate() override
    {
        ChildWindow::retranslate();
        m_label->setText(windowTitle().trimmed());
    }

private:
    QLabel *m_label;
};

} // namespace

ChildWindow *createChildWindow(WindowId id, AppState &state, MainWindow &main)
{
    ChildWindow *w = nullptr;
    switch (id) {
    case WindowId::Options:
        w = createOptionsWindow(state, main);
        break;
    case WindowId::Competitors:
    case WindowId::Clubs:
    case WindowId::Points:
    case WindowId::Relays:
    case WindowId::Classes:
        w = createRegisterWindow(id, state, main);
        break;
    case WindowId::Timing:
        w = createTimingWindow(state, main);
        break;
    case WindowId::EventSetup:
        w = createEventSetupWindow(state, main);
        break;
    case WindowId::Entries:
        w = createEntriesWindow(state, main);
        break;
    }
    return w ? w : new ShellWindow(id, state);
}

} // namespace arenor
