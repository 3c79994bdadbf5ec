#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A result page as a small document: headings, groups of paragraphs, indented blocks and tables
// of cells, in the order they are added. It renders once to the page's HTML (every text
// escaped) for the views and page files, and once to plain text for the command-line tool: a
// line per heading, paragraph or table row, cells separated by a tab, each block indented.
//
// Blocks are opened and closed by separate elements because the pages close a block in one
// writer that another opened.
class tkvPageDocument {
public:
    // A paragraph: an optional bold lead ("原因1: "), then the text; a no-wrap paragraph keeps
    // its text on one line (a path).
    struct Paragraph {
        std::string Lead;
        std::string Text;
        bool NoWrap = false;
    };
    // A table cell: its lines (several paths in one cell), each kept on one line unless the cell
    // wraps; no lines makes an empty cell.
    struct Cell {
        std::vector<std::string> Lines;
        bool NoWrap = true;
    };
    using Row = std::vector<Cell>;
    // Turns a text from the page into what the reader may see (the tool escapes control
    // characters).
    using TextFilter = std::function<std::string(std::string_view)>;

    // "<p><b>X</b></p>"
    void Heading(const std::string& agText);
    // "<font size=2>" and each paragraph as "<p>...</p>", then "</font>"
    void Paragraphs(std::vector<Paragraph> agParagraphs);
    // A paragraph group of plain texts.
    void Texts(const std::vector<std::string>& agTexts);
    // Each text as "<p><font size=2>X</font></p>": the notes of a cancelled estimate.
    void Notes(const std::vector<std::string>& agTexts);
    // The indented block, opened and closed.
    void BeginBlock();
    void EndBlock();
    // "<table>" and its rows, then "</table>"
    void Table(std::vector<Row> agRows);
    // A table row of a name (kept on one line) and a value.
    static Row NameValue(const std::string& agName, const std::string& agValue,
                         bool agValueNoWrap = true);

    void Append(const tkvPageDocument& agOther);
    void Clear() { elements_.clear(); }
    bool Empty() const { return elements_.empty(); }

    std::string ToHTML() const;
    std::string ToText(const TextFilter& agFilter = {}) const;

private:
    struct HeadingElement {
        std::string Text;
    };
    struct ParagraphsElement {
        std::vector<Paragraph> Paragraphs;
    };
    struct NotesElement {
        std::vector<std::string> Texts;
    };
    struct BlockElement {
        bool Begin = true;
    };
    struct TableElement {
        std::vector<Row> Rows;
    };
    using Element =
        std::variant<HeadingElement, ParagraphsElement, NotesElement, BlockElement, TableElement>;

    std::vector<Element> elements_;
};
