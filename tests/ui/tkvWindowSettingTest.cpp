#include <QTest>
#include <QWidget>

#include "tkvWindowSetting.h"

// The splash stays above the other windows without moving.
class tkvWindowSettingTest : public QObject {
    Q_OBJECT

private slots:
    void aShownWindowStaysOnTopWhereItWas() {
        QWidget window;
        window.setGeometry(120, 80, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect before = window.geometry();

        QVERIFY(tkvWindowSetting::SetWindowOrder(&window, true));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), before);

        QVERIFY(tkvWindowSetting::SetWindowOrder(&window, false));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), before);
    }

    void aHiddenWindowIsNotShown() {
        QWidget window;
        QVERIFY(tkvWindowSetting::SetWindowOrder(&window, true));
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!window.isVisible());
    }

    void noWindowFails() { QVERIFY(!tkvWindowSetting::SetWindowOrder(nullptr, true)); }
};

QTEST_MAIN(tkvWindowSettingTest)
#include "tkvWindowSettingTest.moc"
