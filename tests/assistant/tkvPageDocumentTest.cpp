#include <gtest/gtest.h>

#include "tkvPageDocument.h"

namespace {

// A page with the shapes the result pages use: a verdict block closed by its writer, a heading,
// nested blocks, a table with an empty cell and a cell of two paths, and texts that need
// escaping.
tkvPageDocument SamplePage() {
    tkvPageDocument page;
    page.Heading("復元予測結果");
    page.BeginBlock();
    page.Texts({"できません。"});
    page.EndBlock();
    page.Heading("原因");
    page.BeginBlock();
    page.BeginBlock();
    page.Table({{{{"1"}, true}, {{"重複"}, true}, {{"a&b", "<c>"}, true}},
                {{{"2"}, true}, tkvPageDocument::Cell{}}});
    page.EndBlock();
    page.Paragraphs({{"原因1: ", "\"'x\x1b"}, {{}, "/p", true}});
    page.EndBlock();
    return page;
}

TEST(tkvPageDocumentTest, TextHasALinePerParagraphAndRowWithCellsTabbedAndBlocksIndented) {
    EXPECT_EQ(SamplePage().ToText(),
              "復元予測結果\n"
              "できません。\n"
              "原因\n"
              "  1\t重複\ta&b, <c>\n"
              "  2\t\n"
              "原因1: \"'x\x1b\n"
              "/p\n");
}

TEST(tkvPageDocumentTest, TheFilterSeesEveryTextButNotTheLayout) {
    const auto marked = [](std::string_view agText) { return "[" + std::string(agText) + "]"; };
    EXPECT_EQ(SamplePage().ToText(marked),
              "[復元予測結果]\n"
              "[できません。]\n"
              "[原因]\n"
              "  [1]\t[重複]\t[a&b], [<c>]\n"
              "  [2]\t\n"
              "[原因1: ][\"'x\x1b]\n"
              "[/p]\n");
}

TEST(tkvPageDocumentTest, HtmlEscapesEveryTextAndKeepsThePagesTags) {
    EXPECT_EQ(SamplePage().ToHTML(),
              "<p><b>復元予測結果</b></p><blockquote style=\"MARGIN-RIGHT: 0px\"><font size=2>"
              "<p>できません。</p></font></blockquote><p><b>原因</b></p>"
              "<blockquote style=\"MARGIN-RIGHT: 0px\"><blockquote style=\"MARGIN-RIGHT: 0px\">"
              "<table><tr><td><font size=2><div nowrap>1</div></font></td><td><font size=2>"
              "<div nowrap>重複</div></font></td><td><font size=2><div nowrap>a&amp;b</div>"
              "<div nowrap>&lt;c&gt;</div></font></td></tr><tr><td><font size=2><div nowrap>2"
              "</div></font></td><td></td></tr></table></blockquote><font size=2><p><b>原因1: </b>"
              "&quot;&#39;x\x1b</p><p><div nowrap>/p</div></p></font></blockquote>");
}

}  // namespace
