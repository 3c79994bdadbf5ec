#include "KPXUIAddressLabel.h"

#include <QFontMetrics>
#include <QLabel>

#include "tkvFileString.h"
#include "tkvQtString.h"

namespace KPXUIAddressLabel {

void SetAddress(QLabel& agLabel, const std::string& agAddress) {
    const QFontMetrics metrics(agLabel.font());
    const int width = agLabel.contentsRect().width();
    const auto measure = [&metrics](const std::string& agText) {
        return static_cast<int32_t>(metrics.horizontalAdvance(tkvQtString::ToQt(agText)));
    };
    const QString compact =
        tkvQtString::ToQt(tkvFileString::CompactPathToWidth(measure, agAddress, width));
    agLabel.setText(metrics.elidedText(compact, Qt::ElideMiddle, width));
    agLabel.setToolTip(tkvQtString::ToQt(agAddress));
}

}  // namespace KPXUIAddressLabel
