// Every caption of every window fits inside its control, and every window renders at its twips
// size times the scale factor. CTest runs this at scale 1 and again with QT_SCALE_FACTOR=2.
#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/controls/label.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/farewellwindow.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

#include <functional>
#include <memory>

namespace {

QString withoutAccessKeys(QString caption)
{
    static const QRegularExpression marker(QStringLiteral("&(.)"));
    return caption.replace(marker, QStringLiteral("\\1"));
}

// Where a caption does not fit, a description of it.
QStringList clippedCaptions(QWidget &window)
{
    QStringList clipped;
    for (auto *label : window.findChildren<forms::Label *>()) {
        if (label->caption().isEmpty() || label->isHidden())
            continue;
        const QRect needed = label->fontMetrics().boundingRect(
            label->contentsRect(), Qt::TextWordWrap | int(label->alignment()), label->caption());
        if (!label->contentsRect().contains(needed))
            clipped.append(label->caption());
    }
    for (auto *button : window.findChildren<QAbstractButton *>()) {
        const QStyle *style = button->style();
        const int text = button->fontMetrics().horizontalAdvance(withoutAccessKeys(button->text()));
        const int decoration =
            qobject_cast<QRadioButton *>(button)
                ? style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, button)
                      + style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, button)
                : 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        if (text + decoration > button->width())
            clipped.append(button->text());
    }
    for (auto *frame : window.findChildren<QGroupBox *>()) {
        if (frame->fontMetrics().horizontalAdvance(frame->title()) > frame->width())
            clipped.append(frame->title());
    }
    return clipped;
}

} // namespace

using Open = std::function<forms::Window &()>;
Q_DECLARE_METATYPE(Open)

class TestCaptions : public QObject
{
    Q_OBJECT
private slots:
    // The program's own font, the one the layouts are drawn for.
    void initTestCase() { forms::prepareApplication(*qApp); }
    void init()
    {
        failOnWarnings();
        desktop = std::make_unique<RecordingDesktop>();
    }
    void cleanup()
    {
        unloadAllWindows();
        desktop.reset();
    }

    void windows_data();
    void windows();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestCaptions::windows_data()
{
    QTest::addColumn<Open>("open");
    QTest::addColumn<QSize>("clientTwips");

    QTest::newRow("main") << Open([]() -> forms::Window & { return forms::form<MainWindow>(); })
                          << QSize(3015, 4290);
    QTest::newRow("about") << Open([]() -> forms::Window & { return forms::form<AboutWindow>(); })
                           << QSize(5955, 2385);
    QTest::newRow("farewell") << Open([]() -> forms::Window & {
        return forms::form<FarewellWindow>();
    }) << QSize(5190, 1020);
    QTest::newRow("advertisement")
        << Open([]() -> forms::Window & { return forms::form<Advertisement>(); })
        << QSize(7275, 1920);
    QTest::newRow("editor") << Open([]() -> forms::Window & {
        return forms::form<MessageEditor>();
    }) << QSize(4680, 3105);
    QTest::newRow("pop-up") << Open([]() -> forms::Window & { return forms::form<AlarmPopup>(); })
                            << QSize(4680, 2865);
}

void TestCaptions::windows()
{
    QFETCH(Open, open);
    QFETCH(QSize, clientTwips);

    forms::Window &window = open();
    holdCountdowns(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.client()->size(),
             forms::sizeFromTwips(clientTwips.width(), clientTwips.height()));
    const QPixmap rendered = window.client()->grab();
    QCOMPARE(rendered.size(), window.client()->size() * window.devicePixelRatio());
    const QStringList clipped = clippedCaptions(window);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
}

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
