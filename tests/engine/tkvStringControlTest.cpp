#include <gtest/gtest.h>

#include "tkvStringControl.h"

namespace tkvStringControl {
namespace {

TEST(tkvStringControlTest, WindowsCharactersConvertBothWays) {
    // ～ ① 髙 are in CP932 but not in plain Shift_JIS.
    for (std::string text : {"abc", "分割ﾌｧｲﾙ", "～①髙", "ｱｲｳ漢字"}) {
        std::string bytes;
        std::string back;
        ASSERT_TRUE(ToCodePage(text, bytes)) << text;
        ASSERT_TRUE(FromCodePage(bytes, back)) << text;
        EXPECT_EQ(back, text);
        EXPECT_TRUE(IsExactInCodePage(text)) << text;
    }
}

TEST(tkvStringControlTest, ByteLengthCountsCodePageBytes) {
    int32_t length = -1;
    ASSERT_TRUE(GetByteLength("a.bin", length));
    EXPECT_EQ(length, 5);
    ASSERT_TRUE(GetByteLength("漢字", length));
    EXPECT_EQ(length, 4);
    ASSERT_TRUE(GetByteLength("ｶﾅ", length));
    EXPECT_EQ(length, 2) << "half-width katakana is one byte each";
    length = -1;
    EXPECT_FALSE(GetByteLength("a😀", length)) << "no silent question mark";
    EXPECT_EQ(length, -1);
}

TEST(tkvStringControlTest, CharactersThatComeBackAsOthersAreNotExact) {
    EXPECT_FALSE(IsExactInCodePage("price¥100")) << "¥ becomes 0x5C, a backslash";
    EXPECT_FALSE(IsExactInCodePage("〜")) << "U+301C comes back as U+FF5E";
    EXPECT_FALSE(IsExactInCodePage("😀"));
    EXPECT_FALSE(IsExactInCodePage("\xff")) << "not UTF-8 at all";
}

TEST(tkvStringControlTest, BytesThatAreNotCodePageTextFail) {
    std::string text = "untouched";
    EXPECT_FALSE(FromCodePage("\x81", text)) << "a lead byte without its trail";
    EXPECT_EQ(text, "untouched");
}

TEST(tkvStringControlTest, CharacterCountIsUtf16Units) {
    EXPECT_EQ(CountOfCharacters(""), 0);
    EXPECT_EQ(CountOfCharacters("a.bin"), 5);
    EXPECT_EQ(CountOfCharacters("漢字"), 2);
    EXPECT_EQ(CountOfCharacters("ｶﾅa"), 3);
    EXPECT_EQ(CountOfCharacters("😀"), 2);
}

}  // namespace
}  // namespace tkvStringControl
