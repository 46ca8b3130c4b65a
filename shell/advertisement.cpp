#include "shell/advertisement.h"

#include "countdown/counter.h"
#include "forms/commandbutton.h"
#include "forms/geometry.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/timer.h"
#include "forms/windows.h"
#include "shell/links.h"

using namespace std::chrono_literals;

Advertisement::Advertisement()
    : forms::Window(QStringLiteral("Advertisement"), 7275, 1920, Border::None)
{
    placeClientAtTwips(1200, 6165);

    Command1 = new forms::CommandButton(QStringLiteral("&Close"), client());
    forms::placeTwips(Command1, 6120, 1440, 975, 375);
    connect(Command1, &QPushButton::clicked, this, &Advertisement::Command1_Click);

    Label5 = new forms::Label(QStringLiteral("seconds."), client());
    forms::placeTwips(Label5, 4200, 1440, 1215, 495);

    Label4 = new forms::Label(QStringLiteral("15"), client());
    forms::placeTwips(Label4, 3960, 1440, 1215, 495);
    Label4->setBold(true);
    Label4->setForeColor(QColor(192, 0, 0));
    connect(Label4, &forms::Label::changed, this, &Advertisement::Label4_Change);
    Label4->setAccessibleDescription(QStringLiteral("Seconds until this window closes"));

    Label3 = new forms::Label(QStringLiteral("This window will close in"), client());
    forms::placeTwips(Label3, 2160, 1440, 2535, 495);

    Label1 =
        new forms::Label(QStringLiteral("Click here to join Rud Irivezodo for free!"), client());
    forms::placeTwips(Label1, 1680, 1080, 3615, 255);
    Label1->setUnderline(true);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setForeColor(QColor(0, 0, 255));
    Label1->setCursor(Qt::PointingHandCursor);
    connect(Label1, &forms::Label::clicked, this, &Advertisement::Label1_Click);
    Label1->setAccessibleDescription(QStringLiteral("Opens the sign-up page in the web browser"));

    Image1 = new forms::Image(QStringLiteral(":/assets/banner.gif"), client());
    forms::placeTwips(Image1, 120, 120, 7020, 900);
    Image1->setCursor(Qt::PointingHandCursor);
    connect(Image1, &forms::Label::clicked, this, &Advertisement::Image1_Click);
    Image1->setAccessibleName(QStringLiteral("Rud Irivezodo"));
    Image1->setAccessibleDescription(QStringLiteral(
        "Banner: Rud Irivezodo, meet people, share stories. Join free today! Opens the sign-up "
        "page in the web browser"));

    forms::stackFrontToBack({Command1, Label5, Label4, Label3, Label1, Image1});
    setTabOrder({Command1});

    Timer1 = new forms::Timer(1000ms, this);
    connect(Timer1, &forms::Timer::timer, this, &Advertisement::Timer1_Timer);
    Timer1->setEnabled(true);
}

void Advertisement::Timer1_Timer()
{
    Label4->setCaption(counter::decrement(Label4->caption()));
}

void Advertisement::Label4_Change()
{
    if (Label4->caption() != QStringLiteral("0"))
        return;
    Timer1->setEnabled(false);
    forms::unload(*this);
}

void Advertisement::Command1_Click()
{
    forms::unload(*this);
}

void Advertisement::Image1_Click()
{
    links::openReferralLink();
}

void Advertisement::Label1_Click()
{
    links::openReferralLink();
}
