// The results site's manifest: any bytes read without harm, every page it keeps is one of the
// site's own names inside the folder, and a manifest written and read again is the same.

#include "FuzzCheck.h"
#include "publish/SiteManifest.h"

using namespace arenor::publish;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SiteManifest m = readManifest(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const SiteList &l : m.lists)
        FUZZ_CHECK(isPageName(l.page, kListPrefix) && !l.key.isEmpty());
    for (const SiteRound &r : m.rounds)
        FUZZ_CHECK(isPageName(r.page, kRoundPrefix) && !r.name.isEmpty());
    FUZZ_CHECK(m.pages().size() == m.lists.size() + m.rounds.size() + 3);
    const QByteArray written = writeManifest(m);
    const SiteManifest back = readManifest(written);
    FUZZ_CHECK(back == m);
    FUZZ_CHECK(writeManifest(back) == written);
    return 0;
}
