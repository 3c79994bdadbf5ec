#include "CleanCommand.h"

#include "CliInterrupt.h"
#include "CliText.h"
#include "DividoraCli.h"
#include "tkvFileString.h"
#include "tkvRunRecord.h"

int CleanCommand::Run(const std::vector<std::string>& agFolders, bool agRemove) {
    int status = DividoraCli::kDone;
    for (const std::string& folder : agFolders) {
        if (tkvFileString::GetPathKind(folder) != tkvFileString::kFolder) {
            err_ << "dividora-cli: " << CliText::Escaped(folder) << " is no folder\n";
            status = DividoraCli::kFailed;
            continue;
        }
        const auto leftovers = tkvRunRecord::FindLeftovers(folder);
        if (leftovers.empty()) {
            out_ << CliText::Escaped(folder) << ": nothing left by ended runs\n";
        }
        for (const auto& leftover : leftovers) {
            // Between runs, so a signal stops the listing and no removal is cut in half.
            if (CliInterrupt::Interrupted()) {
                err_ << "dividora-cli: clean was cancelled\n";
                return DividoraCli::CancelledBy(CliInterrupt::Signal());
            }
            List(folder, leftover);
            if (!agRemove) {
                continue;
            }
            if (!leftover.OtherMachine.empty()) {
                err_ << "dividora-cli: run " << leftover.Tag << " ran on "
                     << CliText::Escaped(leftover.OtherMachine)
                     << " and may still run there: clean it there\n";
                status = DividoraCli::kFailed;
            } else if (tkvRunRecord::RemoveLeftover(leftover)) {
                out_ << "  removed\n";
            } else {
                err_ << "dividora-cli: not every file of run " << leftover.Tag << " in "
                     << CliText::Escaped(folder) << " could be removed\n";
                status = DividoraCli::kFailed;
            }
        }
    }
    return status;
}

void CleanCommand::List(const std::string& agFolder, const tkvRunRecord::Leftover& agLeftover) {
    out_ << CliText::Escaped(agFolder) << ": left by run " << agLeftover.Tag;
    if (!agLeftover.OtherMachine.empty()) {
        out_ << " of " << CliText::Escaped(agLeftover.OtherMachine);
    }
    out_ << (agLeftover.Committing
                 ? ", which ended while it gave its files their final names (its hidden files are "
                   "the only copy of new files or of the files they replaced):\n"
                 : ", which ended while it wrote:\n");
    std::vector<std::string> paths = agLeftover.Files;
    paths.push_back(agLeftover.Record);
    for (const std::string& path : paths) {
        int64_t length = 0;
        out_ << "  " << CliText::Escaped(path);
        if (tkvFileString::GetFileLength(path, length)) {
            out_ << " (" << length << " bytes)";
        }
        out_ << '\n';
    }
}
