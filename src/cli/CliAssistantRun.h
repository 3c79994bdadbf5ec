#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "CliHtmlFile.h"
#include "CliProgress.h"
#include "CliWindow.h"

class CliRunFiles;
class KPXUISepaAss;
class KPXUtilSettings;

// Runs one request through the operation assistant, as the window does, and tells its outcome
// the command-line way: the result page as text, the page copied where --html says, and the
// exit status.
class CliAssistantRun {
public:
    CliAssistantRun(std::ostream& agOut, std::ostream& agErr, bool agShowProgress);
    ~CliAssistantRun();
    CliAssistantRun(const CliAssistantRun&) = delete;
    CliAssistantRun& operator=(const CliAssistantRun&) = delete;

    // The settings and inputs the request runs with.
    KPXUtilSettings& Settings() { return *sepaMng_; }
    CliWindow& Window() { return window_; }

    // --html FILE, before anything is done: checked against agFiles, the run's own files. The
    // status to exit with when it is refused (said on stderr), DividoraCli::kDone otherwise.
    int PrepareHtmlFile(const std::string& agPath, bool agReplace, const CliRunFiles& agFiles);

    // Estimates: the page on stdout; 0 when it says the operation can be done, 1 otherwise.
    // Runs: the log on stdout and 0, or the failure page on stderr and 1. A run cancelled by
    // SIGINT, SIGTERM or SIGHUP is 128 + the signal's number. A page file that could not be
    // written is a warning; the status stays the operation's.
    int Run(KPXUISepaAssWindow::Operation agOperation);

    // The assistant of the last Run, for what a script needs beyond the page; none before.
    const KPXUISepaAss* Assistant() const { return assistant_.get(); }

private:
    std::ostream& out_;
    std::ostream& err_;
    std::shared_ptr<KPXUtilSettings> sepaMng_;
    CliProgress progress_;
    CliWindow window_;
    std::optional<CliHtmlFile> htmlFile_;
    std::unique_ptr<KPXUISepaAss> assistant_;
};
