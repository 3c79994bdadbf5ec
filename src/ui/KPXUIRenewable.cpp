#include "KPXUIRenewable.h"

#include <QPointer>

#include "KPXUIResources.h"
#include "KPXUIWindowFrame.h"
#include "tkvCheckVersion.h"
#include "tkvDateTime.h"
#include "tkvNetAccess.h"
#include "tkvQtString.h"
#include "ui_KPXUIRenewable.h"

namespace {

QPointer<KPXUIRenewable>& TheNotice() {
    static QPointer<KPXUIRenewable> notice;
    return notice;
}

QString VersionText(int32_t agMajor, int32_t agMinor, int32_t agRevision) {
    return QStringLiteral("%1.%2.%3").arg(agMajor).arg(agMinor).arg(agRevision);
}

}  // namespace

KPXUIRenewable* KPXUIRenewable::ShowNotice(QWidget* agOwner, const tkvCheckVersion& agCheck,
                                           const std::string& agHowToUpdateAddress) {
    QPointer<KPXUIRenewable>& notice = TheNotice();
    if (notice == nullptr) {
        notice = new KPXUIRenewable(agOwner);
        notice->ShowCheck(agCheck, agHowToUpdateAddress);
        KPXUIWindowFrame::CenterOverOwner(*notice, agOwner);
        notice->show();
    } else {
        // The notice tells the result of the check that has just finished.
        notice->ShowCheck(agCheck, agHowToUpdateAddress);
        notice->raise();
        notice->activateWindow();
    }
    return notice;
}

KPXUIRenewable* KPXUIRenewable::OpenNotice() { return TheNotice(); }

std::string KPXUIRenewable::UpDatedDateText(double agDate) {
    return tkvDateTime::JapaneseDateText(agDate, " ");
}

KPXUIRenewable::KPXUIRenewable(QWidget* agOwner)
    : QDialog(agOwner), ui_(std::make_unique<Ui::KPXUIRenewable>()) {
    ui_->setupUi(this);
    KPXUIWindowFrame::SetFixedDialogFrame(*this);
    // A scheduled check may show the notice many times in a long run.
    setAttribute(Qt::WA_DeleteOnClose);
    if (agOwner != nullptr) {
        setWindowIcon(agOwner->window()->windowIcon());
    }
    ui_->imgPicture->SetPicture(QString::fromUtf8(KPXUIResources::kUpdatePicture2));
    connect(ui_->cmdYes, &QPushButton::clicked, this, &KPXUIRenewable::cmdYes_Click);
    connect(ui_->cmdNo, &QPushButton::clicked, this, &QWidget::close);
}

KPXUIRenewable::~KPXUIRenewable() = default;

void KPXUIRenewable::ShowCheck(const tkvCheckVersion& agCheck,
                               const std::string& agHowToUpdateAddress) {
    ui_->lblOldVersion->setText(
        VersionText(agCheck.ClientMajor(), agCheck.ClientMinor(), agCheck.ClientRevision()));
    ui_->lblNewVersion->setText(
        VersionText(agCheck.ServerMajor(), agCheck.ServerMinor(), agCheck.ServerRevision()));
    ui_->lblUpDatedDate->setText(tkvQtString::ToQt(UpDatedDateText(agCheck.ServerUpdatedTime())));
    howToUpdateAddress_ = agHowToUpdateAddress;
    ensurePolished();
    layout()->activate();
}

void KPXUIRenewable::cmdYes_Click() {
    // A page that cannot be opened is not reported; the notice closes all the same.
    tkvNetAccess::OpenWithShell(howToUpdateAddress_);
    close();
}
