#include "CameraFolderBox.h"

#include "exchange/CameraLink.h"
#include "exchange/ExchangeTexts.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace arenor::exchange {

CameraFolderBox::CameraFolderBox(AppState &state, QWidget *parent) : QGroupBox(parent), m_state(state)
{
    setObjectName(QStringLiteral("cameraGroupBox"));
    auto *grid = new QGridLayout(this);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("cameraFolderLabel"));
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("cameraFolderLineEdit"));
    m_folder->setReadOnly(true);
    m_label->setBuddy(m_folder);
    m_choose = new QPushButton(this);
    m_choose->setObjectName(QStringLiteral("cameraFolderPushButton"));
    m_clear = new QPushButton(this);
    m_clear->setObjectName(QStringLiteral("cameraClearPushButton"));
    m_watch = new QCheckBox(this);
    m_watch->setObjectName(QStringLiteral("cameraWatchCheckBox"));
    grid->addWidget(m_label, 0, 0, 1, 3);
    grid->addWidget(m_folder, 1, 0);
    grid->addWidget(m_choose, 1, 1);
    grid->addWidget(m_clear, 1, 2);
    grid->addWidget(m_watch, 2, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    connect(m_choose, &QPushButton::clicked, this, &CameraFolderBox::choose);
    connect(m_clear, &QPushButton::clicked, this, [this] { storeCameraSetting(m_state, {}); });
    connect(m_watch, &QCheckBox::toggled, this, [this](bool on) {
        if (m_showing)
            return;
        CameraSetting setting = cameraSetting(m_state);
        setting.watch = on;
        storeCameraSetting(m_state, setting);
    });
    connect(&state.notifier, &MeetNotifier::cameraFolderChanged, this, &CameraFolderBox::showSetting);
    connect(&state.notifier, &MeetNotifier::languageChanged, this, &CameraFolderBox::applyCaptions);
    applyCaptions();
    showSetting();
}

void CameraFolderBox::applyCaptions()
{
    const Language l = m_state.texts.language();
    setTitle(exchangeText(ExText::CameraFrame, l));
    m_label->setText(exchangeText(ExText::CameraFolder, l));
    m_folder->setAccessibleName(exchangeText(ExText::CameraFolder, l).remove(u'&'));
    m_choose->setText(exchangeText(ExText::CameraChoose, l));
    m_clear->setText(exchangeText(ExText::CameraClear, l));
    m_watch->setText(exchangeText(ExText::CameraWatch, l));
}

void CameraFolderBox::showSetting()
{
    const QScopedValueRollback showing(m_showing, true);
    const CameraSetting setting = cameraSetting(m_state);
    m_folder->setText(QDir::toNativeSeparators(setting.folder));
    m_folder->setToolTip(m_folder->text());
    m_clear->setEnabled(!setting.folder.isEmpty());
    m_watch->setEnabled(!setting.folder.isEmpty());
    m_watch->setChecked(setting.watch);
}

void CameraFolderBox::choose()
{
    if (!m_state.prompt)
        return;
    CameraSetting setting = cameraSetting(m_state);
    FileRequest request;
    request.title = exchangeText(ExText::CameraFolderTitle, m_state.texts);
    request.directory = setting.folder.isEmpty() ? m_state.meetDir : setting.folder;
    request.folder = true;
    const std::optional<QString> folder = m_state.prompt->file(request);
    if (!folder || folder->isEmpty())
        return;
    const QFileInfo info(*folder);
    if (!info.isDir() || !info.isWritable()) {
        const ExText why = info.isDir() ? ExText::CameraFolderReadOnly : ExText::CameraFolderMissing;
        m_state.informText(exchangeText(ExText::CameraFolderUnusable, m_state.texts)
                               .arg(QDir::toNativeSeparators(*folder), exchangeText(why, m_state.texts)),
                           Icon::Exclamation);
        return;
    }
    setting.folder = info.absoluteFilePath();
    storeCameraSetting(m_state, setting);
}

} // namespace arenor::exchange
