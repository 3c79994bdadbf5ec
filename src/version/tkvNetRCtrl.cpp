#include "tkvNetRCtrl.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>

#include "DividoraVersion.h"
#include "tkvStringControl.h"

namespace {

// Schemes a request may use, also as the target of a redirect: never file, ftp, smb and the
// like, whatever a server answers.
constexpr const char* kSchemes = "http,https";
constexpr long kMostRedirects = 10;

bool InitializeLibrary() {
    static const bool initialized = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return initialized;
}

// Collects the body and stops the transfer at the limit: a body without a length would
// otherwise run on until the request's time is up.
size_t CollectBody(char* agData, size_t agSize, size_t agCount, void* agBody) {
    auto* body = static_cast<std::string*>(agBody);
    const size_t length = agSize * agCount;
    if (body->size() + length > static_cast<size_t>(tkvNetRCtrl::kBodyLimit)) {
        return 0;  // libcurl ends the transfer with a write error
    }
    body->append(agData, length);
    return length;
}

// Ends the transfer once its abort flag is set. libcurl calls it about once a second also while
// nothing arrives, so a server that never answers does not hold the transfer up.
int StopWhenAborted(void* agFlag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* flag = static_cast<const std::atomic<bool>*>(agFlag);
    return flag != nullptr && flag->load() ? 1 : 0;  // nonzero: CURLE_ABORTED_BY_CALLBACK
}

}  // namespace

struct tkvNetRCtrl::Session {
    CURL* Curl = nullptr;
    ~Session() { curl_easy_cleanup(Curl); }
};

struct tkvNetRCtrl::Body {
    std::string Bytes;
    size_t Position = 0;
};

tkvNetRCtrl::tkvNetRCtrl() : agentName_(DividoraVersion::kProduct) {}

tkvNetRCtrl::~tkvNetRCtrl() {
    CloseURL();
    CloseInternet();
}

bool tkvNetRCtrl::OpenInternet() {
    if (reference_ || !InitializeLibrary()) {
        return false;
    }
    CloseInternet();
    if (openInternetFlag_ != kPreconfigured && openInternetFlag_ != kDirect) {
        return false;
    }
    auto session = std::make_unique<Session>();
    session->Curl = curl_easy_init();
    if (session->Curl == nullptr ||
        curl_easy_setopt(session->Curl, CURLOPT_USERAGENT, agentName_.c_str()) != CURLE_OK) {
        return false;
    }
    if (openInternetFlag_ == kDirect &&
        curl_easy_setopt(session->Curl, CURLOPT_NOPROXY, "*") != CURLE_OK) {
        return false;
    }
    session_ = std::move(session);
    return true;
}

bool tkvNetRCtrl::CloseInternet() {
    if (!session_) {
        return false;
    }
    session_.reset();
    return true;
}

tkvNetRCtrl::Session* tkvNetRCtrl::ActiveSession() const {
    return reference_ ? reference_->session_.get() : session_.get();
}

bool tkvNetRCtrl::OpenURL() {
    CloseURL();
    Session* session = ActiveSession();
    if (session == nullptr) {
        return false;
    }
    if (abortFlag_ != nullptr && abortFlag_->load()) {
        return false;
    }
    CURL* curl = session->Curl;
    auto body = std::make_unique<Body>();
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    if (headers == nullptr) {
        return false;
    }
    const bool ready =
        curl_easy_setopt(curl, CURLOPT_URL, address_.c_str()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, kSchemes) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, kSchemes) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMostRedirects) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long{connectTimeout_}) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long{requestTimeout_}) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CollectBody) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body->Bytes) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &StopWhenAborted) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(abortFlag_)) ==
            CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L) == CURLE_OK;
    long status = 0;
    const bool fetched = ready && curl_easy_perform(curl) == CURLE_OK &&
                         curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK;
    // The session outlives this call: it must not keep pointers to what goes away now.
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, nullptr);
    curl_slist_free_all(headers);
    if (!fetched || status < 200 || status > 299) {
        return false;
    }
    body_ = std::move(body);
    return true;
}

void tkvNetRCtrl::OpenData(std::string agBody) {
    CloseURL();
    body_ = std::make_unique<Body>();
    body_->Bytes = std::move(agBody);
}

bool tkvNetRCtrl::CloseURL() {
    isLastData_ = false;
    if (!body_) {
        return false;
    }
    body_.reset();
    return true;
}

void tkvNetRCtrl::SetConnectTimeout(int32_t agValue) {
    if (agValue > 0) {
        connectTimeout_ = agValue;
    }
}

void tkvNetRCtrl::SetRequestTimeout(int32_t agValue) {
    if (agValue > 0) {
        requestTimeout_ = agValue;
    }
}

bool tkvNetRCtrl::DataAvailable(int32_t& ouFileSize) const {
    if (!body_) {
        return false;
    }
    ouFileSize = static_cast<int32_t>(body_->Bytes.size() - body_->Position);
    return true;
}

bool tkvNetRCtrl::Take(size_t agLength, const char*& ouStart) {
    currentReadByte_ = 0;
    if (!body_) {
        return false;
    }
    const size_t delivered = std::min(agLength, body_->Bytes.size() - body_->Position);
    ouStart = body_->Bytes.data() + body_->Position;
    body_->Position += delivered;
    currentReadByte_ = static_cast<int32_t>(delivered);
    if (delivered < agLength) {
        isLastData_ = true;
        return false;
    }
    return true;
}

bool tkvNetRCtrl::TakeBytes(void* ouBytes, size_t agLength) {
    const char* bytes = nullptr;
    if (!Take(agLength, bytes)) {
        return false;
    }
    std::memcpy(ouBytes, bytes, agLength);
    return true;
}

bool tkvNetRCtrl::GetStringOnly(int32_t agLen, std::string& ouStr) {
    const char* bytes = nullptr;
    if (agLen < 0 || !Take(static_cast<size_t>(agLen), bytes)) {
        return false;
    }
    return tkvStringControl::FromCodePage(std::string_view(bytes, static_cast<size_t>(agLen)),
                                          ouStr);
}

bool tkvNetRCtrl::GetDataString(int32_t agLen, std::string& ouStr) {
    return GetStringOnly(agLen, ouStr);
}

bool tkvNetRCtrl::GetDataByte(int32_t agDataCnt, std::vector<uint8_t>& ouData) {
    if (agDataCnt < 1) {
        return false;
    }
    const char* bytes = nullptr;
    const bool complete = Take(static_cast<size_t>(agDataCnt), bytes);
    ouData.assign(static_cast<size_t>(agDataCnt), 0);
    if (currentReadByte_ > 0) {
        std::memcpy(ouData.data(), bytes, static_cast<size_t>(currentReadByte_));
    }
    return complete;
}
