#include "KPXUIDividoraDetail.h"

#include <QFontMetrics>
#include <QLayout>
#include <exception>

#include "KPXDividoraData.h"
#include "KPXSepaCtrl.h"
#include "KPXUIAddressLabel.h"
#include "KPXUIWindowFrame.h"
#include "tkvDateTime.h"
#include "tkvFormat.h"
#include "tkvModal.h"
#include "tkvQtString.h"
#include "tkvTwips.h"
#include "ui_KPXUIDividoraDetail.h"

namespace {

// The client area, in twips.
constexpr int32_t kClientWidth = 5415;
constexpr int32_t kClientHeight = 5610;

}  // namespace

KPXUIDividoraDetail::KPXUIDividoraDetail(QWidget* agOwner,
                                         const std::vector<std::string>& agAddresses,
                                         const std::string& agProductName, int32_t agIndexToWatch)
    : QDialog(agOwner),
      ui_(std::make_unique<Ui::KPXUIDividoraDetail>()),
      addresses_(agAddresses),
      indexToWatch_(agIndexToWatch) {
    ui_->setupUi(this);
    KPXUIWindowFrame::SetFixedDialogFrame(*this);
    if (agOwner != nullptr) {
        setWindowIcon(agOwner->window()->windowIcon());
    }
    setWindowTitle(tkvQtString::ToQt(agProductName + " " + kCaptionTail));
    setFixedSize(tkvTwips::ToPixels(kClientWidth, this), tkvTwips::ToPixels(kClientHeight, this));

    for (const std::string& address : addresses_) {
        auto* item = new QListWidgetItem(tkvQtString::ToQt(address), ui_->lstSepaAddress);
        item->setToolTip(item->text());
    }
    ui_->lblSepaAddressCount->setText(QString::number(ui_->lstSepaAddress->count()) +
                                      QStringLiteral(" 個"));
    // A choice of the user, not the focus, which makes the first entry current unchosen.
    connect(ui_->lstSepaAddress, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = ui_->lstSepaAddress->selectedItems();
        if (!chosen.isEmpty()) {
            lstSepaAddress_Click(ui_->lstSepaAddress->row(chosen.front()));
        }
    });
    connect(ui_->cmEnd, &QPushButton::clicked, this, &QDialog::accept);

    // The address label is shortened to its width, which the layout gives it.
    ensurePolished();
    layout()->activate();
    ShowDividoraDetail();
}

KPXUIDividoraDetail::~KPXUIDividoraDetail() = default;

void KPXUIDividoraDetail::SetIndexToWatch(int32_t agValue) {
    indexToWatch_ = agValue;
    ShowDividoraDetail();
}

void KPXUIDividoraDetail::Show() {
    KPXUIWindowFrame::CenterOverOwner(*this, parentWidget());
    tkvModal::Exec(*this);
}

void KPXUIDividoraDetail::lstSepaAddress_Click(int agRow) {
    indexToWatch_ = agRow;
    ShowDividoraDetail();
}

void KPXUIDividoraDetail::ShowDividoraDetail() {
    if (busy_) {
        return;
    }
    busy_ = true;
    const bool listed =
        indexToWatch_ >= 0 && indexToWatch_ < static_cast<int32_t>(addresses_.size());
    ui_->lstSepaAddress->setCurrentRow(listed ? indexToWatch_ : -1);
    if (!listed) {
        ui_->lstSepaAddress->clearSelection();
        ui_->lblSepaAddress->clear();
        ui_->lblSepaAddress->setToolTip({});
        ShowNotRead();
        busy_ = false;
        return;
    }
    const std::string& address = addresses_[static_cast<size_t>(indexToWatch_)];
    KPXUIAddressLabel::SetAddress(*ui_->lblSepaAddress, address);

    // No job is attached to the control, so the piece's length is not compared with its
    // header: the window shows what the header says.
    KPXDividoraData record;
    record.SetFileAddress(address);
    KPXSepaCtrl sepaCtrl;
    bool read = false;
    try {
        read = sepaCtrl.ReadHeader(record);
    } catch (const std::exception&) {
        // A window's handler must not let an exception into the event loop: the entry is
        // shown as unreadable like any other failure.
        read = false;
    }
    if (read) {
        ui_->lblSepaSpecID->setText(QString::number(record.SpecID()));
        ui_->lblSepaCount->setText(QString::number(record.Count()));
        ui_->lblSepaTurnID->setText(QString::number(record.TurnID()));
        ui_->lblSepaDate->setText(
            tkvQtString::ToQt(tkvDateTime::GeneralDateText(record.SepaDate())));
        const QString fileName = tkvQtString::ToQt(record.FileName());
        const QFontMetrics metrics(ui_->lblFileName->font());
        ui_->lblFileName->setText(metrics.elidedText(fileName, Qt::ElideMiddle,
                                                     ui_->lblFileName->contentsRect().width()));
        ui_->lblFileName->setToolTip(fileName);
        ui_->lblSepaDataSize->setText(
            tkvQtString::ToQt(tkvFormat::FormatByteSize(record.FileSize())));
    } else {
        ShowNotRead();
    }
    busy_ = false;
}

void KPXUIDividoraDetail::ShowNotRead() {
    const QString notRead = QString::fromUtf8(kNotReadText);
    for (QLabel* label : {ui_->lblSepaSpecID, ui_->lblSepaCount, ui_->lblSepaTurnID,
                          ui_->lblSepaDate, ui_->lblFileName, ui_->lblSepaDataSize}) {
        label->setText(notRead);
        label->setToolTip({});
    }
}
