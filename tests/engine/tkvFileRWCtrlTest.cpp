#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <limits>

#include "TestFiles.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"

namespace {

class tkvFileRWCtrlTest : public ::testing::Test {
protected:
    // A file at agName opened for reading and writing (created when missing).
    void Open(const std::string& agName, int32_t agAccess = tkvFileRWCtrl::kReadWrite) {
        file_.CloseFile();
        file_.SetFileAddress(folder_.Path(agName));
        file_.SetFileAccess(agAccess);
        ASSERT_TRUE(file_.OpenForBinary());
    }
    void Rewind() { file_.SetCurrentPoint(1); }

    TempFolder folder_;
    tkvFileRWCtrl file_;
};

TEST_F(tkvFileRWCtrlTest, EveryTypedValueRoundTripsWithItsWidth) {
    Open("values");
    ASSERT_TRUE(file_.SetByte(0xAB));
    ASSERT_TRUE(file_.SetInteger(-2));
    ASSERT_TRUE(file_.SetLong(std::numeric_limits<int32_t>::min()));
    ASSERT_TRUE(file_.SetSingle(1.25f));
    ASSERT_TRUE(file_.SetDouble(-0.1));
    ASSERT_TRUE(file_.SetDate(1.5));
    ASSERT_TRUE(file_.SetBoolean(true));
    ASSERT_TRUE(file_.SetBoolean(false));
    EXPECT_EQ(file_.CurrentPoint(), 1 + 1 + 2 + 4 + 4 + 8 + 8 + 2 + 2);

    Rewind();
    uint8_t byte = 0;
    int16_t integer = 0;
    int32_t number = 0;
    float single = 0;
    double real = 0;
    double date = 0;
    bool yes = false;
    bool no = true;
    ASSERT_TRUE(file_.GetByte(byte) && file_.GetInteger(integer) && file_.GetLong(number) &&
                file_.GetSingle(single) && file_.GetDouble(real) && file_.GetDate(date) &&
                file_.GetBoolean(yes) && file_.GetBoolean(no));
    EXPECT_EQ(byte, 0xAB);
    EXPECT_EQ(integer, -2);
    EXPECT_EQ(number, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(single, 1.25f);
    EXPECT_EQ(real, -0.1);
    EXPECT_EQ(date, 1.5);
    EXPECT_TRUE(yes);
    EXPECT_FALSE(no);
}

TEST_F(tkvFileRWCtrlTest, BytesOnDiskAreLittleEndianWithoutPadding) {
    Open("bytes");
    file_.SetString("abc");
    EXPECT_EQ(file_.CurrentPoint(), 8);
    file_.SetBoolean(true);
    file_.SetDate(1.5);  // 1899-12-31 12:00
    file_.SetLong(0x01020304);
    file_.CloseFile();
    EXPECT_EQ(ReadAllBytes(folder_.Path("bytes")), std::string("\x03\x00\x00\x00"
                                                               "abc"
                                                               "\xFF\xFF"
                                                               "\x00\x00\x00\x00\x00\x00\xF8\x3F"
                                                               "\x04\x03\x02\x01",
                                                               4 + 3 + 2 + 8 + 4));
}

TEST_F(tkvFileRWCtrlTest, ShortReadsAnswerFalse) {
    WriteAllBytes(folder_.Path("short"), "\x01\x02\x03");
    Open("short");
    int32_t number = 7;
    EXPECT_FALSE(file_.GetLong(number));
    EXPECT_EQ(number, 7);
    Rewind();
    double date = 7;
    EXPECT_FALSE(file_.GetDate(date));
    uint8_t byte = 0;
    Rewind();
    EXPECT_TRUE(file_.GetByte(byte));
    EXPECT_EQ(byte, 1);
}

TEST_F(tkvFileRWCtrlTest, CheckedTextLengthsStopTheReader) {
    WriteAllBytes(folder_.Path("len65"), std::string("\x41\x00\x00\x00", 4) + std::string(70, 'x'));
    Open("len65");
    std::string text = "untouched";
    EXPECT_FALSE(file_.GetStringChecking(64, text));
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(file_.CurrentPoint(), 5) << "only the length was consumed";

    WriteAllBytes(folder_.Path("negative"), LongBytes(-1) + "abc");
    Open("negative");
    EXPECT_FALSE(file_.GetStringChecking(64, text));

    WriteAllBytes(folder_.Path("empty-text"), LongBytes(0));
    Open("empty-text");
    EXPECT_TRUE(file_.GetStringChecking(64, text));
    EXPECT_EQ(text, "");

    WriteAllBytes(folder_.Path("huge"), LongBytes(std::numeric_limits<int32_t>::max()) + "abc");
    Open("huge");
    EXPECT_FALSE(file_.GetString(text)) << "an unchecked huge length fails at the end of file";
}

TEST_F(tkvFileRWCtrlTest, DoubleByteTextsAreFoundByCharacterCount) {
    // The prefix counts characters, so the reader must find where the bytes end.
    Open("mixed");
    const std::string mixed = "ﾃｽﾄ漢字ｶﾅ\\";  // kanji trail bytes can look like lead bytes
    ASSERT_TRUE(file_.SetString(mixed));
    ASSERT_TRUE(file_.SetString("表"));  // 0x95 0x5C: the trail byte is a backslash
    ASSERT_TRUE(file_.SetLong(42));
    Rewind();
    int32_t count = 0;
    ASSERT_TRUE(file_.GetLong(count));
    EXPECT_EQ(count, 8);
    Rewind();
    std::string first;
    std::string second;
    int32_t after = 0;
    ASSERT_TRUE(file_.GetString(first));
    ASSERT_TRUE(file_.GetString(second));
    ASSERT_TRUE(file_.GetLong(after));
    EXPECT_EQ(first, mixed);
    EXPECT_EQ(second, "表");
    EXPECT_EQ(after, 42);
}

TEST_F(tkvFileRWCtrlTest, TextsWithoutACodePageFormAreNotWritten) {
    Open("emoji");
    EXPECT_FALSE(file_.SetString("a😀"));
    EXPECT_FALSE(file_.SetStringOnly("😀"));
    EXPECT_EQ(file_.FileLength(), 0) << "not even the length prefix";
}

TEST_F(tkvFileRWCtrlTest, AddressIsFixedWhileOpen) {
    Open("first");
    file_.SetFileAddress(folder_.Path("second"));
    EXPECT_EQ(file_.FileAddress(), folder_.Path("first"));
    file_.CloseFile();
    EXPECT_EQ(file_.FileNum(), -1);
    file_.SetFileAddress(folder_.Path("second"));
    EXPECT_EQ(file_.FileAddress(), folder_.Path("second"));
}

TEST_F(tkvFileRWCtrlTest, ReadOnlyAccessOpensProtectedFilesAndCreatesNothing) {
    WriteAllBytes(folder_.Path("ro"), LongBytes(5));
    ::chmod(folder_.Path("ro").c_str(), 0444);
    Open("ro", tkvFileRWCtrl::kReadOnly);
    int32_t number = 0;
    EXPECT_TRUE(file_.GetLong(number));
    EXPECT_EQ(number, 5);
    EXPECT_THROW(file_.SetLong(1), tkvFileError) << "a read-only handle refuses writes";

    file_.CloseFile();
    file_.SetFileAddress(folder_.Path("missing"));
    EXPECT_FALSE(file_.OpenForBinary());
    EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path("missing")), tkvFileString::kMissing);
}

TEST_F(tkvFileRWCtrlTest, OpenRefusesFoldersPipesAndUnknownModes) {
    file_.SetFileAddress(folder_.Path());
    EXPECT_FALSE(file_.OpenForBinary());
    EXPECT_FALSE(file_.OpenForBinaryClearing());
    EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path()), tkvFileString::kFolder);

    ::mkfifo(folder_.Path("pipe").c_str(), 0600);
    file_.SetFileAddress(folder_.Path("pipe"));
    file_.SetFileAccess(tkvFileRWCtrl::kReadOnly);
    EXPECT_FALSE(file_.OpenForBinary()) << "returns at once instead of waiting for a writer";

    file_.SetFileAddress(folder_.Path("x"));
    file_.SetFileAccess(3);
    EXPECT_FALSE(file_.OpenForBinary());
    file_.SetFileAccess(0);
    file_.SetFileLock(4);
    EXPECT_FALSE(file_.OpenForBinary());
}

TEST_F(tkvFileRWCtrlTest, ClearingReplacesAReadOnlyFileAndALinkWithAFreshFile) {
    WriteAllBytes(folder_.Path("old"), "old content");
    ::chmod(folder_.Path("old").c_str(), 0444);
    file_.SetFileAddress(folder_.Path("old"));
    ASSERT_TRUE(file_.OpenForBinaryClearing());
    EXPECT_EQ(file_.FileLength(), 0);
    file_.CloseFile();

    // The link is replaced; the file it pointed to stays as it was.
    WriteAllBytes(folder_.Path("target"), "keep");
    ::symlink(folder_.Path("target").c_str(), folder_.Path("link").c_str());
    file_.SetFileAddress(folder_.Path("link"));
    ASSERT_TRUE(file_.OpenForBinaryClearing());
    file_.SetString("new");
    file_.CloseFile();
    EXPECT_EQ(ReadAllBytes(folder_.Path("target")), "keep");
    EXPECT_EQ(ReadAllBytes(folder_.Path("link")).size(), 7u);
}

TEST_F(tkvFileRWCtrlTest, FullDiskRaisesOurErrorWithTheSystemsText) {
    Open("full");
    ScopedFileSizeLimit limit(10);
    ASSERT_TRUE(file_.SetDouble(1.0));
    try {
        file_.SetDouble(2.0);
        FAIL() << "a write past the limit must raise";
    } catch (const tkvFileError& error) {
        EXPECT_EQ(error.ErrorNumber(), EFBIG);
        EXPECT_FALSE(error.SystemText().empty());
        EXPECT_NE(std::string(error.what()).find(error.SystemText()), std::string::npos);
    }
}

TEST_F(tkvFileRWCtrlTest, AccessWithoutAnOpenFileRaises) {
    int32_t number = 0;
    EXPECT_THROW(file_.GetLong(number), tkvFileError);
    EXPECT_THROW(file_.SetLong(1), tkvFileError);
    EXPECT_THROW(file_.SetCurrentPoint(0), tkvFileError);
}

}  // namespace
