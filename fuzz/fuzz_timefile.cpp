// Time files: any bytes read without harm, and what is read comes back the same after the file
// is rewritten and read again (records, lines past the list's size, channel counters).

#include "FuzzCheck.h"
#include "base/TextFile.h"
#include "timing/TimeList.h"

#include <QBuffer>

using namespace arenor;
using namespace arenor::timing;

namespace {

void readBytes(const QByteArray &bytes, TimeList &list, ChannelCounters &counters)
{
    parseTimesFile(splitLines(decodeText(bytes)), list, counters);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TimeList first;
    ChannelCounters firstCounters;
    readBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), first, firstCounters);
    FUZZ_CHECK(first.count() <= kMaxTimes);
    FUZZ_CHECK(first.overflow.isEmpty() || first.full());

    QBuffer file;
    file.open(QIODevice::WriteOnly);
    writeTimesFile(file, first, timesFileTitle(Direction::Out, TitleStyle::Registration));

    TimeList second;
    ChannelCounters secondCounters;
    readBytes(file.data(), second, secondCounters);
    FUZZ_CHECK(second.records == first.records);
    FUZZ_CHECK(second.overflow == first.overflow);
    for (int channel = 1; channel <= kChannels; ++channel)
        FUZZ_CHECK(secondCounters.value(channel) == firstCounters.value(channel));
    for (const TimeRecord &r : first.records)
        FUZZ_CHECK(parseRecordLine(recordLine(r)) == r);
    return 0;
}
