#include "EventAdapterControls.h"

#include "timing/EventAdapter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace arenor {

using namespace timing;

EventAdapterControls::EventAdapterControls(QWidget *parent, QGridLayout *grid, int row) : QObject(parent)
{
    auto addRow = [&](QWidget *field, QLabel *&label) {
        label = new QLabel(parent);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    auto deviceBox = [&](const QString &name) {
        auto *box = new QComboBox(parent);
        box->setObjectName(name);
        box->setEditable(true); // a device the list does not show can be typed
        box->setInsertPolicy(QComboBox::NoInsert);
        return box;
    };
    m_chip = deviceBox(QStringLiteral("gpioChipComboBox"));
    addRow(m_chip, m_chipLabel);
    m_inputs = new QLineEdit(parent);
    m_inputs->setObjectName(QStringLiteral("gpioInputsLineEdit"));
    addRow(m_inputs, m_inputsLabel);
    m_outputs = new QLineEdit(parent);
    m_outputs->setObjectName(QStringLiteral("gpioOutputsLineEdit"));
    addRow(m_outputs, m_outputsLabel);
    m_serial = deviceBox(QStringLiteral("serialDeviceComboBox"));
    addRow(m_serial, m_serialLabel);
    m_info = new QLabel(parent);
    m_info->setObjectName(QStringLiteral("adapterInfoLabel"));
    m_info->setWordWrap(true);
    grid->addWidget(m_info, row, 0, 1, 2);

    auto storeText = [this](QComboBox *box, int f) {
        connect(box, &QComboBox::activated, this, [this, box, f] {
            emit changed({{f, box->currentText().trimmed()}});
        });
        connect(box->lineEdit(), &QLineEdit::editingFinished, this, [this, box, f] {
            emit changed({{f, box->currentText().trimmed()}});
        });
    };
    storeText(m_chip, field::GpioChip);
    storeText(m_serial, field::SerialDevice);
    connect(m_inputs, &QLineEdit::editingFinished, this, [this] {
        emit changed({{field::GpioInputs, m_inputs->text().trimmed()}});
    });
    connect(m_outputs, &QLineEdit::editingFinished, this, [this] {
        emit changed({{field::GpioOutputs, m_outputs->text().trimmed()}});
    });
}

void EventAdapterControls::retranslate(Language language)
{
    m_language = language;
    auto say = [language](Text id) { return TextTables::text(id, language); };
    m_chipLabel->setText(say(Text::GpioChip));
    m_inputsLabel->setText(say(Text::GpioInputs));
    m_outputsLabel->setText(say(Text::GpioOutputs));
    m_serialLabel->setText(say(Text::SerialPort));
    const QString lines = say(Text::GpioLinesTip);
    m_inputs->setToolTip(lines);
    m_outputs->setToolTip(lines);
}

void EventAdapterControls::offer(QComboBox *box, const QStringList &paths)
{
    const QSignalBlocker block(box);
    const QString current = box->currentText();
    box->clear();
    box->addItems(paths);
    box->setCurrentText(current);
}

void EventAdapterControls::show(const TimingSetup &setup)
{
    m_chip->setCurrentText(setup.text(field::GpioChip));
    m_inputs->setText(setup.text(field::GpioInputs));
    m_outputs->setText(setup.text(field::GpioOutputs));
    m_serial->setCurrentText(setup.text(field::SerialDevice));
}

void EventAdapterControls::update(const TimingSetup &setup, bool automatic)
{
    const bool gpio = setup.typeCode() == kGpioType;
    const bool serial = setup.typeCode() == kSerialType;
    for (QWidget *w : std::initializer_list<QWidget *>{m_chipLabel, m_chip, m_inputsLabel, m_inputs,
                                                       m_outputsLabel, m_outputs})
        w->setVisible(gpio);
    m_serialLabel->setVisible(serial);
    m_serial->setVisible(serial);
    for (QWidget *w : std::initializer_list<QWidget *>{m_chip, m_inputs, m_outputs, m_serial})
        w->setEnabled(!automatic);
    if (gpio && !automatic)
        offer(m_chip, gpioChipPaths());
    if (serial && !automatic)
        offer(m_serial, serialDevicePaths());
    // Say which channels have no line behind them.
    std::vector<int> unwired;
    if (serial) {
        unwired = {5, 6};
    } else if (gpio) {
        std::vector<int> lines = parseLineList(setup.text(field::GpioInputs), kChannels, nullptr);
        lines.resize(kChannels, -1);
        for (int ch = 0; ch < kChannels; ++ch)
            if (lines[size_t(ch)] < 0)
                unwired.push_back(ch + 1);
    }
    m_info->setText(unwiredText(m_language, unwired));
    m_info->setVisible(gpio || serial);
}

} // namespace arenor
