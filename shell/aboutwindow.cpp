#include "shell/aboutwindow.h"

#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/image.h"
#include "forms/controls/label.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "kzb_version.h"
#include "shell/links.h"
#include "shell/named.h"
#include "shell/texts.h"

#include <QIcon>

namespace {

const QString MessengerNumber = QStringLiteral("100200300");

} // namespace

AboutWindow::AboutWindow() : forms::Window(QStringLiteral("About"), 5955, 2385)
{
    setWindowIcon(QIcon(QStringLiteral(":/assets/about.ico")));
    centreOnScreen();

    auto *okButton = new forms::CommandButton(QStringLiteral("&Ok"), client());
    forms::placeTwips(named(okButton, "okButton"), 4920, 1920, 975, 375);
    connect(okButton, &QPushButton::clicked, this, &AboutWindow::dismiss);

    auto *mailAddress = new forms::Label(links::MailAddress, client());
    forms::placeTwips(named(mailAddress, "mailAddress"), 840, 1800, 1935, 255);
    mailAddress->setUnderline(true);
    mailAddress->setForeColor(QColor(0, 0, 255));
    mailAddress->setCursor(Qt::PointingHandCursor);
    connect(mailAddress, &forms::Label::clicked, this, &links::openMailLink);
    mailAddress->setAccessibleDescription(QStringLiteral("Writes a new e-mail to the maker"));

    auto *version = new forms::Label(QStringLiteral("Version: " KZB_VERSION_SHORT), client());
    forms::placeTwips(named(version, "version"), 4320, 840, 1695, 495);

    // Right of the picture: what the program is and who made it.
    auto *freeware = new forms::Label(QStringLiteral("Freeware"), client());
    forms::placeTwips(named(freeware, "freeware"), 4320, 600, 1695, 255);
    auto *programAndMaker =
        new forms::Label(texts::caption() + QStringLiteral(" by Zelbo Software"), client());
    forms::placeTwips(named(programAndMaker, "programAndMaker"), 4320, 120, 1635, 495);

    auto *messengerNumber = new forms::Label(QStringLiteral("ICQ#: ") + MessengerNumber, client());
    forms::placeTwips(named(messengerNumber, "messengerNumber"), 240, 2040, 3495, 495);
    auto *mailCaption = new forms::Label(QStringLiteral("E-Mail:"), client());
    forms::placeTwips(named(mailCaption, "mailCaption"), 240, 1800, 975, 255);
    auto *contactCaption = new forms::Label(QStringLiteral("Contact Information:"), client());
    forms::placeTwips(named(contactCaption, "contactCaption"), 240, 1560, 3495, 495);

    auto *picture = new forms::Image(QStringLiteral(":/assets/about.jpg"), client(),
                                     forms::Image::Border::Sunken);
    forms::placeTwips(named(picture, "picture"), 120, 120, 4125, 1305);
    picture->setAccessibleName(texts::caption());
    picture->setAccessibleDescription(QStringLiteral("A stopwatch beside the program's name, ")
                                      + texts::caption());

    forms::stackFrontToBack({okButton, mailAddress, version, freeware, programAndMaker,
                             messengerNumber, mailCaption, contactCaption, picture});
    setTabOrder({okButton});
}

void AboutWindow::dismiss()
{
    // Brings the main window back to the front, or creates it afresh if the user had closed it.
    forms::show<MainWindow>();
    forms::unload(*this);
}
