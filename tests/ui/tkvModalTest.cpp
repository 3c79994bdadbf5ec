#include <QDialog>
#include <QTest>

#include "tkvModal.h"

// The seam through which every modal window runs: tests answer windows instead of a person.
class tkvModalTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { tkvModal::ClearAnswerers(); }

    void anAnswererReceivesTheWindowUnshownAndItsAnswerIsReturned() {
        QDialog dialog;
        QDialog* received = nullptr;
        bool shown = true;
        tkvModal::PushAnswerer([&](QDialog& agDialog) {
            received = &agDialog;
            shown = agDialog.isVisible();
            return 42;
        });

        QCOMPARE(tkvModal::Exec(dialog), 42);
        QCOMPARE(received, &dialog);
        QVERIFY(!shown);
        QCOMPARE(tkvModal::PendingAnswerers(), 0);
    }

    // Each window goes to the first waiting answerer, also one opened while answering.
    void answerersAnswerInTheOrderTheyWerePushed() {
        QDialog inner;
        tkvModal::PushAnswerer([&inner](QDialog&) { return 10 + tkvModal::Exec(inner); });
        tkvModal::PushAnswerer([](QDialog&) { return 5; });
        tkvModal::PushAnswerer([](QDialog&) { return 7; });

        QDialog outer;
        QCOMPARE(tkvModal::Exec(outer), 15);
        QCOMPARE(tkvModal::PendingAnswerers(), 1);
        QCOMPARE(tkvModal::Exec(outer), 7);
    }

    // A test that stops half-way must not leave its answers to the next one.
    void clearedAnswerersAreNeverUsed() {
        tkvModal::PushAnswerer([](QDialog&) { return 1; });
        tkvModal::ClearAnswerers();
        tkvModal::PushAnswerer([](QDialog&) { return 2; });

        QDialog dialog;
        QCOMPARE(tkvModal::Exec(dialog), 2);
    }
};

QTEST_MAIN(tkvModalTest)
#include "tkvModalTest.moc"
