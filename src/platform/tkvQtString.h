#pragma once

#include <QString>
#include <string>

// The core's texts and addresses are UTF-8; Qt's are QString.
namespace tkvQtString {

QString ToQt(const std::string& agText);
std::string FromQt(const QString& agText);

}  // namespace tkvQtString
