#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// An HTTP server on 127.0.0.1 at a port the system chooses, answering in a thread of its own
// until it is destroyed. Every request gets the answer last set, whatever its path; it answers
// 404 until told otherwise. One connection at a time, closed after each answer.
class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by agPath.
    std::string Url(const std::string& agPath = "/version.txt") const;

    // 200 with agBody; with agWithLength false the length is not announced and the end of the
    // body is the end of the connection.
    void ServeBody(std::string agBody, bool agWithLength = true);
    void AnswerNotFound();
    // 302 to agLocation.
    void Redirect(std::string agLocation);
    // Reads the request and never answers, until the client goes away.
    void NeverAnswer();
    // 200 without a length, then bytes until the client goes away.
    void SendEndlessBody();

    // The head of the last request, as received; and how many requests arrived.
    std::string LastRequest() const;
    int32_t RequestCount() const;
    // How many connections were accepted, requests or not.
    int32_t ConnectionCount() const;

private:
    enum class Mode { kBody, kNotFound, kRedirect, kSilent, kEndless };

    void Run();
    void Answer(int agClient);
    // Waits until agClient is readable (or writable with agForWriting); false when the server
    // is stopping.
    bool WaitFor(int agClient, bool agForWriting) const;

    int listener_ = -1;
    int wake_[2] = {-1, -1};  // written to stop the thread
    uint16_t port_ = 0;
    mutable std::mutex mutex_;
    Mode mode_ = Mode::kNotFound;
    std::string payload_;
    bool withLength_ = true;
    std::string lastRequest_;
    int32_t requestCount_ = 0;
    int32_t connectionCount_ = 0;
    std::thread thread_;
};

// A port on 127.0.0.1 on which nothing listens: connections to it are refused.
uint16_t ClosedLocalPort();
