#include "CliAssistantRun.h"

#include <filesystem>

#include "CliInterrupt.h"
#include "CliPageText.h"
#include "DividoraCli.h"
#include "KPXUISepaAss.h"
#include "KPXUISepaMng.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFormat.h"
#include "tkvShowHTMLToIE.h"
#include "tkvStringControl.h"

namespace {

// The page written to agPath in CP932, as it declares; its link to itself points at the copy,
// since the page file goes when the run ends.
bool CopyPage(const tkvShowHTMLToIE& agPage, const std::string& agPath) {
    std::string html = agPage.HTML();
    const std::string link = "href=\"" + tkvFormat::EscapeHTML(agPage.Address()) + "\"";
    const size_t at = html.find(link);
    if (at != std::string::npos) {
        std::error_code ignored;
        const std::string copy = std::filesystem::absolute(agPath, ignored).string();
        html.replace(at, link.size(), "href=\"" + tkvFormat::EscapeHTML(copy) + "\"");
    }
    tkvFileRWCtrl file;
    file.SetFileAddress(agPath);
    if (!file.OpenForBinaryClearing()) {
        return false;
    }
    try {
        const std::string bytes = tkvStringControl::ToCodePageWithReferences(html);
        file.WriteBlock(bytes.data(), static_cast<int64_t>(bytes.size()));
    } catch (const tkvFileError&) {
        return false;
    }
    return true;
}

}  // namespace

CliAssistantRun::CliAssistantRun(std::ostream& agOut, std::ostream& agErr, bool agShowProgress)
    // The settings live only for this run: the tool reads and writes no settings file.
    : out_(agOut),
      err_(agErr),
      sepaMng_(std::make_shared<KPXUISepaMng>()),
      progress_(agErr, agShowProgress),
      window_(sepaMng_, progress_) {}

int CliAssistantRun::Run(KPXUISepaAssWindow::Operation agOperation, const std::string& agHtmlFile) {
    using Operation = KPXUISepaAssWindow::Operation;
    KPXUISepaAss assistant(window_);
    bool done = false;
    bool interrupted = false;
    {
        CliInterrupt interrupt([&assistant] { return assistant.CancelMng(); });
        switch (agOperation) {
            case Operation::kEstimateSeparating:
                done = assistant.EstimateSeparating();
                break;
            case Operation::kEstimateRestoring:
                done = assistant.EstimateRestoring();
                break;
            case Operation::kSeparate:
                done = assistant.Separate();
                break;
            case Operation::kRestore:
                done = assistant.Restore();
                break;
        }
        interrupted = interrupt.Interrupted();
    }
    progress_.Finish();
    const auto page = assistant.ShowHTMLToIE();
    if (!page || page->Address().empty()) {
        err_ << "dividora-cli: HTMLﾌｧｲﾙを正常に作成できませんでした。\n";
        return DividoraCli::kFailed;
    }
    if (!agHtmlFile.empty() && !CopyPage(*page, agHtmlFile)) {
        err_ << "dividora-cli: " << agHtmlFile << ": the page could not be written\n";
        done = false;
    }
    const std::string text = CliPageText::FromHTML(page->HTML());
    if (interrupted && !done) {
        err_ << text;
        return DividoraCli::kCancelled;
    }
    (done ? out_ : err_) << text;
    const bool estimate = agOperation == Operation::kEstimateSeparating ||
                          agOperation == Operation::kEstimateRestoring;
    const bool success = done && (!estimate || assistant.EstimateVerdict());
    return success ? DividoraCli::kDone : DividoraCli::kFailed;
}
