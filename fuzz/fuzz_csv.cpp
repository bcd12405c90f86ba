// CSV reading: any bytes read without a crash; records have at least one field; and records
// written with either separator read back the same, so an export imports as it was.

#include "FuzzCheck.h"
#include "exchange/Csv.h"

#include <QBuffer>

using namespace arenor::exchange;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const CsvRead read = parseCsv(bytes);
    FUZZ_CHECK(read.records.size() == read.lines.size());
    for (const QStringList &r : read.records)
        FUZZ_CHECK(!r.isEmpty());
    if (read.records.isEmpty())
        return 0;
    for (QChar sep : {u',', u';'}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        // A record of one empty field would be written as a blank line, which is no record.
        QList<QStringList> records;
        for (const QStringList &r : read.records)
            if (!(r.size() == 1 && r.first().isEmpty()))
                records << r;
        writeCsv(buffer, records, sep);
        // A heading of one field shows no separator: only "," is then found again.
        if (records.isEmpty() || (records.first().size() == 1 && sep != u','))
            continue;
        const CsvRead again = parseCsv(buffer.data());
        FUZZ_CHECK(again.ok());
        FUZZ_CHECK(again.separator == sep);
        FUZZ_CHECK(again.records == records);
    }
    return 0;
}
