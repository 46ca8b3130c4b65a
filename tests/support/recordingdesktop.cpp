#include "support/recordingdesktop.h"

#include "forms/windows.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

RecordingDesktop::RecordingDesktop()
{
    install(this);
}

RecordingDesktop::~RecordingDesktop()
{
    install(nullptr);
}

void RecordingDesktop::messageBox(QWidget *owner, Icon icon, const QString &title,
                                  const QString &text, Arrival arrival)
{
    boxes.append({icon, title, text, arrival, owner});
    if (whileBoxOpen)
        whileBoxOpen();
}

void RecordingDesktop::beep()
{
    ++beeps;
}

void RecordingDesktop::askForAttention(QWidget &window)
{
    attention.append(window.windowTitle());
}

void RecordingDesktop::bringToFront(QWidget &window)
{
    broughtToFront.append(window.windowTitle());
    window.raise();
    window.activateWindow();
}

void RecordingDesktop::bringToCurrentDesktop(QWidget &window)
{
    broughtToCurrentDesktop.append(window.windowTitle());
}

QScreen *RecordingDesktop::userScreen()
{
    return userWorksOn ? userWorksOn.get() : QGuiApplication::primaryScreen();
}

void RecordingDesktop::openLink(const QString &link)
{
    links.append(link);
}

void RecordingDesktop::endProgram()
{
    ++programEnds;
}

void unloadAllWindows()
{
    forms::endProgram();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void failOnWarnings()
{
    // The offscreen platform says which window operations it cannot do (raise, size hints); that
    // is the test platform speaking, not the program.
    QTest::failOnWarning(
        QRegularExpression(QStringLiteral("^(?!This plugin does not support \\w+\\(\\)$)")));
}
