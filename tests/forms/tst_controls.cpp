#include "forms/controls/commandbutton.h"
#include "forms/controls/contrast.h"
#include "forms/controls/label.h"
#include "forms/controls/optionbutton.h"
#include "forms/controls/timer.h"
#include "forms/placement/twips.h"
#include "forms/placement/window.h"
#include "support/recordingdesktop.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace std::chrono_literals;

class TestControls : public QObject
{
    Q_OBJECT
private slots:
    void init() { failOnWarnings(); }

    void twipsToPixels_data();
    void twipsToPixels();
    void frontToBackOrder();

    void labelRaisesChangeOnlyWhenCaptionChanges();
    void labelChangeRunsBeforeSetterReturns();
    void labelShowsPlainText();
    void labelHidesWhatLiesBehindIt();
    void labelBackgroundFollowsItsContainer();
    void labelPaintsABackColourOfItsOwn();
    void labelDesignProperties();
    void clickableLabelKeepsItsClicks();
    void contrastRatio_data();
    void contrastRatio();
    void readableColour_data();
    void readableColour();

    void optionSelectedFromCodeRaisesClick();
    void optionSelectedAgainRaisesNothing();
    void optionCanBeDeselectedFromCode();

    void enterPressesFocusedButton_data();
    void enterPressesFocusedButton();
    void enterElsewherePressesNoButton();
    void accessKeysPressButtonsAndSelectOptions();
    void tabOrderAndFirstFocus();

    void disabledTimerDoesNotTick();
    void timerTicksAfterOneInterval();
    void reenablingEnabledTimerKeepsCadence();
    void timerDoesNotDriftBehindSlowHandlers();
    void timerDisabledInsideHandlerStops();
};

void TestControls::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("main window width") << 3015 << 201;
    QTest::newRow("rounds to nearest") << 7275 << 485;
    QTest::newRow("half up") << 8 << 1;
    QTest::newRow("below half") << 7 << 0;
}

void TestControls::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(forms::pixels(twips), pixels);
}

void TestControls::frontToBackOrder()
{
    QWidget container;
    auto *back = new forms::Label(QStringLiteral("Minutes:"), &container);
    auto *front = new forms::Label(QStringLiteral("10"), &container);
    forms::placeTwips(back, 0, 0, 1500, 255);
    forms::placeTwips(front, 600, 0, 900, 255);
    forms::stackFrontToBack({back, front});
    QCOMPARE(container.childAt(50, 5), back);
    forms::stackFrontToBack({front, back});
    QCOMPARE(container.childAt(50, 5), front);
}

void TestControls::labelRaisesChangeOnlyWhenCaptionChanges()
{
    QWidget container;
    forms::Label label(QStringLiteral("0"), &container);
    QSignalSpy changes(&label, &forms::Label::changed);

    label.setCaption(QStringLiteral("0"));
    QCOMPARE(changes.size(), 0);
    label.setCaption(QStringLiteral("59"));
    QCOMPARE(changes.size(), 1);
    label.setCaption(QStringLiteral("59"));
    QCOMPARE(changes.size(), 1);
    label.setCaption(QString());
    QCOMPARE(changes.size(), 2);
}

void TestControls::labelChangeRunsBeforeSetterReturns()
{
    QWidget container;
    forms::Label label(QStringLiteral("1"), &container);
    QStringList seen;
    // A change handler that changes the caption again: both changes nest inside the first set.
    connect(&label, &forms::Label::changed, &label, [&] {
        seen.append(label.caption());
        if (label.caption() == QStringLiteral("-1"))
            label.setCaption(QStringLiteral("59"));
    });
    label.setCaption(QStringLiteral("-1"));
    QCOMPARE(seen, QStringList({QStringLiteral("-1"), QStringLiteral("59")}));
    QCOMPARE(label.caption(), QStringLiteral("59"));
}

void TestControls::labelShowsPlainText()
{
    QWidget container;
    forms::Label label(QString(), &container);
    label.setCaption(QStringLiteral("<b>hi</b><img src=x>"));
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QCOMPARE(label.caption(), QStringLiteral("<b>hi</b><img src=x>"));
}

namespace {
// The colour the screen shows at a point of a window, as the window system would get it.
QColor shownAt(QWidget &window, QPoint at)
{
    return window.grab().toImage().pixelColor(at);
}

QWidget *paintedWindow(QColor background)
{
    auto *window = new QWidget;
    window->resize(200, 100);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, background);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    return window;
}
} // namespace

void TestControls::labelHidesWhatLiesBehindIt()
{
    const std::unique_ptr<QWidget> window(paintedWindow(Qt::darkCyan));
    // A button behind an empty label: where the label lies, only the window's background shows.
    auto *behind = new QWidget(window.get());
    behind->setGeometry(10, 10, 100, 40);
    behind->setAutoFillBackground(true);
    QPalette red = behind->palette();
    red.setColor(QPalette::Window, Qt::red);
    behind->setPalette(red);
    auto *label = new forms::Label(QString(), window.get());
    label->setGeometry(20, 20, 40, 20);
    forms::stackFrontToBack({label, behind});

    QCOMPARE(shownAt(*window, {15, 15}), QColor(Qt::red));
    QCOMPARE(shownAt(*window, {30, 30}), QColor(Qt::darkCyan));
}

void TestControls::labelBackgroundFollowsItsContainer()
{
    // The label keeps the container's background between repaints; it must not keep a stale one
    // when the container's colours, the label's place or the container's size change.
    const std::unique_ptr<QWidget> window(paintedWindow(Qt::darkCyan));
    auto *label = new forms::Label(QStringLiteral("12"), window.get());
    label->setGeometry(20, 20, 40, 20);
    QCOMPARE(shownAt(*window, {55, 35}), QColor(Qt::darkCyan));

    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::darkMagenta);
    window->setPalette(palette);
    QCOMPARE(shownAt(*window, {55, 35}), QColor(Qt::darkMagenta));

    // A container whose background is not one colour: a gradient left to right.
    palette.setBrush(QPalette::Window, [] {
        QLinearGradient gradient(0, 0, 200, 0);
        gradient.setColorAt(0, Qt::black);
        gradient.setColorAt(1, Qt::white);
        return QBrush(gradient);
    }());
    window->setPalette(palette);
    const QColor before = shownAt(*window, {55, 35});
    label->move(120, 20);
    const QColor after = shownAt(*window, {155, 35});
    QVERIFY2(after.lightness() > before.lightness() + 60,
             qPrintable(QStringLiteral("%1 then %2").arg(before.name(), after.name())));
    QCOMPARE(after, window->grab().toImage().pixelColor(QPoint(155, 60)));
}

void TestControls::labelPaintsABackColourOfItsOwn()
{
    const std::unique_ptr<QWidget> window(paintedWindow(Qt::darkCyan));
    auto *label = new forms::Label(QString(), window.get());
    label->setGeometry(20, 20, 40, 20);
    QPalette black = label->palette();
    black.setColor(QPalette::Window, Qt::black);
    label->setPalette(black);
    QCOMPARE(shownAt(*window, {30, 30}), QColor(Qt::black));
    QCOMPARE(shownAt(*window, {70, 30}), QColor(Qt::darkCyan));
}

void TestControls::labelDesignProperties()
{
    const std::unique_ptr<QWidget> window(paintedWindow(Qt::white));
    auto *label = new forms::Label(QStringLiteral("WWW"), window.get());
    label->setGeometry(0, 0, 60, 20);
    const QColor red(192, 0, 0); // readable on white, as pure red is not
    label->setForeColor(red);
    label->setBold(true);
    label->setUnderline(true);

    QVERIFY(label->font().bold() && label->font().underline());
    // Bold stays when underline is set after it: each property keeps the others.
    label->setUnderline(false);
    QVERIFY(label->font().bold() && !label->font().underline());
    const QImage shown = window->grab().toImage();
    bool found = false;
    for (int y = 0; y < 20 && !found; ++y)
        for (int x = 0; x < 60 && !found; ++x)
            found = shown.pixelColor(x, y) == red;
    QVERIFY2(found, "the caption is not painted in the fore colour");

    // On a back colour of its own that makes the fore colour unreadable, a readable red shows.
    label->setBackColor(Qt::black);
    const QColor onBlack = label->palette().color(QPalette::WindowText);
    QCOMPARE(onBlack, forms::contrast::readable(red, Qt::black));
    QVERIFY(onBlack.lightness() > red.lightness());
}

namespace {
// A window that counts the clicks it gets itself.
class ClickCounter : public QWidget
{
public:
    int releases = 0;

protected:
    void mouseReleaseEvent(QMouseEvent *) override { ++releases; }
};
} // namespace

void TestControls::clickableLabelKeepsItsClicks()
{
    ClickCounter window;
    window.resize(200, 100);
    auto *clickable = new forms::Label(QStringLiteral("link"), &window);
    clickable->setGeometry(10, 10, 60, 20);
    auto *caption = new forms::Label(QStringLiteral("caption"), &window);
    caption->setGeometry(10, 50, 60, 20);
    int clicks = 0;
    connect(clickable, &forms::Label::clicked, this, [&] { ++clicks; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(clickable, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QCOMPARE(window.releases, 0);
    // A label without a click handler is part of the window behind it.
    QTest::mouseClick(caption, Qt::LeftButton);
    QCOMPARE(window.releases, 1);
}

void TestControls::contrastRatio_data()
{
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<QColor>("back");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    // WCAG's own example: #767676 is the lightest grey that passes on white, #777777 fails.
    QTest::newRow("grey 118 on white") << QColor(118, 118, 118) << QColor(Qt::white) << 4.54;
    QTest::newRow("grey 119 on white") << QColor(119, 119, 119) << QColor(Qt::white) << 4.48;
    QTest::newRow("blue on dark grey") << QColor(0, 0, 255) << QColor(50, 50, 50) << 1.49;
}

void TestControls::contrastRatio()
{
    QFETCH(QColor, fore);
    QFETCH(QColor, back);
    QFETCH(double, ratio);
    QCOMPARE(std::round(forms::contrast::ratio(fore, back) * 100) / 100, ratio);
    QCOMPARE(forms::contrast::ratio(back, fore), forms::contrast::ratio(fore, back));
}

namespace {
// What a designed text colour is shown as on a background.
enum ShownAs { Kept, Lighter, Darker, StyleLink };
} // namespace

void TestControls::readableColour_data()
{
    QTest::addColumn<QColor>("designed");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("styleLink"); // invalid: the text is no link
    QTest::addColumn<int>("expected");
    const QColor red(192, 0, 0), blue(0, 0, 255), darkGrey(50, 50, 50), lightBlue(120, 174, 237);
    QTest::newRow("count, light style") << red << QColor(240, 240, 240) << QColor() << +Kept;
    QTest::newRow("count, dark style") << red << darkGrey << QColor() << +Lighter;
    QTest::newRow("count, mid grey") << red << QColor(128, 128, 128) << QColor() << +Darker;
    QTest::newRow("link, light style") << blue << QColor(Qt::white) << lightBlue << +Kept;
    QTest::newRow("link, dark style") << blue << darkGrey << lightBlue << +StyleLink;
    QTest::newRow("link, style's link unreadable") << blue << darkGrey << blue << +Lighter;
    QTest::newRow("link, style's link not blue")
        << blue << darkGrey << QColor(Qt::yellow) << +Lighter;
}

void TestControls::readableColour()
{
    QFETCH(QColor, designed);
    QFETCH(QColor, background);
    QFETCH(QColor, styleLink);
    QFETCH(int, expected);

    const QColor shown = forms::contrast::readable(
        designed, background, styleLink.isValid() ? std::optional(styleLink) : std::nullopt);
    QVERIFY2(forms::contrast::ratio(shown, background) >= 4.5, qPrintable(shown.name()));
    if (expected == Kept || expected == StyleLink) {
        QCOMPARE(shown, expected == Kept ? designed : styleLink);
        return;
    }
    // The nearest readable shade of the designed hue and saturation: one a step of lightness
    // nearer the designed colour is not readable.
    const int step = expected == Lighter ? 2 : -2;
    const QColor hsl = designed.toHsl(), shade = shown.toHsl();
    QCOMPARE(shade.hslHue(), hsl.hslHue());
    QVERIFY(std::abs(shade.hslSaturation() - hsl.hslSaturation()) <= 2);
    QVERIFY((shade.lightness() - hsl.lightness()) * step > 0);
    const QColor nearer =
        QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), shade.lightness() - step);
    QVERIFY2(forms::contrast::ratio(nearer, background) < 4.5, qPrintable(shown.name()));
}

void TestControls::optionSelectedFromCodeRaisesClick()
{
    QWidget frame;
    forms::OptionButton one(QStringLiteral("&One"), &frame);
    forms::OptionButton two(QStringLiteral("&Two"), &frame);
    two.setChecked(true);
    QStringList log;
    connect(&one, &QRadioButton::clicked, &frame,
            [&] { log.append(QStringLiteral("one:%1 two:%2").arg(one.value()).arg(two.value())); });

    one.setValue(true);

    // Raised at once, with the group already deselected.
    QCOMPARE(log, QStringList(QStringLiteral("one:1 two:0")));
    QVERIFY(one.value());
    QVERIFY(!two.value());
}

void TestControls::optionSelectedAgainRaisesNothing()
{
    QWidget frame;
    forms::OptionButton one(QStringLiteral("&One"), &frame);
    one.setValue(true);
    QSignalSpy clicks(&one, &QRadioButton::clicked);
    one.setValue(true);
    QCOMPARE(clicks.size(), 0);
}

void TestControls::optionCanBeDeselectedFromCode()
{
    QWidget frame;
    forms::OptionButton one(QStringLiteral("&One"), &frame);
    forms::OptionButton two(QStringLiteral("&Two"), &frame);
    one.setValue(true);
    one.setValue(false);
    QVERIFY(!one.value());
    QVERIFY(!two.value());
    // The group is still exclusive afterwards.
    two.setValue(true);
    one.setValue(true);
    QVERIFY(!two.value());
}

void TestControls::enterPressesFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestControls::enterPressesFocusedButton()
{
    QFETCH(int, key);
    forms::Window window(QStringLiteral("Keys"), 3000, 1500);
    auto *button = new forms::CommandButton(QStringLiteral("&Go"), window.client());
    new QLineEdit(window.client());
    window.setTabOrder({button});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::keyClick(button, Qt::Key(key));
    QCOMPARE(clicks.size(), 1);
}

void TestControls::enterElsewherePressesNoButton()
{
    forms::Window window(QStringLiteral("Keys"), 3000, 1500);
    auto *button = new forms::CommandButton(QStringLiteral("&Go"), window.client());
    auto *box = new QLineEdit(window.client());
    box->move(0, 40);
    window.setTabOrder({box, button});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(clicks.size(), 0);
    QVERIFY(window.isVisible());
}

void TestControls::accessKeysPressButtonsAndSelectOptions()
{
    forms::Window window(QStringLiteral("Keys"), 3000, 1500);
    auto *button = new forms::CommandButton(QStringLiteral("&Go"), window.client());
    auto *option = new forms::OptionButton(QStringLiteral("&Window"), window.client());
    option->move(0, 40);
    window.setTabOrder({button, option});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicks(button, &QPushButton::clicked);
    QSignalSpy optionClicks(option, &QRadioButton::clicked);

    QTest::keyClick(&window, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(clicks.size(), 1);
    QTest::keyClick(&window, Qt::Key_W, Qt::AltModifier);
    QTRY_COMPARE(optionClicks.size(), 1);
    QVERIFY(option->value());
}

void TestControls::tabOrderAndFirstFocus()
{
    forms::Window window(QStringLiteral("Tabs"), 3000, 1500);
    auto *label = new forms::Label(QStringLiteral("Caption"), window.client());
    auto *disabled = new forms::CommandButton(QStringLiteral("&Off"), window.client());
    disabled->setEnabled(false);
    auto *box = new QLineEdit(window.client());
    auto *button = new forms::CommandButton(QStringLiteral("&On"), window.client());
    window.setTabOrder({label, disabled, button, box});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(button, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box);
}

void TestControls::disabledTimerDoesNotTick()
{
    QObject owner;
    forms::Timer timer(20ms, &owner);
    QSignalSpy ticks(&timer, &forms::Timer::timer);
    QTest::qWait(80);
    QCOMPARE(ticks.size(), 0);
}

void TestControls::timerTicksAfterOneInterval()
{
    QObject owner;
    forms::Timer timer(50ms, &owner);
    QSignalSpy ticks(&timer, &forms::Timer::timer);
    QElapsedTimer clock;
    clock.start();
    timer.setEnabled(true);
    QVERIFY(ticks.wait(1000));
    QVERIFY(clock.elapsed() >= 49);
}

void TestControls::reenablingEnabledTimerKeepsCadence()
{
    // The tick is due at 400 ms; an interval restarted when the timer is enabled again would
    // bring it 400 ms after that. The bound lies halfway between, however late the machine let
    // the test enable it again.
    QObject owner;
    forms::Timer timer(400ms, &owner);
    QElapsedTimer clock;
    qint64 firstTick = -1;
    connect(&timer, &forms::Timer::timer, &owner, [&] {
        if (firstTick < 0)
            firstTick = clock.elapsed();
    });
    clock.start();
    timer.setEnabled(true);
    QTest::qWait(240);
    const qint64 enabledAgainAt = clock.elapsed();
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(firstTick >= 0, 3000);
    QVERIFY2(firstTick < 400 + enabledAgainAt / 2,
             qPrintable(QStringLiteral("enabling an enabled timer at %1 ms restarted its interval: "
                                       "the tick came at %2 ms")
                            .arg(enabledAgainAt)
                            .arg(firstTick)));
}

void TestControls::timerDoesNotDriftBehindSlowHandlers()
{
    // Each tick's handler takes most of an interval. A timer that waits a whole interval after
    // each handler would fall behind by that much every tick, and its tenth tick would come
    // about 630 ms late; the bound leaves a loaded machine half of that for a late last tick.
    constexpr int ticksWanted = 10;
    QObject owner;
    forms::Timer timer(100ms, &owner);
    int ticks = 0;
    QElapsedTimer clock;
    qint64 lastTick = 0;
    connect(&timer, &forms::Timer::timer, &owner, [&] {
        lastTick = clock.elapsed();
        if (++ticks == ticksWanted)
            timer.setEnabled(false);
        QThread::msleep(70);
    });
    clock.start();
    timer.setEnabled(true);
    QTRY_COMPARE_WITH_TIMEOUT(ticks, ticksWanted, 3000);
    QVERIFY2(lastTick >= ticksWanted * 100 - 1, "a tick came early");
    QVERIFY2(lastTick < ticksWanted * 100 + 315, qPrintable(QString::number(lastTick)));
}

void TestControls::timerDisabledInsideHandlerStops()
{
    QObject owner;
    forms::Timer timer(10ms, &owner);
    int ticks = 0;
    connect(&timer, &forms::Timer::timer, &owner, [&] {
        ++ticks;
        timer.setEnabled(false);
    });
    timer.setEnabled(true);
    QTRY_COMPARE(ticks, 1);
    QTest::qWait(60);
    QCOMPARE(ticks, 1);
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
