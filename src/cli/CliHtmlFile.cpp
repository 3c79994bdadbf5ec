#include "CliHtmlFile.h"

#include <filesystem>

#include "CliFileSystem.h"
#include "CliRunFiles.h"
#include "CliText.h"
#include "DividoraCli.h"
#include "tkvFormat.h"
#include "tkvShowHTMLToIE.h"
#include "tkvStringControl.h"

int CliHtmlFile::Check(const CliRunFiles& agFiles, std::string& ouWhy) const {
    const std::string shown = CliText::Escaped(path_);
    if (agFiles.Holds(path_)) {
        ouWhy = "--html " + shown + ": the page would replace a file this run reads or writes";
        return DividoraCli::kBadUsage;
    }
    if (!CliFileSystem::IsWritableFolder(CliFileSystem::FolderOf(path_))) {
        // Said before the run, which would otherwise end with its page lost.
        ouWhy = "--html " + shown + ": its folder is missing or not writable";
        return DividoraCli::kFailed;
    }
    switch (CliFileSystem::EntryAt(path_)) {
        case CliFileSystem::Entry::kNone:
            return DividoraCli::kDone;
        case CliFileSystem::Entry::kOther:
            ouWhy = "--html " + shown + ": not a regular file";
            return DividoraCli::kBadUsage;
        case CliFileSystem::Entry::kReplaceable:
            break;
    }
    if (replace_) {
        return DividoraCli::kDone;
    }
    ouWhy = shown + " exists; --force replaces it";
    return DividoraCli::kFailed;
}

bool CliHtmlFile::Write(const tkvShowHTMLToIE& agPage, std::string& ouWhy) const {
    std::string html = agPage.HTML();
    const std::string link = "href=\"" + tkvFormat::EscapeHTML(agPage.Address()) + "\"";
    const size_t at = html.find(link);
    if (at != std::string::npos) {
        std::error_code ignored;
        const std::string copy = std::filesystem::absolute(path_, ignored).string();
        html.replace(at, link.size(), "href=\"" + tkvFormat::EscapeHTML(copy) + "\"");
    }
    std::string why;
    if (!CliFileSystem::WriteByRename(path_, tkvStringControl::ToCodePageWithReferences(html),
                                      replace_, why)) {
        ouWhy = CliText::Escaped(path_) + ": the page could not be written: " + why;
        return false;
    }
    return true;
}
