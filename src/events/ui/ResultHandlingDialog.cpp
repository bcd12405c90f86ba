#include "events/ui/ResultHandlingDialog.h"

#include "base/Convert.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace arenor {

using namespace events;

namespace {

constexpr int kTitleCaption = 365;
constexpr int kFrameCaption = 366;
constexpr int kFirstOptionCaption = 367;
constexpr int kConfirmCaption = 375;
constexpr int kCancelCaption = 376;
// Which boxes stand beside each option.
const std::vector<int> kBoxesOf[8] = {{0}, {1}, {2, 3}, {4, 5}, {}, {}, {6}, {}};

} // namespace

ResultHandlingDialog::ResultHandlingDialog(AppState &state, const GridContext &context, const QString &table,
                                           QWidget *parent)
    : QDialog(parent), m_state(state), m_context(context), m_table(table)
{
    setObjectName(QStringLiteral("resultHandlingDialog"));
    const TextTables &t = state.texts;
    const bool norwegian = t.language() == Language::Norwegian;
    setWindowTitle(t.caption(kTitleCaption));
    auto *frame = new QGroupBox(t.caption(kFrameCaption), this);
    frame->setObjectName(QStringLiteral("operationGroupBox"));
    auto *grid = new QGridLayout(frame);
    for (int i = 0; i < 8; ++i) {
        // The stored captions leave gaps for the boxes; the boxes stand after the text here.
        const QString caption = t.caption(kFirstOptionCaption + i).simplified();
        auto *option = new QRadioButton(caption, frame);
        option->setObjectName(QStringLiteral("option%1RadioButton").arg(i));
        option->setAccessibleName(plainCaption(caption));
        m_options[size_t(i)] = option;
        grid->addWidget(option, i, 0);
        int column = 1;
        for (int box : kBoxesOf[i]) {
            const bool second = kBoxesOf[i].size() == 2 && box == kBoxesOf[i].back();
            auto *label = new QLabel(second ? (norwegian ? QStringLiteral("og") : QStringLiteral("and"))
                                            : (norwegian ? QStringLiteral("Nr.") : QStringLiteral("No.")),
                                     frame);
            if (i == 3)
                label->setText(second ? (norwegian ? QStringLiteral("fra") : QStringLiteral("from"))
                                      : (norwegian ? QStringLiteral("Nr.") : QStringLiteral("No.")));
            auto *edit = new QLineEdit(frame);
            edit->setObjectName(QStringLiteral("info%1LineEdit").arg(box));
            edit->setMaximumWidth(50);
            edit->setAccessibleName(plainCaption(caption) + QStringLiteral(" - ") + label->text());
            label->setBuddy(edit);
            m_info[size_t(box)] = edit;
            grid->addWidget(label, i, column++);
            grid->addWidget(edit, i, column++);
            connect(edit, &QLineEdit::textEdited, option, [option] { option->setChecked(true); });
        }
    }

    auto *buttons = new QDialogButtonBox(this);
    auto *confirmButton = buttons->addButton(t.caption(kConfirmCaption), QDialogButtonBox::AcceptRole);
    confirmButton->setObjectName(QStringLiteral("confirmPushButton"));
    auto *cancelButton = buttons->addButton(t.caption(kCancelCaption), QDialogButtonBox::RejectRole);
    cancelButton->setObjectName(QStringLiteral("cancelPushButton"));
    confirmButton->setAccessibleName(plainCaption(t.caption(kConfirmCaption)));
    cancelButton->setAccessibleName(plainCaption(t.caption(kCancelCaption)));
    connect(confirmButton, &QPushButton::clicked, this, &ResultHandlingDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);
}

HandleRequest ResultHandlingDialog::request() const
{
    HandleRequest r;
    for (int i = 0; i < 8; ++i)
        if (m_options[size_t(i)]->isChecked())
            r.operation = HandleOperation(i);
    const std::vector<int> &boxes = kBoxesOf[int(r.operation)];
    auto number = [this](int box) { return int(toInteger(m_info[size_t(box)]->text(), -1, 1000)); };
    if (!boxes.empty())
        r.a = number(boxes.front());
    if (boxes.size() == 2)
        r.b = number(boxes.back());
    return r;
}

bool ResultHandlingDialog::confirm()
{
    bool chosen = false;
    for (QRadioButton *o : m_options)
        chosen = chosen || o->isChecked();
    if (!chosen)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString notice;
    const Status s = handleGridTable(m_state.database, m_table, m_context, request(),
                                     m_state.texts.messageLanguage(), &notice);
    QApplication::restoreOverrideCursor();
    if (!s) {
        m_state.informText(s.error(), Icon::Exclamation);
        return false;
    }
    if (!notice.isEmpty())
        m_state.informText(notice, Icon::Exclamation);
    accept();
    return true;
}

} // namespace arenor
