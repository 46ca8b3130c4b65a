// The text box limit: what fits is the longest beginning of the insertion within the room, never
// longer than the room in counted characters, and never cut inside a line break or a surrogate
// pair.
#include "fuzzcheck.h"
#include "rules/textlimit.h"

using forms::textlimit::countedLength;
using forms::textlimit::fit;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype room = data[0] % 64 + (data[1] % 2 ? 0 : 480);
    const QString inserted = textFrom(data + 2, size - 2);
    const QString fits = fit(inserted, room);

    FUZZ_CHECK(inserted.startsWith(fits), inserted);
    FUZZ_CHECK(countedLength(fits) <= room, inserted);
    if (fits.size() == inserted.size())
        return 0;

    const QChar last = fits.isEmpty() ? QChar() : fits.back();
    const QChar cut = inserted[fits.size()];
    FUZZ_CHECK(!(last == u'\r' && cut == u'\n'), inserted);
    FUZZ_CHECK(!(last.isHighSurrogate() && cut.isLowSurrogate()), inserted);
    // Nothing more would have fitted: the next unit (a line break, a pair, or one unit) is over.
    qsizetype next = 1;
    if ((cut == u'\r' && fits.size() + 1 < inserted.size() && inserted[fits.size() + 1] == u'\n')
        || (cut.isHighSurrogate() && fits.size() + 1 < inserted.size()
            && inserted[fits.size() + 1].isLowSurrogate()))
        next = 2;
    FUZZ_CHECK(countedLength(inserted.first(fits.size() + next)) > room, inserted);

    // The limit applied to a whole text: a text that fits the limit is its own fit.
    const QString whole = fit(inserted, 500);
    FUZZ_CHECK(fit(whole, 500) == whole, inserted);
    return 0;
}
