#include "KPXUIChecked.h"

#include <QPointer>

#include "KPXUIResources.h"
#include "KPXUIWindowFrame.h"
#include "ui_KPXUIChecked.h"

namespace {

QPointer<KPXUIChecked>& TheNotice() {
    static QPointer<KPXUIChecked> notice;
    return notice;
}

}  // namespace

KPXUIChecked* KPXUIChecked::ShowNotice(QWidget* agOwner) {
    QPointer<KPXUIChecked>& notice = TheNotice();
    if (notice == nullptr) {
        notice = new KPXUIChecked(agOwner);
        KPXUIWindowFrame::CenterOverOwner(*notice, agOwner);
        notice->show();
    } else {
        notice->raise();
        notice->activateWindow();
    }
    return notice;
}

KPXUIChecked* KPXUIChecked::OpenNotice() { return TheNotice(); }

KPXUIChecked::KPXUIChecked(QWidget* agOwner)
    : QDialog(agOwner), ui_(std::make_unique<Ui::KPXUIChecked>()) {
    ui_->setupUi(this);
    KPXUIWindowFrame::SetFixedDialogFrame(*this);
    // A scheduled check may show the notice many times in a long run.
    setAttribute(Qt::WA_DeleteOnClose);
    if (agOwner != nullptr) {
        setWindowIcon(agOwner->window()->windowIcon());
    }
    ui_->imgPicture->SetPicture(QString::fromUtf8(KPXUIResources::kUpdatePicture1));
    connect(ui_->cmdOK, &QPushButton::clicked, this, &QWidget::close);
    ensurePolished();
    layout()->activate();
}

KPXUIChecked::~KPXUIChecked() = default;
