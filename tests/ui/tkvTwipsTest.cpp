#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <memory>

#include "tkvTwips.h"

namespace {

QScreen* ScreenNamed(const QString& agName) {
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == agName) {
            return screen;
        }
    }
    return nullptr;
}

}  // namespace

// Window sizes and positions kept in twips, as the settings file stores them. The test runs on
// two offscreen screens: "standard" at 96 dots per inch and "dense" at 144.
class tkvTwipsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(ScreenNamed(QStringLiteral("standard")) != nullptr &&
                     ScreenNamed(QStringLiteral("dense")) != nullptr,
                 "run through ctest, which sets up the two offscreen screens");
        QCOMPARE(ScreenNamed(QStringLiteral("standard"))->logicalDotsPerInch(), 96.0);
        QCOMPARE(ScreenNamed(QStringLiteral("dense"))->logicalDotsPerInch(), 144.0);
        onStandard_.setScreen(ScreenNamed(QStringLiteral("standard")));
        onDense_.setScreen(ScreenNamed(QStringLiteral("dense")));
    }

    void fifteenTwipsToAPixelAt96Dpi_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("main window client width") << 6735 << 449;
        QTest::newRow("one pixel") << 15 << 1;
        QTest::newRow("just under half a pixel") << 7 << 0;
        QTest::newRow("just over half a pixel") << 8 << 1;
        QTest::newRow("left of the screen") << -1500 << -100;
    }
    void fifteenTwipsToAPixelAt96Dpi() {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(tkvTwips::ToPixels(twips, &onStandard_), pixels);
    }

    void pixelsGoBackToTheirTwipsAt96Dpi() {
        QCOMPARE(tkvTwips::FromPixels(449, &onStandard_), 6735);
        QCOMPARE(tkvTwips::FromPixels(tkvTwips::ToPixels(4575, &onStandard_), &onStandard_), 4575);
    }

    // A window on the denser screen is measured with that screen's dots per inch.
    void aWidgetOnADenserScreenIsScaled() {
        QCOMPARE(tkvTwips::ToPixels(1440, &onDense_), 144);
        QCOMPARE(tkvTwips::ToPixels(6735, &onDense_), 674);  // 673.5 rounds up
        QCOMPARE(tkvTwips::FromPixels(1, &onDense_), 10);
    }

    void withoutAWidgetThePrimaryScreenCounts() {
        QWidget* onPrimary = QGuiApplication::primaryScreen()->name() == QStringLiteral("dense")
                                 ? &onDense_
                                 : &onStandard_;
        QCOMPARE(tkvTwips::ToPixels(6735), tkvTwips::ToPixels(6735, onPrimary));
        QCOMPARE(tkvTwips::FromPixels(674), tkvTwips::FromPixels(674, onPrimary));
    }

private:
    QWidget onStandard_;
    QWidget onDense_;
};

QTEST_MAIN(tkvTwipsTest)
#include "tkvTwipsTest.moc"
