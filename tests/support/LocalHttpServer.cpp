#include "LocalHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace {

int ListenOnLoopback(uint16_t& ouPort) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd == -1) {
        throw std::runtime_error("LocalHttpServer: no socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("LocalHttpServer: cannot listen on 127.0.0.1");
    }
    ouPort = ntohs(address.sin_port);
    return fd;
}

void SendAll(int agClient, const std::string& agBytes) {
    size_t sent = 0;
    while (sent < agBytes.size()) {
        const ssize_t n =
            ::send(agClient, agBytes.data() + sent, agBytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;  // the client went away
        }
        sent += static_cast<size_t>(n);
    }
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
    listener_ = ListenOnLoopback(port_);
    if (::pipe2(wake_, O_CLOEXEC) != 0) {
        ::close(listener_);
        throw std::runtime_error("LocalHttpServer: no pipe");
    }
    thread_ = std::thread(&LocalHttpServer::Run, this);
}

LocalHttpServer::~LocalHttpServer() {
    const char stop = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake_[1], &stop, 1);
    thread_.join();
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

std::string LocalHttpServer::Url(const std::string& agPath) const {
    return "http://127.0.0.1:" + std::to_string(port_) + agPath;
}

void LocalHttpServer::ServeBody(std::string agBody, bool agWithLength) {
    std::lock_guard lock(mutex_);
    mode_ = Mode::kBody;
    payload_ = std::move(agBody);
    withLength_ = agWithLength;
}

void LocalHttpServer::AnswerNotFound() {
    std::lock_guard lock(mutex_);
    mode_ = Mode::kNotFound;
}

void LocalHttpServer::Redirect(std::string agLocation) {
    std::lock_guard lock(mutex_);
    mode_ = Mode::kRedirect;
    payload_ = std::move(agLocation);
}

void LocalHttpServer::NeverAnswer() {
    std::lock_guard lock(mutex_);
    mode_ = Mode::kSilent;
}

void LocalHttpServer::SendEndlessBody() {
    std::lock_guard lock(mutex_);
    mode_ = Mode::kEndless;
}

std::string LocalHttpServer::LastRequest() const {
    std::lock_guard lock(mutex_);
    return lastRequest_;
}

int32_t LocalHttpServer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requestCount_;
}

int32_t LocalHttpServer::ConnectionCount() const {
    std::lock_guard lock(mutex_);
    return connectionCount_;
}

bool LocalHttpServer::WaitFor(int agClient, bool agForWriting) const {
    pollfd fds[2] = {{agClient, static_cast<short>(agForWriting ? POLLOUT : POLLIN), 0},
                     {wake_[0], POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return (fds[1].revents & POLLIN) == 0;
}

void LocalHttpServer::Run() {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    for (;;) {
        fds[0].revents = fds[1].revents = 0;
        if (::poll(fds, 2, -1) < 0) {
            continue;
        }
        if (fds[1].revents & POLLIN) {
            return;
        }
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client != -1) {
            {
                std::lock_guard lock(mutex_);
                ++connectionCount_;
            }
            Answer(client);
            ::close(client);
        }
    }
}

void LocalHttpServer::Answer(int agClient) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        if (!WaitFor(agClient, false)) {
            return;
        }
        const ssize_t n = ::recv(agClient, buffer, sizeof buffer, 0);
        if (n <= 0) {
            return;
        }
        request.append(buffer, static_cast<size_t>(n));
    }
    Mode mode;
    std::string payload;
    bool withLength;
    {
        std::lock_guard lock(mutex_);
        lastRequest_ = request;
        ++requestCount_;
        mode = mode_;
        payload = payload_;
        withLength = withLength_;
    }
    switch (mode) {
        case Mode::kBody: {
            std::string head = "HTTP/1.1 200 OK\r\nConnection: close\r\n";
            if (withLength) {
                head += "Content-Length: " + std::to_string(payload.size()) + "\r\n";
            }
            SendAll(agClient, head + "\r\n" + payload);
            break;
        }
        case Mode::kNotFound:
            SendAll(agClient,
                    "HTTP/1.1 404 Not Found\r\nConnection: close\r\nContent-Length: 9\r\n\r\n"
                    "not found");
            break;
        case Mode::kRedirect:
            SendAll(agClient, "HTTP/1.1 302 Found\r\nConnection: close\r\nLocation: " + payload +
                                  "\r\nContent-Length: 0\r\n\r\n");
            break;
        case Mode::kSilent:
            // Until the client gives up and closes, or the server stops.
            while (WaitFor(agClient, false) && ::recv(agClient, buffer, sizeof buffer, 0) > 0) {
            }
            break;
        case Mode::kEndless: {
            SendAll(agClient, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            const std::string chunk(16384, 'x');
            while (WaitFor(agClient, true) &&
                   ::send(agClient, chunk.data(), chunk.size(), MSG_NOSIGNAL) > 0) {
            }
            break;
        }
    }
}

uint16_t ClosedLocalPort() {
    uint16_t port = 0;
    ::close(ListenOnLoopback(port));
    return port;
}
