#include "shell/farewellwindow.h"

#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/geometry.h"
#include "forms/image.h"
#include "forms/timer.h"
#include "forms/windows.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/texts.h"

#include <QCloseEvent>
#include <QMouseEvent>

using namespace std::chrono_literals;

Form3::Form3() : forms::Window(texts::caption(), 5190, 1020, Border::None)
{
    centreOnScreen();
    setCursor(Qt::WaitCursor);

    Timer1 = new forms::Timer(2000ms, this);
    connect(Timer1, &forms::Timer::timer, this, &Form3::Timer1_Timer);

    Image1 = new forms::Image(QStringLiteral(":/assets/farewell.jpg"), client());
    forms::placeTwips(Image1, 0, 0, 5190, 1020);
    Image1->setCursor(Qt::WaitCursor);
    Image1->setAccessibleName(QStringLiteral("Take a break!"));
    Image1->setAccessibleDescription(
        QStringLiteral("A stopwatch and the words: Thank you for using ") + texts::caption()
        + QStringLiteral(". Take a break!"));
    connect(Image1, &forms::Label::clicked, this, &Form3::Image1_Click);

    Timer1->setEnabled(true);
}

void Form3::Form_Load()
{
    forms::hide<Form1>();
    forms::hide<Form2>();
    forms::hide<Form4>();
    forms::hide<Form5>();
    forms::hide<Form6>();
}

void Form3::Timer1_Timer()
{
    endProgram();
}

void Form3::Image1_Click()
{
    endProgram();
}

void Form3::Form_Click()
{
    endProgram();
}

void Form3::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Form_Click();
}

void Form3::closeEvent(QCloseEvent *event)
{
    event->accept();
    endProgram();
}

void Form3::endProgram()
{
    forms::unload(*this);
    forms::endProgram();
}
