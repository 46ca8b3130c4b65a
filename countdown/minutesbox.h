#pragma once

#include <QStringView>

// Begin's checks of the minutes box, before a countdown may start.
namespace minutesbox {

enum class Verdict {
    Start,        // a whole number of minutes from 1 to 9999, in whatever spelling was typed
    CheckTheBox,  // anything else that is not zero: "Please check the minutes box..."
    Zero,         // reads as zero: "You can not put a zero in the minutes box!"
};

inline constexpr double LongestCountdown = 9999;

Verdict check(QStringView minutesBox);

} // namespace minutesbox
