#pragma once

#include <QTextBrowser>
#include <string>

#include "tkvWebBrowser.h"

class QUrl;

// The embedded view of the result pages: it reads the page file's bytes, decodes them as the
// page declares (Shift-JIS, with Windows' extensions), and shows them with a style of its own
// (the file keeps its bytes). Links are not followed in the view: a click opens the address in
// the desktop's browser, and the page's own link opens the page file.
class tkvTextBrowserView : public QTextBrowser, public tkvWebBrowser {
    Q_OBJECT

public:
    explicit tkvTextBrowserView(QWidget* agParent = nullptr);

    // A file that cannot be read leaves the view empty.
    void Navigate(const std::string& agAddress) override;
    // The page shown last; empty before the first.
    const std::string& Address() const { return address_; }

private:
    // The file or web address a click on agUrl opens.
    std::string AddressToOpen(const QUrl& agUrl) const;
    // The pages' look in this view, sized to the view's fonts.
    QString PageStyleSheet() const;

    std::string address_;
};
