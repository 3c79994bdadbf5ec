#include <gtest/gtest.h>

#include "CliPageText.h"

namespace {

TEST(CliPageTextTest, ParagraphsAndRowsBecomeLinesAndCellsTabs) {
    const std::string page =
        "<html><body><meta HTTP-EQUIV=\"Content-Type\" Content=\"text/html; charset=x-sjis\">"
        "<p><Font Size=2><A href=\"/tmp/tkvAB.html\" target=_blank>新しいウィンドウで表示する"
        "</A></Font></p><p><b>復元予測結果</b></p>"
        "<blockquote style=\"MARGIN-RIGHT: 0px\"><font size=2><p>できません。</p></font>"
        "</blockquote><p><b>原因</b></p><blockquote style=\"MARGIN-RIGHT: 0px\">"
        "<blockquote style=\"MARGIN-RIGHT: 0px\"><table>"
        "<tr><td><font size=2><div nowrap>1</div></font></td><td><font size=2><div nowrap>"
        "重複</div></font></td><td><font size=2><div nowrap>a&amp;b</div><div nowrap>&lt;c&gt;"
        "</div></font></td></tr><tr><td>2</td><td></td></tr></table></blockquote>"
        "<font size=2><p>&quot;&#39;&#128512;&bogus;</p></font></blockquote></body></html>";
    EXPECT_EQ(CliPageText::FromHTML(page),
              "復元予測結果\n"
              "できません。\n"
              "原因\n"
              "  1\t重複\ta&b, <c>\n"
              "  2\t\n"
              "\"'😀&bogus;\n");
}

}  // namespace
