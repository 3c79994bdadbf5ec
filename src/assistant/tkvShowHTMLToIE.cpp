#include "tkvShowHTMLToIE.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"
#include "tkvStringControl.h"
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
        std::error_code error;
        const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
        if (error) {
            return false;
        }
        addressToBaseOn_ = temporary.string();
    }
    if (tkvFileString::GetPathKind(addressToBaseOn_) != tkvFileString::kFolder ||
        !tkvFileString::IsPlainFileName(prefix_ + "x")) {
        return false;
    }
    std::string pattern =
        tkvFileString::JoinFolderAndName(addressToBaseOn_, prefix_ + "XXXXXX" + kExtension);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // Exclusive creation, mode 0600: another user can neither guess, replace nor read the page.
    const int descriptor =
        ::mkstemps(name.data(), static_cast<int>(std::char_traits<char>::length(kExtension)));
    if (descriptor == -1) {
        return false;
    }
    ::close(descriptor);
    address_ = name.data();
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
