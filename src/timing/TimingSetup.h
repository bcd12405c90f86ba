#pragma once
// The meet's timing setup: the single record of the timing setup table, with the meanings of
// its numbered fields, and the choice lists the window offers for the adapter.

#include "db/Engine.h"

#include <QStringList>
#include <QVariant>
#include <array>

namespace arenor::timing {

enum class TimeFormat { HoursMinutesSeconds = 0, MinutesSecondsHundredths = 1, SecondsHundredths = 2 };

namespace field {
constexpr int AutoOutNumber = 1;
constexpr int KeepImported = 2;
constexpr int Automatic = 3;
constexpr int FirstChannel = 4; // out of channel c: 4 + 2(c-1), in: 5 + 2(c-1)
constexpr int TypeCode = 16;
constexpr int CardAddress = 17;
constexpr int PrinterPort = 18;
constexpr int Format = 19;
constexpr int TypeName = 20;
constexpr int CardAddressShown = 21;
constexpr int PrinterPortShown = 22;
constexpr int SignalLevel = 23;
// Kept with the meet as well, in the two text fields of schema version 1.
constexpr int Interval = 24;
constexpr int Delay = 25;
// The GPIO and serial adapters' choices, behind those (schema version 2).
constexpr int GpioChip = 26;
constexpr int GpioInputs = 27;  // line per channel, "-" for none
constexpr int GpioOutputs = 28; // line per output bit
constexpr int SerialDevice = 29;
constexpr int Count = 30;
constexpr int outOf(int channel)
{
    return FirstChannel + 2 * (channel - 1);
}
constexpr int inOf(int channel)
{
    return FirstChannel + 1 + 2 * (channel - 1);
}
} // namespace field

constexpr int kMinInterval = 1, kMaxInterval = 100, kDefaultInterval = 1;
constexpr int kMinDelay = 1, kMaxDelay = 5000, kDefaultDelay = 10;
constexpr int kFirstPrinterPortType = 7; // type codes 7..9 are printer-port adapters
constexpr int kLastPrinterPortType = 9;
constexpr int kGpioType = 10;   // GPIO lines of a gpiochip
constexpr int kSerialType = 11; // modem-status lines of a serial port
constexpr int kLastTypeCode = kSerialType;
constexpr bool isEventAdapterType(int code)
{
    return code == kGpioType || code == kSerialType;
}

const QStringList &adapterTypeNames();
const QStringList &cardAddresses();
const QStringList &printerPortAddresses();

struct TimingSetup {
    std::array<QVariant, field::Count> values;

    TimingSetup(); // the values of a new meet
    bool flag(int f) const { return values[size_t(f)].toBool(); }
    QString text(int f) const { return values[size_t(f)].toString(); }

    bool autoOutNumber() const { return flag(field::AutoOutNumber); }
    bool keepImported() const { return flag(field::KeepImported); }
    bool automatic() const { return flag(field::Automatic); }
    bool registersOut(int channel) const { return flag(field::outOf(channel)); }
    bool registersIn(int channel) const { return flag(field::inOf(channel)); }
    int typeCode() const; // 0..kLastTypeCode
    bool printerPortType() const
    {
        return typeCode() >= kFirstPrinterPortType && typeCode() <= kLastPrinterPortType;
    }
    TimeFormat timeFormat() const;
    bool lowLevel() const; // "1": a low input is an active signal
    int interval() const;  // polling interval, ms
    int delay() const;     // ticks from capture to registration
};

// A hexadecimal address text as the adapter takes it ("280" is 640); 0 when it is not one.
quint32 hexAddress(const QString &text);

// The timing setup record of the open meet. Every change is written at once.
class TimingSetupStore {
public:
    // Reads the record (the file's migrations gave an older table the fields it lacked).
    // A table without its record gets one on the first change.
    Status open(db::Database &database, const QString &table);
    void close() { m_records.close(); }
    bool isOpen() const { return m_records.isOpen(); }
    const TimingSetup &setup() const { return m_setup; }

    Status set(int f, const QVariant &value);
    // Several fields in one write (a list choice stores its code and its shown text).
    Status set(const QList<QPair<int, QVariant>> &changes);

private:
    db::Recordset m_records;
    TimingSetup m_setup;
};

} // namespace arenor::timing
