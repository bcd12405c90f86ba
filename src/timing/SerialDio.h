#pragma once
// The modem-status lines of a serial port as a timing adapter: CTS, DSR, DCD and RI are
// channels 1-4 (5 and 6 have no line); RTS and DTR are output bits 0 and 1. Levels are those
// of the UART's pins, where an asserted line is low: on an RS-232 connector, "low" is the
// positive voltage. So clearing an output asserts RTS or DTR, which then feeds contacts wired
// back to the inputs.

#include "timing/EventAdapter.h"

#include <atomic>
#include <memory>

namespace arenor::timing {

// Transition counts of CTS, DSR, DCD and RI, as the driver keeps them.
using SerialCounts = std::array<int, 4>;

// The calls made on the port; the tests replace them.
class SerialApi {
public:
    virtual ~SerialApi() = default;
    // Opens the port for this program alone; errno.
    virtual int open(const QString &path) = 0;
    virtual void close() = 0;
    virtual int modemLines(int &bits) = 0;            // TIOCMGET; errno
    virtual int counts(SerialCounts &counts) = 0;     // TIOCGICOUNT; errno (drivers without it)
    virtual int setModemLines(int bits, bool on) = 0; // TIOCMBIS / TIOCMBIC; errno
    // Blocks until one of the lines in mask changes (TIOCMIWAIT); EINTR after interrupt().
    virtual int waitChange(int mask) = 0;
    virtual void interrupt() = 0;
    virtual QString ownerGroup(const QString &path) = 0;
    virtual qint64 nowNs() = 0; // CLOCK_MONOTONIC
};

std::unique_ptr<SerialApi> makeSystemSerialApi();

class SerialDio : public EventAdapter {
public:
    explicit SerialDio(QString device, std::unique_ptr<SerialApi> api = nullptr);
    ~SerialDio() override;

    AdapterError open() override;
    bool wired(int channel) const override { return channel >= 0 && channel < 4; }
    AdapterError levels(std::array<int, kChannels> &levels) override;
    AdapterError wait(std::vector<EdgeEvent> &edges) override;
    void interrupt() override;
    AdapterError setOutput(int bit, int value) override;

private:
    AdapterError failure(int err) const;
    // What changed since the last look, as edges at stampNs.
    void edgesSince(int bits, const SerialCounts *counts, qint64 stampNs, std::vector<EdgeEvent> &edges);

    QString m_device;
    std::unique_ptr<SerialApi> m_api;
    bool m_open = false;
    bool m_haveCounts = false;
    int m_bits = 0;
    SerialCounts m_counts{};
    std::atomic<bool> m_interrupted{false};
};

} // namespace arenor::timing
