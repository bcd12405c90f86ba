#include "QtPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace arenor {

namespace {

// A question shows the normal pointer, even while a long command shows the busy one.
class NormalPointer {
public:
    NormalPointer() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~NormalPointer() { QApplication::restoreOverrideCursor(); }
    NormalPointer(const NormalPointer &) = delete;
    NormalPointer &operator=(const NormalPointer &) = delete;
};

} // namespace

QString QtPrompt::buttonText(Answer a) const
{
    switch (a) {
    case Answer::Ok:
        return m_texts.caption(Text::Ok);
    case Answer::Cancel:
        return m_texts.caption(Text::Cancel);
    case Answer::Yes:
        return m_texts.caption(Text::Yes);
    case Answer::No:
        return m_texts.caption(Text::No);
    }
    return {};
}

Answer QtPrompt::message(const MessageRequest &request)
{
    NormalPointer pointer;
    QMessageBox box(m_parent);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    QList<std::pair<Answer, QMessageBox::ButtonRole>> buttons;
    switch (request.buttons) {
    case Buttons::Ok:
        buttons = {{Answer::Ok, QMessageBox::AcceptRole}};
        break;
    case Buttons::OkCancel:
        buttons = {{Answer::Ok, QMessageBox::AcceptRole}, {Answer::Cancel, QMessageBox::RejectRole}};
        break;
    case Buttons::YesNo:
        buttons = {{Answer::Yes, QMessageBox::YesRole}, {Answer::No, QMessageBox::NoRole}};
        break;
    case Buttons::YesNoCancel:
        buttons = {{Answer::Yes, QMessageBox::YesRole},
                   {Answer::No, QMessageBox::NoRole},
                   {Answer::Cancel, QMessageBox::RejectRole}};
        break;
    }
    std::map<QAbstractButton *, Answer> answers;
    for (auto [answer, role] : buttons) {
        QPushButton *b = box.addButton(buttonText(answer), role);
        b->setAccessibleName(buttonText(answer).remove(u'&'));
        answers[b] = answer;
        if (answer == request.defaultAnswer.value_or(buttons.front().first))
            box.setDefaultButton(b);
    }
    if (request.buttons == Buttons::YesNo)
        box.setEscapeButton(box.buttons().last());
    box.exec();
    auto it = answers.find(box.clickedButton());
    if (it != answers.end())
        return it->second;
    return request.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<QString> QtPrompt::input(const InputRequest &request)
{
    NormalPointer pointer;
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(request.title);
    dialog.setLabelText(request.prompt);
    dialog.setTextValue(request.defaultText);
    if (request.password)
        dialog.setTextEchoMode(QLineEdit::Password);
    dialog.setOkButtonText(buttonText(Answer::Ok));
    dialog.setCancelButtonText(buttonText(Answer::Cancel));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString QtPrompt::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        if (!desc.contains(u'('))
            desc += QStringLiteral(" (") + parts[i + 1] + u')';
        out << desc;
    }
    return out.isEmpty() ? filter : out.join(QStringLiteral(";;"));
}

std::optional<QString> QtPrompt::file(const FileRequest &request)
{
    NormalPointer pointer;
    QFileDialog dialog(m_parent, request.title, request.directory, qtFilter(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.folder ? QFileDialog::Directory
                       : request.save ? QFileDialog::AnyFile
                                      : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ShowDirsOnly, request.folder);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true); // the commands ask their own questions
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (!request.suggestedName.isEmpty())
        dialog.selectFile(request.suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace arenor
