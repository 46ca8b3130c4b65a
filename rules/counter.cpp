#include "rules/counter.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace counter {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Length of the run of ASCII digits at `at`.
qsizetype digitsAt(QStringView text, qsizetype at)
{
    qsizetype n = 0;
    while (at + n < text.size() && isDigit(text[at + n]))
        ++n;
    return n;
}

} // namespace

std::optional<double> readNumber(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const QStringView number = text.sliced(begin, end - begin);

    qsizetype at = 0;
    bool negative = false;
    if (at < number.size() && (number[at] == u'+' || number[at] == u'-')) {
        negative = number[at] == u'-';
        ++at;
    }
    const qsizetype mantissaBegin = at;
    const qsizetype wholeDigits = digitsAt(number, at);
    at += wholeDigits;
    qsizetype fractionDigits = 0;
    if (at < number.size() && number[at] == u'.') {
        ++at;
        fractionDigits = digitsAt(number, at);
        at += fractionDigits;
    }
    if (wholeDigits + fractionDigits == 0)
        return std::nullopt;
    if (at < number.size() && (number[at] == u'e' || number[at] == u'E')) {
        ++at;
        if (at < number.size() && (number[at] == u'+' || number[at] == u'-'))
            ++at;
        const qsizetype exponentDigits = digitsAt(number, at);
        if (exponentDigits == 0)
            return std::nullopt;
        at += exponentDigits;
    }
    if (at != number.size())
        return std::nullopt;

    // Everything from the mantissa on is ASCII now; from_chars reads it the same in every locale.
    const std::string ascii = number.sliced(mantissaBegin).toLatin1().toStdString();
    double value = 0;
    const auto [stop, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || stop != ascii.data() + ascii.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

QString canonicalText(double value)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");

    // d.dddddddddddddde±x: fifteen significant digits and a decimal exponent.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 14);
    const std::string scientific(buffer, result.ptr);
    const auto e = scientific.find('e');
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    const int exponent = std::stoi(scientific.substr(e + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    // Number of digits before the decimal point.
    const long long point = exponent + 1LL;
    std::string plain;
    if (point <= 0)
        plain = "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    else if (point >= static_cast<long long>(digits.size()))
        plain = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
    else
        plain = digits.substr(0, point) + '.' + digits.substr(point);
    if (value < 0)
        plain.insert(plain.begin(), '-');
    return QString::fromLatin1(plain);
}

QString decrement(QStringView caption)
{
    const std::optional<double> value = readNumber(caption);
    if (!value)
        return caption.toString();
    return canonicalText(*value - 1);
}

} // namespace counter
