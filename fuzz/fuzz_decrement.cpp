// The decrement is total: unreadable text stands still, anything else becomes the canonical text
// of one less, and a canonical whole number n becomes exactly the canonical text of n - 1.
#include "fuzzcheck.h"
#include "rules/counter.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textFrom(data, size);
    const QString next = counter::decrement(text);
    const std::optional<double> value = counter::readNumber(text);
    if (!value) {
        FUZZ_CHECK(next == text, text);
    } else {
        FUZZ_CHECK(next == counter::canonicalText(*value - 1), text);
        FUZZ_CHECK(counter::canonicalText(*counter::readNumber(next)) == next, text);
    }

    // Whole numbers below 10^15 in magnitude, which double holds exactly.
    if (size >= sizeof(qint64)) {
        qint64 raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        const qint64 n = raw % 1'000'000'000'000'000LL;
        const QString whole = QString::number(n);
        FUZZ_CHECK(counter::canonicalText(static_cast<double>(n)) == whole, whole);
        FUZZ_CHECK(counter::decrement(whole) == QString::number(n - 1), whole);
    }
    return 0;
}
