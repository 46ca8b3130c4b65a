// Begin's checks put every text in exactly one of three outcomes, and agree with a reading of
// the rules written another way: a start only for a whole number from 1 to 9999 whose countdown
// reaches "0", the zero message only for a number that reads as zero, and "Please check" for
// everything else.
#include "fuzzcheck.h"
#include "rules/counter.h"
#include "rules/minutesbox.h"

#include <cmath>

namespace {

minutesbox::Verdict expected(const QString &text)
{
    const bool endsInDigit = !text.isEmpty() && text.back() >= u'0' && text.back() <= u'9';
    const std::optional<double> value = counter::readNumber(text);
    if (!endsInDigit || !value)
        return minutesbox::Verdict::CheckTheBox;
    if (*value == 0)
        return minutesbox::Verdict::Zero;
    if (*value >= 1 && *value <= 9999 && std::floor(*value) == *value)
        return minutesbox::Verdict::Start;
    return minutesbox::Verdict::CheckTheBox;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = textFrom(data, size);
    const minutesbox::Verdict verdict = minutesbox::check(text);
    FUZZ_CHECK(verdict == expected(text), text);

    if (verdict == minutesbox::Verdict::Start) {
        // The minutes display starts as the text itself; its first decrement is canonical, and
        // canonical whole numbers count down one by one to the exact text "0".
        const auto minutes = static_cast<qint64>(*counter::readNumber(text));
        QString display = counter::decrement(text);
        FUZZ_CHECK(display == QString::number(minutes - 1), text);
        for (qint64 left = minutes - 1; left > 0 && left > minutes - 50; --left)
            display = counter::decrement(display);
        if (minutes <= 50)
            FUZZ_CHECK(display == QStringLiteral("0"), text);
    }
    return 0;
}
