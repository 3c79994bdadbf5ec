#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include "DividoraVersion.h"
#include "KPXUIPicture.h"
#include "KPXUIResources.h"
#include "KPXUIStartForm.h"
#include "WindowLook.h"
#include "tkvTwips.h"

namespace {

QString Text(const QWidget& agWindow, const char* agName) {
    const auto* label = agWindow.findChild<const QLabel*>(QString::fromLatin1(agName));
    return label != nullptr ? label->text() : QStringLiteral("<no label>");
}

const QFrame* Line(const QWidget& agWindow, int agIndex) {
    return agWindow.findChild<const QFrame*>(QStringLiteral("linBorder_%1").arg(agIndex));
}

}  // namespace

// The splash of the start-up: its four controls, its size and place, and Running.
class KPXUIStartFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { KPXUIResources::Initialize(); }

    void theFourControlsShowTheProgramsVersionRecord() {
        const KPXUIStartForm splash;
        QCOMPARE(Text(splash, "lblApplicationName"), QStringLiteral("Dividora 2.0"));
        QCOMPARE(Text(splash, "lblCopyright"), QString::fromUtf8(DividoraVersion::kCopyright));
        QCOMPARE(Text(splash, "lblDetail"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ詳細: 2.0.134"));
        const auto* picture = splash.findChild<const KPXUIPicture*>(QStringLiteral("imgAppPic"));
        QCOMPARE(picture->Picture(), QString::fromUtf8(KPXUIResources::kApplicationPicture));
        QVERIFY(picture->IsLoaded());
    }

    // 4575 x 3135 twips of client area, borderless, centred on the screen.
    void itIsABorderlessWindowCentredOnTheScreen() {
        KPXUIStartForm splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QCOMPARE(splash.size(),
                 QSize(tkvTwips::ToPixels(4575, &splash), tkvTwips::ToPixels(3135, &splash)));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        const QPoint screenCentre = splash.screen()->availableGeometry().center();
        QVERIFY((splash.geometry().center() - screenCentre).manhattanLength() <= 2);
        QCOMPARE(WindowLook::ClippedControls(splash), QString());
    }

    // White inside, framed by its four lines on the four edges.
    void fourLinesFrameTheWhiteWindow() {
        KPXUIStartForm splash;
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        const QRect inside = splash.rect();
        QCOMPARE(Line(splash, 0)->geometry().top(), inside.top());
        QCOMPARE(Line(splash, 1)->geometry().right(), inside.right());
        QCOMPARE(Line(splash, 2)->geometry().bottom(), inside.bottom());
        QCOMPARE(Line(splash, 3)->geometry().left(), inside.left());
        QCOMPARE(Line(splash, 0)->width(), inside.width());
        QCOMPARE(Line(splash, 2)->width(), inside.width());

        const QImage image = splash.grab().toImage();
        const int middleX = image.width() / 2;
        const int middleY = image.height() / 2;
        QCOMPARE(image.pixelColor(6, 6), QColor(Qt::white));
        for (const QPoint& edge : {QPoint(middleX, 0), QPoint(image.width() - 1, middleY),
                                   QPoint(middleX, image.height() - 1), QPoint(0, middleY)}) {
            QVERIFY2(image.pixelColor(edge) != QColor(Qt::white),
                     qPrintable(QStringLiteral("no line at %1,%2").arg(edge.x()).arg(edge.y())));
        }
    }

    void runningFromItsShowUntilItsClose() {
        KPXUIStartForm splash;
        QVERIFY(!splash.Running());
        splash.show();
        QVERIFY(splash.Running());
        splash.close();
        QVERIFY(!splash.Running());
    }
};

QTEST_MAIN(KPXUIStartFormTest)
#include "KPXUIStartFormTest.moc"
