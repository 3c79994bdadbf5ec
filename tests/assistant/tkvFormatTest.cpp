#include "tkvFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(tkvFormatTest, ByteSizesAreCutAtEachUnitNeverRoundedUp) {
    const std::vector<std::pair<double, std::string>> cases = {
        {0, "0ﾊﾞｲﾄ"},           {1023, "1023ﾊﾞｲﾄ"},        {1024, "1.0KB"},
        {1100, "1.0KB"},        {1536, "1.5KB"},           {1048575, "1023.9KB"},
        {1048576, "1.00MB"},    {1073741823, "1023.99MB"}, {1073741824, "1.00GB"},
        {1610612736, "1.50GB"}, {5000000000.0, "4.65GB"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(tkvFormat::FormatByteSize(bytes), text) << bytes;
    }
}

TEST(tkvFormatTest, EscapingReplacesTheFiveMarkupCharactersOnly) {
    EXPECT_EQ(tkvFormat::EscapeHTML("a<b>&\"c\"'d'"), "a&lt;b&gt;&amp;&quot;c&quot;&#39;d&#39;");
    // An entity already in the text is escaped again: the text is shown as it is.
    EXPECT_EQ(tkvFormat::EscapeHTML("&amp;"), "&amp;amp;");
    EXPECT_EQ(tkvFormat::EscapeHTML("ﾌｧｲﾙ/分割 1.KPX"), "ﾌｧｲﾙ/分割 1.KPX");
    EXPECT_EQ(tkvFormat::EscapeHTML(""), "");
}

}  // namespace
