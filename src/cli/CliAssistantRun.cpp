#include "CliAssistantRun.h"

#include "CliInterrupt.h"
#include "CliText.h"
#include "DividoraCli.h"
#include "KPXUISepaAss.h"
#include "KPXUtilSettings.h"
#include "tkvCancelMng.h"
#include "tkvShowHTMLToIE.h"

namespace {

constexpr const char* kPageNotCreated = "HTMLﾌｧｲﾙを正常に作成できませんでした。";

}  // namespace

CliAssistantRun::CliAssistantRun(std::ostream& agOut, std::ostream& agErr, bool agShowProgress)
    // The settings live only for this run: the tool reads and writes no settings file.
    : out_(agOut),
      err_(agErr),
      sepaMng_(std::make_shared<KPXUtilSettings>()),
      progress_(agErr, agShowProgress),
      window_(sepaMng_, progress_) {}

CliAssistantRun::~CliAssistantRun() = default;

int CliAssistantRun::PrepareHtmlFile(const std::string& agPath, bool agReplace,
                                     const CliRunFiles& agFiles) {
    CliHtmlFile file(agPath, agReplace);
    std::string why;
    const int status = file.Check(agFiles, why);
    if (status != DividoraCli::kDone) {
        err_ << "dividora-cli: " << why << '\n';
        return status;
    }
    htmlFile_ = std::move(file);
    return DividoraCli::kDone;
}

int CliAssistantRun::Run(KPXUISepaAssWindow::Operation agOperation) {
    using Operation = KPXUISepaAssWindow::Operation;
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    KPXUISepaAss& assistant = *assistant_;
    // The operation a signal reached at one of its polls.
    std::shared_ptr<tkvCancelMng> signalled;
    CliInterrupt::CancelThrough([&assistant, &signalled] {
        signalled = assistant.CancelMng();
        return signalled;
    });
    bool done = false;
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
    CliInterrupt::CancelThrough({});
    // A run the signal stopped ends as cancelled. A signal after the files took their final
    // names changes nothing: the run is done; one that came as a run failed for a cause of its
    // own leaves that cause to be told.
    const bool cancelled = !done && signalled && signalled->IsCanceled();
    progress_.Finish();
    const auto page = assistant.ShowHTMLToIE();
    if (!page || page->Address().empty()) {
        err_ << "dividora-cli: " << kPageNotCreated << '\n';
        return DividoraCli::kFailed;
    }
    if (!assistant.PageShown()) {
        err_ << "dividora-cli: warning: " << kPageNotCreated
             << " (the page file could not be written; its text follows)\n";
    }
    std::string why;
    if (htmlFile_ && !htmlFile_->Write(assistant.Page(), why)) {
        err_ << "dividora-cli: " << why << '\n';
        done = false;
    }
    const std::string text = assistant.Page().ToText(&CliText::Escaped);
    if (cancelled) {
        err_ << text;
        return DividoraCli::CancelledBy(CliInterrupt::Signal());
    }
    (done ? out_ : err_) << text;
    if (!done && !window_.RefusedAddress().empty()) {
        err_ << "dividora-cli: " << CliText::Escaped(window_.RefusedAddress())
             << " exists; --force replaces it\n";
    }
    const bool estimate = agOperation == Operation::kEstimateSeparating ||
                          agOperation == Operation::kEstimateRestoring;
    const bool success = done && (!estimate || assistant.EstimateVerdict());
    return success ? DividoraCli::kDone : DividoraCli::kFailed;
}
