#include "events/ui/StartSetupDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace arenor {

StartSetupDialog::StartSetupDialog(AppState &state, events::TimeFormat format, QWidget *parent)
    : QDialog(parent), m_format(format)
{
    setObjectName(QStringLiteral("startSetupDialog"));
    const TextTables &t = state.texts;
    const bool norwegian = t.language() == Language::Norwegian;
    setWindowTitle(t.caption(339));
    auto *frame = new QGroupBox(t.caption(340), this);
    frame->setObjectName(QStringLiteral("startTypeGroupBox"));
    auto *typeLayout = new QVBoxLayout(frame);
    for (int i = 0; i < 2; ++i) {
        m_type[size_t(i)] = new QRadioButton(t.caption(341 + i), frame);
        m_type[size_t(i)]->setObjectName(i ? QStringLiteral("staggeredRadioButton")
                                           : QStringLiteral("commonRadioButton"));
        m_type[size_t(i)]->setAccessibleName(plainCaption(t.caption(341 + i)));
        typeLayout->addWidget(m_type[size_t(i)]);
    }
    m_type[1]->setChecked(true);

    auto *form = new QFormLayout;
    auto field = [&](int caption, const char *name, const QString &value) {
        auto *edit = new QLineEdit(value, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(plainCaption(t.caption(caption)).trimmed());
        auto *label = new QLabel(t.caption(caption), this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        return edit;
    };
    m_startTime = field(345, "startTimeLineEdit", events::designStartTime(format));
    m_interval = field(344, "intervalLineEdit", QStringLiteral("30"));
    m_group = field(343, "groupSizeLineEdit", QStringLiteral("1"));
    m_byNumber = new QCheckBox(t.caption(338), this);
    m_byNumber->setObjectName(QStringLiteral("byNumberCheckBox"));
    m_byNumber->setAccessibleName(plainCaption(t.caption(338)));
    const QString fileCaption = norwegian ? QStringLiteral("&Skriv tider til uttidfil")
                                          : QStringLiteral("&Write times to the out-times file");
    m_toFile = new QCheckBox(fileCaption, this);
    m_toFile->setObjectName(QStringLiteral("toFileCheckBox"));
    m_toFile->setAccessibleName(plainCaption(fileCaption));

    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(t.caption(346), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okPushButton"));
    ok->setAccessibleName(plainCaption(t.caption(346)));
    auto *cancel = buttons->addButton(norwegian ? QStringLiteral("&Avbryt") : QStringLiteral("&Cancel"),
                                      QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelPushButton"));
    cancel->setAccessibleName(plainCaption(cancel->text()));
    connect(ok, &QPushButton::clicked, this, &StartSetupDialog::confirmed);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(form);
    layout->addWidget(m_byNumber);
    layout->addWidget(m_toFile);
    layout->addWidget(buttons);
}

events::StartSetupRequest StartSetupDialog::request() const
{
    return {m_type[1]->isChecked(), m_startTime->text(), m_interval->text(), m_group->text(), m_format};
}

} // namespace arenor
