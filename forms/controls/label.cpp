#include "forms/controls/label.h"

#include "forms/controls/contrast.h"
#include "forms/controls/labelaccessible.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

namespace forms {

Label::Label(const QString &caption, QWidget *container) : QLabel(caption, container)
{
    installLabelAccessible();
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    // paintEvent() covers the whole label, so nothing behind it is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool Label::isClickable() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&Label::clicked));
}

void Label::setCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    emit changed();
}

void Label::setForeColor(const QColor &colour)
{
    m_foreColor = colour;
    showForeColor();
}

void Label::showForeColor()
{
    if (!m_foreColor)
        return;
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        // A link may take the style's own link colour where the designed one is unreadable.
        std::optional<QColor> link;
        if (isClickable())
            link = colours.color(group, QPalette::Link);
        colours.setColor(group, QPalette::WindowText,
                         contrast::readable(*m_foreColor, backgroundShown(group), link));
    }
    // Setting the palette raises another PaletteChange, which finds these colours already shown.
    if (colours != palette())
        setPalette(colours);
}

QColor Label::backgroundShown(QPalette::ColorGroup group) const
{
    // As paintEvent() paints it: the container's background unless the label has its own.
    const QWidget *container = parentWidget();
    if (container
        && palette().brush(group, QPalette::Window)
               == container->palette().brush(group, QPalette::Window))
        return container->palette().color(group, container->backgroundRole());
    return palette().color(group, QPalette::Window);
}

void Label::setBackColor(const QColor &colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colour);
    setPalette(colours);
}

void Label::setBold(bool bold)
{
    QFont styled = font();
    styled.setBold(bold);
    setFont(styled);
}

void Label::setUnderline(bool underline)
{
    QFont styled = font();
    styled.setUnderline(underline);
    setFont(styled);
}

void Label::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    // The style's colours changed, or the label's back colour or its container's did.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        showForeColor();
}

void Label::connectNotify(const QMetaMethod &signal)
{
    QLabel::connectNotify(signal);
    // A label becomes a link when a click handler is connected.
    if (signal == QMetaMethod::fromSignal(&Label::clicked))
        showForeColor();
}

void Label::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (isClickable())
        event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (!isClickable())
        return;
    // The click is the label's alone: the window behind it must not take it as its own as well.
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void Label::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QWidget *container = parentWidget();
    // A back colour given to the label itself is painted; otherwise it shows its container's.
    if (container && palette().window() == container->palette().window())
        painter.drawPixmap(0, 0, backdrop(*container));
    else
        painter.fillRect(rect(), palette().window());
    painter.end();
    QLabel::paintEvent(event);
}

const QPixmap &Label::backdrop(QWidget &container)
{
    // The container's background under the label (a frame's panel, say), without the controls
    // that lie behind the label. Rendering it lays out and draws the whole frame again, and a
    // counting caption repaints every second, so it is kept until something it depends on
    // changes.
    const qreal ratio = devicePixelRatioF();
    BackdropKey key{geometry(),
                    container.size(),
                    ratio,
                    container.isEnabled(),
                    container.palette().cacheKey(),
                    container.font(),
                    container.style()};
    if (key == m_backdropKey && !m_backdrop.isNull())
        return m_backdrop;

    QPixmap pixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(container.palette().color(container.backgroundRole()));
    QPainter painter(&pixmap);
    container.render(&painter, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    painter.end();
    m_backdrop = pixmap;
    m_backdropKey = std::move(key);
    return m_backdrop;
}

} // namespace forms
