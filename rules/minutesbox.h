#pragma once

#include <QString>
#include <QStringView>

// Begin's checks of the minutes box, before a countdown may start.
namespace minutesbox {

enum class Verdict {
    Start,       // a whole number of minutes from 1 to 9999, in whatever spelling was typed
    CheckTheBox, // anything else that is not zero: "Please check the minutes box..."
    Zero,        // reads as zero: "You can not put a zero in the minutes box!"
};

inline constexpr double LongestCountdown = 9999;

Verdict check(QStringView minutesBox);

// The length a countdown restarts with after a sound or message-box alarm. The minutes box can be
// edited while a countdown resumed after a Change runs; it gives the length only if it would pass
// Begin's checks now, and otherwise the countdown runs again for the last length that did.
QString lengthAtAlarm(const QString &minutesBox, const QString &lastAccepted);

} // namespace minutesbox
