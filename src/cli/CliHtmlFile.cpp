#include "CliHtmlFile.h"

#include <filesystem>

#include "CliFileSystem.h"
#include "CliRunFiles.h"
#include "CliText.h"
#include "DividoraCli.h"
#include "KPXResultPage.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"
#include "tkvProgramFolder.h"
#include "tkvStagedFiles.h"
#include "tkvStringControl.h"

int CliHtmlFile::Check(const CliRunFiles& agFiles, std::string& ouWhy) const {
    const std::string shown = CliText::Escaped(path_);
    if (agFiles.Holds(path_)) {
        ouWhy = "--html " + shown + ": the page would replace a file this run reads or writes";
        return DividoraCli::kBadUsage;
    }
    if (!tkvProgramFolder::IsWritableFolder(CliFileSystem::FolderOf(path_))) {
        // Said before the run, which would otherwise end with its page lost.
        ouWhy = "--html " + shown + ": its folder is missing or not writable";
        return DividoraCli::kFailed;
    }
    std::string what;
    switch (tkvFileString::InspectTarget(path_, what)) {
        case tkvFileString::TargetState::kAbsent:
            return DividoraCli::kDone;
        case tkvFileString::TargetState::kNotAFile:
            ouWhy = "--html " + shown + ": no regular file (" + what + ")";
            return DividoraCli::kBadUsage;
        case tkvFileString::TargetState::kReplaceable:
            break;
    }
    if (replace_) {
        return DividoraCli::kDone;
    }
    ouWhy = shown + " exists; --force replaces it";
    return DividoraCli::kFailed;
}

bool CliHtmlFile::Write(const tkvPageDocument& agPage, std::string& ouWhy) const {
    std::error_code ignored;
    const std::string html =
        KPXResultPage::HTML(agPage, std::filesystem::absolute(path_, ignored).string());
    // Written as the runs write their files: under a hidden name beside FILE, renamed to it
    // only when complete.
    tkvStagedFiles staged;
    tkvFileRWCtrl file;
    file.SetFileAddress(staged.Stage(path_, replace_));
    std::string failedPath;
    std::string systemText;
    bool written = false;
    if (file.OpenForBinaryClearing()) {
        try {
            const std::string bytes = tkvStringControl::ToCodePageWithReferences(html);
            file.WriteBlock(bytes.data(), static_cast<int64_t>(bytes.size()));
            file.FinishWriting();
            written = staged.CommitAll(failedPath, systemText);
        } catch (const tkvFileError& error) {
            systemText = error.SystemText();
        }
    } else {
        systemText = file.OpenFailure();
        staged.Unstage();
    }
    if (!written) {
        file.CloseFile();
        staged.DiscardAll();
        ouWhy = CliText::Escaped(path_) + ": the page could not be written: " + systemText;
    }
    return written;
}
