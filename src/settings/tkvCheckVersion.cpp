#include "tkvCheckVersion.h"

#include <tuple>

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
    if (!reader.OpenURL() || !ReadVersionFile(reader) || serverProductName_ != clientProductName_) {
        return false;
    }
    // Compared as one number: 1.1.0 is older than 2.0.5 although its minor part is greater.
    isUpDated_ = std::tie(serverMajor_, serverMinor_, serverRevision_) >
                 std::tie(clientMajor_, clientMinor_, clientRevision_);
    return true;
}

bool tkvCheckVersion::ReadVersionFile(tkvNetRCtrl& agReader) {
    std::string magic;
    return agReader.GetStringChecking(kTextLimit, magic) && magic == kMagicText &&
           agReader.GetStringChecking(kTextLimit, serverProductName_) &&
           agReader.GetLong(serverMajor_) && agReader.GetLong(serverMinor_) &&
           agReader.GetLong(serverRevision_) && agReader.GetDate(serverUpdatedTime_);
}
