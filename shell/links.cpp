#include "shell/links.h"

#include "forms/desktop.h"

namespace Module1 {

void OpenReferralLink()
{
    forms::Desktop::current().openLink(ReferralLink);
}

void OpenMailLink()
{
    forms::Desktop::current().openLink(MailLink);
}

} // namespace Module1
