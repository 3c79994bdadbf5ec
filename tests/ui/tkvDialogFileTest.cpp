#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTest>
#include <QWidget>
#include <string>

#include "DialogAnswers.h"
#include "TestFolder.h"
#include "tkvDialogFile.h"
#include "tkvModal.h"

namespace {

using namespace std::string_literals;

std::string Std(const QString& agText) { return agText.toStdString(); }

// What the split and restore pages pass: every file, the file must exist.
void SetUpLikeThePages(tkvDialogFile& agDialog) {
    agDialog.SetFilter("すべてのﾌｧｲﾙ(*.*)\0*.*\0"s);
    agDialog.SetFlags(tkvDialogFile::kFileMustExist);
    agDialog.SetTitle("分割元ﾌｧｲﾙを開く");
}

QFileDialog& AsFileDialog(QDialog& agDialog) { return static_cast<QFileDialog&>(agDialog); }

}  // namespace

// The file dialog run through the modal seam, on real files in a temporary folder.
class tkvDialogFileTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(folder_.IsValid()); }
    void cleanup() {
        QCOMPARE(tkvModal::PendingAnswerers(), 0);
        tkvModal::ClearAnswerers();
    }

    void openAnswersTheChosenFileWithItsName() {
        const QString path = folder_.File(QStringLiteral("写真 #1.jpg"));
        tkvDialogFile dialog;
        SetUpLikeThePages(dialog);
        tkvModal::PushAnswerer(DialogAnswers::Choose(path));

        QVERIFY(dialog.ShowDialogOfOpen());
        QCOMPARE(dialog.SelectedAddress(), Std(path));
        QCOMPARE(dialog.SelectedFileName(), "写真 #1.jpg"s);
    }

    void theDialogShowsTitleOwnerAndStartFolder() {
        QWidget owner;
        const QString start = folder_.Folder(QStringLiteral("pieces"));
        tkvDialogFile dialog;
        SetUpLikeThePages(dialog);
        dialog.SetWindowHandle(&owner);
        dialog.SetFileAddressOfStart(Std(start));
        QStringList shown;
        tkvModal::PushAnswerer(DialogAnswers::Inspect(
            [&](QDialog& agDialog) {
                shown << agDialog.windowTitle() << AsFileDialog(agDialog).directory().path();
                QCOMPARE(agDialog.parentWidget(), &owner);
                QCOMPARE(AsFileDialog(agDialog).fileMode(), QFileDialog::ExistingFile);
            },
            DialogAnswers::Cancel()));

        QVERIFY(!dialog.ShowDialogOfOpen());
        QCOMPARE(shown, (QStringList{"分割元ﾌｧｲﾙを開く", start}));
    }

    // As on Windows, "*.*" also lists names without a dot.
    void everyFileFilterListsNamesWithAndWithoutADot() {
        folder_.File(QStringLiteral("README"));
        folder_.File(QStringLiteral("data.bin"));
        QStringList listed;
        tkvDialogFile dialog;
        SetUpLikeThePages(dialog);
        tkvModal::PushAnswerer(DialogAnswers::Inspect(
            [&](QDialog& agDialog) {
                const QStringList patterns = agDialog.findChild<QFileSystemModel*>()->nameFilters();
                listed = QDir(folder_.Root()).entryList(patterns, QDir::Files);
            },
            DialogAnswers::Cancel()));

        dialog.ShowDialogOfOpen();
        QVERIFY(listed.contains(QStringLiteral("README")));
        QVERIFY(listed.contains(QStringLiteral("data.bin")));
    }

    // FilterIndex 1 preselects the second filter; the person switches back to the first.
    void filterIndexPreselectsAndTheChosenFilterIsAnswered() {
        const QString path = folder_.File(QStringLiteral("notes.txt"));
        tkvDialogFile dialog;
        dialog.SetFilter("文書(*.txt)\0*.txt\0分割ﾌｧｲﾙ(*.KPX)\0*.KPX;*.kpx\0"s);
        dialog.SetFilterIndex(1);
        QStringList preselectedPatterns;
        tkvModal::PushAnswerer(DialogAnswers::Inspect(
            [&](QDialog& agDialog) {
                preselectedPatterns = agDialog.findChild<QFileSystemModel*>()->nameFilters();
                AsFileDialog(agDialog).selectNameFilter(AsFileDialog(agDialog).nameFilters()[0]);
            },
            DialogAnswers::Choose(path)));

        QVERIFY(dialog.ShowDialogOfOpen());
        QCOMPARE(preselectedPatterns, (QStringList{"*.KPX", "*.kpx"}));
        QCOMPARE(dialog.SelectedFilterIndex(), 0);
    }

    void cancelLeavesTheResultsOfTheLastChoice() {
        const QString path = folder_.File(QStringLiteral("first.bin"));
        tkvDialogFile dialog;
        SetUpLikeThePages(dialog);
        tkvModal::PushAnswerer(DialogAnswers::Choose(path));
        tkvModal::PushAnswerer(DialogAnswers::Cancel());

        QVERIFY(dialog.ShowDialogOfOpen());
        QVERIFY(!dialog.ShowDialogOfOpen());
        QCOMPARE(dialog.SelectedAddress(), Std(path));
        QCOMPARE(dialog.SelectedFileName(), "first.bin"s);
    }

    // The open dialog answers existing files only, whatever was typed.
    void openRefusesAMissingFileOrAFolder() {
        tkvDialogFile dialog;
        SetUpLikeThePages(dialog);
        tkvModal::PushAnswerer(DialogAnswers::Choose(folder_.Path(QStringLiteral("gone.bin"))));
        tkvModal::PushAnswerer(DialogAnswers::Choose(folder_.Folder(QStringLiteral("sub"))));

        QVERIFY(!dialog.ShowDialogOfOpen());
        QVERIFY(!dialog.ShowDialogOfOpen());
        QCOMPARE(dialog.SelectedAddress(), ""s);
    }

    void saveAnswersANewNameWithTheDefaultExtension() {
        tkvDialogFile dialog;
        dialog.SetDefaultExtension("KPX");
        tkvModal::PushAnswerer(DialogAnswers::Choose(folder_.Path(QStringLiteral("photo"))));

        QVERIFY(dialog.ShowDialogOfSave());
        QCOMPARE(dialog.SelectedAddress(), Std(folder_.Path(QStringLiteral("photo.KPX"))));
    }

private:
    TestFolder folder_;
};

QTEST_MAIN(tkvDialogFileTest)
#include "tkvDialogFileTest.moc"
