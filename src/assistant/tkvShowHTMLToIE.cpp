#include "tkvShowHTMLToIE.h"

#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"
#include "tkvStringControl.h"
#include "tkvTemporaryFile.h"
#include "tkvWebBrowser.h"

namespace {

constexpr const char* kExtension = ".html";

}  // namespace

tkvShowHTMLToIE::~tkvShowHTMLToIE() { DeletePageFile(); }

void tkvShowHTMLToIE::SetHTML(const std::string& agHTML) {
    if (agHTML != html_) {
        html_ = agHTML;
        htmlChanged_ = true;
    }
}

void tkvShowHTMLToIE::DeletePageFile() {
    if (addressCreated_ && tkvFileString::GetPathKind(address_) == tkvFileString::kFile) {
        tkvFileString::DeleteFile(address_);
    }
    addressCreated_ = false;
    address_.clear();
}

bool tkvShowHTMLToIE::CreateAddress() {
    DeletePageFile();
    if (addressToBaseOn_.empty()) {
        addressToBaseOn_ = tkvTemporaryFile::TemporaryFolder();
    }
    if (tkvFileString::GetPathKind(addressToBaseOn_) != tkvFileString::kFolder ||
        !tkvFileString::IsPlainFileName(prefix_ + "x")) {
        return false;
    }
    // Another user can neither guess, replace nor read the page.
    if (!tkvTemporaryFile::CreateUniqueFile(addressToBaseOn_, prefix_, kExtension, address_)) {
        address_.clear();
        return false;
    }
    addressCreated_ = true;
    return true;
}

bool tkvShowHTMLToIE::Flash() {
    if (!addressCreated_ || !htmlChanged_) {
        return false;
    }
    tkvFileRWCtrl file;
    file.SetFileAddress(address_);
    file.SetFileAccess(tkvFileRWCtrl::kWriteOnly);
    if (!file.OpenForBinary()) {
        return false;
    }
    try {
        const std::string bytes = tkvStringControl::ToCodePageWithReferences(html_);
        file.WriteBlock(bytes.data(), static_cast<int64_t>(bytes.size()));
        file.SetEndOfFile();
    } catch (const tkvFileError&) {
        return false;
    }
    htmlChanged_ = false;
    return true;
}

bool tkvShowHTMLToIE::Show() {
    if (webBrowser_ == nullptr) {
        return false;
    }
    if (!addressCreated_ && !CreateAddress()) {
        return false;
    }
    if (htmlChanged_ && !Flash()) {
        return false;
    }
    webBrowser_->Navigate(address_);
    return true;
}
