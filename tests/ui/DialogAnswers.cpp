#include "DialogAnswers.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QTest>

namespace DialogAnswers {

tkvModal::Answerer Choose(const QString& agPath) {
    return [agPath](QDialog& agDialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(&agDialog);
        if (fileDialog == nullptr) {
            QTest::qFail("the modal window is not a file dialog", __FILE__, __LINE__);
            return static_cast<int>(QDialog::Rejected);
        }
        // Not accept(): QFileDialog would answer a wrong entry with a message box of its own,
        // which no answerer can reach. The code under test checks the entry itself.
        fileDialog->selectFile(agPath);
        return static_cast<int>(QDialog::Accepted);
    };
}

tkvModal::Answerer Confirm() {
    return [](QDialog&) { return static_cast<int>(QDialog::Accepted); };
}

tkvModal::Answerer Cancel() {
    return [](QDialog& agDialog) {
        agDialog.reject();
        return static_cast<int>(QDialog::Rejected);
    };
}

tkvModal::Answerer Click(const QString& agObjectName) {
    return [agObjectName](QDialog& agDialog) {
        auto* button = agDialog.findChild<QAbstractButton*>(agObjectName);
        if (button == nullptr) {
            QTest::qFail(qPrintable(QStringLiteral("no button named \"%1\"").arg(agObjectName)),
                         __FILE__, __LINE__);
            return static_cast<int>(QDialog::Rejected);
        }
        button->click();
        return agDialog.result();
    };
}

tkvModal::Answerer Inspect(std::function<void(QDialog&)> agLook, tkvModal::Answerer agThen) {
    return [agLook = std::move(agLook), agThen = std::move(agThen)](QDialog& agDialog) {
        agLook(agDialog);
        return agThen(agDialog);
    };
}

}  // namespace DialogAnswers
