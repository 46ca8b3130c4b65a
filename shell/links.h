#pragma once

#include <QString>

// The program's two links to the outside world, each a constant handed to the desktop, which
// opens it with the program the user registered for it. Neither touches a window.
namespace links {

// The maker's address, shown in the About window and used by the mail link.
inline const QString MailAddress = QStringLiteral("kelto@example.com");
inline const QString ReferralLink =
    QStringLiteral("http://www.rudirivezodo.example/home.asp?refid=kzb2000");
inline const QString MailLink = QStringLiteral("mailto:") + MailAddress;

void openReferralLink();
void openMailLink();

} // namespace links
