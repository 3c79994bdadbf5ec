// Takes the screenshots of docs/screenshots: every page and window of the program in a state a
// user meets, on real files in a temporary folder. Run it under a display (xvfb-run) with the
// CJK fonts installed: `Screenshots FOLDER`.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "KPXDividoraData.h"
#include "KPXSepaCtrl.h"
#include "KPXUIApplication.h"
#include "KPXUIBase.h"
#include "KPXUIChecked.h"
#include "KPXUIMsgBoxDialog.h"
#include "KPXUIRenewable.h"
#include "KPXUIResources.h"
#include "KPXUISepaMng.h"
#include "KPXUIStartClass.h"
#include "KPXUIStartForm.h"
#include "KPXUIStartModule.h"
#include "TestFolder.h"
#include "tkvCheckVersion.h"
#include "tkvEventPump.h"
#include "tkvFramePage2.h"
#include "tkvModal.h"
#include "tkvNetAccess.h"
#include "tkvQtEventPump.h"
#include "tkvQtString.h"

namespace {

QString outFolder;

void Save(QWidget* agWidget, const char* agName) {
    QApplication::processEvents();
    const QString path = outFolder + QLatin1Char('/') + QLatin1String(agName) + ".png";
    QPixmap shot;
    if (agWidget->isWindow() && agWidget->isVisible() &&
        QGuiApplication::platformName() != QStringLiteral("offscreen")) {
        // Taken from the screen, with the frame and title the window manager gives it, as a
        // user sees it; the window manager needs a moment to frame a new window.
        QTest::qWait(500);
        const QRect frame = agWidget->frameGeometry();
        shot =
            agWidget->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    } else {
        shot = agWidget->grab();
    }
    if (!shot.save(path)) {
        std::fprintf(stderr, "could not save %s\n", qPrintable(path));
    }
}

template <typename T>
T* Find(QWidget* agWindow, const char* agName) {
    return agWindow->findChild<T*>(QString::fromLatin1(agName));
}

// The end of a log, where the checksum rows are, with the paragraph at the top edge whole: no
// heading is cut in half.
void ScrollToEnd(QWidget* agWindow, const char* agView) {
    auto* view = Find<QTextBrowser>(agWindow, agView);
    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(bar->maximum());
    const QTextBlock top = view->cursorForPosition(QPoint(1, 1)).block();
    bar->setValue(
        static_cast<int>(view->document()->documentLayout()->blockBoundingRect(top).top()));
}

// Grabs the next modal window, then answers it with agAnswer's button.
void GrabNextModal(const char* agName, const char* agButton) {
    tkvModal::PushAnswerer([agName, agButton](QDialog& agDialog) {
        agDialog.show();
        Save(&agDialog, agName);
        agDialog.hide();
        auto* button = agDialog.findChild<QPushButton*>(QString::fromLatin1(agButton));
        if (button != nullptr) {
            button->click();
        }
        return agDialog.result();
    });
}

QString Source(const TestFolder& agFolder) {
    const QString path = agFolder.Path(QStringLiteral("holiday-photos.zip"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(3 * 1024 * 1024 + 12345, 'x'));
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: Screenshots FOLDER\n");
        return 2;
    }
    outFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outFolder);
    KPXUIApplication::Prepare();  // Qt's own texts in Japanese, as the program has them
    KPXUIResources::Initialize();
    tkvQtEventPump::Install();
    tkvNetAccess::SetOpenHook([](const std::string&) { return true; });

    {
        KPXUIStartForm splash;
        splash.show();
        Save(&splash, "splash");
    }

    TestFolder folder;
    auto sepaMng = std::make_shared<KPXUISepaMng>(
        tkvQtString::FromQt(folder.Folder(QStringLiteral("app"))),
        tkvQtString::FromQt(folder.Folder(QStringLiteral("settings"))));
    KPXUIStartModule::Start(std::make_unique<KPXUIStartClass>(), sepaMng);
    KPXUIBase* window = KPXUIStartModule::StartClassInstance()->MainWindow();
    window->show();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window)) {
        std::fprintf(stderr, "the window did not become active\n");
    }

    const QString source = Source(folder);
    const QString pieces = folder.Folder(QStringLiteral("pieces"));
    Find<QLineEdit>(window, "txtSeparateFileAddress")->setText(source);
    Find<QLineEdit>(window, "txtSeparateFileSepaAddress")->setText(pieces);
    Find<QLineEdit>(window, "txtSeparateFileDividoraName")->setText(QStringLiteral("holiday"));
    Find<QLineEdit>(window, "txtSeparateFileModeFileSize")->setText(QStringLiteral("1.5"));
    Save(window, "split-address");
    // The tabs as the keyboard reaches them: the focused one framed.
    QWidget* focused = QApplication::focusWidget();
    Find<QLabel>(window, "lblWordControl_1")->setFocus(Qt::TabFocusReason);
    Save(window, "tabs-keyboard");
    if (focused != nullptr) {
        focused->setFocus();
    }
    // The file dialog in Japanese, left without a choice; it opens on the files of the run.
    QDir::setCurrent(folder.Folder(QStringLiteral("pieces")));
    GrabNextModal("file-dialog", "");
    Find<QPushButton>(window, "cmSeparateFileAddress")->click();
    window->FramePageSeparateFile()->SetIndex(1);
    Save(window, "split-mode");
    window->FramePageSeparateFile()->SetIndex(2);
    window->RunSeparateEstimate();
    Save(window, "split-estimate");
    window->FramePageSeparateFile()->SetIndex(3);
    // Mid-split, with the progress bar: small blocks give the pump many turns.
    const int32_t blockSize = sepaMng->TransmissionByteSize();
    sepaMng->SetTransmissionByteSize(16 * 1024);
    auto* bar = Find<QProgressBar>(window, "barSeparateFileActionProgress");
    bool progressSaved = false;
    tkvEventPump::SetProcessEventsHook([&] {
        QCoreApplication::processEvents();
        if (!progressSaved && bar->isVisible() && bar->value() >= 40) {
            progressSaved = true;
            Save(window, "split-progress");
        }
    });
    window->RunSeparate();
    tkvQtEventPump::Install();
    sepaMng->SetTransmissionByteSize(blockSize);
    if (!progressSaved) {
        std::fprintf(stderr, "the split ended before its progress could be taken\n");
    }
    Save(window, "split-log");
    ScrollToEnd(window, "wbSeparateFileActionLog");
    Save(window, "split-log-end");

    // A split into a folder that is not there: the cause names the file and the system's reason.
    auto* destination = Find<QLineEdit>(window, "txtSeparateFileSepaAddress");
    destination->setText(folder.Path(QStringLiteral("gone")));
    window->RunSeparate();
    Save(window, "split-failed");
    destination->setText(pieces);

    std::vector<std::string> made;
    for (const QString& name :
         QDir(pieces).entryList({QStringLiteral("*.KPX")}, QDir::Files, QDir::Name)) {
        made.push_back(tkvQtString::FromQt(pieces + QLatin1Char('/') + name));
    }
    window->ListPieces(made);
    Find<QLineEdit>(window, "txtRestoreDividoraAddress")
        ->setText(folder.Folder(QStringLiteral("restored")));
    Find<QListWidget>(window, "lstRestoreDividoraSepaAddress")->setCurrentRow(1);
    Save(window, "restore-address");

    GrabNextModal("detail", "cmEnd");
    Find<QPushButton>(window, "cmRestoreDividoraSepaAddressDetail")->click();

    // A restore that meets an existing file asks first.
    QFile(source).copy(folder.Path(QStringLiteral("restored/holiday-photos.zip")));
    GrabNextModal("question-overwrite", "cmYes");
    window->FramePageRestoreDividora()->SetIndex(2);
    window->RunRestore();
    Save(window, "restore-log");
    ScrollToEnd(window, "wbRestoreDividoraSepaActionLog");
    Save(window, "restore-log-end");

    // A restore with a piece missing fails, offers the estimate, and the estimate says why.
    auto* list = Find<QListWidget>(window, "lstRestoreDividoraSepaAddress");
    delete list->takeItem(1);
    GrabNextModal("question-estimate", "cmNo");
    window->RunRestore();
    Save(window, "restore-failed");
    window->FramePageRestoreDividora()->SetIndex(1);
    window->RunRestoreEstimate();
    Save(window, "restore-estimate");

    window->FramePageBase()->SetIndex(2);
    Save(window, "settings-action");
    window->FramePageUtility()->SetIndex(1);
    Save(window, "settings-environment");
    window->FramePageUtility()->SetIndex(2);
    Save(window, "settings-version");
    window->FramePageBase()->SetIndex(3);
    Save(window, "version");

    tkvCheckVersion newer;
    newer.SetClientMajor(2);
    newer.SetClientMinor(0);
    newer.SetClientRevision(134);
    newer.SetClientProductName("Tarno.K.V. Dividora");
    std::string file;
    const auto text = [&file](const std::string& agText) {
        file += std::string(1, static_cast<char>(agText.size())) + std::string(3, '\0') + agText;
    };
    text("Tarno.K.V. Version File");
    text("Tarno.K.V. Dividora");
    for (const char number : {2, 1, 0}) {
        file += std::string(1, number) + std::string(3, '\0');
    }
    file += std::string("\0\0\0\0\x80\xA3\xE6\x40", 8);  // 2026-12-08
    newer.CheckVersionFile(file);
    Save(KPXUIRenewable::ShowNotice(window, newer, "help"), "notice-newer");
    Save(KPXUIChecked::ShowNotice(window), "notice-newest");

    KPXUIStartModule::Finish();
    return 0;
}
