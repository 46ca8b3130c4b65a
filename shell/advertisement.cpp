#include "shell/advertisement.h"

#include "forms/controls/commandbutton.h"
#include "forms/controls/image.h"
#include "forms/controls/label.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "rules/counter.h"
#include "shell/links.h"
#include "shell/named.h"

using namespace std::chrono_literals;

Advertisement::Advertisement()
    : forms::Window(QStringLiteral("Advertisement"), 7275, 1920, Border::None)
{
    placeClientAtTwips(1200, 6165);

    auto *closeButton = new forms::CommandButton(QStringLiteral("&Close"), client());
    forms::placeTwips(named(closeButton, "closeButton"), 6120, 1440, 975, 375);
    connect(closeButton, &QPushButton::clicked, this, &Advertisement::dismiss);

    auto *secondsCaption = new forms::Label(QStringLiteral("seconds."), client());
    forms::placeTwips(named(secondsCaption, "secondsCaption"), 4200, 1440, 1215, 495);

    m_secondsLeft = new forms::Label(QStringLiteral("15"), client());
    forms::placeTwips(named(m_secondsLeft, "secondsLeft"), 3960, 1440, 1215, 495);
    m_secondsLeft->setBold(true);
    m_secondsLeft->setForeColor(QColor(192, 0, 0));
    connect(m_secondsLeft, &forms::Label::changed, this, &Advertisement::secondsChanged);
    m_secondsLeft->setAccessibleDescription(QStringLiteral("Seconds until this window closes"));

    auto *closesIn = new forms::Label(QStringLiteral("This window will close in"), client());
    forms::placeTwips(named(closesIn, "closesInCaption"), 2160, 1440, 2535, 495);

    auto *invitation =
        new forms::Label(QStringLiteral("Click here to join Rud Irivezodo for free!"), client());
    forms::placeTwips(named(invitation, "invitation"), 1680, 1080, 3615, 255);
    invitation->setUnderline(true);
    invitation->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    invitation->setForeColor(QColor(0, 0, 255));
    invitation->setCursor(Qt::PointingHandCursor);
    connect(invitation, &forms::Label::clicked, this, &links::openReferralLink);
    invitation->setAccessibleDescription(
        QStringLiteral("Opens the sign-up page in the web browser"));

    auto *banner = new forms::Image(QStringLiteral(":/assets/banner.gif"), client());
    forms::placeTwips(named(banner, "banner"), 120, 120, 7020, 900);
    banner->setCursor(Qt::PointingHandCursor);
    connect(banner, &forms::Label::clicked, this, &links::openReferralLink);
    banner->setAccessibleName(QStringLiteral("Rud Irivezodo"));
    banner->setAccessibleDescription(QStringLiteral(
        "Banner: Rud Irivezodo, meet people, share stories. Join free today! Opens the sign-up "
        "page in the web browser"));

    forms::stackFrontToBack(
        {closeButton, secondsCaption, m_secondsLeft, closesIn, invitation, banner});
    setTabOrder({closeButton});

    m_countdown = named(new forms::Timer(1000ms, this), "countdown");
    connect(m_countdown, &forms::Timer::timer, this, &Advertisement::tick);
    m_countdown->setEnabled(true);
}

void Advertisement::tick()
{
    m_secondsLeft->setCaption(counter::decrement(m_secondsLeft->caption()));
}

void Advertisement::secondsChanged()
{
    if (m_secondsLeft->caption() != QStringLiteral("0"))
        return;
    m_countdown->setEnabled(false);
    forms::unload(*this);
}

void Advertisement::dismiss()
{
    forms::unload(*this);
}
