#include "ChildWindow.h"

#include <QLabel>
#include <QVBoxLayout>

namespace arenor {

ChildWindow::ChildWindow(WindowId id, AppState &state, QWidget *parent) : QWidget(parent), m_state(state), m_id(id)
{
    setObjectName(QStringLiteral("childWindow%1").arg(int(id)));
}

QString ChildWindow::defaultTitle(WindowId id, Language language)
{
    const bool no = language == Language::Norwegian;
    switch (id) {
    case WindowId::EventSetup:
        return no ? QStringLiteral(" Oppsett") : QStringLiteral(" Setup");
    case WindowId::Entries:
        return no ? QStringLiteral("Startliste") : QStringLiteral("Startlist");
    case WindowId::Options:
        return no ? QStringLiteral("Alternativer") : QStringLiteral("Alternatives");
    case WindowId::Competitors:
        return no ? QStringLiteral("Deltakere") : QStringLiteral("Competitors");
    case WindowId::Clubs:
        return no ? QStringLiteral("Klubber") : QStringLiteral("Clubs");
    case WindowId::Points:
        return no ? QStringLiteral("Poeng") : QStringLiteral("Points");
    case WindowId::Relays:
        return no ? QStringLiteral("Stafettlag") : QStringLiteral("Relayparties");
    case WindowId::Classes:
        return no ? QStringLiteral("Klasser") : QStringLiteral("Classes");
    case WindowId::Timing:
        return no ? QStringLiteral("Tidtaking") : QStringLiteral("Timeing");
    }
    return {};
}

void ChildWindow::retranslate()
{
    setWindowTitle(defaultTitle(m_id, m_state.texts.language()));
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
