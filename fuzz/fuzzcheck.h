#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

// A property that does not hold stops the fuzzer with the input that broke it.
#define FUZZ_CHECK(condition, text)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property broken: %s\n  text: \"%s\"\n", #condition,              \
                         qUtf8Printable(text));                                                    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// The fuzzer's bytes as UTF-16 text, so every code unit (lone surrogates included) can occur.
inline QString textFrom(const uint8_t *data, size_t size)
{
    return QString(reinterpret_cast<const QChar *>(data), static_cast<qsizetype>(size / 2));
}
