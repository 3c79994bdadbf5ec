#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <string>

#include "DialogAnswers.h"
#include "KPXUIEstimateDialog.h"
#include "KPXUIMsgBoxDialog.h"
#include "KPXUIResources.h"
#include "WindowLook.h"
#include "tkvModal.h"

namespace {

// What a question window showed, recorded by an answerer before it answers.
struct Shown {
    QString Title;
    QStringList Texts;    // "object name=text" of the labels, check box and buttons
    QString Address;      // lblAddress as shown
    int AddressRoom = 0;  // lblAddress's width
    QString Clipped;
    QWidget* Owner = nullptr;
    bool IconFromOwner = false;
};

QString Text(const QDialog& agDialog, const QString& agName) {
    if (const auto* label = agDialog.findChild<const QLabel*>(agName)) {
        return label->text();
    }
    if (const auto* button = agDialog.findChild<const QAbstractButton*>(agName)) {
        return button->text();
    }
    return QStringLiteral("<no control>");
}

tkvModal::Answerer Record(Shown& ouShown, const QStringList& agNames, tkvModal::Answerer agThen) {
    return DialogAnswers::Inspect(
        [&ouShown, agNames](QDialog& agDialog) {
            ouShown.Title = agDialog.windowTitle();
            ouShown.Texts.clear();
            for (const QString& name : agNames) {
                ouShown.Texts << name + u'=' + Text(agDialog, name);
            }
            if (const auto* address = agDialog.findChild<const QLabel*>("lblAddress")) {
                ouShown.Address = address->text();
                ouShown.AddressRoom = address->contentsRect().width();
            }
            ouShown.Clipped = WindowLook::ClippedControls(agDialog);
            ouShown.Owner = agDialog.parentWidget();
            ouShown.IconFromOwner =
                ouShown.Owner != nullptr &&
                agDialog.windowIcon().cacheKey() == ouShown.Owner->windowIcon().cacheKey();
        },
        std::move(agThen));
}

// Ticks the estimate window's box, then answers with agThen.
tkvModal::Answerer TickFirst(tkvModal::Answerer agThen) {
    return DialogAnswers::Inspect(
        [](QDialog& agDialog) {
            agDialog.findChild<QCheckBox*>(QStringLiteral("chkNotExpressDialog"))->setChecked(true);
        },
        std::move(agThen));
}

const QStringList kOverwriteControls{"lblMes_0", "lblMes_1", "cmYes", "cmAllYes", "cmCancel"};
const QStringList kEstimateControls{"lblMes", "chkNotExpressDialog", "cmYes", "cmNo"};

}  // namespace

// The overwrite question and the offer of a restore estimate, answered by their buttons.
class KPXUIQuestionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        KPXUIResources::Initialize();
        owner_.setWindowIcon(QIcon(QString::fromUtf8(KPXUIResources::kIcon)));
    }
    void cleanup() {
        QCOMPARE(tkvModal::PendingAnswerers(), 0);
        tkvModal::ClearAnswerers();
    }

    void overwriteAnswersByEachButtonAndCancelsWhenClosed() {
        KPXUIMsgBoxDialog question(&owner_);
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("cmYes")));
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("cmAllYes")));
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("cmCancel")));
        tkvModal::PushAnswerer(DialogAnswers::Cancel());

        QCOMPARE(question.MsgBox("/out/a.KPX"), KPXUIMsgBox::kYes);
        QCOMPARE(question.MsgBox("/out/a.KPX"), KPXUIMsgBox::kAllYes);
        QCOMPARE(question.MsgBox("/out/a.KPX"), KPXUIMsgBox::kCancel);
        // The close comes after a "yes": the earlier answer must not stay.
        QCOMPARE(question.MsgBox("/out/a.KPX"), KPXUIMsgBox::kCancel);
    }

    void overwriteShowsItsTextsAndAShortPathWhole() {
        KPXUIMsgBoxDialog question(&owner_);
        Shown shown;
        tkvModal::PushAnswerer(
            Record(shown, kOverwriteControls, DialogAnswers::Click(QStringLiteral("cmYes"))));

        question.MsgBox("/out/写真 2024.KPX");
        QCOMPARE(shown.Title, QStringLiteral("上書きの問い合わせ"));
        QCOMPARE(shown.Texts,
                 (QStringList{
                     "lblMes_0=次のｱﾄﾞﾚｽにﾌｧｲﾙを作成しようとしましたが、既にﾌｧｲﾙが存在しています。",
                     "lblMes_1=既にあるﾌｧｲﾙを削除して、新しくﾌｧｲﾙを作成しますか。",
                     "cmYes=はい(&Y)", "cmAllYes=以降全て(&A)", "cmCancel=実行をｷｬﾝｾﾙ(&C)"}));
        QCOMPARE(shown.Address, QStringLiteral("/out/写真 2024.KPX"));
        QCOMPARE(shown.Owner, &owner_);
        QVERIFY(shown.IconFromOwner);
        QCOMPARE(shown.Clipped, QString());
    }

    // The head stays, the middle folders become "...", the last parts stay; it fits the label.
    void overwriteShortensALongPathInItsMiddle() {
        KPXUIMsgBoxDialog question(&owner_);
        Shown shown;
        tkvModal::PushAnswerer(
            Record(shown, kOverwriteControls, DialogAnswers::Click(QStringLiteral("cmYes"))));
        QString path = QStringLiteral("/home");
        for (int i = 0; i < 12; ++i) {
            path += QStringLiteral("/とても長いフォルダの名前%1").arg(i);
        }
        path += QStringLiteral("/photo.KPX");

        question.MsgBox(path.toStdString());
        QVERIFY2(shown.Address.startsWith(QStringLiteral("/.../")), qPrintable(shown.Address));
        QVERIFY(shown.Address.endsWith(QStringLiteral("/とても長いフォルダの名前11/photo.KPX")));
        QVERIFY(QFontMetrics(question.font()).horizontalAdvance(shown.Address) <=
                shown.AddressRoom);
        QCOMPARE(shown.Clipped, QString());
    }

    // A name too wide even without its folders is shortened too, and the path stays readable
    // whole in the tool tip.
    void overwriteShortensANameTooWideForTheLabel() {
        KPXUIMsgBoxDialog question(&owner_);
        Shown shown;
        tkvModal::PushAnswerer(
            Record(shown, kOverwriteControls, DialogAnswers::Click(QStringLiteral("cmYes"))));
        const std::string path = "/out/" + std::string(300, 'n') + ".KPX";

        question.MsgBox(path);
        QVERIFY(shown.Address.endsWith(QStringLiteral("n.KPX")));
        QVERIFY(shown.Address.contains(QChar(0x2026)));
        QVERIFY(QFontMetrics(question.font()).horizontalAdvance(shown.Address) <=
                shown.AddressRoom);
        QCOMPARE(question.findChild<QLabel*>("lblAddress")->toolTip().toStdString(), path);
    }

    void overwriteWithoutOwner() {
        KPXUIMsgBoxDialog question(nullptr);
        Shown shown;
        tkvModal::PushAnswerer(
            Record(shown, kOverwriteControls, DialogAnswers::Click(QStringLiteral("cmAllYes"))));
        QCOMPARE(question.MsgBox("/out/a.KPX"), KPXUIMsgBox::kAllYes);
        QCOMPARE(shown.Owner, nullptr);
    }

    void estimateYesWithTheBoxTickedAsksNoMore() {
        KPXUIEstimateDialog question(&owner_);
        tkvModal::PushAnswerer(TickFirst(DialogAnswers::Click(QStringLiteral("cmYes"))));
        bool showAgain = true;
        QCOMPARE(question.MsgBox(showAgain), KPXUIEstimate::kYes);
        QCOMPARE(showAgain, false);
    }

    // The box starts unticked at every question, whatever the last one left.
    void estimateNoWithoutTheBoxAsksAgain() {
        KPXUIEstimateDialog question(&owner_);
        tkvModal::PushAnswerer(TickFirst(DialogAnswers::Click(QStringLiteral("cmYes"))));
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("cmNo")));
        bool showAgain = true;
        question.MsgBox(showAgain);
        QCOMPARE(question.MsgBox(showAgain), KPXUIEstimate::kNo);
        QCOMPARE(showAgain, true);
    }

    // Closed by its frame: neither answer, but the box still counts.
    void estimateClosedOtherwiseAnswersNeither() {
        KPXUIEstimateDialog question(&owner_);
        tkvModal::PushAnswerer(DialogAnswers::Cancel());
        tkvModal::PushAnswerer(TickFirst(DialogAnswers::Cancel()));
        bool showAgain = false;
        QCOMPARE(question.MsgBox(showAgain), KPXUIEstimateDialog::kClosed);
        QCOMPARE(showAgain, true);
        QCOMPARE(question.MsgBox(showAgain), KPXUIEstimateDialog::kClosed);
        QCOMPARE(showAgain, false);
    }

    void estimateShowsItsTexts() {
        KPXUIEstimateDialog question(&owner_);
        Shown shown;
        tkvModal::PushAnswerer(
            Record(shown, kEstimateControls, DialogAnswers::Click(QStringLiteral("cmNo"))));
        bool showAgain = false;
        question.MsgBox(showAgain);
        QCOMPARE(shown.Title, QStringLiteral("復元予測の実行"));
        QCOMPARE(shown.Texts, (QStringList{"lblMes=「復元予測」を実行しますか?",
                                           "chkNotExpressDialog=今後、このﾀﾞｲｱﾛｸﾞを表示しない。",
                                           "cmYes=はい(&Y)", "cmNo=いいえ(&N)"}));
        QVERIFY(shown.IconFromOwner);
        QCOMPARE(shown.Clipped, QString());
    }

    // Both questions are fixed-size dialogs without minimize and maximize buttons.
    void questionsHaveAFixedFrame() {
        KPXUIMsgBoxDialog overwrite(&owner_);
        KPXUIEstimateDialog estimate(&owner_);
        for (QDialog* dialog :
             {static_cast<QDialog*>(&overwrite), static_cast<QDialog*>(&estimate)}) {
            dialog->show();
            QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
            QVERIFY(!(dialog->windowFlags() & Qt::WindowMinMaxButtonsHint));
            dialog->hide();
        }
    }

private:
    QWidget owner_;
};

QTEST_MAIN(KPXUIQuestionTest)
#include "KPXUIQuestionTest.moc"
