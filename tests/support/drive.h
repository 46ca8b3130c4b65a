#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

class MainWindow;
class QLineEdit;
class QWidget;

namespace forms {
class Label;
class MultiLineTextBox;
class Timer;
} // namespace forms

// How the tests drive the program: its controls found by the names the windows give them for
// their roles, time by firing a window's countdown timer, the window system by the events it
// sends, and the main window's layout read as one value.

// The control of `window` named `name` (its object name); a window without it ends the test.
template <class T = QWidget>
T *control(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found) {
        qFatal("%s has no %s named %s", window.metaObject()->className(),
               T::staticMetaObject.className(), name);
    }
    return found;
}

// The window's countdown timer: the main window's, the advertisement's fifteen seconds, the
// farewell's two.
forms::Timer *countdownOf(const QWidget &window);

// Fires the window's countdown timer `times` times, as an interval passing each.
void tick(QWidget &window, int times);

// Presses the button, or triggers the menu entry, named `name`, as the user does.
void press(const QObject &window, const char *name);

// The main window's minutes box, and the minutes and seconds left (of the advertisement too).
QLineEdit *minutesBox(const QWidget &window);
forms::Label *minutesLeft(const QWidget &window);
forms::Label *secondsLeft(const QWidget &window);

// The message editor's box, or the alarm pop-up's.
forms::MultiLineTextBox *messageText(const QWidget &window);

// Stops the countdowns of `window` (the advertisement's fifteen seconds, the farewell's two), so
// that a test waiting on a busy machine for the window to be shown is not overtaken by them.
void holdCountdowns(QWidget &window);

// What the window system sends for Alt+F4 or the close box.
void closeByWindowSystem(QWidget &window);

// The main window's enabled states, whatever the timer does: true for the idle layout (the
// settings open, Change disabled), false for the running one.
bool settingsOpen(const MainWindow &f, bool open);

// The alarm kind as the main window shows it, in one line that reads well in a failure: which
// options are selected, which Options menu entries are checked, and whether the Message entry is
// enabled ("001 / 001 / Message" for the pop-up).
QString alarmKindShown(const MainWindow &f);

// What alarmKindShown reads with only kind 0 (a sound), 1 (a message box) or 2 (the pop-up)
// chosen.
QString alarmKindShownFor(int kind);
