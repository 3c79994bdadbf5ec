#include "KPXUIPicture.h"

#include <QPainter>
#include <cmath>

namespace {

constexpr double kDesignDotsPerInch = 96.0;

}  // namespace

KPXUIPicture::KPXUIPicture(QWidget* agParent) : QWidget(agParent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void KPXUIPicture::SetPicture(const QString& agPicture) {
    picture_ = agPicture;
    if (agPicture.isEmpty()) {
        renderer_.load(QByteArray());
    } else {
        renderer_.load(agPicture);
    }
    renderer_.setAspectRatioMode(Qt::KeepAspectRatio);
    updateGeometry();
    update();
}

void KPXUIPicture::SetDesignSize(const QSize& agSize) {
    designSize_ = agSize;
    updateGeometry();
}

QSize KPXUIPicture::sizeHint() const {
    if (!renderer_.isValid()) {
        return {0, 0};
    }
    const double scale = logicalDpiX() / kDesignDotsPerInch;
    const QSize size = designSize_.isEmpty() ? renderer_.defaultSize() : designSize_;
    return {static_cast<int>(std::lround(size.width() * scale)),
            static_cast<int>(std::lround(size.height() * scale))};
}

void KPXUIPicture::paintEvent(QPaintEvent*) {
    if (!renderer_.isValid()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The painter works in device-independent pixels on a backing store of the widget's
    // device pixel ratio: the vector picture is rasterised at the full resolution.
    renderer_.render(&painter, QRectF(rect()));
}
