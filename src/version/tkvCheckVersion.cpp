#include "tkvCheckVersion.h"

#include <tuple>
#include <utility>

bool tkvCheckVersion::Check() {
    isUpDated_ = false;
    tkvNetRCtrl reader;
    reader.SetOpenInternetFlag(tkvNetRCtrl::kPreconfigured);
    reader.SetConnectTimeout(connectTimeout_);
    reader.SetRequestTimeout(requestTimeout_);
    if (!reader.OpenInternet()) {
        return false;
    }
    reader.SetAddress(address_);
    return reader.OpenURL() && CheckOpened(reader);
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
