#include "rules/minutesbox.h"

#include "rules/counter.h"

#include <cmath>

namespace minutesbox {

Verdict check(QStringView minutesBox)
{
    // The last character, compared as text: only "0" to "9" lie between "0" and "9999".
    const QStringView last = minutesBox.isEmpty() ? QStringView() : minutesBox.last(1);
    if (last.compare(u"9999") > 0)
        return Verdict::CheckTheBox;
    if (last.compare(u"0") < 0)
        return Verdict::CheckTheBox;

    const std::optional<double> minutes = counter::readNumber(minutesBox);
    if (!minutes)
        return Verdict::CheckTheBox;
    if (*minutes == 0)
        return Verdict::Zero;
    // Only a whole number of minutes counts down to a minutes display of exactly "0"; any other
    // length would never give its alarm.
    if (*minutes < 1 || *minutes > LongestCountdown || std::trunc(*minutes) != *minutes)
        return Verdict::CheckTheBox;
    return Verdict::Start;
}

QString lengthAtAlarm(const QString &minutesBox, const QString &lastAccepted)
{
    return check(minutesBox) == Verdict::Start ? minutesBox : lastAccepted;
}

} // namespace minutesbox
