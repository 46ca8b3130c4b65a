#pragma once

#include <QPlainTextEdit>

namespace forms {

// A multi-line text box with a vertical scroll bar. Its text holds line breaks as CR LF. With a
// maximum length set, it refuses typed, pasted or dropped characters beyond it, each line break
// counting two; text set from code is taken whole. A locked box refuses every edit but still
// takes the focus and lets the user select, copy and scroll.
class MultiLineTextBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MultiLineTextBox(QWidget *container);

    QString text() const;
    void setText(const QString &text);

    void setMaxLength(qsizetype maxLength) { m_maxLength = maxLength; }
    void setLocked(bool locked);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // What of `inserted` fits in place of the selection.
    QString fitting(const QString &inserted) const;

    qsizetype m_maxLength = 0;
};

} // namespace forms
