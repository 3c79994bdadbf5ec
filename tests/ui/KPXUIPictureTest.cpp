#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <cstdlib>

#include "KPXUIPicture.h"
#include "KPXUIResources.h"

namespace {

// The largest difference of one colour channel between two images of the same size.
int LargestDifference(const QImage& agA, const QImage& agB) {
    const QImage a = agA.convertToFormat(QImage::Format_ARGB32);
    const QImage b = agB.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = a.pixel(x, y);
            const QRgb pb = b.pixel(x, y);
            for (int channel :
                 {qRed(pa) - qRed(pb), qGreen(pa) - qGreen(pb), qBlue(pa) - qBlue(pb)}) {
                largest = std::max(largest, std::abs(channel));
            }
        }
    }
    return largest;
}

}  // namespace

// The pictures of the windows, drawn crisp at the screen's device pixel ratio. The test runs
// on an offscreen screen of device pixel ratio 2.
class KPXUIPictureTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        KPXUIResources::Initialize();
        QVERIFY2(qApp->devicePixelRatio() == 2.0, "run through ctest, which sets the ratio 2");
    }

    void everyPictureOfTheProgramLoads_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("size");
        QTest::newRow("splash") << KPXUIResources::kApplicationPicture << QSize(128, 128);
        QTest::newRow("version page") << KPXUIResources::kVersionPicture << QSize(64, 64);
        QTest::newRow("newest version") << KPXUIResources::kUpdatePicture1 << QSize(48, 48);
        QTest::newRow("newer version") << KPXUIResources::kUpdatePicture2 << QSize(48, 48);
        QTest::newRow("icon") << KPXUIResources::kIcon << QSize(64, 64);
    }
    // At 96 dots per inch a picture asks for its own size in device-independent pixels.
    void everyPictureOfTheProgramLoads() {
        QFETCH(QString, picture);
        QFETCH(QSize, size);
        KPXUIPicture control;
        control.SetPicture(picture);
        QVERIFY(control.IsLoaded());
        QCOMPARE(control.sizeHint(), size);
    }

    void anUnknownPictureDrawsNothingAndTakesNoRoom() {
        KPXUIPicture control;
        control.SetPicture(QStringLiteral(":/pictures/NOSUCHPICTURE"));
        QVERIFY(!control.IsLoaded());
        QCOMPARE(control.sizeHint(), QSize(0, 0));
    }

    // The control's pixels are the picture drawn at twice its size, not an enlarged copy of a
    // picture drawn at its size.
    void thePictureIsDrawnAtTheDevicePixelRatio() {
        KPXUIPicture control;
        control.SetPicture(QString::fromUtf8(KPXUIResources::kUpdatePicture1));
        control.resize(control.sizeHint());
        const QImage shown = control.grab().toImage();
        QCOMPARE(shown.size(), QSize(96, 96));

        QImage sharp(96, 96, QImage::Format_ARGB32_Premultiplied);
        QImage enlarged(48, 48, QImage::Format_ARGB32_Premultiplied);
        for (QImage* image : {&sharp, &enlarged}) {
            image->fill(control.palette().color(QPalette::Window));
            QPainter painter(image);
            QSvgRenderer(QString::fromUtf8(KPXUIResources::kUpdatePicture1))
                .render(&painter, QRectF(image->rect()));
        }
        const QImage blurred =
            enlarged.scaled(96, 96, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY2(LargestDifference(shown, sharp) <= 8,
                 qPrintable(QString::number(LargestDifference(shown, sharp))));
        QVERIFY(LargestDifference(shown, blurred) > 40);
    }
};

QTEST_MAIN(KPXUIPictureTest)
#include "KPXUIPictureTest.moc"
