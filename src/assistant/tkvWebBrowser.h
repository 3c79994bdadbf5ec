#pragma once

#include <string>

// An embedded view that shows a page file by its path. The window implements it with its
// toolkit's HTML view; tests and the command-line tool with plain members.
class tkvWebBrowser {
public:
    virtual ~tkvWebBrowser() = default;
    // Shows the page at agAddress; the file stays in place while it is shown.
    virtual void Navigate(const std::string& agAddress) = 0;
};
