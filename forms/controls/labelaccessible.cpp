#include "forms/controls/labelaccessible.h"

#include "forms/controls/label.h"

namespace forms {

namespace {

QAccessibleInterface *labelInterface(const QString &, QObject *object)
{
    if (auto *label = qobject_cast<Label *>(object))
        return new LabelAccessible(label);
    return nullptr;
}

} // namespace

LabelAccessible::LabelAccessible(Label *label) : QAccessibleWidget(label, QAccessible::StaticText)
{ }

void installLabelAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(labelInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

Label *LabelAccessible::label() const
{
    return static_cast<Label *>(widget());
}

bool LabelAccessible::isPicture() const
{
    return !label()->pixmap().isNull();
}

QAccessible::Role LabelAccessible::role() const
{
    if (isPicture())
        return QAccessible::Graphic;
    return label()->isClickable() ? QAccessible::Link : QAccessible::StaticText;
}

QString LabelAccessible::text(QAccessible::Text t) const
{
    // Captions are plain text, so an "&" in one is read as it is drawn.
    if (t == QAccessible::Name && label()->accessibleName().isEmpty())
        return label()->caption();
    return QAccessibleWidget::text(t);
}

QList<std::pair<QAccessibleInterface *, QAccessible::Relation>> LabelAccessible::relations(
    QAccessible::Relation match) const
{
    auto found = QAccessibleWidget::relations(match);
    if ((match & QAccessible::Labelled) && label()->buddy()) {
        if (QAccessibleInterface *buddy = QAccessible::queryAccessibleInterface(label()->buddy()))
            found.append({buddy, QAccessible::Labelled});
    }
    return found;
}

void *LabelAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ImageInterface && isPicture())
        return static_cast<QAccessibleImageInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QStringList LabelAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (label()->isClickable() && label()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void LabelAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && label()->isClickable() && label()->isEnabled()) {
        emit label()->clicked();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

QString LabelAccessible::imageDescription() const
{
    return label()->accessibleDescription();
}

QSize LabelAccessible::imageSize() const
{
    return label()->pixmap().deviceIndependentSize().toSize();
}

QPoint LabelAccessible::imagePosition() const
{
    return label()->mapToGlobal(label()->contentsRect().topLeft());
}

} // namespace forms
