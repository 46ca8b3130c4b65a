#pragma once

#include "forms/desktop/desktop.h"

#include <QList>
#include <QPointer>
#include <QScreen>
#include <QString>
#include <QStringList>

#include <functional>

// Stands in for the desktop while it exists: message boxes, beeps and links are recorded
// instead of given, and the end of the program is counted instead of leaving the test.
class RecordingDesktop : public forms::Desktop
{
public:
    struct Box
    {
        Icon icon;
        QString title;
        QString text;
        Arrival arrival;
        // The window the box belongs to; nullptr for a box of no window.
        const QWidget *owner;
    };

    RecordingDesktop();
    ~RecordingDesktop() override;
    RecordingDesktop(const RecordingDesktop &) = delete;
    RecordingDesktop &operator=(const RecordingDesktop &) = delete;

    void messageBox(QWidget *owner, Icon icon, const QString &title, const QString &text,
                    Arrival arrival) override;
    void askForAttention(QWidget &window) override;
    // Records the window and raises and activates it, as the desktop does where nothing refuses.
    void bringToFront(QWidget &window) override;
    void bringToCurrentDesktop(QWidget &window) override;
    // The screen in userWorksOn, the primary one while that is empty.
    QScreen *userScreen() override;
    // windowClock; and each key's own stamp, where it has one.
    std::optional<quint32> windowSystemTime() override;
    std::optional<quint32> typedAt(const QKeyEvent &key) override;
    void beep() override;
    void openLink(const QString &link) override;
    void leaveEventLoop() override;

    QList<Box> boxes;
    int beeps = 0;
    QStringList links;
    int programEnds = 0;
    // The titles of the windows that asked for the user's attention, in order.
    QStringList attention;
    // The titles of the windows brought to the front, in order.
    QStringList broughtToFront;
    // The titles of the windows brought to the user's desktop, in order.
    QStringList broughtToCurrentDesktop;
    // The monitor the user works on, as the desktop would tell it.
    QPointer<QScreen> userWorksOn;
    // The window system's time, as the desktop would tell it: none unless a test sets it.
    std::optional<quint32> windowClock;
    // Runs while a message box is "open", as the user's time inside a modal box.
    std::function<void()> whileBoxOpen;
};

// Unloads every window and deletes them, so the next test starts with none loaded. Call it with
// a RecordingDesktop in place, or it ends the program.
void unloadAllWindows();

// Makes any Qt warning in the running test function fail it. The offscreen platform's remarks on
// what it cannot do are left out of the log altogether.
void failOnWarnings();
