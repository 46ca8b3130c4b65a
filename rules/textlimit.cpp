#include "rules/textlimit.h"

namespace forms::textlimit {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Length in UTF-16 units and counted length of the unit that starts at `at`.
struct Unit
{
    qsizetype units;
    qsizetype counted;
};

Unit unitAt(QStringView text, qsizetype at)
{
    const QChar c = text[at];
    const bool hasNext = at + 1 < text.size();
    if (c == u'\r' && hasNext && text[at + 1] == u'\n')
        return {2, 2};
    if (isLineBreak(c))
        return {1, 2};
    if (c.isHighSurrogate() && hasNext && text[at + 1].isLowSurrogate())
        return {2, 2};
    return {1, 1};
}

} // namespace

qsizetype countedLength(QStringView text)
{
    qsizetype counted = 0;
    for (qsizetype at = 0; at < text.size();) {
        const Unit unit = unitAt(text, at);
        counted += unit.counted;
        at += unit.units;
    }
    return counted;
}

QString fit(QStringView inserted, qsizetype room)
{
    qsizetype counted = 0;
    qsizetype at = 0;
    while (at < inserted.size()) {
        const Unit unit = unitAt(inserted, at);
        if (counted + unit.counted > room)
            break;
        counted += unit.counted;
        at += unit.units;
    }
    return inserted.first(at).toString();
}

} // namespace forms::textlimit
