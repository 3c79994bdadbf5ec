#include "KPXBlockCopy.h"

#include "tkvCancelMng.h"
#include "tkvDigest.h"
#include "tkvFileError.h"
#include "tkvFileHandle.h"
#include "tkvFileRWCtrl.h"

namespace {

bool useKernelCopy = true;

}  // namespace

void KPXBlockCopy::SetUseKernelCopy(bool agUse) { useKernelCopy = agUse; }

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
    const int64_t fullBlocks = agLength / blockSize_;
    const int64_t rest = agLength % blockSize_;
    for (int64_t block = 0; block < fullBlocks; ++block) {
        const Result result = CopyBlock(agReader, agWriter, blockSize_);
        if (result != kCopied) {
            return result;
        }
        agAfterBlock();
        if (tkvCancelMng::IsCanceled(cancelMng_)) {
            return kCanceled;
        }
    }
    if (rest > 0) {
        const Result result = CopyBlock(agReader, agWriter, rest);
        if (result != kCopied) {
            return result;
        }
        agAfterBlock();
    }
    return kCopied;
}

KPXBlockCopy::Result KPXBlockCopy::CopyBlock(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter,
                                             int64_t agLength) {
    int64_t remaining = agLength;
    const bool digested = dataDigest_ != nullptr || agReader.Digest() != nullptr ||
                          (agWriter != nullptr && agWriter->Digest() != nullptr);
    if (useKernelCopy && kernelCopyWorks_ && agWriter != nullptr && !digested) {
        const Result result = KernelCopy(agReader, *agWriter, remaining);
        if (result != kCopied || remaining == 0) {
            return result;
        }
    }
    return BufferCopy(agReader, agWriter, remaining);
}

// Copies what it can; leaves ioLength at what is still to copy when the kernel cannot copy
// between these files, so the buffer finishes the block.
KPXBlockCopy::Result KPXBlockCopy::KernelCopy(tkvFileRWCtrl& agReader, tkvFileRWCtrl& agWriter,
                                              int64_t& ioLength) {
    while (ioLength > 0) {
        const int64_t n =
            tkvFileHandle::KernelCopy(agReader.FileNum(), agReader.CurrentPoint() - 1,
                                      agWriter.FileNum(), agWriter.CurrentPoint() - 1, ioLength);
        if (n == 0) {
            return kReaderEnded;
        }
        if (n < 0) {
            // Where the kernel cannot copy between these files the buffer copy works instead;
            // where a device failed or the disk is full it fails again on the side to blame.
            kernelCopyWorks_ = false;
            return kCopied;
        }
        agReader.Skip(n);
        agWriter.Skip(n);
        ioLength -= n;
    }
    return kCopied;
}

KPXBlockCopy::Result KPXBlockCopy::BufferCopy(tkvFileRWCtrl& agReader, tkvFileRWCtrl* agWriter,
                                              int64_t agLength) {
    // Never more than one block, and never more than the copy needs.
    if (buffer_.size() < static_cast<size_t>(agLength)) {
        buffer_.resize(static_cast<size_t>(agLength));
    }
    int64_t read = 0;
    try {
        read = agReader.ReadBlock(buffer_.data(), agLength);
    } catch (const tkvFileError& error) {
        systemText_ = error.SystemText();
        return kReadFailed;
    }
    if (dataDigest_ != nullptr) {
        dataDigest_->Update(buffer_.data(), read);
    }
    try {
        if (agWriter != nullptr) {
            agWriter->WriteBlock(buffer_.data(), read);
        }
    } catch (const tkvFileError& error) {
        systemText_ = error.SystemText();
        return kWriteFailed;
    }
    return read == agLength ? kCopied : kReaderEnded;
}
