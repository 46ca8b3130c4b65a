#include "forms/label.h"

#include <QMouseEvent>
#include <QPainter>

namespace forms {

Label::Label(const QString &caption, QWidget *container) : QLabel(caption, container)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
}

void Label::setCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    emit changed();
}


void Label::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void Label::paintEvent(QPaintEvent *event)
{
    // The container's background under the label (a frame's panel, say), without the controls
    // that lie behind the label.
    if (QWidget *container = parentWidget()) {
        QPainter painter(this);
        container->render(&painter, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    }
    QLabel::paintEvent(event);
}

} // namespace forms
