#include "shell/links.h"

#include "forms/desktop/desktop.h"

namespace links {

void openReferralLink()
{
    forms::Desktop::current().openLink(ReferralLink);
}

void openMailLink()
{
    forms::Desktop::current().openLink(MailLink);
}

} // namespace links
