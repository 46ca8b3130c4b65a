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

forms::Timer *countdownOf(const QWidget &window)
{
    return control<forms::Timer>(window, "countdown");
}

void tick(QWidget &window, int times)
{
    forms::Timer *countdown = countdownOf(window);
    for (int i = 0; i < times; ++i)
        emit countdown->timer();
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

namespace {

QString bits(bool sound, bool box, bool popup)
{
    return QString::number(int(sound)) + QString::number(int(box)) + QString::number(int(popup));
}

} // namespace

QString alarmKindShown(const MainWindow &f)
{
    return bits(f.Option1->value(), f.Option2->value(), f.Option3->value()) + QStringLiteral(" / ")
           + bits(f.mnuSnd->isChecked(), f.mnuMsgBox->isChecked(), f.mnuWindow->isChecked())
           + (f.mnuMessage->isEnabled() ? QStringLiteral(" / Message") : QString());
}

QString alarmKindShownFor(int kind)
{
    const QString one = bits(kind == 0, kind == 1, kind == 2);
    return one + QStringLiteral(" / ") + one
           + (kind == 2 ? QStringLiteral(" / Message") : QString());
}
