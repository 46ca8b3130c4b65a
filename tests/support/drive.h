#pragma once

class MainWindow;
class QString;
class QWidget;

// How the tests drive the program: time by calling the tick handler, the window system by the
// events it sends, and the main window's layout read as one value.

// Runs the main window's countdown tick `times` times, as a second passing each.
void tick(MainWindow &f, int times);

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
