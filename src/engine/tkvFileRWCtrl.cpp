#include "tkvFileRWCtrl.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#include "tkvDigest.h"
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
    if (handle_ == tkvFileHandle::kNoHandle) {
        fileAddress_ = agFileAddress;
    }
}

bool tkvFileRWCtrl::OpenForBinary() { return Open(false); }

bool tkvFileRWCtrl::OpenForBinaryClearing() {
    CloseFile();
    std::string what;
    // A folder cannot be deleted this way, so it fails here as it would at the open.
    if (tkvFileString::InspectTarget(fileAddress_, what) != tkvFileString::TargetState::kAbsent &&
        !tkvFileString::DeleteFileForce(fileAddress_)) {
        openFailure_ = what.empty() ? tkvFileError::SystemTextOf(errno) : what;
        return false;
    }
    return Open(true);
}

bool tkvFileRWCtrl::Open(bool agExclusive) {
    CloseFile();
    openFailure_ = tkvFileError::SystemTextOf(EINVAL);
    if (fileLock_ < 0 || fileLock_ > 3) {
        return false;
    }
    using tkvFileHandle::Access;
    Access access = Access::kReadWrite;
    switch (fileAccess_) {
        case kReadWrite:
            break;
        case kReadOnly:
            access = Access::kRead;
            break;
        case kWriteOnly:
            access = Access::kWrite;
            break;
        default:
            return false;
    }
    openFailure_.clear();
    handle_ = tkvFileHandle::Open(fileAddress_, access, access != Access::kRead, agExclusive,
                                  &openFailure_);
    position_ = 0;
    return handle_ != tkvFileHandle::kNoHandle;
}

void tkvFileRWCtrl::CloseFile() {
    if (handle_ != tkvFileHandle::kNoHandle && !stream_) {
        tkvFileHandle::Close(handle_);
    }
    handle_ = tkvFileHandle::kNoHandle;
    stream_ = false;
}

void tkvFileRWCtrl::AdoptStream(tkvFileHandle::Handle agHandle, const std::string& agName) {
    CloseFile();
    fileAddress_ = agName;
    handle_ = agHandle;
    stream_ = true;
    position_ = 0;
}

void tkvFileRWCtrl::FinishWriting() {
    RequireOpen("finishing");
    const tkvFileHandle::Handle handle = handle_;
    handle_ = tkvFileHandle::kNoHandle;
    tkvFileHandle::SyncAndClose(handle, fileAddress_);
}

void tkvFileRWCtrl::RequireOpen(const char* agWhat) const {
    if (handle_ == tkvFileHandle::kNoHandle) {
        throw tkvFileError(std::string(agWhat) + " without an open file", EBADF, fileAddress_);
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
    return tkvFileHandle::Length(handle_, fileAddress_);
}

tkvFileString::FileIdentity tkvFileRWCtrl::Identity() const {
    RequireOpen("asking which file");
    return tkvFileHandle::Identity(handle_, fileAddress_);
}

tkvFileString::FileStamp tkvFileRWCtrl::Stamp() const {
    RequireOpen("asking the state");
    return tkvFileHandle::Stamp(handle_, fileAddress_);
}

int64_t tkvFileRWCtrl::ReadBlock(void* ouBuffer, int64_t agLength) {
    RequireOpen("reading");
    const int64_t done =
        tkvFileHandle::ReadAt(handle_, ouBuffer, agLength, position_, fileAddress_);
    position_ += done;
    if (digest_ != nullptr) {
        digest_->Update(ouBuffer, done);
    }
    return done;
}

void tkvFileRWCtrl::WriteBlock(const void* agBuffer, int64_t agLength) {
    RequireOpen("writing");
    if (stream_) {
        tkvFileHandle::Write(handle_, agBuffer, agLength, fileAddress_);
    } else {
        tkvFileHandle::WriteAt(handle_, agBuffer, agLength, position_, fileAddress_);
    }
    position_ += agLength;
    if (digest_ != nullptr) {
        digest_->Update(agBuffer, agLength);
    }
}

void tkvFileRWCtrl::SetEndOfFile() {
    RequireOpen("cutting off");
    tkvFileHandle::Truncate(handle_, position_, fileAddress_);
}

bool tkvFileRWCtrl::TakeBytes(void* ouBuffer, size_t agLength) {
    return ReadBlock(ouBuffer, static_cast<int64_t>(agLength)) == static_cast<int64_t>(agLength);
}

template <typename T>
bool tkvFileRWCtrl::Set(T agValue) {
    unsigned char bytes[sizeof(T)];
    tkvLittleEndian::Encode(agValue, bytes);
    WriteBlock(bytes, sizeof bytes);
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
    WriteBlock(bytes.data(), bytes.size());
    return true;
}

bool tkvFileRWCtrl::SetStringOnly(const std::string& agText) {
    std::string bytes;
    if (!tkvStringControl::ToCodePage(agText, bytes)) {
        return false;
    }
    WriteBlock(bytes.data(), bytes.size());
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
        return TakeBytes(bytes.data() + old, agCount);
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
