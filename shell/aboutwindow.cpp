#include "shell/aboutwindow.h"

#include "countdown/mainwindow.h"
#include "forms/commandbutton.h"
#include "forms/geometry.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/windows.h"
#include "kzb_version.h"
#include "shell/links.h"
#include "shell/texts.h"

#include <QIcon>

namespace {

const QString MessengerNumber = QStringLiteral("100200300");

} // namespace

AboutWindow::AboutWindow() : forms::Window(QStringLiteral("About"), 5955, 2385)
{
    setWindowIcon(QIcon(QStringLiteral(":/assets/about.ico")));
    centreOnScreen();

    Command1 = new forms::CommandButton(QStringLiteral("&Ok"), client());
    forms::placeTwips(Command1, 4920, 1920, 975, 375);
    connect(Command1, &QPushButton::clicked, this, &AboutWindow::Command1_Click);

    Label2 = new forms::Label(links::MailAddress, client());
    forms::placeTwips(Label2, 840, 1800, 1935, 255);
    Label2->setUnderline(true);
    Label2->setForeColor(QColor(0, 0, 255));
    Label2->setCursor(Qt::PointingHandCursor);
    connect(Label2, &forms::Label::clicked, this, &AboutWindow::Label2_Click);
    Label2->setAccessibleDescription(QStringLiteral("Writes a new e-mail to the maker"));

    Label7 = new forms::Label(QStringLiteral("Version: " KZB_VERSION_SHORT), client());
    forms::placeTwips(Label7, 4320, 840, 1695, 495);

    // Right of the picture: what the program is and who made it.
    Label3 = new forms::Label(QStringLiteral("Freeware"), client());
    forms::placeTwips(Label3, 4320, 600, 1695, 255);
    Label1 = new forms::Label(texts::caption() + QStringLiteral(" by Zelbo Software"), client());
    forms::placeTwips(Label1, 4320, 120, 1635, 495);

    Label6 = new forms::Label(QStringLiteral("ICQ#: ") + MessengerNumber, client());
    forms::placeTwips(Label6, 240, 2040, 3495, 495);
    Label5 = new forms::Label(QStringLiteral("E-Mail:"), client());
    forms::placeTwips(Label5, 240, 1800, 975, 255);
    Label4 = new forms::Label(QStringLiteral("Contact Information:"), client());
    forms::placeTwips(Label4, 240, 1560, 3495, 495);

    Image1 = new forms::Image(QStringLiteral(":/assets/about.jpg"), client(),
                              forms::Image::Border::Sunken);
    forms::placeTwips(Image1, 120, 120, 4125, 1305);
    Image1->setAccessibleName(texts::caption());
    Image1->setAccessibleDescription(QStringLiteral("A stopwatch beside the program's name, ")
                                     + texts::caption());

    forms::stackFrontToBack(
        {Command1, Label2, Label7, Label3, Label1, Label6, Label5, Label4, Image1});
    setTabOrder({Command1});
}

void AboutWindow::Command1_Click()
{
    // Brings the main window back to the front, or creates it afresh if the user had closed it.
    forms::show<MainWindow>();
    forms::unload(*this);
}

void AboutWindow::Label2_Click()
{
    links::openMailLink();
}
