#include "tkvQtString.h"

namespace tkvQtString {

QString ToQt(const std::string& agText) { return QString::fromStdString(agText); }

std::string FromQt(const QString& agText) { return agText.toStdString(); }

}  // namespace tkvQtString
