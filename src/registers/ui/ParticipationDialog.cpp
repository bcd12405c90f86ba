#include "ParticipationDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace arenor {

ParticipationDialog::ParticipationDialog(const TextTables &texts, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("participationDialog"));
    setWindowTitle(texts.caption(348).trimmed());
    setAccessibleName(windowTitle());
    auto *group = new QGroupBox(texts.caption(349), this);
    group->setObjectName(QStringLiteral("groupGroupBox"));
    m_take = new QRadioButton(texts.caption(350), group);
    m_take->setObjectName(QStringLiteral("takePartRadioButton"));
    m_dont = new QRadioButton(texts.caption(351), group);
    m_dont->setObjectName(QStringLiteral("dontTakePartRadioButton"));
    m_take->setChecked(true);
    auto *choices = new QVBoxLayout(group);
    choices->addWidget(m_take);
    choices->addWidget(m_dont);

    auto *ok = new QPushButton(texts.caption(352), this);
    ok->setObjectName(QStringLiteral("confirmPushButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(texts.caption(353), this);
    cancel->setObjectName(QStringLiteral("cancelPushButton"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
}

bool ParticipationDialog::takesPart() const
{
    return m_take->isChecked();
}

void ParticipationDialog::setTakesPart(bool on)
{
    (on ? m_take : m_dont)->setChecked(true);
}

} // namespace arenor
