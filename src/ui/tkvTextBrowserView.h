#pragma once

#include <QTextBrowser>

#include "tkvWebBrowser.h"

// The embedded view of the result pages: it reads the page file's bytes, decodes them as the
// page declares (Shift-JIS, with Windows' extensions), and shows them. Links are not followed in
// the view: a click opens the address in the desktop's browser.
class tkvTextBrowserView : public QTextBrowser, public tkvWebBrowser {
    Q_OBJECT

public:
    explicit tkvTextBrowserView(QWidget* agParent = nullptr);

    // A file that cannot be read leaves the view empty.
    void Navigate(const std::string& agAddress) override;
    // The page shown last; empty before the first.
    const std::string& Address() const { return address_; }

private:
    std::string address_;
};
