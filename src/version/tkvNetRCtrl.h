#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tkvTypedReader.h"

// A sequential reader of one HTTP resource with typed little-endian reads, in the manner of
// tkvFileRWCtrl. OpenURL fetches the whole body with a plain GET (http and https only, also
// after redirects; no cache; bounded time and size); the reads then walk through that body.
// No operation raises for a network failure: every one answers false.
class tkvNetRCtrl : public tkvTypedReader<tkvNetRCtrl> {
public:
    // OpenInternetFlag values: the system's proxy settings (libcurl's proxy variables), or none.
    static constexpr int32_t kPreconfigured = 0;
    static constexpr int32_t kDirect = 1;

    // The largest body OpenURL accepts; anything longer fails the request.
    static constexpr int64_t kBodyLimit = 64 * 1024;

    static constexpr int32_t kDefaultConnectTimeout = 10000;  // milliseconds
    static constexpr int32_t kDefaultRequestTimeout = 30000;  // milliseconds, the whole request

    tkvNetRCtrl();
    // Closes the request, then the session.
    ~tkvNetRCtrl();
    tkvNetRCtrl(const tkvNetRCtrl&) = delete;
    tkvNetRCtrl& operator=(const tkvNetRCtrl&) = delete;

    // Opens a session (closing an open one) with AgentName and OpenInternetFlag. Does nothing and
    // answers false while InternetHandleReference is set, or for an unknown flag.
    bool OpenInternet();
    // True when a session was open and is closed.
    bool CloseInternet();
    // Closes an open request, then fetches Address on this object's session, or on the
    // referenced object's one. True when a 2xx answer's whole body (at most kBodyLimit bytes)
    // arrived in time.
    bool OpenURL();
    // Clears IsLastData and drops the fetched body; true when a request was open.
    bool CloseURL();
    // Closes an open request and opens agBody in its place, as if OpenURL had fetched it: for
    // a body that arrived by other means.
    void OpenData(std::string agBody);

    // Opaque identities of the open session and request; none while closed.
    const void* InternetHandle() const { return session_.get(); }
    const void* URLHandle() const { return body_.get(); }

    // Sent as the User-Agent; the application's title at first. Takes effect at OpenInternet.
    const std::string& AgentName() const { return agentName_; }
    void SetAgentName(const std::string& agValue) { agentName_ = agValue; }
    int32_t OpenInternetFlag() const { return openInternetFlag_; }
    void SetOpenInternetFlag(int32_t agValue) { openInternetFlag_ = agValue; }
    const std::string& Address() const { return address_; }
    void SetAddress(const std::string& agValue) { address_ = agValue; }
    // Kept for callers of the former request flags; every request already bypasses caches.
    int32_t OpenURLFlag() const { return openURLFlag_; }
    void SetOpenURLFlag(int32_t agValue) { openURLFlag_ = agValue; }
    // Another reader whose session this one's requests use; none for its own.
    std::shared_ptr<tkvNetRCtrl> InternetHandleReference() const { return reference_; }
    void SetInternetHandleReference(std::shared_ptr<tkvNetRCtrl> agValue) {
        reference_ = std::move(agValue);
    }

    // Not owned. When it turns true, a request on its way ends within about a second and
    // OpenURL answers false; one that is true already starts no request. None: only the time
    // limits end a request.
    const std::atomic<bool>* AbortFlag() const { return abortFlag_; }
    void SetAbortFlag(const std::atomic<bool>* agValue) { abortFlag_ = agValue; }

    // Limits of the next request, in milliseconds.
    int32_t ConnectTimeout() const { return connectTimeout_; }
    // Values below 1 are ignored: a request always has its limits.
    void SetConnectTimeout(int32_t agValue);
    int32_t RequestTimeout() const { return requestTimeout_; }
    void SetRequestTimeout(int32_t agValue);

    // Bytes delivered by the last read.
    int32_t CurrentReadByte() const { return currentReadByte_; }
    // Set when a read delivered fewer bytes than asked; cleared by CloseURL.
    bool IsLastData() const { return isLastData_; }

    // The bytes of the body not read yet; false without an open request.
    bool DataAvailable(int32_t& ouFileSize) const;

    // GetByte, GetInteger, GetLong, GetDate, GetSingle, GetDouble, GetBoolean, GetString and
    // GetStringChecking come from tkvTypedReader, on top of TakeBytes: the next agLength bytes
    // of the body. A short read consumes what is left, sets IsLastData and answers false.
    bool TakeBytes(void* ouBytes, size_t agLength);

    // Texts are agLen bytes of CP932 (the length counts bytes); false when they do not all
    // arrive or are not CP932.
    bool GetStringOnly(int32_t agLen, std::string& ouStr);
    bool GetDataString(int32_t agLen, std::string& ouStr);
    // agDataCnt raw bytes into ouData (sized agDataCnt); below 1 reads nothing and answers false.
    bool GetDataByte(int32_t agDataCnt, std::vector<uint8_t>& ouData);

private:
    struct Session;
    struct Body;

    Session* ActiveSession() const;
    // Points ouStart at the next agLength bytes of the body and moves past them; a short read
    // moves past what is left.
    bool Take(size_t agLength, const char*& ouStart);

    std::unique_ptr<Session> session_;
    std::unique_ptr<Body> body_;
    std::string agentName_;
    int32_t openInternetFlag_ = kPreconfigured;
    std::string address_;
    int32_t openURLFlag_ = 0;
    std::shared_ptr<tkvNetRCtrl> reference_;
    int32_t connectTimeout_ = kDefaultConnectTimeout;
    int32_t requestTimeout_ = kDefaultRequestTimeout;
    const std::atomic<bool>* abortFlag_ = nullptr;
    int32_t currentReadByte_ = 0;
    bool isLastData_ = false;
};
