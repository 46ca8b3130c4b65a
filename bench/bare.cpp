// The baseline the program is measured against: about the least a Qt Widgets window with a menu
// bar can be. One label, counted up once a second by a default (coarse) QTimer.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.menuBar()
        ->addMenu(QStringLiteral("&File"))
        ->addAction(QStringLiteral("E&xit"), &app, &QApplication::quit);
    auto *label = new QLabel(QStringLiteral("0"), &window);
    window.setCentralWidget(label);

    int seconds = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, label,
                     [&] { label->setText(QString::number(++seconds)); });
    timer.start(1000);

    window.show();
    return app.exec();
}
