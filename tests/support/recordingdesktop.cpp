#include "support/recordingdesktop.h"

#include "forms/placement/registry.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
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

std::optional<quint32> RecordingDesktop::windowSystemTime()
{
    return windowClock;
}

std::optional<quint32> RecordingDesktop::typedAt(const QKeyEvent &key)
{
    if (key.timestamp() == 0)
        return std::nullopt;
    return static_cast<quint32>(key.timestamp());
}

void RecordingDesktop::openLink(const QString &link)
{
    links.append(link);
}

void RecordingDesktop::leaveEventLoop()
{
    ++programEnds;
}

void unloadAllWindows()
{
    forms::unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

// The offscreen platform says which window operations it cannot do (raise, size hints): the test
// platform speaking, not the program. Said thousands of times by a test that opens windows in a
// loop, it would bury a failure's own lines in the log.
bool isPlatformRemark(QtMsgType type, const QString &message)
{
    static const QRegularExpression remark(
        QStringLiteral("^This plugin does not support \\w+\\(\\)$"));
    return type == QtWarningMsg && remark.match(message).hasMatch();
}

QtMessageHandler testLog = nullptr;

void dropPlatformRemarks(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!isPlatformRemark(type, message))
        testLog(type, context, message);
}

} // namespace

void failOnWarnings()
{
    // Qt Test's own handler is in place once the test functions run; it goes on receiving the rest.
    if (!testLog)
        testLog = qInstallMessageHandler(dropPlatformRemarks);
    // The empty pattern matches every message.
    QTest::failOnWarning(QRegularExpression());
}
