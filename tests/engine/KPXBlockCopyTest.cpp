#include "KPXBlockCopy.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "TestFiles.h"
#include "tkvCancelMng.h"
#include "tkvDigest.h"
#include "tkvFileRWCtrl.h"

namespace {

constexpr int32_t kBlock = 64 * 1024;

// Copies between real files in a temporary folder, through the kernel or through the two
// buffers, and records what the caller sees after each block. The parameter lets the kernel
// copy be tried; digests force the buffers.
class KPXBlockCopyTest : public ::testing::TestWithParam<bool> {
protected:
    // agDigest where the buffers are to be used, none where the kernel may copy.
    tkvDigest* Digest(tkvDigest& agDigest) const { return GetParam() ? nullptr : &agDigest; }
    void SetUp() override { KPXBlockCopy::SetUseKernelCopy(GetParam()); }
    void TearDown() override { KPXBlockCopy::SetUseKernelCopy(false); }  // the default

    // agName holding agBytes, open read-only at agPoint.
    void OpenReader(const std::string& agName, const std::string& agBytes, int64_t agPoint = 1) {
        WriteAllBytes(folder_.Path(agName), agBytes);
        Open(reader_, agName, tkvFileRWCtrl::kReadOnly);
        reader_.SetCurrentPoint(agPoint);
    }
    void Open(tkvFileRWCtrl& ouFile, const std::string& agName, int32_t agAccess) {
        ouFile.SetFileAddress(folder_.Path(agName));
        ouFile.SetFileAccess(agAccess);
        ASSERT_TRUE(ouFile.OpenForBinary());
    }
    // Copies agLength bytes into a new file "out"; keeps the reader's position at each block's
    // end and the thread that saw it.
    KPXBlockCopy::Result CopyOut(KPXBlockCopy& agCopy, int64_t agLength) {
        Open(writer_, "out", tkvFileRWCtrl::kWriteOnly);
        return agCopy.Copy(reader_, writer_, agLength, [&] { Note(); });
    }
    void Note() {
        blockEnds_.push_back(reader_.CurrentPoint() - 1);
        threads_.push_back(std::this_thread::get_id());
    }
    std::string Written() {
        writer_.CloseFile();
        return ReadAllBytes(folder_.Path("out"));
    }

    TempFolder folder_;
    tkvFileRWCtrl reader_;
    tkvFileRWCtrl writer_;
    std::vector<int64_t> blockEnds_;
    std::vector<std::thread::id> threads_;
};

// Cases that only the buffers copy: with digests, or with no writer.
class KPXBlockCopyBuffersTest : public KPXBlockCopyTest {};

TEST_P(KPXBlockCopyTest, EveryByteArrivesInOrderAcrossBlocksAndTheRest) {
    const std::string bytes = PatternBytes(5 * kBlock + 321);
    OpenReader("in", bytes);
    KPXBlockCopy copy(kBlock, nullptr);
    ASSERT_EQ(CopyOut(copy, static_cast<int64_t>(bytes.size())), KPXBlockCopy::kCopied);
    EXPECT_EQ(Written(), bytes);
    EXPECT_EQ(reader_.CurrentPoint() - 1, static_cast<int64_t>(bytes.size()));
    const std::vector<int64_t> ends{kBlock,     2 * kBlock, 3 * kBlock,
                                    4 * kBlock, 5 * kBlock, 5 * kBlock + 321};
    EXPECT_EQ(blockEnds_, ends);
}

TEST_P(KPXBlockCopyBuffersTest,
       EveryDigestSeesTheBytesOnceInOrderAndProgressStaysOnTheCallersThread) {
    const std::string bytes = PatternBytes(7 * kBlock + 5, 3);
    OpenReader("in", bytes);
    tkvDigest readerDigest;
    tkvDigest writerDigest;
    tkvDigest dataDigest;
    reader_.SetDigest(&readerDigest);
    KPXBlockCopy copy(kBlock, nullptr);
    copy.SetDataDigest(&dataDigest);
    Open(writer_, "out", tkvFileRWCtrl::kWriteOnly);
    writer_.SetDigest(&writerDigest);
    ASSERT_EQ(copy.Copy(reader_, writer_, static_cast<int64_t>(bytes.size()), [&] { Note(); }),
              KPXBlockCopy::kCopied);
    EXPECT_EQ(Written(), bytes);
    const std::string expected = tkvDigest::Of(bytes);
    EXPECT_EQ(readerDigest.Text(), expected);
    EXPECT_EQ(writerDigest.Text(), expected);
    EXPECT_EQ(dataDigest.Text(), expected);
    ASSERT_EQ(threads_.size(), 8u);
    for (const auto& id : threads_) {
        EXPECT_EQ(id, std::this_thread::get_id());
    }
}

TEST_P(KPXBlockCopyTest, ACopyFromTheMiddleTakesOnlyItsLengthIntoTheWritersPlace) {
    const std::string bytes = PatternBytes(4 * kBlock, 5);
    OpenReader("in", bytes, 1001);
    tkvDigest digest;
    reader_.SetDigest(Digest(digest));
    Open(writer_, "out", tkvFileRWCtrl::kWriteOnly);
    ASSERT_TRUE(writer_.SetLong(77));  // a header before the data
    KPXBlockCopy copy(kBlock, nullptr);
    const int64_t length = 2 * kBlock + 10;
    ASSERT_EQ(copy.Copy(reader_, writer_, length, [] {}), KPXBlockCopy::kCopied);
    EXPECT_EQ(Written(), LongBytes(77) + bytes.substr(1000, length));
    EXPECT_EQ(reader_.CurrentPoint(), 1001 + length);
    if (!GetParam()) {
        EXPECT_EQ(digest.Text(), tkvDigest::Of(bytes.substr(1000, length)));
    }
}

TEST_P(KPXBlockCopyTest, AReaderThatEndsEarlyWritesOnlyWhatItHad) {
    const std::string bytes = PatternBytes(3 * kBlock + 100, 7);
    OpenReader("in", bytes);
    tkvDigest digest;
    reader_.SetDigest(Digest(digest));
    KPXBlockCopy copy(kBlock, nullptr);
    EXPECT_EQ(CopyOut(copy, 6 * kBlock), KPXBlockCopy::kReaderEnded);
    EXPECT_EQ(Written(), bytes);
    EXPECT_EQ(blockEnds_.size(), 3u);  // no step for the short block
}

TEST_P(KPXBlockCopyTest, ACancelStopsAfterTheFullBlockItCameIn) {
    const std::string bytes = PatternBytes(10 * kBlock, 9);
    OpenReader("in", bytes);
    auto cancel = std::make_shared<tkvCancelMng>();
    KPXBlockCopy copy(kBlock, cancel);
    tkvDigest digest;
    copy.SetDataDigest(Digest(digest));
    Open(writer_, "out", tkvFileRWCtrl::kWriteOnly);
    const auto result = copy.Copy(reader_, writer_, 10 * kBlock, [&] {
        Note();
        if (blockEnds_.size() == 2) {
            cancel->Cancel();
        }
    });
    EXPECT_EQ(result, KPXBlockCopy::kCanceled);
    EXPECT_EQ(Written(), bytes.substr(0, 2 * kBlock));
    EXPECT_EQ(reader_.CurrentPoint() - 1, 2 * kBlock);
}

TEST_P(KPXBlockCopyTest, AFullDiskFailsOnTheWritersSideAndStopsTheReader) {
    const std::string bytes = PatternBytes(8 * kBlock, 11);
    OpenReader("in", bytes);
    tkvDigest digest;
    reader_.SetDigest(Digest(digest));
    KPXBlockCopy copy(kBlock, nullptr);
    Open(writer_, "out", tkvFileRWCtrl::kWriteOnly);
    KPXBlockCopy::Result result;
    {
        ScopedFileSizeLimit limit(3 * kBlock);
        result = copy.Copy(reader_, writer_, 8 * kBlock, [&] { Note(); });
    }
    EXPECT_EQ(result, KPXBlockCopy::kWriteFailed);
    EXPECT_FALSE(copy.SystemText().empty());
    EXPECT_EQ(blockEnds_.size(), 3u);
    EXPECT_EQ(Written(), bytes.substr(0, 3 * kBlock));
}

TEST_P(KPXBlockCopyTest, AReaderThatCannotReadFailsOnTheReadersSide) {
    WriteAllBytes(folder_.Path("in"), PatternBytes(3 * kBlock));
    Open(reader_, "in", tkvFileRWCtrl::kWriteOnly);  // reads fail: EBADF
    tkvDigest digest;
    reader_.SetDigest(Digest(digest));
    KPXBlockCopy copy(kBlock, nullptr);
    EXPECT_EQ(CopyOut(copy, 3 * kBlock), KPXBlockCopy::kReadFailed);
    EXPECT_FALSE(copy.SystemText().empty());
    EXPECT_TRUE(blockEnds_.empty());
    EXPECT_EQ(Written(), "");
}

TEST_P(KPXBlockCopyBuffersTest, AReadFeedsTheDigestsAndWritesNothing) {
    const std::string bytes = PatternBytes(3 * kBlock + 1, 13);
    OpenReader("in", bytes);
    tkvDigest readerDigest;
    tkvDigest dataDigest;
    reader_.SetDigest(&readerDigest);
    KPXBlockCopy copy(kBlock, nullptr);
    copy.SetDataDigest(&dataDigest);
    ASSERT_EQ(copy.Read(reader_, static_cast<int64_t>(bytes.size()), [&] { Note(); }),
              KPXBlockCopy::kCopied);
    EXPECT_EQ(readerDigest.Text(), tkvDigest::Of(bytes));
    EXPECT_EQ(dataDigest.Text(), tkvDigest::Of(bytes));
    EXPECT_EQ(blockEnds_.size(), 4u);
}

TEST_P(KPXBlockCopyTest, OffsetsPastFourGiBAreKept) {
    // A sparse source: only the copied range holds data.
    const std::string path = folder_.Path("sparse");
    const int64_t start = (int64_t{1} << 32) + 12345;
    const std::string bytes = PatternBytes(2 * kBlock + 17, 15);
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_NE(fd, -1);
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), start), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
    Open(reader_, "sparse", tkvFileRWCtrl::kReadOnly);
    reader_.SetCurrentPoint(start + 1);
    tkvDigest digest;
    reader_.SetDigest(Digest(digest));
    KPXBlockCopy copy(kBlock, nullptr);
    ASSERT_EQ(CopyOut(copy, static_cast<int64_t>(bytes.size())), KPXBlockCopy::kCopied);
    EXPECT_EQ(Written(), bytes);
    EXPECT_EQ(reader_.CurrentPoint(), start + 1 + static_cast<int64_t>(bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(KernelCopyOnAndOff, KPXBlockCopyTest, ::testing::Bool(),
                         [](const auto& agInfo) { return agInfo.param ? "Kernel" : "Buffers"; });
INSTANTIATE_TEST_SUITE_P(BuffersOnly, KPXBlockCopyBuffersTest, ::testing::Values(false),
                         [](const auto&) { return "Buffers"; });

}  // namespace
