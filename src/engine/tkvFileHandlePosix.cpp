#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tkvFileError.h"
#include "tkvFileHandle.h"

namespace tkvFileHandle {

namespace {

int Descriptor(Handle agHandle) { return static_cast<int>(agHandle); }

}  // namespace

Handle Open(const std::string& agPath, Access agAccess, bool agCreate, bool agExclusive,
            std::string* ouSystemText) {
    int flags = O_CLOEXEC | O_NONBLOCK;  // O_NONBLOCK: never hang on a pipe at the path
    switch (agAccess) {
        case Access::kRead:
            flags |= O_RDONLY;
            break;
        case Access::kWrite:
            flags |= O_WRONLY;
            break;
        case Access::kReadWrite:
            flags |= O_RDWR;
            break;
    }
    if (agCreate) {
        flags |= O_CREAT;
    }
    if (agExclusive) {
        flags |= O_CREAT | O_EXCL;
    }
    const auto failed = [ouSystemText](const std::string& agText) {
        if (ouSystemText != nullptr) {
            *ouSystemText = agText;
        }
        return kNoHandle;
    };
    const int fd = ::open(agPath.c_str(), flags, 0666);
    if (fd == -1) {
        return failed(tkvFileError::SystemTextOf(errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(tkvFileError::SystemTextOf(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return failed(S_ISDIR(info.st_mode) ? tkvFileError::SystemTextOf(EISDIR)
                                            : std::string("Not a regular file"));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

void Close(Handle agHandle) { ::close(Descriptor(agHandle)); }

void SyncAndClose(Handle agHandle, const std::string& agWhat) {
    const bool synced = ::fdatasync(Descriptor(agHandle)) == 0;
    const int syncError = errno;
    if (::close(Descriptor(agHandle)) != 0) {
        throw tkvFileError("closing " + agWhat, errno, agWhat, tkvFileError::Direction::kWrite);
    }
    if (!synced) {
        throw tkvFileError("writing " + agWhat + " to the disk", syncError, agWhat,
                           tkvFileError::Direction::kWrite);
    }
}

void Sync(Handle agHandle, const std::string& agWhat) {
    if (::fdatasync(Descriptor(agHandle)) != 0) {
        throw tkvFileError("writing " + agWhat + " to the disk", errno, agWhat,
                           tkvFileError::Direction::kWrite);
    }
}

int64_t ReadAt(Handle agHandle, void* ouBuffer, int64_t agLength, int64_t agOffset,
               const std::string& agWhat) {
    auto* out = static_cast<char*>(ouBuffer);
    int64_t done = 0;
    while (done < agLength) {
        const ssize_t n = ::pread(Descriptor(agHandle), out + done,
                                  static_cast<size_t>(agLength - done), agOffset + done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw tkvFileError("reading " + agWhat, errno, agWhat, tkvFileError::Direction::kRead);
        }
        if (n == 0) {
            break;
        }
        done += n;
    }
    return done;
}

void WriteAt(Handle agHandle, const void* agBuffer, int64_t agLength, int64_t agOffset,
             const std::string& agWhat) {
    const auto* in = static_cast<const char*>(agBuffer);
    int64_t done = 0;
    while (done < agLength) {
        const ssize_t n = ::pwrite(Descriptor(agHandle), in + done,
                                   static_cast<size_t>(agLength - done), agOffset + done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw tkvFileError("writing " + agWhat, errno, agWhat, tkvFileError::Direction::kWrite);
        }
        done += n;
    }
}

void Write(Handle agHandle, const void* agBuffer, int64_t agLength, const std::string& agWhat) {
    const auto* in = static_cast<const char*>(agBuffer);
    int64_t done = 0;
    while (done < agLength) {
        const ssize_t n =
            ::write(Descriptor(agHandle), in + done, static_cast<size_t>(agLength - done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw tkvFileError("writing " + agWhat, errno, agWhat, tkvFileError::Direction::kWrite);
        }
        done += n;
    }
}

Handle StandardOutput() { return STDOUT_FILENO; }

int64_t Length(Handle agHandle, const std::string& agWhat) {
    struct stat info {};
    if (::fstat(Descriptor(agHandle), &info) != 0) {
        throw tkvFileError("asking the length of " + agWhat, errno, agWhat);
    }
    return static_cast<int64_t>(info.st_size);
}

void Truncate(Handle agHandle, int64_t agLength, const std::string& agWhat) {
    if (::ftruncate(Descriptor(agHandle), static_cast<off_t>(agLength)) != 0) {
        throw tkvFileError("cutting off " + agWhat, errno, agWhat, tkvFileError::Direction::kWrite);
    }
}

tkvFileString::FileIdentity Identity(Handle agHandle, const std::string& agWhat) {
    struct stat info {};
    if (::fstat(Descriptor(agHandle), &info) != 0) {
        throw tkvFileError("asking which file " + agWhat + " is", errno, agWhat);
    }
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

tkvFileString::FileStamp Stamp(Handle agHandle, const std::string& agWhat) {
    struct stat info {};
    if (::fstat(Descriptor(agHandle), &info) != 0) {
        throw tkvFileError("asking the state of " + agWhat, errno, agWhat);
    }
    constexpr int64_t kNanoseconds = 1000000000;
    return {static_cast<int64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec) * kNanoseconds + info.st_mtim.tv_nsec,
            static_cast<int64_t>(info.st_ctim.tv_sec) * kNanoseconds + info.st_ctim.tv_nsec};
}

namespace {

bool LockWith(Handle agHandle, int agHow) {
    int result = 0;
    do {
        result = ::flock(Descriptor(agHandle), agHow);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

}  // namespace

bool Lock(Handle agHandle) { return LockWith(agHandle, LOCK_EX); }

bool TryLock(Handle agHandle) { return LockWith(agHandle, LOCK_EX | LOCK_NB); }

void StartWriteBack(Handle agHandle, int64_t agOffset, int64_t agLength) {
    // Only a hint: a failure here shows again at the sync, which reports it.
    ::sync_file_range(Descriptor(agHandle), agOffset, agLength, SYNC_FILE_RANGE_WRITE);
}

int64_t KernelCopy(Handle agFrom, int64_t agFromOffset, Handle agTo, int64_t agToOffset,
                   int64_t agLength) {
    loff_t in = agFromOffset;
    loff_t out = agToOffset;
    for (;;) {
        const ssize_t n = ::copy_file_range(Descriptor(agFrom), &in, Descriptor(agTo), &out,
                                            static_cast<size_t>(agLength), 0);
        if (n >= 0) {
            return n;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

}  // namespace tkvFileHandle
