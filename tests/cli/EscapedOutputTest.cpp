#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliCommandTest.h"
#include "CliText.h"

namespace {

TEST(CliTextTest, ControlCharactersBecomeEscapesAndTheRestStays) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"写真 1.jpg", "写真 1.jpg"},
        {"a\nb\rc\td", "a\\nb\\rc\\td"},
        {"\x1b[2J\x07", "\\x1b[2J\\x07"},
        {std::string("x\0y", 3), "x\\x00y"},
        {"\x7f", "\\x7f"},
        {"\xc2\x9b"
         "31m",
         "\\u009b31m"},                            // the one-character CSI of some terminals
        {"\xc2\xa0\xc2\xa9", "\xc2\xa0\xc2\xa9"},  // no-break space and ©: printable
        {"\xc2", "\xc2"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(CliText::Escaped(text), shown) << shown;
    }
}

// A folder whose name would clear the screen, set the terminal's title and start a new line.
class EscapedOutputTest : public CliCommandTest {
protected:
    void SetUp() override {
        CliCommandTest::SetUp();
        evil_ = NewFolder("x\x1b[2J\x1b]0;owned\x07\nline");
        shown_ = folder_.Path("x\\x1b[2J\\x1b]0;owned\\x07\\nline");
    }
    // No byte the terminal would act on, other than the line ends and the cell tabs.
    static bool Tame(const std::string& agText) {
        for (char c : agText) {
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') || c == 0x7f) {
                return false;
            }
        }
        return true;
    }

    std::string evil_;
    std::string shown_;
};

TEST_F(EscapedOutputTest, InfoPrintsPathsEscaped) {
    const auto listed = SplitInto(2, evil_);
    EXPECT_EQ(Run({"info", listed[0], evil_ + "/missing.KPX"}), DividoraCli::kFailed);
    EXPECT_EQ(Lines(out_.str()).front(), shown_ + "/a1.KPX");
    EXPECT_EQ(Lines(err_.str()).front().rfind(shown_ + "/missing.KPX: ", 0), 0u) << err_.str();
    EXPECT_TRUE(Tame(out_.str())) << out_.str();
    EXPECT_TRUE(Tame(err_.str())) << err_.str();
}

TEST_F(EscapedOutputTest, PagesAndMessagesPrintPathsEscaped) {
    const auto listed = SplitInto(2, pieces_);
    EXPECT_TRUE(Tame(out_.str())) << out_.str();
    EXPECT_EQ(Run({"restore", listed[0], listed[1], "-o", evil_}), DividoraCli::kDone)
        << err_.str();
    EXPECT_TRUE(HasLine(out_.str(), "復元先ｱﾄﾞﾚｽ\t" + shown_ + "/a.bin")) << out_.str();
    EXPECT_TRUE(Tame(out_.str())) << out_.str();

    // The restored file is there now: a second restore stops on it and says so.
    EXPECT_EQ(Run({"restore", listed[0], listed[1], "-o", evil_}), DividoraCli::kFailed);
    EXPECT_TRUE(
        HasLine(err_.str(), "dividora-cli: " + shown_ + "/a.bin exists; --force replaces it"))
        << err_.str();
    EXPECT_TRUE(Tame(err_.str())) << err_.str();
}

}  // namespace
