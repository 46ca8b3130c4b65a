#include "support/drive.h"

#include "countdown/mainwindow.h"
#include "forms/commandbutton.h"
#include "forms/optionbutton.h"
#include "forms/timer.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QWindow>

void tick(MainWindow &f, int times)
{
    for (int i = 0; i < times; ++i)
        f.Timer1_Timer();
}

void holdCountdowns(QWidget &window)
{
    for (forms::Timer *countdown : window.findChildren<forms::Timer *>())
        countdown->setEnabled(false);
}

void closeByWindowSystem(QWidget &window)
{
    QCloseEvent close;
    QCoreApplication::sendEvent(window.windowHandle(), &close);
}

bool settingsOpen(const MainWindow &f, bool open)
{
    const QList<bool> enabledWhenOpen = {
        f.Command2->isEnabled(), f.mnuBegin->isEnabled(),  f.Text1->isEnabled(),
        f.Option1->isEnabled(),  f.Option2->isEnabled(),   f.Option3->isEnabled(),
        f.mnuSnd->isEnabled(),   f.mnuMsgBox->isEnabled(), f.mnuWindow->isEnabled()};
    return !enabledWhenOpen.contains(!open) && f.Command3->isEnabled() == !open;
}
