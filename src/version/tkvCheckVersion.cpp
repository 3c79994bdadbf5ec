#include "tkvCheckVersion.h"

#include <tuple>
#include <utility>
#include <vector>

bool tkvCheckVersion::Check() {
    isUpDated_ = false;
    std::string bytes;
    return FetchVersionFile(address_, connectTimeout_, requestTimeout_, bytes) &&
           CheckVersionFile(std::move(bytes));
}

bool tkvCheckVersion::FetchVersionFile(const std::string& agAddress, int32_t agConnectTimeout,
                                       int32_t agRequestTimeout, std::string& ouBytes,
                                       const std::atomic<bool>* agAbort) {
    tkvNetRCtrl reader;
    reader.SetOpenInternetFlag(tkvNetRCtrl::kPreconfigured);
    reader.SetAbortFlag(agAbort);
    reader.SetConnectTimeout(agConnectTimeout);
    reader.SetRequestTimeout(agRequestTimeout);
    if (!reader.OpenInternet()) {
        return false;
    }
    reader.SetAddress(agAddress);
    int32_t length = 0;
    if (!reader.OpenURL() || !reader.DataAvailable(length)) {
        return false;
    }
    std::vector<uint8_t> body;
    if (length > 0 && !reader.GetDataByte(length, body)) {
        return false;
    }
    ouBytes.assign(body.begin(), body.end());
    return true;
}

bool tkvCheckVersion::CheckVersionFile(std::string agBytes) {
    isUpDated_ = false;
    tkvNetRCtrl reader;
    reader.OpenData(std::move(agBytes));
    return CheckOpened(reader);
}

bool tkvCheckVersion::CheckOpened(tkvNetRCtrl& agReader) {
    std::string magic;
    if (!agReader.GetStringChecking(kTextLimit, magic) || magic != kMagicText ||
        !agReader.GetStringChecking(kTextLimit, serverProductName_) ||
        !agReader.GetLong(serverMajor_) || !agReader.GetLong(serverMinor_) ||
        !agReader.GetLong(serverRevision_) || !agReader.GetDate(serverUpdatedTime_) ||
        serverProductName_ != clientProductName_) {
        return false;
    }
    // Compared as one number: 1.1.0 is older than 2.0.5 although its minor part is greater.
    isUpDated_ = std::tie(serverMajor_, serverMinor_, serverRevision_) >
                 std::tie(clientMajor_, clientMinor_, clientRevision_);
    return true;
}
