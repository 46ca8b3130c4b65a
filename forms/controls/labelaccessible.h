#pragma once

#include <QAccessibleWidget>

namespace forms {

class Label;

// What assistive technology reads of a Label or an Image: the caption (or the accessible name
// set on the control), a picture's description, and the press action of a control that has a
// click handler, which clicks it exactly as the mouse does. A clickable text reads as a link.
class LabelAccessible : public QAccessibleWidget, public QAccessibleImageInterface
{
public:
    explicit LabelAccessible(Label *label);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    QString imageDescription() const override;
    QSize imageSize() const override;
    QPoint imagePosition() const override;

private:
    Label *label() const;
    bool isPicture() const;
};

// Makes every Label answer queries for its accessible interface with a LabelAccessible. Labels
// call it when they are made; later calls do nothing.
void installLabelAccessible();

} // namespace forms
