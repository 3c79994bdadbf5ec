#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "EngineJobs.h"
#include "KPXPieceFormat.h"
#include "TestFiles.h"
#include "tkvFileString.h"

namespace {

constexpr int64_t kSourceSize = (int64_t{1} << 31) + 3 * 1024 * 1024 + 5;

// Writes a marked block at agOffset of a sparse file; the rest reads as zeros.
void Mark(int agFd, int64_t agOffset, uint32_t agSeed) {
    const std::string block = PatternBytes(64 * 1024, agSeed);
    ASSERT_EQ(::pwrite(agFd, block.data(), block.size(), agOffset),
              static_cast<ssize_t>(block.size()));
}

bool SameContent(const std::string& agA, const std::string& agB) {
    const int a = ::open(agA.c_str(), O_RDONLY);
    const int b = ::open(agB.c_str(), O_RDONLY);
    std::vector<char> bufferA(8 << 20);
    std::vector<char> bufferB(8 << 20);
    bool same = a != -1 && b != -1;
    while (same) {
        const ssize_t readA = ::read(a, bufferA.data(), bufferA.size());
        const ssize_t readB = ::read(b, bufferB.data(), bufferB.size());
        same = readA == readB && readA >= 0 &&
               std::memcmp(bufferA.data(), bufferB.data(), static_cast<size_t>(readA)) == 0;
        if (readA <= 0) {
            break;
        }
    }
    ::close(a);
    ::close(b);
    return same;
}

// Runs alone with: ctest -L large
TEST(KPXLargeFileTest, ASourceOver2GiBSplitsAndRestoresByteExact) {
    TempFolder folder;
    struct statvfs space {};
    ASSERT_EQ(::statvfs(folder.Path().c_str(), &space), 0);
    const uint64_t available = static_cast<uint64_t>(space.f_bavail) * space.f_frsize;
    if (available < 2 * static_cast<uint64_t>(kSourceSize) + (512u << 20)) {
        GTEST_SKIP() << "needs " << (2 * kSourceSize >> 20) << " MiB free for the pieces and the "
                     << "restored file; " << (available >> 20) << " MiB are free";
    }
    const std::string source = folder.Path("big.bin");
    const int fd = ::open(source.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_NE(fd, -1);
    ASSERT_EQ(::ftruncate(fd, kSourceSize), 0);
    Mark(fd, 0, 1);
    Mark(fd, (int64_t{1} << 31) - 1000, 2);  // across the 2 GiB mark
    Mark(fd, kSourceSize - 64 * 1024, 3);
    ::close(fd);

    ::mkdir(folder.Path("pieces").c_str(), 0755);
    ::mkdir(folder.Path("out").c_str(), 0755);
    // Two pieces by count: each carries just over 1 GiB.
    const auto pieces = SplitFile(source, folder.Path("pieces"), 0, 2, 3, 8 << 20);
    ASSERT_EQ(pieces.size(), 2u);
    KPXSepaCtrl reader;
    for (const auto& piece : pieces) {
        KPXDividoraData record;
        record.SetFileAddress(piece);
        ASSERT_TRUE(reader.ReadHeader(record));
        EXPECT_LE(record.FileSize(), KPXPieceFormat::kMaxDataSize);
        EXPECT_EQ(record.FileSize(), kSourceSize / 2 + (record.TurnID() == 0 ? 1 : 0));
    }
    const std::string restored = RestoreFiles({pieces[1], pieces[0]}, folder.Path("out"), 8 << 20);
    ASSERT_EQ(restored, folder.Path("out/big.bin"));
    int64_t length = 0;
    ASSERT_TRUE(tkvFileString::GetFileLength(restored, length));
    EXPECT_EQ(length, kSourceSize);
    EXPECT_TRUE(SameContent(source, restored));
}

}  // namespace
