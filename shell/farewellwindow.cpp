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

FarewellWindow::FarewellWindow() : forms::Window(texts::caption(), 5190, 1020, Border::None)
{
    centreOnScreen();
    setCursor(Qt::WaitCursor);

    Timer1 = new forms::Timer(2000ms, this);
    connect(Timer1, &forms::Timer::timer, this, &FarewellWindow::Timer1_Timer);

    Image1 = new forms::Image(QStringLiteral(":/assets/farewell.jpg"), client());
    forms::placeTwips(Image1, 0, 0, 5190, 1020);
    Image1->setCursor(Qt::WaitCursor);
    Image1->setAccessibleName(QStringLiteral("Take a break!"));
    Image1->setAccessibleDescription(
        QStringLiteral("A stopwatch and the words: Thank you for using ") + texts::caption()
        + QStringLiteral(". Take a break!"));
    connect(Image1, &forms::Label::clicked, this, &FarewellWindow::Image1_Click);

    Timer1->setEnabled(true);
}

void FarewellWindow::Form_Load()
{
    forms::hide<MainWindow>();
    forms::hide<AboutWindow>();
    forms::hide<Advertisement>();
    forms::hide<MessageEditor>();
    forms::hide<AlarmPopup>();
}

void FarewellWindow::Timer1_Timer()
{
    endProgram();
}

void FarewellWindow::Image1_Click()
{
    endProgram();
}

void FarewellWindow::Form_Click()
{
    endProgram();
}

void FarewellWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Form_Click();
}

void FarewellWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    endProgram();
}

void FarewellWindow::endProgram()
{
    forms::unload(*this);
    forms::endProgram();
}
