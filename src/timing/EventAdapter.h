#pragma once
// Timing adapters that report their edges instead of being read every tick: GPIO lines of a
// gpiochip (the kernel stamps each edge) and the modem-status lines of a serial port. The
// capture thread blocks in wait() until something happens, so an idle adapter costs nothing.

#include "base/TextTables.h"
#include "timing/TimeList.h"
#include "timing/TimingSetup.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace arenor::timing {

// A level change of one channel, stamped on the monotonic clock (as TimingClock::nowNs()).
struct EdgeEvent {
    int channel = 0; // 0..5
    bool high = false;
    qint64 stampNs = 0;
};

// Why an adapter could not be opened or stopped working, with what the user can do about it.
struct AdapterError {
    enum Kind { None, Missing, Denied, Busy, NotSupported, Unplugged, BadSetup, Other } kind = None;
    QString device;
    QString group;  // Denied: the group owning the device, which the user has to join
    QString detail; // what exactly went wrong (a line number, a holder, a system text)
    bool ok() const { return kind == None; }
    // The usual mapping of a system error number on a device.
    static AdapterError fromErrno(int err, const QString &device, const QString &group = {},
                                  const QString &detail = {});
};

// The reason shown below message 252.
QString adapterErrorText(Language language, const AdapterError &error);

class EventAdapter {
public:
    virtual ~EventAdapter() = default;
    virtual AdapterError open() = 0;
    // Whether a channel has an input behind it (serial ports have four of the six).
    virtual bool wired(int channel) const = 0;
    // The levels now: 1 high, 0 low; unwired channels rest high.
    virtual AdapterError levels(std::array<int, kChannels> &levels) = 0;
    // Blocks until edges came (appended oldest first), interrupt() was called (nothing
    // appended) or the device failed. Called from the capture thread only.
    virtual AdapterError wait(std::vector<EdgeEvent> &edges) = 0;
    // Makes a blocked wait() return soon; any thread.
    virtual void interrupt() = 0;
    // Output bit 0..6; bits without a line behind them are ignored.
    virtual AdapterError setOutput(int bit, int value) = 0;
};

struct OpenedAdapter {
    std::unique_ptr<EventAdapter> adapter; // null when error says why
    AdapterError error;
};

// Opens the GPIO or serial adapter the setup names, outputs cleared.
OpenedAdapter openEventAdapter(const TimingSetup &setup);
// Opens an adapter made elsewhere (the tests' backends): open() and the outputs cleared.
OpenedAdapter openEventAdapter(std::unique_ptr<EventAdapter> adapter);

// A list of line numbers as typed: numbers separated by blanks or commas, "-" for a channel
// without a line. Empty with *error set when it is not one (too many, repeated, not numbers).
std::vector<int> parseLineList(const QString &text, int maxEntries, QString *error);
// The channels of a list without a line, 1-based, and the text saying so ("" when none).
QString unwiredText(Language language, const std::vector<int> &channels);

// What the system has: /dev/gpiochip* and the serial ports (stable names under
// /dev/serial/by-id first, then ttyUSB and ttyACM devices).
QStringList gpioChipPaths(const QString &devDir = QStringLiteral("/dev"));
QStringList serialDevicePaths(const QString &devDir = QStringLiteral("/dev"));

// The group owning a device file, for the message that tells the user which group to join.
QString deviceGroup(const QString &path);

// A kernel stamp on the monotonic clock. Kernels before 5.7 stamp GPIO edges on the real-time
// clock; which clock a stamp is on shows from which of the two it is nearer.
qint64 kernelStampToMonotonic(qint64 stampNs, qint64 monotonicNow, qint64 realtimeNow);

} // namespace arenor::timing
