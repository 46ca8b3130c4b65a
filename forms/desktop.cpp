#include "forms/desktop.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace forms {

namespace {
Desktop *installed = nullptr;
} // namespace

Desktop &Desktop::current()
{
    static SystemDesktop system;
    return installed ? *installed : system;
}

void Desktop::install(Desktop *desktop)
{
    installed = desktop;
}

void SystemDesktop::messageBox(QWidget *owner, Icon icon, const QString &title,
                               const QString &text)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::Warning, title,
                    QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void SystemDesktop::endProgram()
{
    QCoreApplication::exit(0);
}

} // namespace forms
