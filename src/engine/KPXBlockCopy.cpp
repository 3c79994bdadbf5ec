#include "KPXBlockCopy.h"

#include <algorithm>
#include <system_error>
#include <thread>

#include "tkvCancelMng.h"
#include "tkvDigest.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"

namespace {

// Off: the kernel copy reads and writes on one thread, one after the other, and on two cores
// the two buffers beat it both from the page cache and from the disk.
bool useKernelCopy = false;

}  // namespace

void KPXBlockCopy::SetUseKernelCopy(bool agUse) { useKernelCopy = agUse; }

KPXBlockCopy::KPXBlockCopy(int32_t agBlockSize, std::shared_ptr<tkvCancelMng> agCancelMng)
    : blockSize_(agBlockSize), cancelMng_(std::move(agCancelMng)) {}

KPXBlockCopy::~KPXBlockCopy() = default;

KPXBlockCopy::Result KPXBlockCopy::Copy(tkvFileRWCtrl& agReader, tkvFileRWCtrl& agWriter,
                                        int64_t agLength,
                                        const std::function<void()>& agAfterBlock) {
    return Run(agReader, &agWriter, agLength, agAfterBlock);
}

KPXBlockCopy::Result KPXBlockCopy::Read(tkvFileRWCtrl& agReader, int64_t agLength,
                                        const std::function<void()>& agAfterBlock) {
    return Run(agReader, nullptr, agLength, agAfterBlock);
}

KPXBlockCopy::Result KPXBlockCopy::Run(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter,
                                       int64_t agLength,
                                       const std::function<void()>& agAfterBlock) {
    int64_t done = 0;
    const bool digested = dataDigest_ != nullptr || agReader.Digest() != nullptr ||
                          (agWriter != nullptr && agWriter->Digest() != nullptr);
    if (useKernelCopy && kernelCopyWorks_ && agWriter != nullptr && !digested) {
        const Result result = KernelCopy(agReader, *agWriter, agLength, done, agAfterBlock);
        if (result != kCopied || done == agLength) {
            return result;
        }
    }
    return BufferCopy(agReader, agWriter, done, agLength, agAfterBlock);
}

int64_t KPXBlockCopy::BlockLength(int64_t agDone, int64_t agLength) const {
    return std::min(blockSize_ - agDone % blockSize_, agLength - agDone);
}

KPXBlockCopy::Result KPXBlockCopy::KernelCopy(tkvFileRWCtrl& agReader, tkvFileRWCtrl& agWriter,
                                              int64_t agLength, int64_t& ioDone,
                                              const std::function<void()>& agAfterBlock) {
    while (ioDone < agLength) {
        const int64_t blockEnd = ioDone + BlockLength(ioDone, agLength);
        while (ioDone < blockEnd) {
            const int64_t n = tkvFileHandle::KernelCopy(
                agReader.FileNum(), agReader.CurrentPoint() - 1, agWriter.FileNum(),
                agWriter.CurrentPoint() - 1, blockEnd - ioDone);
            if (n == 0) {
                return kReaderEnded;
            }
            if (n < 0) {
                // Where the kernel cannot copy between these files the buffers go on from here;
                // where a device failed or the disk is full they fail again on the side to
                // blame.
                kernelCopyWorks_ = false;
                return kCopied;
            }
            agReader.Skip(n);
            agWriter.Skip(n);
            ioDone += n;
            WriteBehind(agWriter, n);
        }
        agAfterBlock();
        if (EndsFullBlock(ioDone) && tkvCancelMng::IsCanceled(cancelMng_)) {
            return kCanceled;
        }
    }
    return kCopied;
}

KPXBlockCopy::Result KPXBlockCopy::BufferCopy(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter,
                                              int64_t agDone, int64_t agLength,
                                              const std::function<void()>& agAfterBlock) {
    if (agDone >= agLength) {
        return kCopied;
    }
    // The digests go to the side with less work. With a writer that is the reading side
    // (writing to the page cache costs more than reading from it): it feeds every digest,
    // the writer's too, in the file's order, and the writer feeds none meanwhile. With none,
    // reading is all the system does, and the digests are fed here.
    tkvDigest* const writerDigest = agWriter != nullptr ? agWriter->Digest() : nullptr;
    const std::array<tkvDigest*, 3> digests{agReader.Digest(), writerDigest, dataDigest_};
    Source source{agReader.FileNum(), agReader.FileAddress(), agReader.CurrentPoint() - 1, {}};
    callerDigests_ = {};
    if (agWriter != nullptr) {
        source.Digests = digests;
        agWriter->SetDigest(nullptr);
    } else {
        callerDigests_ = digests;
    }
    // Both buffers are sized here: never more than one block, nor more than the copy needs,
    // and a failed allocation fails the run on this thread instead of ending the process on
    // the reading one.
    const auto most = static_cast<size_t>(std::min<int64_t>(blockSize_, agLength - agDone));
    for (Slot& slot : slots_) {
        slot.Full = false;
        if (slot.Bytes.size() < most) {
            slot.Bytes.resize(most);
        }
    }
    stopReading_ = false;
    // A single block is read on this thread: a second one would only wait. So is every block
    // where the system gives no thread.
    bool ahead = agLength - agDone > BlockLength(agDone, agLength);
    std::thread reading;
    if (ahead) {
        try {
            reading = std::thread(&KPXBlockCopy::ReadAhead, this, source, agDone, agLength);
        } catch (const std::system_error&) {
            ahead = false;
        }
    }
    const auto stop = [&] {
        if (reading.joinable()) {
            StopReading();
            reading.join();
        }
        if (agWriter != nullptr) {
            agWriter->SetDigest(writerDigest);
        }
    };
    Result result = kCopied;
    try {
        for (size_t turn = 0; agDone < agLength; turn = 1 - turn) {
            Slot& slot = slots_[turn];
            const int64_t wanted = BlockLength(agDone, agLength);
            if (ahead) {
                WaitUntil(slot, true);
            } else {
                source.Offset = agReader.CurrentPoint() - 1;
                ReadInto(slot, source, wanted);
            }
            result = WriteOut(slot, agReader, agWriter);
            const bool ended = slot.Length < wanted;
            Hand(slot, false);
            if (result != kCopied) {
                break;
            }
            if (ended) {
                result = kReaderEnded;
                break;
            }
            agDone += wanted;
            agAfterBlock();
            if (EndsFullBlock(agDone) && tkvCancelMng::IsCanceled(cancelMng_)) {
                result = kCanceled;
                break;
            }
        }
    } catch (...) {
        stop();
        throw;
    }
    stop();
    return result;
}

void KPXBlockCopy::ReadAhead(Source agSource, int64_t agDone, int64_t agLength) {
    for (size_t turn = 0; agDone < agLength; turn = 1 - turn) {
        Slot& slot = slots_[turn];
        if (!WaitUntil(slot, false)) {
            return;
        }
        const int64_t wanted = BlockLength(agDone, agLength);
        ReadInto(slot, agSource, wanted);
        const bool last = slot.Failed || slot.Length < wanted;
        Hand(slot, true);
        if (last) {
            return;
        }
        agDone += wanted;
        agSource.Offset += wanted;
    }
}

void KPXBlockCopy::ReadInto(Slot& ouSlot, const Source& agSource, int64_t agLength) {
    ouSlot.Failed = false;
    try {
        ouSlot.Length = tkvFileHandle::ReadAt(agSource.Handle, ouSlot.Bytes.data(), agLength,
                                              agSource.Offset, agSource.Name);
    } catch (const tkvFileError& error) {
        ouSlot.Length = 0;
        ouSlot.Failed = true;
        ouSlot.SystemText = error.SystemText();
        return;
    }
    for (tkvDigest* digest : agSource.Digests) {
        if (digest != nullptr) {
            digest->Update(ouSlot.Bytes.data(), ouSlot.Length);
        }
    }
}

KPXBlockCopy::Result KPXBlockCopy::WriteOut(const Slot& agSlot, tkvFileRWCtrl& agReader,
                                            tkvFileRWCtrl* agWriter) {
    if (agSlot.Failed) {
        systemText_ = agSlot.SystemText;
        return kReadFailed;
    }
    agReader.Skip(agSlot.Length);
    for (tkvDigest* digest : callerDigests_) {
        if (digest != nullptr) {
            digest->Update(agSlot.Bytes.data(), agSlot.Length);
        }
    }
    try {
        if (agWriter != nullptr) {
            agWriter->WriteBlock(agSlot.Bytes.data(), agSlot.Length);
            WriteBehind(*agWriter, agSlot.Length);
        }
    } catch (const tkvFileError& error) {
        systemText_ = error.SystemText();
        return kWriteFailed;
    }
    return kCopied;
}

bool KPXBlockCopy::WaitUntil(const Slot& agSlot, bool agFull) {
    std::unique_lock<std::mutex> lock(mutex_);
    handed_.wait(lock, [&] { return agSlot.Full == agFull || stopReading_; });
    return !stopReading_;
}

void KPXBlockCopy::Hand(Slot& agSlot, bool agFull) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        agSlot.Full = agFull;
    }
    handed_.notify_all();
}

void KPXBlockCopy::StopReading() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopReading_ = true;
    }
    handed_.notify_all();
}

void KPXBlockCopy::WriteBehind(tkvFileRWCtrl& agWriter, int64_t agLength) {
    tkvFileHandle::StartWriteBack(agWriter.FileNum(), agWriter.CurrentPoint() - 1 - agLength,
                                  agLength);
}
