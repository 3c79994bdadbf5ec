#include "CleanCommand.h"

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
            out_ << CliText::Escaped(folder) << ": left by run " << leftover.Tag
                 << (leftover.Committing
                         ? ", which ended while it gave its files their final names (its hidden "
                           "files are the only copy of new files or of the files they replaced):\n"
                         : ", which ended while it wrote:\n");
            for (const std::string& path : leftover.Paths) {
                int64_t length = 0;
                out_ << "  " << CliText::Escaped(path);
                if (tkvFileString::GetFileLength(path, length)) {
                    out_ << " (" << length << " bytes)";
                }
                out_ << '\n';
            }
            if (!agRemove) {
                continue;
            }
            if (tkvRunRecord::RemoveLeftover(leftover)) {
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
