#include <QDesktopServices>
#include <QDir>
#include <QTest>
#include <QUrl>
#include <string>
#include <vector>

#include "tkvNetAccess.h"

// Stands in for the desktop: Qt hands it every address of the schemes it is registered for.
class DesktopRecorder : public QObject {
    Q_OBJECT

public slots:
    void open(const QUrl& agUrl) { Opened << agUrl; }

public:
    QList<QUrl> Opened;
};

// Help pages and the home page opened with the desktop's handlers.
class tkvNetAccessTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        for (const QString& scheme : kSchemes) {
            QDesktopServices::setUrlHandler(scheme, &desktop_, "open");
        }
    }
    void cleanup() {
        for (const QString& scheme : kSchemes) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
        desktop_.Opened.clear();
        tkvNetAccess::SetOpenHook({});
    }

    // A name holding "#" or "%" is a file name, not a part of an address; a relative path is
    // taken from the current folder.
    void aPathOpensAsThatFile() {
        const QString path = QDir::temp().filePath(QStringLiteral("ﾍﾙﾌﾟ #1 100%.html"));
        QVERIFY(tkvNetAccess::OpenWithShell(path.toStdString()));
        QVERIFY(tkvNetAccess::OpenWithShell("help/index.html"));

        QCOMPARE(desktop_.Opened.size(), 2);
        QCOMPARE(desktop_.Opened[0].toLocalFile(), path);
        QCOMPARE(desktop_.Opened[1].toLocalFile(),
                 QDir::current().absoluteFilePath(QStringLiteral("help/index.html")));
    }

    void aWebAddressOpensAsItIs() {
        tkvNetAccess::OpenWithShell("https://dividora.example/update?from=2.0.134#top");
        tkvNetAccess::OpenWithShell("HTTP://dividora.example/");
        QCOMPARE(desktop_.Opened,
                 (QList<QUrl>{QUrl("https://dividora.example/update?from=2.0.134#top"),
                              QUrl("http://dividora.example/")}));
    }

    void anEmptyAddressOpensNothing() {
        QVERIFY(!tkvNetAccess::OpenWithShell(""));
        QVERIFY(desktop_.Opened.isEmpty());
    }

    void theHookReceivesEveryOpenInsteadOfTheDesktop() {
        std::vector<std::string> hooked;
        tkvNetAccess::SetOpenHook([&hooked](const std::string& agAddress) {
            hooked.push_back(agAddress);
            return false;
        });
        QVERIFY(!tkvNetAccess::OpenWithShell("/usr/share/doc/dividora/index.html"));
        tkvNetAccess::SetOpenHook({});
        QVERIFY(tkvNetAccess::OpenWithShell("https://dividora.example/"));

        QCOMPARE(hooked, std::vector<std::string>{"/usr/share/doc/dividora/index.html"});
        QCOMPARE(desktop_.Opened, QList<QUrl>{QUrl("https://dividora.example/")});
    }

private:
    const QStringList kSchemes{"file", "http", "https"};
    DesktopRecorder desktop_;
};

QTEST_MAIN(tkvNetAccessTest)
#include "tkvNetAccessTest.moc"
