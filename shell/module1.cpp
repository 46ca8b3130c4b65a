#include "shell/module1.h"

#include "forms/desktop/desktop.h"

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
