#include "shell/farewellwindow.h"

#include "forms/controls/image.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "shell/named.h"
#include "shell/texts.h"

#include <QCloseEvent>
#include <QMouseEvent>

using namespace std::chrono_literals;

FarewellWindow::FarewellWindow() : forms::Window(texts::caption(), 5190, 1020, Border::None)
{
    centreOnScreen();
    setCursor(Qt::WaitCursor);

    auto *countdown = named(new forms::Timer(2000ms, this), "countdown");
    connect(countdown, &forms::Timer::timer, this, &FarewellWindow::endProgram);

    auto *picture = new forms::Image(QStringLiteral(":/assets/farewell.jpg"), client());
    forms::placeTwips(named(picture, "picture"), 0, 0, 5190, 1020);
    picture->setCursor(Qt::WaitCursor);
    picture->setAccessibleName(QStringLiteral("Take a break!"));
    picture->setAccessibleDescription(
        QStringLiteral("A stopwatch and the words: Thank you for using ") + texts::caption()
        + QStringLiteral(". Take a break!"));
    connect(picture, &forms::Label::clicked, this, &FarewellWindow::endProgram);

    countdown->setEnabled(true);
}

void FarewellWindow::whenLoaded()
{
    // Only the farewell stays on screen; the others stay loaded until it ends the program.
    for (forms::Window *window : forms::loadedWindows()) {
        if (window != this)
            window->hide();
    }
}

void FarewellWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        endProgram();
}

void FarewellWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    endProgram();
}

void FarewellWindow::endProgram()
{
    forms::unload(*this);
    forms::unloadAll();
}
