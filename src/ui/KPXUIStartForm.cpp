#include "KPXUIStartForm.h"

#include <QCloseEvent>
#include <QFont>
#include <QPalette>
#include <QShowEvent>

#include "DividoraVersion.h"
#include "KPXUIResources.h"
#include "KPXUIWindowFrame.h"
#include "tkvTwips.h"
#include "ui_KPXUIStartForm.h"

namespace {

// The client area, in twips.
constexpr int32_t kClientWidth = 4575;
constexpr int32_t kClientHeight = 3135;
// The picture's side at 96 dots per inch.
constexpr int kPictureSize = 112;

// The splash's own colours, whatever the desktop's theme: white, dark text, the frame in the
// pictures' blue.
const QColor kBackColor(0xFF, 0xFF, 0xFF);
const QColor kTextColor(0x1F, 0x29, 0x33);
const QColor kQuietTextColor(0x5B, 0x67, 0x73);
const QColor kBorderColor(0x1E, 0x4E, 0x8C);

void SetColor(QWidget& agWidget, QPalette::ColorRole agRole, const QColor& agColor) {
    QPalette palette = agWidget.palette();
    palette.setColor(agRole, agColor);
    agWidget.setPalette(palette);
}

void ScaleFont(QWidget& agWidget, double agFactor, bool agBold) {
    QFont font = agWidget.font();
    font.setPointSizeF(font.pointSizeF() * agFactor);
    font.setBold(agBold);
    agWidget.setFont(font);
}

}  // namespace

KPXUIStartForm::KPXUIStartForm() : ui_(std::make_unique<Ui::KPXUIStartForm>()) {
    ui_->setupUi(this);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setWindowTitle(QString::fromUtf8(DividoraVersion::kProduct));
    setAutoFillBackground(true);
    SetColor(*this, QPalette::Window, kBackColor);
    SetColor(*this, QPalette::WindowText, kTextColor);
    for (QWidget* line : {ui_->linBorder_0, ui_->linBorder_1, ui_->linBorder_2, ui_->linBorder_3}) {
        SetColor(*line, QPalette::WindowText, kBorderColor);
    }

    ui_->lblApplicationName->setText(QStringLiteral("%1 %2.%3")
                                         .arg(QString::fromUtf8(DividoraVersion::kProduct))
                                         .arg(DividoraVersion::kMajor)
                                         .arg(DividoraVersion::kMinor));
    ui_->lblCopyright->setText(QString::fromUtf8(DividoraVersion::kCopyright));
    ui_->lblDetail->setText(QString::fromUtf8(kDetailCaption) +
                            QStringLiteral("%1.%2.%3")
                                .arg(DividoraVersion::kMajor)
                                .arg(DividoraVersion::kMinor)
                                .arg(DividoraVersion::kRevision));
    ui_->imgAppPic->SetPicture(QString::fromUtf8(KPXUIResources::kApplicationPicture));
    // A little under the picture's own size leaves the name its room beside it.
    ui_->imgAppPic->SetDesignSize(QSize(kPictureSize, kPictureSize));
    ScaleFont(*ui_->lblApplicationName, 1.6, true);
    ScaleFont(*ui_->lblCopyright, 0.9, false);
    SetColor(*ui_->lblCopyright, QPalette::WindowText, kQuietTextColor);
    SetColor(*ui_->lblDetail, QPalette::WindowText, kQuietTextColor);

    setFixedSize(tkvTwips::ToPixels(kClientWidth, this), tkvTwips::ToPixels(kClientHeight, this));
    KPXUIWindowFrame::CenterOnScreen(*this);
}

KPXUIStartForm::~KPXUIStartForm() = default;

void KPXUIStartForm::showEvent(QShowEvent* agEvent) {
    running_ = true;
    QWidget::showEvent(agEvent);
}

void KPXUIStartForm::closeEvent(QCloseEvent* agEvent) {
    running_ = false;
    QWidget::closeEvent(agEvent);
}
