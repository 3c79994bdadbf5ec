#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "TestFiles.h"
#include "tkvFileString.h"

namespace tkvFileString {
namespace {

TEST(tkvFileStringTest, PathKindTellsFoldersFilesAndEverythingElse) {
    TempFolder folder;
    WriteAllBytes(folder.Path("f"), "x");
    ::symlink(folder.Path("f").c_str(), folder.Path("link").c_str());
    ::mkfifo(folder.Path("pipe").c_str(), 0600);
    EXPECT_EQ(GetPathKind(folder.Path()), kFolder);
    EXPECT_EQ(GetPathKind(folder.Path("f")), kFile);
    EXPECT_EQ(GetPathKind(folder.Path("link")), kFile) << "links are followed";
    EXPECT_EQ(GetPathKind(folder.Path("missing")), kMissing);
    EXPECT_EQ(GetPathKind(""), kMissing);
    EXPECT_EQ(GetPathKind(folder.Path("pipe")), kMissing) << "a pipe is never a piece or source";
}

TEST(tkvFileStringTest, NamePartJoinAndExtension) {
    EXPECT_EQ(GetFileNamePart("/data/movie.avi"), "movie.avi");
    EXPECT_EQ(GetFileNamePart("/a/"), "");
    EXPECT_EQ(GetFileNamePart("report"), "report");
    EXPECT_EQ(JoinFolderAndName("/out", "data"), "/out/data");
    EXPECT_EQ(JoinFolderAndName("/out/", "data"), "/out/data");
    EXPECT_EQ(JoinFolderAndName("", "data"), "/data");
    EXPECT_EQ(RemoveExtension("x.tar.gz"), "x.tar");
    EXPECT_EQ(RemoveExtension("README"), "README");
}

TEST(tkvFileStringTest, ParentFolderGoesUpOrRefusesLeavingTheOutputUntouched) {
    std::string parent = "untouched";
    EXPECT_TRUE(GetParentFolder("/a/b/c.txt", 2, parent));
    EXPECT_EQ(parent, "/a");
    EXPECT_TRUE(GetParentFolder("/a/b/c.txt", 0, parent));
    EXPECT_EQ(parent, "/a/b/c.txt");
    parent = "untouched";
    EXPECT_FALSE(GetParentFolder("/a/b/c.txt", 5, parent));
    EXPECT_EQ(parent, "untouched");
}

TEST(tkvFileStringTest, PlainFileNamesOnly) {
    EXPECT_TRUE(IsPlainFileName("a.bin"));
    EXPECT_TRUE(IsPlainFileName("..a"));
    for (const std::string& bad :
         std::vector<std::string>{"", ".", "..", "../x", "a/b", "a\\b", std::string("a\0b", 3)}) {
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    }
}

TEST(tkvFileStringTest, SameFileThroughHardAndSymbolicLinksButNotACopy) {
    TempFolder folder;
    WriteAllBytes(folder.Path("a"), "x");
    WriteAllBytes(folder.Path("copy"), "x");
    ::link(folder.Path("a").c_str(), folder.Path("hard").c_str());
    ::symlink(folder.Path("a").c_str(), folder.Path("soft").c_str());
    EXPECT_TRUE(IsSameFile(folder.Path("a"), folder.Path("hard")));
    EXPECT_TRUE(IsSameFile(folder.Path("a"), folder.Path("soft")));
    EXPECT_TRUE(IsSameFile(folder.Path("a"), folder.Path() + "/./a"));
    EXPECT_FALSE(IsSameFile(folder.Path("a"), folder.Path("copy")));
    EXPECT_FALSE(IsSameFile(folder.Path("a"), folder.Path("missing")));
}

TEST(tkvFileStringTest, DeleteFileForceRemovesAReadOnlyFile) {
    TempFolder folder;
    WriteAllBytes(folder.Path("ro"), "x");
    ::chmod(folder.Path("ro").c_str(), 0444);
    EXPECT_TRUE(DeleteFileForce(folder.Path("ro")));
    EXPECT_EQ(GetPathKind(folder.Path("ro")), kMissing);
    EXPECT_FALSE(DeleteFileForce(folder.Path("ro")));
}

TEST(tkvFileStringTest, CompactPathDropsLeadingFoldersUntilItFits) {
    const TextMeasure length = [](const std::string& agText) {
        return static_cast<int32_t>(agText.size());
    };
    EXPECT_EQ(CompactPathToWidth(length, "/Alpha/Beta/file.txt", 20), "/Alpha/Beta/file.txt");
    EXPECT_EQ(CompactPathToWidth(length, "/Alpha/Beta/file.txt", 16), "/.../file.txt");
    EXPECT_EQ(CompactPathToWidth(length, "/Alpha/Beta/file.txt", 18), "/.../Beta/file.txt");
    EXPECT_EQ(CompactPathToWidth(length, "/Alpha/Beta/file.txt", 3), "/.../file.txt")
        << "nothing fits: the shortest form";
    EXPECT_EQ(CompactPathToWidth(length, "noseparator.txt", 3), "noseparator.txt");
}

}  // namespace
}  // namespace tkvFileString
