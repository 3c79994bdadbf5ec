#include "KPXUIEstimateDialog.h"

#include "KPXUIWindowFrame.h"
#include "tkvModal.h"
#include "ui_KPXUIEstimateDialog.h"

KPXUIEstimateDialog::KPXUIEstimateDialog(QWidget* agOwner)
    : QDialog(agOwner), ui_(std::make_unique<Ui::KPXUIEstimateDialog>()) {
    ui_->setupUi(this);
    KPXUIWindowFrame::SetFixedDialogFrame(*this);
    const auto answerWith = [this](int32_t agAnswer) {
        return [this, agAnswer] {
            answer_ = agAnswer;
            accept();
        };
    };
    connect(ui_->cmYes, &QPushButton::clicked, this, answerWith(kYes));
    connect(ui_->cmNo, &QPushButton::clicked, this, answerWith(kNo));
}

KPXUIEstimateDialog::~KPXUIEstimateDialog() = default;

int32_t KPXUIEstimateDialog::MsgBox(bool& ouShowAgain) {
    answer_ = kClosed;
    ui_->chkNotExpressDialog->setChecked(false);
    if (parentWidget() != nullptr) {
        setWindowIcon(parentWidget()->window()->windowIcon());
    }
    ensurePolished();
    layout()->activate();
    ui_->cmYes->setFocus();
    KPXUIWindowFrame::CenterOverOwner(*this, parentWidget());
    tkvModal::Exec(*this);
    ouShowAgain = !ui_->chkNotExpressDialog->isChecked();
    return answer_;
}
