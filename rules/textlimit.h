#pragma once

#include <QString>
#include <QStringView>

// The length limit of a multi-line text box. Its text keeps line breaks as CR LF, so a line
// break counts as two characters against the limit.
namespace forms::textlimit {

// Counted length of a text: a line break (CR LF, a lone CR or LF, or a paragraph separator as a
// text box reports it) counts two, every other UTF-16 unit one.
qsizetype countedLength(QStringView text);

// The longest beginning of `inserted` whose counted length is at most `room`. The cut never falls
// inside a line break or a surrogate pair.
QString fit(QStringView inserted, qsizetype room);

} // namespace forms::textlimit
