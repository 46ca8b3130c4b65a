#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QSize>

#include <optional>

class QStyle;

namespace forms {

// A label whose caption may be the program's state. It is opaque: where labels of one container
// overlap, the one in front hides the others, and it shows its container's own background unless
// it was given a back colour of its own. A label with a click handler keeps its clicks to itself.
// Setting a different caption raises changed() before setCaption() returns, so a handler connected
// to it runs nested in the setter. Captions are always plain text: a message the user typed is
// shown as typed. Assistive technology reads the caption, and each change of it is announced as a
// change of the label's accessible name.
class Label : public QLabel
{
    Q_OBJECT
public:
    explicit Label(const QString &caption, QWidget *container);

    QString caption() const { return text(); }
    void setCaption(const QString &caption);

    // The label's design properties. Its font is the windows' design font
    // (forms/placement/registry.h) in the design size, bold or underlined as set; its colours are
    // its container's unless set. A fore colour is shown as designed wherever it is readable on
    // the background the label shows; where the desktop's style makes it unreadable (a dark style,
    // a high-contrast scheme) it gives way to a readable colour of its hue
    // (forms/controls/contrast.h), chosen again whenever the style's colours change.
    void setForeColor(const QColor &colour);
    void setBackColor(const QColor &colour);
    void setBold(bool bold);
    void setUnderline(bool underline);

    // Whether a handler is connected to clicked(): assistive technology then offers a press
    // action that clicks the label (forms/controls/labelaccessible.h).
    bool isClickable() const;

signals:
    void changed();
    // A click: the left button pressed and released over the label.
    void clicked();

protected:
    void changeEvent(QEvent *event) override;
    void connectNotify(const QMetaMethod &signal) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showForeColor();
    QColor backgroundShown(QPalette::ColorGroup group) const;

    std::optional<QColor> m_foreColor;

    // What the container's background under the label depends on.
    struct BackdropKey
    {
        QRect geometry;
        QSize containerSize;
        qreal pixelRatio = 0;
        bool containerEnabled = false;
        qint64 palette = 0;
        QFont font;
        const QStyle *style = nullptr;
        bool operator==(const BackdropKey &) const = default;
    };
    const QPixmap &backdrop(QWidget &container);

    QPixmap m_backdrop;
    BackdropKey m_backdropKey;
};

} // namespace forms
