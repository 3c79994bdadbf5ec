#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "DialogAnswers.h"
#include "KPXSepaCtrl.h"
#include "KPXSepaData.h"
#include "KPXUIDividoraDetail.h"
#include "KPXUIResources.h"
#include "TestFolder.h"
#include "WindowLook.h"
#include "tkvDateTime.h"
#include "tkvModal.h"
#include "tkvTwips.h"

namespace {

// 2024/05/10 9:00:00
constexpr double kSepaDate = 45422.375;

// A real split: agCount pieces of agPieceBytes data bytes each, cut by the engine from a source
// named agSourceName. Answers the piece paths in join order and the split's identifier.
struct Split {
    std::vector<std::string> Pieces;
    int32_t SpecID = 0;
};

Split SplitSource(const TestFolder& agFolder, const QString& agSourceName, int32_t agCount,
                  int32_t agPieceBytes) {
    const QString source = agFolder.Path(agSourceName);
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QByteArray(agCount * agPieceBytes, 'd')) != agCount * agPieceBytes) {
        return {};
    }
    file.close();

    auto job = std::make_shared<KPXSepaData>();
    job->SetFileAddress(source.toStdString());
    job->SetTransmissionByteSize(4096);
    job->SetConfirmFileSize(true);
    job->SetClearCreatedFileWhenUncompleted(true);
    job->SetSepaDate(kSepaDate);
    job->Initialize(agCount);
    Split split;
    for (int32_t i = 0; i < agCount; ++i) {
        const std::string piece =
            agFolder.Path(QStringLiteral("piece.%1.KPX").arg(i)).toStdString();
        job->DividoraData(i)->SetFileSize(agPieceBytes);
        job->DividoraData(i)->SetFileAddress(piece);
        split.Pieces.push_back(piece);
    }
    KPXSepaCtrl sepaCtrl;
    sepaCtrl.SetSepaData(job);
    if (!job->DecideSpecAndTurnID() || !sepaCtrl.Separate()) {
        return {};
    }
    split.SpecID = job->DividoraData(0)->SpecID();
    return split;
}

QString Text(const QWidget& agWindow, const char* agName) {
    const auto* label = agWindow.findChild<const QLabel*>(QString::fromLatin1(agName));
    return label != nullptr ? label->text() : QStringLiteral("<no label>");
}

// The six header values as the window shows them, in their order.
QStringList Values(const QWidget& agWindow) {
    QStringList values;
    for (const char* name : {"lblSepaSpecID", "lblSepaCount", "lblSepaTurnID", "lblSepaDate",
                             "lblFileName", "lblSepaDataSize"}) {
        values << Text(agWindow, name);
    }
    return values;
}

const QStringList kNotRead(6, QStringLiteral("読み込みできませんでした。"));

QListWidget& AddressList(const QWidget& agWindow) {
    return *agWindow.findChild<QListWidget*>(QStringLiteral("lstSepaAddress"));
}

// The entry numbers selected in the window's list.
QList<int> SelectedRows(const QWidget& agWindow) {
    QList<int> rows;
    for (const QModelIndex& index : AddressList(agWindow).selectionModel()->selectedRows()) {
        rows << index.row();
    }
    return rows;
}

}  // namespace

// The detail window over the restore list: the header values of the piece it watches.
class KPXUIDividoraDetailTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        KPXUIResources::Initialize();
        QVERIFY(folder_.IsValid());
        split_ = SplitSource(folder_, QStringLiteral("album.zip"), 5, 1536);
        QCOMPARE(split_.Pieces.size(), size_t{5});
        notAPiece_ = folder_.File(QStringLiteral("notes.txt")).toStdString();
    }
    void cleanup() {
        QCOMPARE(tkvModal::PendingAnswerers(), 0);
        tkvModal::ClearAnswerers();
    }

    // The first of five pieces: count 5, join position 0; 1536 data bytes are 1.5KB.
    void theFirstPieceShowsItsHeader() {
        KPXUIDividoraDetail detail(nullptr, split_.Pieces, "Dividora", 0);
        QCOMPARE(Values(detail), (QStringList{QString::number(split_.SpecID), "5", "0",
                                              "2024/05/10 9:00:00", "album.zip", "1.5KB"}));
        QCOMPARE(SelectedRows(detail), QList<int>{0});
        QCOMPARE(Text(detail, "lblSepaAddress").toStdString(), split_.Pieces[0]);
    }

    void theThirdEntryIsSelectedAndShown() {
        KPXUIDividoraDetail detail(nullptr, split_.Pieces, "Dividora", 2);
        QCOMPARE(SelectedRows(detail), QList<int>{2});
        QCOMPARE(Text(detail, "lblSepaTurnID"), QStringLiteral("2"));
        QCOMPARE(detail.IndexToWatch(), 2);
    }

    void theListIsTheRestoreListInItsOrderWithItsCount() {
        const std::vector<std::string> addresses{split_.Pieces[3], notAPiece_, split_.Pieces[1]};
        KPXUIDividoraDetail detail(nullptr, addresses, "Dividora", -1);
        QListWidget& list = AddressList(detail);
        QCOMPARE(list.count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(list.item(i)->text().toStdString(), addresses[static_cast<size_t>(i)]);
        }
        QCOMPARE(Text(detail, "lblSepaAddressCount"), QStringLiteral("3 個"));
    }

    void anOrdinaryFileShowsTheFailureTexts() {
        KPXUIDividoraDetail detail(nullptr, {notAPiece_}, "Dividora", 0);
        QCOMPARE(Values(detail), kNotRead);
        QCOMPARE(SelectedRows(detail), QList<int>{0});
    }

    void aMissingFileShowsTheFailureTexts() {
        KPXUIDividoraDetail detail(nullptr, {folder_.Path("gone.KPX").toStdString()}, "D", 0);
        QCOMPARE(Values(detail), kNotRead);
    }

    // No selection, or a number past the list: nothing selected, nothing read.
    void noSelectionShowsTheFailureTexts_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("none") << -1;
        QTest::newRow("past the list") << 5;
    }
    void noSelectionShowsTheFailureTexts() {
        QFETCH(int, index);
        KPXUIDividoraDetail detail(nullptr, split_.Pieces, "Dividora", index);
        QCOMPARE(Values(detail), kNotRead);
        QCOMPARE(SelectedRows(detail), QList<int>());
        QCOMPARE(Text(detail, "lblSepaAddress"), QString());
    }

    // A click on an entry of the window's own list shows that entry.
    void aClickOnAnEntryShowsIt() {
        const std::vector<std::string> addresses{notAPiece_, split_.Pieces[4]};
        KPXUIDividoraDetail detail(nullptr, addresses, "Dividora", -1);
        detail.show();
        QVERIFY(QTest::qWaitForWindowExposed(&detail));
        QListWidget& list = AddressList(detail);

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(1)).center());
        QCOMPARE(detail.IndexToWatch(), 1);
        QCOMPARE(Text(detail, "lblSepaTurnID"), QStringLiteral("4"));
        QCOMPARE(Text(detail, "lblSepaDataSize"), QStringLiteral("1.5KB"));

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(0)).center());
        QCOMPARE(detail.IndexToWatch(), 0);
        QCOMPARE(Values(detail), kNotRead);
    }

    // A source name with markup in it is shown as it is, never as markup.
    void theSourceNameIsPlainText() {
        TestFolder folder;
        const Split split = SplitSource(folder, QStringLiteral("<b>album<br>.zip"), 1, 100);
        QCOMPARE(split.Pieces.size(), size_t{1});
        KPXUIDividoraDetail detail(nullptr, split.Pieces, "Dividora", 0);
        const auto* fileName = detail.findChild<QLabel*>(QStringLiteral("lblFileName"));
        QCOMPARE(fileName->text(), QStringLiteral("<b>album<br>.zip"));
        QCOMPARE(fileName->textFormat(), Qt::PlainText);
        QCOMPARE(Text(detail, "lblSepaDataSize"), QStringLiteral("100ﾊﾞｲﾄ"));
    }

    // Modal over its owner through the application's modal seam, centred, with the owner's
    // icon, the product name in its caption and its client area of 5415 x 5610 twips.
    void showRunsTheWindowModallyOverItsOwner() {
        QWidget owner;
        owner.setWindowIcon(QIcon(QString::fromUtf8(KPXUIResources::kIcon)));
        owner.setGeometry(200, 150, 600, 500);
        KPXUIDividoraDetail detail(&owner, split_.Pieces, "Dividora", 1);
        const QRect ownerPlace = owner.geometry();
        QRect place;
        QString clipped;
        tkvModal::PushAnswerer(DialogAnswers::Inspect(
            [&](QDialog& agDialog) {
                place = agDialog.geometry();
                agDialog.show();
                clipped = WindowLook::ClippedControls(agDialog);
            },
            DialogAnswers::Click(QStringLiteral("cmEnd"))));

        detail.Show();
        QCOMPARE(detail.windowTitle(), QStringLiteral("Dividora 分割ﾌｧｲﾙの詳細"));
        QCOMPARE(detail.windowIcon().cacheKey(), owner.windowIcon().cacheKey());
        QCOMPARE(place.size(),
                 QSize(tkvTwips::ToPixels(5415, &detail), tkvTwips::ToPixels(5610, &detail)));
        QVERIFY((place.center() - ownerPlace.center()).manhattanLength() <= 2);
        QCOMPARE(detail.minimumSize(), detail.maximumSize());
        QVERIFY(!(detail.windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(clipped, QString());
        QVERIFY(!detail.isVisible());
    }

    // The window's labels hold a long path and the failure texts without clipping them.
    void longTextsFitTheWindow() {
        std::string deep = folder_.Root().toStdString();
        for (int i = 0; i < 10; ++i) {
            deep += "/深いフォルダ" + std::to_string(i);
        }
        const std::vector<std::string> addresses{deep + "/piece.KPX", split_.Pieces[0]};
        KPXUIDividoraDetail detail(nullptr, addresses, "Dividora", 0);
        detail.show();
        QVERIFY(QTest::qWaitForWindowExposed(&detail));
        QVERIFY(Text(detail, "lblSepaAddress").contains(QStringLiteral("/.../")));
        QCOMPARE(WindowLook::ClippedControls(detail), QString());
        detail.SetIndexToWatch(1);
        QCOMPARE(WindowLook::ClippedControls(detail), QString());
    }

private:
    TestFolder folder_;
    Split split_;
    std::string notAPiece_;
};

QTEST_MAIN(KPXUIDividoraDetailTest)
#include "KPXUIDividoraDetailTest.moc"
