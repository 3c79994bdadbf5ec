#include "tkvMessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include "tkvModal.h"
#include "tkvQtString.h"

namespace tkvMessageBox {

namespace {

QMessageBox::Icon QtIcon(Icon agIcon) {
    switch (agIcon) {
        case Icon::kInformation:
            return QMessageBox::Information;
        case Icon::kExclamation:
            return QMessageBox::Warning;
        case Icon::kError:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

int Show(QWidget* agOwner, const std::string& agText, Icon agIcon, Buttons agButtons,
         const std::string& agTitle) {
    QMessageBox box(agOwner);
    box.setIcon(QtIcon(agIcon));
    box.setWindowTitle(agTitle.empty() ? QGuiApplication::applicationDisplayName()
                                       : tkvQtString::ToQt(agTitle));
    // The texts name files and folders: never read as markup. Line breaks come as CR LF.
    box.setTextFormat(Qt::PlainText);
    box.setText(tkvQtString::ToQt(agText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    box.setDefaultButton(ok);
    if (agButtons == Buttons::kOKCancel) {
        QPushButton* cancel = box.addButton(QStringLiteral("ｷｬﾝｾﾙ"), QMessageBox::RejectRole);
        cancel->setObjectName(QStringLiteral("cancel"));
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(ok);
    }

    tkvModal::Exec(box);
    return box.clickedButton() == ok ? kOK : kCancel;
}

}  // namespace tkvMessageBox
