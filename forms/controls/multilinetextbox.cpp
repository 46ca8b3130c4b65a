#include "forms/controls/multilinetextbox.h"

#include "rules/textlimit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>

namespace forms {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Lf = QStringLiteral("\n");

} // namespace

MultiLineTextBox::MultiLineTextBox(QWidget *container) : QPlainTextEdit(container)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Tab moves on to the next control, as in every other text box.
    setTabChangesFocus(true);
}

QString MultiLineTextBox::text() const
{
    return toPlainText().replace(Lf, CrLf);
}

void MultiLineTextBox::setText(const QString &text)
{
    setPlainText(QString(text).replace(CrLf, Lf));
}

void MultiLineTextBox::setLocked(bool locked)
{
    setReadOnly(locked);
    if (locked)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
}

QString MultiLineTextBox::fitting(const QString &inserted) const
{
    if (m_maxLength <= 0)
        return inserted;
    const qsizetype used = textlimit::countedLength(toPlainText())
                           - textlimit::countedLength(textCursor().selectedText());
    return textlimit::fit(inserted, m_maxLength - used);
}

void MultiLineTextBox::keyPressEvent(QKeyEvent *event)
{
    if (!isReadOnly()) {
        const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const QString typed = newLine ? Lf : event->text();
        // Everything Qt would insert: not only printable characters but also surrogate pairs,
        // joiners and other format characters. Control characters (Backspace, Tab) insert none.
        const bool inserts =
            newLine || (!typed.isEmpty() && typed.front().category() != QChar::Other_Control);
        if (inserts && fitting(typed) != typed) {
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineTextBox::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    const QString fits = fitting(commit);
    if (fits == commit || isReadOnly()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent shortened(event->preeditString(), event->attributes());
    shortened.setCommitString(fits, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&shortened);
}

void MultiLineTextBox::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source->hasText())
        return;
    QString text = source->text().replace(CrLf, Lf).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    insertPlainText(fitting(text));
}

} // namespace forms
