// Reading text as a number: a readable text is a finite number whatever blanks surround it, and
// the canonical text of a value reads back as that value to fifteen significant digits.
#include "fuzzcheck.h"
#include "rules/counter.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textFrom(data, size);
    const std::optional<double> value = counter::readNumber(text);

    FUZZ_CHECK(counter::readNumber(QStringLiteral(" \t") + text + QStringLiteral(" ")) == value,
               text);
    if (!value)
        return 0;
    FUZZ_CHECK(std::isfinite(*value), text);
    for (const QChar c : text.trimmed())
        FUZZ_CHECK(QStringLiteral("0123456789+-.eE").contains(c), text);

    const QString canonical = counter::canonicalText(*value);
    const std::optional<double> back = counter::readNumber(canonical);
    FUZZ_CHECK(back.has_value(), text);
    FUZZ_CHECK(std::fabs(*back - *value) <= std::fabs(*value) * 1e-14, text);
    FUZZ_CHECK(counter::canonicalText(*back) == canonical, text);
    FUZZ_CHECK(!canonical.contains(u'e') && !canonical.contains(u' '), text);
    return 0;
}
