#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "tkvDateTime.h"
#include "tkvNetRCtrl.h"

// Asks the maker's web server whether a newer version of the running program is published, by
// reading the version file at Address. The file, little-endian, no padding:
//
//   magic text      32-bit byte length (0 to 1024), then CP932 bytes: "Tarno.K.V. Version File"
//   product name    32-bit byte length (0 to 1024), then CP932 bytes
//   major, minor, revision   32-bit each
//   release time    8-byte date
//
// Bytes after the release time are not read.
class tkvCheckVersion {
public:
    static constexpr const char* kMagicText = "Tarno.K.V. Version File";
    // The longest text the file may hold, in bytes; a longer length marks a foreign file.
    static constexpr int32_t kTextLimit = 1024;

    const std::string& Address() const { return address_; }
    void SetAddress(const std::string& agValue) { address_ = agValue; }
    const std::string& ClientProductName() const { return clientProductName_; }
    void SetClientProductName(const std::string& agValue) { clientProductName_ = agValue; }
    int32_t ClientMajor() const { return clientMajor_; }
    void SetClientMajor(int32_t agValue) { clientMajor_ = agValue; }
    int32_t ClientMinor() const { return clientMinor_; }
    void SetClientMinor(int32_t agValue) { clientMinor_ = agValue; }
    int32_t ClientRevision() const { return clientRevision_; }
    void SetClientRevision(int32_t agValue) { clientRevision_ = agValue; }

    // Read from the version file; values read before a failure stay.
    const std::string& ServerProductName() const { return serverProductName_; }
    int32_t ServerMajor() const { return serverMajor_; }
    int32_t ServerMinor() const { return serverMinor_; }
    int32_t ServerRevision() const { return serverRevision_; }
    double ServerUpdatedTime() const { return serverUpdatedTime_; }
    // The last successful check found a newer version.
    bool IsUpDated() const { return isUpDated_; }

    // Limits of the request, in milliseconds (see tkvNetRCtrl).
    int32_t ConnectTimeout() const { return connectTimeout_; }
    void SetConnectTimeout(int32_t agValue) { connectTimeout_ = agValue; }
    int32_t RequestTimeout() const { return requestTimeout_; }
    void SetRequestTimeout(int32_t agValue) { requestTimeout_ = agValue; }

    // Fetches and reads the version file. True when it was read whole and names the client's
    // product; only then is IsUpDated meaningful. A newer version is one whose (major, minor,
    // revision) is greater in that order. Nothing is reported beyond the answer.
    bool Check();
    // As Check, on the bytes of a version file at hand instead of the one at Address.
    bool CheckVersionFile(std::string agBytes);

    // The network half of Check: the bytes of the version file at agAddress. It touches no
    // object, so it may run on another thread than the one that uses the check. Setting
    // *agAbort from another thread ends it early, failing.
    static bool FetchVersionFile(const std::string& agAddress, int32_t agConnectTimeout,
                                 int32_t agRequestTimeout, std::string& ouBytes,
                                 const std::atomic<bool>* agAbort = nullptr);

private:
    // Reads the version file from an opened request and compares it with the client.
    bool CheckOpened(tkvNetRCtrl& agReader);

    std::string address_;
    std::string clientProductName_;
    int32_t clientMajor_ = 0;
    int32_t clientMinor_ = 0;
    int32_t clientRevision_ = 0;
    std::string serverProductName_;
    int32_t serverMajor_ = 0;
    int32_t serverMinor_ = 0;
    int32_t serverRevision_ = 0;
    double serverUpdatedTime_ = tkvDateTime::kZeroDate;
    bool isUpDated_ = false;
    int32_t connectTimeout_ = tkvNetRCtrl::kDefaultConnectTimeout;
    int32_t requestTimeout_ = tkvNetRCtrl::kDefaultRequestTimeout;
};
