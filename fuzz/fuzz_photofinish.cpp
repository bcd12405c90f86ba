// The photo-finish result file: any bytes read without a crash; a file read has its heading's
// three numbers and a numeric id on every line; every result text a line gives is a time the
// event's format reads back the same, or holds no digit (DNS, DNF, DQ, "-").

#include "FuzzCheck.h"
#include "exchange/PhotoFinish.h"

using namespace arenor;
using namespace arenor::exchange;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const FinishRead read = parseFinishFile(bytes);
    if (!read.ok()) {
        FUZZ_CHECK(read.error != FinishError::None);
        return 0;
    }
    for (const FinishLine &line : read.race.lines) {
        bool ok = false;
        line.id.toLongLong(&ok);
        FUZZ_CHECK(ok);
        for (int f = 0; f < 3; ++f) {
            const auto format = events::TimeFormat(f);
            const QString text = finishResultText(line, format);
            const auto value = events::resultValue(events::ResultKind::Time, format, text);
            const bool digits = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
            if (value)
                FUZZ_CHECK(events::resultText(events::ResultKind::Time, format, *value) == text);
            else
                FUZZ_CHECK(!digits);
        }
    }
    return 0;
}
