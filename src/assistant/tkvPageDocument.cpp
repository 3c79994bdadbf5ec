#include "tkvPageDocument.h"

#include <algorithm>

#include "tkvFormat.h"

namespace {

const std::string kBlockTag = "<blockquote style=\"MARGIN-RIGHT: 0px\">";

std::string Escaped(std::string_view agText) { return tkvFormat::EscapeHTML(agText); }

std::string CellHTML(const tkvPageDocument::Cell& agCell) {
    if (agCell.Lines.empty()) {
        return "<td></td>";
    }
    std::string html = "<td><font size=2>";
    for (const std::string& line : agCell.Lines) {
        html += agCell.NoWrap ? "<div nowrap>" + Escaped(line) + "</div>" : Escaped(line);
    }
    return html + "</font></td>";
}

// The text lines of a page: each indented by its block depth, blank ones left out.
class TextLines {
public:
    explicit TextLines(const tkvPageDocument::TextFilter& agFilter) : filter_(agFilter) {}

    std::string Filtered(std::string_view agText) const {
        return filter_ ? filter_(agText) : std::string(agText);
    }
    void Add(const std::string& agLine) {
        const size_t start = agLine.find_first_not_of(" \t");
        if (start != std::string::npos) {
            // The page's own first block holds its verdict: it starts at the left edge.
            text_ += std::string(static_cast<size_t>(2 * std::max(depth_ - 1, 0)), ' ') +
                     agLine.substr(start) + "\n";
        }
    }
    void Indent(int agBy) { depth_ += agBy; }
    const std::string& Text() const { return text_; }

private:
    const tkvPageDocument::TextFilter& filter_;
    std::string text_;
    int depth_ = 0;
};

}  // namespace

void tkvPageDocument::Heading(const std::string& agText) {
    elements_.emplace_back(HeadingElement{agText});
}

void tkvPageDocument::Paragraphs(std::vector<Paragraph> agParagraphs) {
    elements_.emplace_back(ParagraphsElement{std::move(agParagraphs)});
}

void tkvPageDocument::Texts(const std::vector<std::string>& agTexts) {
    std::vector<Paragraph> paragraphs;
    for (const std::string& text : agTexts) {
        paragraphs.push_back({{}, text, false});
    }
    Paragraphs(std::move(paragraphs));
}

void tkvPageDocument::Notes(const std::vector<std::string>& agTexts) {
    elements_.emplace_back(NotesElement{agTexts});
}

void tkvPageDocument::BeginBlock() { elements_.emplace_back(BlockElement{true}); }

void tkvPageDocument::EndBlock() { elements_.emplace_back(BlockElement{false}); }

void tkvPageDocument::Table(std::vector<Row> agRows) {
    elements_.emplace_back(TableElement{std::move(agRows)});
}

tkvPageDocument::Row tkvPageDocument::NameValue(const std::string& agName,
                                                const std::string& agValue, bool agValueNoWrap) {
    return {Cell{{agName}, true}, Cell{{agValue}, agValueNoWrap}};
}

void tkvPageDocument::Append(const tkvPageDocument& agOther) {
    elements_.insert(elements_.end(), agOther.elements_.begin(), agOther.elements_.end());
}

std::string tkvPageDocument::ToHTML() const {
    std::string html;
    for (const Element& element : elements_) {
        if (const auto* heading = std::get_if<HeadingElement>(&element)) {
            html += "<p><b>" + Escaped(heading->Text) + "</b></p>";
        } else if (const auto* group = std::get_if<ParagraphsElement>(&element)) {
            html += "<font size=2>";
            for (const Paragraph& paragraph : group->Paragraphs) {
                html += "<p>";
                if (!paragraph.Lead.empty()) {
                    html += "<b>" + Escaped(paragraph.Lead) + "</b>";
                }
                html += paragraph.NoWrap ? "<div nowrap>" + Escaped(paragraph.Text) + "</div>"
                                         : Escaped(paragraph.Text);
                html += "</p>";
            }
            html += "</font>";
        } else if (const auto* notes = std::get_if<NotesElement>(&element)) {
            for (const std::string& text : notes->Texts) {
                html += "<p><font size=2>" + Escaped(text) + "</font></p>";
            }
        } else if (const auto* block = std::get_if<BlockElement>(&element)) {
            html += block->Begin ? kBlockTag : "</blockquote>";
        } else if (const auto* table = std::get_if<TableElement>(&element)) {
            html += "<table>";
            for (const Row& row : table->Rows) {
                html += "<tr>";
                for (const Cell& cell : row) {
                    html += CellHTML(cell);
                }
                html += "</tr>";
            }
            html += "</table>";
        }
    }
    return html;
}

std::string tkvPageDocument::ToText(const TextFilter& agFilter) const {
    TextLines lines(agFilter);
    for (const Element& element : elements_) {
        if (const auto* heading = std::get_if<HeadingElement>(&element)) {
            lines.Add(lines.Filtered(heading->Text));
        } else if (const auto* group = std::get_if<ParagraphsElement>(&element)) {
            for (const Paragraph& paragraph : group->Paragraphs) {
                const std::string lead =
                    paragraph.Lead.empty() ? std::string() : lines.Filtered(paragraph.Lead);
                lines.Add(lead + lines.Filtered(paragraph.Text));
            }
        } else if (const auto* notes = std::get_if<NotesElement>(&element)) {
            for (const std::string& text : notes->Texts) {
                lines.Add(lines.Filtered(text));
            }
        } else if (const auto* block = std::get_if<BlockElement>(&element)) {
            lines.Indent(block->Begin ? 1 : -1);
        } else if (const auto* table = std::get_if<TableElement>(&element)) {
            for (const Row& row : table->Rows) {
                std::string line;
                for (size_t c = 0; c < row.size(); ++c) {
                    if (c > 0) {
                        line += '\t';
                    }
                    for (size_t l = 0; l < row[c].Lines.size(); ++l) {
                        line += (l > 0 ? ", " : "") + lines.Filtered(row[c].Lines[l]);
                    }
                }
                lines.Add(line);
            }
        }
    }
    return lines.Text();
}
