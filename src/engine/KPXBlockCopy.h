#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class tkvCancelMng;
class tkvDigest;
class tkvFileRWCtrl;

// Moves bytes from a reader's current position to a writer's current position in blocks of a
// fixed size, running the caller's progress step after each block and polling the cancel flag
// after each full block. The kernel copies the bytes where it can (copy_file_range), so they
// never pass through this process; elsewhere, and whenever a digest must see them, one
// block-sized buffer is used.
class KPXBlockCopy {
public:
    enum Result { kCopied, kCanceled, kReaderEnded, kReadFailed, kWriteFailed };

    KPXBlockCopy(int32_t agBlockSize, std::shared_ptr<tkvCancelMng> agCancelMng)
        : blockSize_(agBlockSize), cancelMng_(std::move(agCancelMng)) {}

    // Copies agLength bytes. kReaderEnded when the reader ends first: only the bytes read were
    // written. kReadFailed or kWriteFailed on a failure of the system on that side (a device
    // error, a full disk).
    Result Copy(tkvFileRWCtrl& agReader, tkvFileRWCtrl& agWriter, int64_t agLength,
                const std::function<void()>& agAfterBlock);
    // As Copy, but the bytes go nowhere: they are only read (and fed to the digests).
    Result Read(tkvFileRWCtrl& agReader, int64_t agLength,
                const std::function<void()>& agAfterBlock);

    // Not owned; none stops it. Every byte copied from now on is fed to agDigest. The bytes
    // then pass through this process, as they do when the reader or writer feeds a digest.
    void SetDataDigest(tkvDigest* agDigest) { dataDigest_ = agDigest; }

    // The system's text of the last kReadFailed or kWriteFailed.
    const std::string& SystemText() const { return systemText_; }

    // Whether the kernel copy is tried at all (measurements compare both ways).
    static void SetUseKernelCopy(bool agUse);

private:
    // agWriter none: the bytes are only read.
    Result Run(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter, int64_t agLength,
               const std::function<void()>& agAfterBlock);
    Result CopyBlock(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter, int64_t agLength);
    Result KernelCopy(tkvFileRWCtrl& agReader, tkvFileRWCtrl& agWriter, int64_t& ioLength);
    Result BufferCopy(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter, int64_t agLength);

    int32_t blockSize_;
    std::shared_ptr<tkvCancelMng> cancelMng_;
    bool kernelCopyWorks_ = true;
    std::vector<char> buffer_;
    tkvDigest* dataDigest_ = nullptr;
    std::string systemText_;
};
