#pragma once

#include <string>

class tkvWebBrowser;

// One HTML page shown in an embedded view through a page file of its own in the temporary
// folder. The file is created on demand, rewritten when the text changed, and deleted when the
// object ends, so whoever shows the page keeps this object as long as the page is on screen.
class tkvShowHTMLToIE {
public:
    tkvShowHTMLToIE() = default;
    ~tkvShowHTMLToIE();
    tkvShowHTMLToIE(const tkvShowHTMLToIE&) = delete;
    tkvShowHTMLToIE& operator=(const tkvShowHTMLToIE&) = delete;

    // Not owned.
    tkvWebBrowser* WebBrowser() const { return webBrowser_; }
    void SetWebBrowser(tkvWebBrowser* agWebBrowser) { webBrowser_ = agWebBrowser; }

    const std::string& HTML() const { return html_; }
    // A different text marks the page file stale; the same text changes nothing.
    void SetHTML(const std::string& agHTML);

    // The page file; empty while there is none.
    const std::string& Address() const { return address_; }
    // The folder the page file is made in; empty means the system's temporary folder.
    const std::string& AddressToBaseOn() const { return addressToBaseOn_; }
    void SetAddressToBaseOn(const std::string& agValue) { addressToBaseOn_ = agValue; }
    // The first letters of the page file's name.
    const std::string& Prefix() const { return prefix_; }
    void SetPrefix(const std::string& agValue) { prefix_ = agValue; }

    bool AddressCreated() const { return addressCreated_; }
    bool HTMLChanged() const { return htmlChanged_; }

    // Replaces the page file with a new, empty one: created exclusively, readable by its owner
    // only, under a name nobody can guess ("tkv", random letters, ".html").
    bool CreateAddress();
    // Writes the text into the page file when it changed, in CP932 as the page declares; a
    // character CP932 cannot carry becomes a numeric character reference.
    bool Flash();
    // Shows the page in WebBrowser, creating and writing the file as needed.
    bool Show();

private:
    void DeletePageFile();

    tkvWebBrowser* webBrowser_ = nullptr;
    std::string html_;
    std::string address_;
    std::string addressToBaseOn_;
    std::string prefix_ = "tkv";
    bool addressCreated_ = false;
    bool htmlChanged_ = true;
};
