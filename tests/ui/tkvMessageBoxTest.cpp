#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QWidget>

#include "DialogAnswers.h"
#include "tkvMessageBox.h"
#include "tkvModal.h"

namespace {

using tkvMessageBox::Buttons;
using tkvMessageBox::Icon;

// What a message box showed, recorded by an answerer before it answers.
struct Shown {
    QString Title;
    QString Text;
    Qt::TextFormat Format = Qt::AutoText;
    QMessageBox::Icon BoxIcon = QMessageBox::NoIcon;
    QStringList Buttons;  // "object name=text", in their order
    QWidget* Owner = nullptr;
};

tkvModal::Answerer Record(Shown& ouShown, tkvModal::Answerer agThen) {
    return DialogAnswers::Inspect(
        [&ouShown](QDialog& agDialog) {
            auto& box = static_cast<QMessageBox&>(agDialog);
            ouShown = Shown{box.windowTitle(), box.text(), box.textFormat(),
                            box.icon(),        {},         box.parentWidget()};
            for (QAbstractButton* button : box.buttons()) {
                ouShown.Buttons << button->objectName() + u'=' + button->text();
            }
        },
        std::move(agThen));
}

const std::string kClearQuestion = "ﾘｽﾄの内容をすべて消去します。\r\n\r\nよろしいですか?";

int AskToClear() {
    return tkvMessageBox::Show(nullptr, kClearQuestion, Icon::kInformation, Buttons::kOKCancel);
}

}  // namespace

// The application's message boxes, answered by their buttons' object names.
class tkvMessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Dividora")); }
    void cleanup() {
        QCOMPARE(tkvModal::PendingAnswerers(), 0);
        tkvModal::ClearAnswerers();
    }

    void eachButtonAnswersForItselfAndClosingAnswersCancel() {
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("ok")));
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("cancel")));
        tkvModal::PushAnswerer(DialogAnswers::Cancel());

        QCOMPARE(AskToClear(), tkvMessageBox::kOK);
        QCOMPARE(AskToClear(), tkvMessageBox::kCancel);
        QCOMPARE(AskToClear(), tkvMessageBox::kCancel);
    }

    void theQuestionShowsItsTextIconTitleAndJapaneseButtons() {
        QWidget owner;
        Shown shown;
        tkvModal::PushAnswerer(Record(shown, DialogAnswers::Click(QStringLiteral("cancel"))));

        tkvMessageBox::Show(&owner, kClearQuestion, Icon::kInformation, Buttons::kOKCancel,
                            "Dividora 2");
        QCOMPARE(shown.Text, QStringLiteral("ﾘｽﾄの内容をすべて消去します。\n\nよろしいですか?"));
        QCOMPARE(shown.BoxIcon, QMessageBox::Information);
        QCOMPARE(shown.Title, QStringLiteral("Dividora 2"));
        QCOMPARE(shown.Owner, &owner);
        QCOMPARE(shown.Buttons, (QStringList{"ok=OK", "cancel=ｷｬﾝｾﾙ"}));
    }

    void aWarningWithoutTitleHasOnlyOKAndTheApplicationsName() {
        Shown shown;
        tkvModal::PushAnswerer(Record(shown, DialogAnswers::Click(QStringLiteral("ok"))));

        QCOMPARE(tkvMessageBox::Show(nullptr, "上限は0より大きな数です。", Icon::kExclamation,
                                     Buttons::kOK),
                 tkvMessageBox::kOK);
        QCOMPARE(shown.BoxIcon, QMessageBox::Warning);
        QCOMPARE(shown.Title, QStringLiteral("Dividora"));
        QCOMPARE(shown.Buttons, (QStringList{"ok=OK"}));
    }

    // An error, and a file name such as "<b>.KPX" shown as it is, never as markup.
    void anErrorShowsTheCriticalIconAndPlainText() {
        Shown shown;
        tkvModal::PushAnswerer(Record(shown, DialogAnswers::Click(QStringLiteral("ok"))));
        tkvMessageBox::Show(nullptr, "<b>photo</b>.KPX", Icon::kError, Buttons::kOK);
        QCOMPARE(shown.BoxIcon, QMessageBox::Critical);
        QCOMPARE(shown.Format, Qt::PlainText);
    }
};

QTEST_MAIN(tkvMessageBoxTest)
#include "tkvMessageBoxTest.moc"
