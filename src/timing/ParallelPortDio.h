#pragma once
// Printer-port adapters through the kernel's parallel port driver (/dev/parportN).
//
// The six channels are read from the port's input lines: the status register has five
// (channels 1-5: pins 10 nAck, 11 Busy, 12 Paper out, 13 Select, 15 nError); channel 6 is
// pin 17 (nSelect-in), an open-collector control line that is left released (high) and read
// back. Levels are those on the pins: the inversions of Busy and nSelect-in in the registers
// are undone. The seven output bits are data lines D0-D6 (pins 2-8).

#include "timing/DigitalIo.h"

#include <memory>

namespace arenor::timing {

// The calls made on the port device; the tests replace them.
class ParallelPortDevice {
public:
    virtual ~ParallelPortDevice() = default;
    // Opens the device and claims the port. The claim may sleep until whoever holds the port
    // lets go of it; the adapter bounds the wait.
    virtual Status open(const QString &path) = 0;
    virtual void close() = 0;
    virtual int readStatus() = 0;  // the status register, -1 on failure
    virtual int readControl() = 0; // the control register, -1 on failure
    virtual bool writeControl(quint8 value) = 0;
    virtual bool writeData(quint8 value) = 0;
};

// The device of a port address: ARENOR_PARPORT when set; else the parport whose base address
// the kernel reports (procRoot/parportN/base-addr); else the number the kernel gives a port
// when all three legacy ports are present, in its probing order 03BC, 0378, 0278.
QString parallelPortDevicePath(quint32 address,
                               const QString &procRoot = QStringLiteral("/proc/sys/dev/parport"));

// The pin level of channel 0..5 from the two registers.
int parallelPortLevel(int channel, int status, int control);

class ParallelPortDio : public DigitalIo {
public:
    // A claim that is not had within claimTimeoutMs is a failure of the adapter.
    explicit ParallelPortDio(std::unique_ptr<ParallelPortDevice> device = nullptr,
                             QString procRoot = QStringLiteral("/proc/sys/dev/parport"),
                             int claimTimeoutMs = 1000);
    ~ParallelPortDio() override;

    Status SetPrintPort(quint32 address) override;
    Status DIOinitial() override;
    DioResult DIOsettype(quint32 baseAddress, int typeCode) override;
    Status DIOset(int board, int bit, int value) override;
    DioResult DIOget(int board, int channel) override;

    QString devicePath() const { return m_path; }

private:
    Status claim();

    // Shared with a claim that is still waiting after the adapter gave up on it.
    std::shared_ptr<ParallelPortDevice> m_device;
    QString m_procRoot;
    int m_claimTimeoutMs;
    QString m_path;
    bool m_open = false;
    quint8 m_data = 0;
};

} // namespace arenor::timing
