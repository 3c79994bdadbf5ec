#include "tkvFileRWCtrl.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "tkvFileError.h"
#include "tkvFileString.h"
#include "tkvLittleEndian.h"
#include "tkvStringControl.h"

namespace {

// A stored length is trusted only as far as the bytes really arrive: texts are read in chunks
// so a damaged length cannot make the reader allocate gigabytes.
constexpr size_t kTextChunk = 64 * 1024;

}  // namespace

tkvFileRWCtrl::~tkvFileRWCtrl() { CloseFile(); }

void tkvFileRWCtrl::SetFileAddress(const std::string& agFileAddress) {
    if (handle_ == -1) {
        fileAddress_ = agFileAddress;
    }
}

bool tkvFileRWCtrl::OpenForBinary() { return Open(false); }

bool tkvFileRWCtrl::OpenForBinaryClearing() {
    CloseFile();
    struct stat info {};
    if (::lstat(fileAddress_.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
        if (!tkvFileString::DeleteFileForce(fileAddress_)) {
            return false;
        }
    }
    return Open(true);
}

bool tkvFileRWCtrl::Open(bool agExclusive) {
    CloseFile();
    if (fileLock_ < 0 || fileLock_ > 3) {
        return false;
    }
    int flags = O_CLOEXEC | O_NONBLOCK;  // O_NONBLOCK: never hang on a pipe at the path
    switch (fileAccess_) {
        case kReadWrite:
            flags |= O_RDWR | O_CREAT;
            break;
        case kReadOnly:
            flags |= O_RDONLY;
            break;
        case kWriteOnly:
            flags |= O_WRONLY | O_CREAT;
            break;
        default:
            return false;
    }
    if (agExclusive) {
        flags |= O_CREAT | O_EXCL;
    }
    const int fd = ::open(fileAddress_.c_str(), flags, 0666);
    if (fd == -1) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    handle_ = fd;
    position_ = 0;
    return true;
}

void tkvFileRWCtrl::CloseFile() {
    if (handle_ != -1) {
        ::close(handle_);
        handle_ = -1;
    }
}

void tkvFileRWCtrl::FinishWriting() {
    RequireOpen("finishing");
    const int fd = handle_;
    handle_ = -1;
    const bool synced = ::fdatasync(fd) == 0;
    const int syncError = errno;
    if (::close(fd) != 0) {
        throw tkvFileError("closing " + fileAddress_, errno);
    }
    if (!synced) {
        throw tkvFileError("writing " + fileAddress_ + " to the disk", syncError);
    }
}

void tkvFileRWCtrl::RequireOpen(const char* agWhat) const {
    if (handle_ == -1) {
        throw tkvFileError(std::string(agWhat) + " without an open file", EBADF);
    }
}

void tkvFileRWCtrl::SetCurrentPoint(int64_t agPoint) {
    if (agPoint < 1) {
        throw tkvFileError("position " + std::to_string(agPoint) + " before the first byte",
                           EINVAL);
    }
    position_ = agPoint - 1;
}

int64_t tkvFileRWCtrl::FileLength() const {
    RequireOpen("asking the length");
    struct stat info {};
    if (::fstat(handle_, &info) != 0) {
        throw tkvFileError("asking the length of " + fileAddress_, errno);
    }
    return static_cast<int64_t>(info.st_size);
}

tkvFileString::FileIdentity tkvFileRWCtrl::Identity() const {
    RequireOpen("asking which file");
    struct stat info {};
    if (::fstat(handle_, &info) != 0) {
        throw tkvFileError("asking which file " + fileAddress_ + " is", errno);
    }
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

int64_t tkvFileRWCtrl::ReadBlock(void* ouBuffer, int64_t agLength) {
    RequireOpen("reading");
    auto* out = static_cast<char*>(ouBuffer);
    int64_t done = 0;
    while (done < agLength) {
        const ssize_t n = ::pread(handle_, out + done, static_cast<size_t>(agLength - done),
                                  static_cast<off_t>(position_));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw tkvFileError("reading " + fileAddress_, errno);
        }
        if (n == 0) {
            break;
        }
        done += n;
        position_ += n;
    }
    return done;
}

void tkvFileRWCtrl::WriteBlock(const void* agBuffer, int64_t agLength) {
    RequireOpen("writing");
    const auto* in = static_cast<const char*>(agBuffer);
    int64_t done = 0;
    while (done < agLength) {
        const ssize_t n = ::pwrite(handle_, in + done, static_cast<size_t>(agLength - done),
                                   static_cast<off_t>(position_));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw tkvFileError("writing " + fileAddress_, errno);
        }
        done += n;
        position_ += n;
    }
}

void tkvFileRWCtrl::SetEndOfFile() {
    RequireOpen("cutting off");
    if (::ftruncate(handle_, static_cast<off_t>(position_)) != 0) {
        throw tkvFileError("cutting off " + fileAddress_, errno);
    }
}

bool tkvFileRWCtrl::ReadExact(void* ouBuffer, size_t agLength) {
    return ReadBlock(ouBuffer, static_cast<int64_t>(agLength)) == static_cast<int64_t>(agLength);
}

void tkvFileRWCtrl::WriteAll(const void* agBuffer, size_t agLength) {
    WriteBlock(agBuffer, static_cast<int64_t>(agLength));
}

template <typename T>
bool tkvFileRWCtrl::Get(T& ouValue) {
    unsigned char bytes[sizeof(T)];
    if (!ReadExact(bytes, sizeof bytes)) {
        return false;
    }
    ouValue = tkvLittleEndian::Decode<T>(bytes);
    return true;
}

template <typename T>
bool tkvFileRWCtrl::Set(T agValue) {
    unsigned char bytes[sizeof(T)];
    tkvLittleEndian::Encode(agValue, bytes);
    WriteAll(bytes, sizeof bytes);
    return true;
}

bool tkvFileRWCtrl::GetByte(uint8_t& ouValue) { return Get(ouValue); }
bool tkvFileRWCtrl::GetInteger(int16_t& ouValue) { return Get(ouValue); }
bool tkvFileRWCtrl::GetLong(int32_t& ouValue) { return Get(ouValue); }
bool tkvFileRWCtrl::GetSingle(float& ouValue) { return Get(ouValue); }
bool tkvFileRWCtrl::GetDouble(double& ouValue) { return Get(ouValue); }
bool tkvFileRWCtrl::GetDate(double& ouValue) { return Get(ouValue); }

bool tkvFileRWCtrl::GetBoolean(bool& ouValue) {
    int16_t stored = 0;
    if (!Get(stored)) {
        return false;
    }
    ouValue = stored != tkvLittleEndian::kFalse;
    return true;
}

bool tkvFileRWCtrl::SetByte(uint8_t agValue) { return Set(agValue); }
bool tkvFileRWCtrl::SetInteger(int16_t agValue) { return Set(agValue); }
bool tkvFileRWCtrl::SetLong(int32_t agValue) { return Set(agValue); }
bool tkvFileRWCtrl::SetSingle(float agValue) { return Set(agValue); }
bool tkvFileRWCtrl::SetDouble(double agValue) { return Set(agValue); }
bool tkvFileRWCtrl::SetDate(double agValue) { return Set(agValue); }

bool tkvFileRWCtrl::SetBoolean(bool agValue) {
    return Set(agValue ? tkvLittleEndian::kTrue : tkvLittleEndian::kFalse);
}

bool tkvFileRWCtrl::SetString(const std::string& agText) {
    std::string bytes;
    const int64_t count = tkvStringControl::CountOfCharacters(agText);
    if (count > std::numeric_limits<int32_t>::max() ||
        !tkvStringControl::ToCodePage(agText, bytes)) {
        return false;
    }
    SetLong(static_cast<int32_t>(count));
    WriteAll(bytes.data(), bytes.size());
    return true;
}

bool tkvFileRWCtrl::SetStringOnly(const std::string& agText) {
    std::string bytes;
    if (!tkvStringControl::ToCodePage(agText, bytes)) {
        return false;
    }
    WriteAll(bytes.data(), bytes.size());
    return true;
}

bool tkvFileRWCtrl::GetStringOnly(int32_t agLength, std::string& ouText) {
    if (agLength < 0) {
        return false;
    }
    // Invariant: the bytes read but not yet scanned never outnumber the characters still to
    // find, so the reader never reads past the text.
    std::string bytes;
    size_t scan = 0;
    int64_t remaining = agLength;
    auto readMore = [&](size_t agCount) {
        const size_t old = bytes.size();
        bytes.resize(old + agCount);
        return ReadExact(bytes.data() + old, agCount);
    };
    while (remaining > 0) {
        if (scan == bytes.size() &&
            !readMore(std::min(static_cast<size_t>(remaining), kTextChunk))) {
            return false;
        }
        if (tkvStringControl::IsLeadByte(static_cast<unsigned char>(bytes[scan]))) {
            if (scan + 1 == bytes.size() && !readMore(1)) {
                return false;
            }
            scan += 2;
        } else {
            scan += 1;
        }
        --remaining;
    }
    return tkvStringControl::FromCodePage(bytes, ouText);
}

bool tkvFileRWCtrl::GetString(std::string& ouText) {
    int32_t length = 0;
    return GetLong(length) && GetStringOnly(length, ouText);
}

bool tkvFileRWCtrl::GetStringChecking(int32_t agLimit, std::string& ouText) {
    int32_t length = 0;
    if (!GetLong(length) || length < 0 || length > agLimit) {
        return false;
    }
    return GetStringOnly(length, ouText);
}
