#include "KPXResultPage.h"

#include "tkvFormat.h"

namespace {

using Operation = KPXResultPage::Operation;

bool IsEstimate(Operation agOperation) {
    return agOperation == Operation::kEstimateSeparating ||
           agOperation == Operation::kEstimateRestoring;
}

const char* Title(Operation agOperation) {
    switch (agOperation) {
        case Operation::kEstimateSeparating:
            return "分割予測結果";
        case Operation::kEstimateRestoring:
            return "復元予測結果";
        case Operation::kSeparate:
            return "分割実行結果";
        case Operation::kRestore:
            break;
    }
    return "復元実行結果";
}

const char* FailureText(Operation agOperation) {
    switch (agOperation) {
        case Operation::kEstimateSeparating:
            return "分割予測の実行は失敗しました。";
        case Operation::kEstimateRestoring:
            return "復元予測の実行は失敗しました。";
        case Operation::kSeparate:
            return "分割実行は失敗しました。";
        case Operation::kRestore:
            break;
    }
    return "復元実行は失敗しました。";
}

// The head of every page and the link that opens its file in a browser window.
std::string Head(const std::string& agAddress) {
    return "<html><body><meta HTTP-EQUIV=\"Content-Type\" Content=\"text/html; charset=x-sjis\">"
           "<p><Font Size=2><A href=\"" +
           tkvFormat::EscapeHTML(agAddress) +
           "\" target=_blank>新しいウィンドウで表示する</A></Font></p>";
}

}  // namespace

KPXResultPage::KPXResultPage(Operation agOperation) : operation_(agOperation) {
    body_.BeginBlock();
}

void KPXResultPage::Cancelled() {
    body_.Clear();
    const std::string cancelled = "実行はｷｬﾝｾﾙされました。";
    if (IsEstimate(operation_)) {
        body_.Notes({cancelled, KPXUISepaAssWindow::IsSplit(operation_)
                                    ? "分割の予測は完了していません。"
                                    : "復元の予測は完了していません。"});
    } else {
        body_.Texts({cancelled});
    }
}

void KPXResultPage::Failed(const std::vector<std::string>& agCauses,
                           const std::string& agFailedPiece) {
    body_.Texts({FailureText(operation_)});
    body_.EndBlock();
    body_.Heading("原因");
    body_.BeginBlock();
    for (const std::string& cause : agCauses) {
        body_.Texts({cause});
    }
    if (!agFailedPiece.empty()) {
        body_.Paragraphs({{{},
                           KPXUISepaAssWindow::IsSplit(operation_) ? "ｴﾗｰが発生した分割先ﾌｧｲﾙ:"
                                                                   : "ｴﾗｰが発生した復元元ﾌｧｲﾙ:"},
                          {{}, agFailedPiece, true}});
    }
}

tkvPageDocument KPXResultPage::Document() const {
    tkvPageDocument page;
    page.Heading(Title(operation_));
    page.Append(body_);
    page.EndBlock();
    return page;
}

std::string KPXResultPage::HTML(const tkvPageDocument& agDocument, const std::string& agAddress) {
    return Head(agAddress) + agDocument.ToHTML() + "</body></html>";
}

std::string KPXResultPage::PlaceholderHTML(const std::string& agAddress) {
    return Head(agAddress) + "<p><Font Size=2>実行結果が表示されます。</Font></p></body></html>";
}
