#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

namespace forms {

// Each time the window becomes the active window, once Qt has handled the activation, the
// announcement tells assistive technology again which control has the focus, so that the last a
// screen reader hears of the activation is where the focus is, in a window that is active. Qt
// announces each activation twice, the first time before its own state has changed (the window
// losing the activation is called activated, the one gaining it deactivated), and its one
// announcement of the focus comes amid them; a screen reader that weighs each announcement by the
// state it finds when it gets to it can pass over that one, and the alarm's text is not read.
class FocusAnnouncement : public QObject
{
    Q_OBJECT
public:
    // Announces the focus in `window` (a top-level widget), which owns the announcement.
    explicit FocusAnnouncement(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void announceFocus();

    QWidget &m_window;
    QTimer m_announcement;
};

} // namespace forms
