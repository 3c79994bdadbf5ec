#include "KPXUIMsgBoxDialog.h"

#include <QLayout>

#include "KPXUIAddressLabel.h"
#include "KPXUIWindowFrame.h"
#include "tkvModal.h"
#include "ui_KPXUIMsgBoxDialog.h"

namespace {

constexpr const char* kAddressDesignText = "[%ｱﾄﾞﾚｽ]";
constexpr int kAddressIndent = 14;

}  // namespace

KPXUIMsgBoxDialog::KPXUIMsgBoxDialog(QWidget* agOwner)
    : QDialog(agOwner), ui_(std::make_unique<Ui::KPXUIMsgBoxDialog>()) {
    ui_->setupUi(this);
    KPXUIWindowFrame::SetFixedDialogFrame(*this);
    // The path stands out from the sentences around it.
    ui_->lblAddress->setContentsMargins(kAddressIndent, 2, 0, 2);
    const auto answerWith = [this](int32_t agAnswer) {
        return [this, agAnswer] {
            answer_ = agAnswer;
            accept();
        };
    };
    connect(ui_->cmYes, &QPushButton::clicked, this, answerWith(kYes));
    connect(ui_->cmAllYes, &QPushButton::clicked, this, answerWith(kAllYes));
    connect(ui_->cmCancel, &QPushButton::clicked, this, answerWith(kCancel));
}

KPXUIMsgBoxDialog::~KPXUIMsgBoxDialog() = default;

int32_t KPXUIMsgBoxDialog::MsgBox(const std::string& agAddress) {
    // The close box and Escape leave the answer at cancel.
    answer_ = kCancel;
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    // The label takes the width the messages give the window; only then is the address fitted.
    // It keeps the height of its design text, which holds Japanese, so that the window does not
    // change its height with the script of the path.
    ui_->lblAddress->setText(QString::fromUtf8(kAddressDesignText));
    ensurePolished();
    ui_->lblAddress->setMinimumHeight(ui_->lblAddress->sizeHint().height());
    layout()->activate();
    KPXUIAddressLabel::SetAddress(*ui_->lblAddress, agAddress);
    layout()->activate();
    ui_->cmYes->setFocus();
    KPXUIWindowFrame::CenterOverOwner(*this, parentWidget());
    tkvModal::Exec(*this);
    return answer_;
}
