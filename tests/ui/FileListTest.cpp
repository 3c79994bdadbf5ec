#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "tkvClipBoardControl.h"
#include "tkvOLEDrag.h"

namespace {

using Files = std::vector<std::string>;

// What a file manager offers when files are copied or dragged: a text/uri-list.
std::unique_ptr<QMimeData> UrlData(const QList<QUrl>& agUrls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(agUrls);
    return data;
}

std::unique_ptr<QMimeData> FileData(const QStringList& agPaths) {
    QList<QUrl> urls;
    for (const QString& path : agPaths) {
        urls << QUrl::fromLocalFile(path);
    }
    return UrlData(urls);
}

std::unique_ptr<QMimeData> TextData() {
    auto data = std::make_unique<QMimeData>();
    data->setText(QStringLiteral("photo1.KPX"));
    return data;
}

const QUrl kWebLink(QStringLiteral("https://dividora.example/a.KPX"));

Files Std(const QStringList& agPaths) {
    Files files;
    for (const QString& path : agPaths) {
        files.push_back(path.toStdString());
    }
    return files;
}

void PutOnClipboard(std::unique_ptr<QMimeData> agData) {
    QGuiApplication::clipboard()->setMimeData(agData.release());
}

// A list that a refused read must leave as it is.
const Files kUntouched{"untouched"};

}  // namespace

// File lists from the clipboard and from drops, as the address boxes and the restore list
// take them.
class FileListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(folder_.IsValid());
        files_ = QStringList{folder_.File(QStringLiteral("photo3.KPX")),
                             folder_.File(QStringLiteral("photo1.KPX")),
                             folder_.File(QStringLiteral("写真 2.KPX"))};
    }
    void cleanup() { QGuiApplication::clipboard()->clear(); }

    void theClipboardsFilesComeInTheirOrder() {
        PutOnClipboard(FileData(files_));
        Files list;
        int32_t count = 0;

        QVERIFY(tkvClipBoardControl::GetClipboardFileList(list, count));
        QCOMPARE(count, 3);
        QCOMPARE(list, Std(files_));
    }

    void onlyTheLocalFilesOfAMixedListAreTaken() {
        PutOnClipboard(
            UrlData({QUrl::fromLocalFile(files_[0]), kWebLink, QUrl::fromLocalFile(files_[2])}));
        Files list;
        int32_t count = 0;

        QVERIFY(tkvClipBoardControl::GetClipboardFileList(list, count));
        QCOMPARE(count, 2);
        QCOMPARE(list, Std({files_[0], files_[2]}));
    }

    void textOrWebLinksOnTheClipboardAreNoFileList() {
        const auto refusedUntouched = [](std::unique_ptr<QMimeData> agData) {
            PutOnClipboard(std::move(agData));
            Files list = kUntouched;
            int32_t count = -7;
            return !tkvClipBoardControl::GetClipboardFileList(list, count) && list == kUntouched &&
                   count == -7;
        };
        QVERIFY(refusedUntouched(TextData()));
        QVERIFY(refusedUntouched(UrlData({kWebLink})));
    }

    void draggingFilesOverAControlAllowsACopy() {
        const auto data = FileData(files_);
        QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data.get(),
                              Qt::LeftButton, Qt::NoModifier);
        event.ignore();

        tkvOLEDrag::AllowFileDrop(&event);
        QVERIFY(event.isAccepted());
        QCOMPARE(event.dropAction(), Qt::CopyAction);
    }

    // Text is refused, and so are files that their source only lets be moved away.
    void draggingTextOrFilesToMoveIsRefused() {
        const auto text = TextData();
        const auto files = FileData(files_);
        QDragEnterEvent textEvent(QPoint(5, 5), Qt::CopyAction, text.get(), Qt::LeftButton,
                                  Qt::NoModifier);
        QDragMoveEvent moveEvent(QPoint(5, 5), Qt::MoveAction, files.get(), Qt::LeftButton,
                                 Qt::NoModifier);

        tkvOLEDrag::AllowFileDrop(&textEvent);
        tkvOLEDrag::AllowFileDrop(&moveEvent);
        QVERIFY(!textEvent.isAccepted());
        QVERIFY(!moveEvent.isAccepted());
    }

    void aDropOfFilesTakesThemInOrderAndBringsTheWindowToTheFront() {
        QWidget window;
        auto* addressBox = new QWidget(&window);
        QWidget otherWindow;
        window.show();
        otherWindow.show();
        otherWindow.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &otherWindow);
        const auto data = FileData(files_);
        QDropEvent event(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                         Qt::NoModifier);
        Files list;

        QVERIFY(tkvOLEDrag::GetDroppedFileList(&event, addressBox, list));
        QCOMPARE(list, Std(files_));
        QVERIFY(event.isAccepted());
        QCOMPARE(event.dropAction(), Qt::CopyAction);
        QTRY_COMPARE(QApplication::activeWindow(), &window);
    }

    void aDropOfTextTakesNothing() {
        QWidget window;
        const auto data = TextData();
        QDropEvent event(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        Files list = kUntouched;

        QVERIFY(!tkvOLEDrag::GetDroppedFileList(&event, &window, list));
        QCOMPARE(list, kUntouched);
        QVERIFY(!event.isAccepted());
    }

private:
    TestFolder folder_;
    QStringList files_;
};

QTEST_MAIN(FileListTest)
#include "FileListTest.moc"
