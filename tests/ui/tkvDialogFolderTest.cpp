#include <QFileDialog>
#include <QTest>
#include <QWidget>
#include <string>

#include "DialogAnswers.h"
#include "TestFolder.h"
#include "tkvDialogFolder.h"
#include "tkvModal.h"

namespace {

using namespace std::string_literals;

std::string Std(const QString& agText) { return agText.toStdString(); }

// What the split page passes.
void SetUpLikeTheSplitPage(tkvDialogFolder& agDialog) {
    agDialog.SetFlags(tkvDialogFolder::kFileSystemFoldersOnly);
    agDialog.SetComment("分割先のﾌｫﾙﾀﾞを指定して下さい。");
    agDialog.SetWindowText("分割先のﾌｫﾙﾀﾞを指定する");
}

}  // namespace

// The folder dialog run through the modal seam, on real folders in a temporary folder.
class tkvDialogFolderTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(folder_.IsValid()); }
    void cleanup() {
        QCOMPARE(tkvModal::PendingAnswerers(), 0);
        tkvModal::ClearAnswerers();
    }

    void answersTheChosenFolder() {
        const QString chosen = folder_.Folder(QStringLiteral("出力 先"));
        tkvDialogFolder dialog;
        SetUpLikeTheSplitPage(dialog);
        tkvModal::PushAnswerer(DialogAnswers::Choose(chosen));

        QVERIFY(dialog.ShowDialog());
        QCOMPARE(dialog.SelectedAddress(), Std(chosen));
    }

    void theDialogShowsCaptionCommentAndFoldersOnly() {
        QWidget owner;
        tkvDialogFolder dialog;
        SetUpLikeTheSplitPage(dialog);
        dialog.SetWindowHandle(&owner);
        QStringList shown;
        tkvModal::PushAnswerer(DialogAnswers::Inspect(
            [&](QDialog& agDialog) {
                auto& fileDialog = static_cast<QFileDialog&>(agDialog);
                shown << fileDialog.windowTitle() << fileDialog.labelText(QFileDialog::LookIn);
                QCOMPARE(fileDialog.parentWidget(), &owner);
                QCOMPARE(fileDialog.fileMode(), QFileDialog::Directory);
                QVERIFY(fileDialog.testOption(QFileDialog::ShowDirsOnly));
            },
            DialogAnswers::Cancel()));

        QVERIFY(!dialog.ShowDialog());
        QCOMPARE(shown,
                 (QStringList{"分割先のﾌｫﾙﾀﾞを指定する", "分割先のﾌｫﾙﾀﾞを指定して下さい。"}));
    }

    // Confirming straight away answers the folder the dialog was opened in.
    void theStartFolderIsPreselected() {
        const QString start = folder_.Folder(QStringLiteral("start"));
        tkvDialogFolder dialog;
        dialog.SetFileAddressOfStart(Std(start));
        tkvModal::PushAnswerer(DialogAnswers::Confirm());

        QVERIFY(dialog.ShowDialog());
        QCOMPARE(dialog.SelectedAddress(), Std(start));
    }

    // Cancelling, or confirming a file or a missing folder, never hands a page an address.
    void onlyAConfirmedFolderChangesTheResult() {
        const QString kept = folder_.Folder(QStringLiteral("kept"));
        tkvDialogFolder dialog;
        SetUpLikeTheSplitPage(dialog);
        tkvModal::PushAnswerer(DialogAnswers::Choose(kept));
        tkvModal::PushAnswerer(DialogAnswers::Cancel());
        tkvModal::PushAnswerer(DialogAnswers::Choose(folder_.File(QStringLiteral("a.bin"))));
        tkvModal::PushAnswerer(DialogAnswers::Choose(folder_.Path(QStringLiteral("missing"))));

        QVERIFY(dialog.ShowDialog());
        QVERIFY(!dialog.ShowDialog());
        QVERIFY(!dialog.ShowDialog());
        QVERIFY(!dialog.ShowDialog());
        QCOMPARE(dialog.SelectedAddress(), Std(kept));
    }

private:
    TestFolder folder_;
};

QTEST_MAIN(tkvDialogFolderTest)
#include "tkvDialogFolderTest.moc"
