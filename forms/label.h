#pragma once

#include <QLabel>

namespace forms {

// A label whose caption may be the program's state. It is opaque: where labels of one container
// overlap, the one in front hides the others, and it shows its container's own background. Setting a different caption raises
// changed() before setCaption() returns, so a handler connected to it runs nested in the setter.
// Captions are always plain text: a message the user typed is shown as typed.
class Label : public QLabel
{
    Q_OBJECT
public:
    explicit Label(const QString &caption, QWidget *container);

    QString caption() const { return text(); }
    void setCaption(const QString &caption);

signals:
    void changed();
    // A click: the left button pressed and released over the label.
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

} // namespace forms
