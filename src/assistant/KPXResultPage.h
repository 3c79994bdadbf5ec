#pragma once

#include <string>
#include <vector>

#include "KPXUISepaAssWindow.h"
#include "tkvPageDocument.h"

// The frame every result page shares around the body that a page writer fills: the title, the
// block that holds the verdict, and for a failure the causes and the piece to blame; rendered
// with the page's head and the link that opens the page file in a browser window.
class KPXResultPage {
public:
    using Operation = KPXUISepaAssWindow::Operation;

    explicit KPXResultPage(Operation agOperation);

    // What the page writer appends to: it starts inside the verdict's block.
    tkvPageDocument& Body() { return body_; }

    // A cancel drops what the writer wrote for the cancel note.
    void Cancelled();
    // A failure: its verdict, the causes' heading and the causes in order, then the piece at
    // which the run stopped (none: empty).
    void Failed(const std::vector<std::string>& agCauses, const std::string& agFailedPiece);

    // The title, the body and the end of the last block.
    tkvPageDocument Document() const;
    // The whole page, its link pointing at agAddress.
    static std::string HTML(const tkvPageDocument& agDocument, const std::string& agAddress);
    // The page a result view shows before its first result, its link pointing at agAddress.
    static std::string PlaceholderHTML(const std::string& agAddress);

private:
    Operation operation_;
    tkvPageDocument body_;
};
