#include "tkvTextBrowserView.h"

#include <QFile>
#include <QStringDecoder>

#include "tkvNetAccess.h"
#include "tkvQtString.h"

tkvTextBrowserView::tkvTextBrowserView(QWidget* agParent) : QTextBrowser(agParent) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [](const QUrl& agUrl) {
        // The pages link to their own file by its bare path.
        tkvNetAccess::OpenWithShell(tkvQtString::FromQt(
            agUrl.isLocalFile() || agUrl.scheme().isEmpty() ? agUrl.path() : agUrl.toString()));
    });
}

void tkvTextBrowserView::Navigate(const std::string& agAddress) {
    address_ = agAddress;
    QFile file(tkvQtString::ToQt(agAddress));
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return;
    }
    QStringDecoder decoder("windows-31j");
    setHtml(decoder.decode(file.readAll()));
}
