#pragma once
// GPIO lines of one gpiochip as a timing adapter, through libgpiod: up to six input lines
// requested for both edges (each edge carries the kernel's timestamp) and up to seven output
// lines driven low at start.

#include "timing/EventAdapter.h"

#include <memory>

namespace arenor::timing {

struct GpioEdge {
    int input = 0; // index into the requested inputs
    bool rising = false;
    qint64 stampNs = 0; // as the kernel gave it
};

struct GpioOpenResult {
    int err = 0;    // errno, 0 when the lines are ours
    QString detail; // the line that failed, or who holds it
};

// The calls made on the chip; the tests replace them.
class GpioApi {
public:
    virtual ~GpioApi() = default;
    // Opens the chip and requests the lines: inputs for both edges, biased toward pullUp (or
    // down) where the chip can, outputs driven low.
    virtual GpioOpenResult open(const QString &chip, const std::vector<unsigned> &inputs,
                                const std::vector<unsigned> &outputs, bool pullUp) = 0;
    virtual void close() = 0;
    virtual int readInputs(std::vector<int> &values) = 0; // errno
    virtual int setOutput(size_t index, int value) = 0;   // errno
    // Blocks until edges came (appended), interrupt() was called or the chip went away; errno.
    virtual int waitEdges(std::vector<GpioEdge> &edges) = 0;
    virtual void interrupt() = 0;
    virtual QString ownerGroup(const QString &path) = 0;
    // CLOCK_MONOTONIC and CLOCK_REALTIME now, to place the kernel's stamps.
    virtual std::pair<qint64, qint64> clocks() = 0;
};

// libgpiod 1.6 on the gpiochip character device.
std::unique_ptr<GpioApi> makeSystemGpioApi();

struct GpioConfig {
    QString chip;
    std::vector<int> inputs;  // per channel, -1 for none
    std::vector<int> outputs; // per output bit
    bool lowLevel = true;     // the active level is low: bias the lines up
    AdapterError error;       // the setup does not name usable lines
    static GpioConfig from(const TimingSetup &setup);
};

class GpioDio : public EventAdapter {
public:
    GpioDio(GpioConfig config, std::unique_ptr<GpioApi> api = nullptr);
    ~GpioDio() override;

    AdapterError open() override;
    bool wired(int channel) const override;
    AdapterError levels(std::array<int, kChannels> &levels) override;
    AdapterError wait(std::vector<EdgeEvent> &edges) override;
    void interrupt() override { m_api->interrupt(); }
    AdapterError setOutput(int bit, int value) override;

private:
    AdapterError failure(int err) const;

    GpioConfig m_config;
    std::unique_ptr<GpioApi> m_api;
    std::vector<int> m_channelOfInput;
    std::vector<GpioEdge> m_raw;
    bool m_open = false;
};

} // namespace arenor::timing
