#include "tkvNetAccess.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "tkvQtString.h"

namespace tkvNetAccess {

namespace {

std::function<bool(const std::string&)>& OpenHook() {
    static std::function<bool(const std::string&)> hook;
    return hook;
}

// Web addresses go to the browser as they are; anything else is a path, relative to the
// current folder, and goes out as a file: address, so that a name holding "#", "?" or "%" is
// not taken for a part of an address.
QUrl ShellUrl(const QString& agAddress) {
    if (agAddress.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
        agAddress.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive)) {
        return QUrl(agAddress, QUrl::TolerantMode);
    }
    return QUrl::fromLocalFile(QFileInfo(agAddress).absoluteFilePath());
}

}  // namespace

bool OpenWithShell(const std::string& agAddress) {
    if (OpenHook()) {
        return OpenHook()(agAddress);
    }
    if (agAddress.empty()) {
        return false;
    }
    const QUrl url = ShellUrl(tkvQtString::ToQt(agAddress));
    return url.isValid() && QDesktopServices::openUrl(url);
}

void SetOpenHook(std::function<bool(const std::string&)> agHook) { OpenHook() = std::move(agHook); }

}  // namespace tkvNetAccess
