#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tkvFileHandle.h"

class tkvCancelMng;
class tkvDigest;
class tkvFileRWCtrl;

// Moves bytes from a reader's current position to a writer's current position in blocks of a
// fixed size, running the caller's progress step after each block and polling the cancel flag
// after each full block, always on the caller's thread. Two block-sized buffers are used: a
// second thread reads the next block while the caller's thread writes the last one, and the
// digests are fed on the side with less to do, so reading, writing and hashing overlap on two
// cores. Each written block is sent on to the disk at once, so the disk writes while the copy
// goes on and the sync that ends a file waits for little.
class KPXBlockCopy {
public:
    enum Result { kCopied, kCanceled, kReaderEnded, kReadFailed, kWriteFailed };

    KPXBlockCopy(int32_t agBlockSize, std::shared_ptr<tkvCancelMng> agCancelMng);
    ~KPXBlockCopy();
    KPXBlockCopy(const KPXBlockCopy&) = delete;
    KPXBlockCopy& operator=(const KPXBlockCopy&) = delete;

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

    // Whether the kernel copies the bytes (copy_file_range) where no digest must see them;
    // off unless a measurement compares both ways (bench/copy_methods).
    static void SetUseKernelCopy(bool agUse);

private:
    // One block-sized buffer and what was read into it. Owned by the reading side while not
    // Full, by the writing side while Full.
    struct Slot {
        std::vector<char> Bytes;
        int64_t Length = 0;  // bytes read, fewer than asked only at the reader's end
        bool Failed = false;
        std::string SystemText;
        bool Full = false;
    };
    // Where the reading side reads from; the reader's object itself stays on the caller's
    // thread.
    struct Source {
        tkvFileHandle::Handle Handle;
        std::string Name;
        int64_t Offset;                     // of the first byte still to read
        std::array<tkvDigest*, 3> Digests;  // fed on the reading side; none where null
    };

    // agWriter none: the bytes are only read.
    Result Run(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter, int64_t agLength,
               const std::function<void()>& agAfterBlock);
    // Blocks end at multiples of the block size counted from the start of the copy.
    int64_t BlockLength(int64_t agDone, int64_t agLength) const;
    bool EndsFullBlock(int64_t agDone) const { return agDone % blockSize_ == 0; }
    // Copies up to agLength in the kernel from ioDone on, leaving ioDone where it stopped:
    // short of agLength when the kernel cannot copy between these files.
    Result KernelCopy(tkvFileRWCtrl& agReader, tkvFileRWCtrl& agWriter, int64_t agLength,
                      int64_t& ioDone, const std::function<void()>& agAfterBlock);
    Result BufferCopy(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter, int64_t agDone,
                      int64_t agLength, const std::function<void()>& agAfterBlock);
    // The reading side: fills the slots in turn with the blocks from agDone to agLength.
    void ReadAhead(Source agSource, int64_t agDone, int64_t agLength);
    static void ReadInto(Slot& ouSlot, const Source& agSource, int64_t agLength);
    Result WriteOut(const Slot& agSlot, tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter);
    // Starts the disk writes of the agLength bytes just written.
    void WriteBehind(tkvFileRWCtrl& agWriter, int64_t agLength);
    // False when the reading side is to stop.
    bool WaitUntil(const Slot& agSlot, bool agFull);
    void Hand(Slot& agSlot, bool agFull);
    void StopReading();

    int32_t blockSize_;
    std::shared_ptr<tkvCancelMng> cancelMng_;
    bool kernelCopyWorks_ = true;
    std::array<Slot, 2> slots_;
    std::mutex mutex_;
    std::condition_variable handed_;
    bool stopReading_ = false;
    tkvDigest* dataDigest_ = nullptr;
    std::array<tkvDigest*, 3> callerDigests_{};  // fed on the caller's side; none where null
    std::string systemText_;
};
