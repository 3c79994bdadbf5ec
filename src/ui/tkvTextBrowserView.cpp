#include "tkvTextBrowserView.h"

#include <QFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>
#include <cmath>

#include "tkvNetAccess.h"
#include "tkvQtString.h"

namespace {

// The height every line in a table cell gets: that of a line of the cells' size holding both
// Japanese and Latin letters. A line of a fixed height has its baseline at four fifths of it,
// whichever font draws it, so a label drawn by a Japanese font and a value drawn by a Latin one
// sit on one baseline.
int CellLineHeight(const QFont& agFont) {
    QTextDocument probe;
    probe.setDefaultFont(agFont);
    probe.setHtml(QStringLiteral("<table><tr><td><font size=2>分割ID Ag</font></td></tr></table>"));
    probe.size();  // lays the probe out
    const QTextLayout* line = probe.find(QStringLiteral("分割ID")).block().layout();
    return static_cast<int>(std::ceil(line->lineAt(0).height()));
}

}  // namespace

tkvTextBrowserView::tkvTextBrowserView(QWidget* agParent) : QTextBrowser(agParent) {
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& agUrl) { tkvNetAccess::OpenWithShell(AddressToOpen(agUrl)); });
}

std::string tkvTextBrowserView::AddressToOpen(const QUrl& agUrl) const {
    // The page links to its own file by the bare path, which the view reads as an address: a
    // "#" or "?" in a folder's name would end the path there. The link that reads as the page's
    // address opens the page file, by its exact path.
    if (!address_.empty() && agUrl == QUrl(tkvQtString::ToQt(address_), QUrl::TolerantMode)) {
        return address_;
    }
    return tkvQtString::FromQt(agUrl.isLocalFile() || agUrl.scheme().isEmpty() ? agUrl.path()
                                                                               : agUrl.toString());
}

QString tkvTextBrowserView::PageStyleSheet() const {
    // The pages mark paths and names "nowrap", which the view does not know as an attribute:
    // without the rule a path breaks at a hyphen in the middle of a name; with it a long path
    // scrolls. A paragraph the pages put in a font element loses the indent of its block in the
    // view; the pages mean it indented like the tables beside it (the view's 40 pixels).
    return QStringLiteral(
               "div[nowrap] { white-space: nowrap; }"
               "blockquote font p { margin-left: 40px; }"
               "td { padding-right: 1em; }"
               "td, td div { -qt-line-height-type: fixed; line-height: %1px; }")
        .arg(CellLineHeight(font()));
}

void tkvTextBrowserView::Navigate(const std::string& agAddress) {
    address_ = agAddress;
    QFile file(tkvQtString::ToQt(agAddress));
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return;
    }
    QStringDecoder decoder("windows-31j");
    document()->setDefaultStyleSheet(PageStyleSheet());
    setHtml(decoder.decode(file.readAll()));
}
