#include "CliFileSystem.h"

#include "tkvFileString.h"
#include "tkvProgramFolder.h"

std::string CliFileSystem::FolderOf(const std::string& agPath) {
    std::string folder;
    if (!tkvFileString::GetParentFolder(agPath, 1, folder)) {
        return ".";
    }
    return folder.empty() ? std::string(1, tkvFileString::kSeparator) : folder;
}

bool CliFileSystem::IsSameTarget(const std::string& agPathA, const std::string& agPathB) {
    return tkvFileString::IsSameFile(agPathA, agPathB) ||
           (tkvFileString::GetFileNamePart(agPathA) == tkvFileString::GetFileNamePart(agPathB) &&
            tkvFileString::IsSameFile(FolderOf(agPathA), FolderOf(agPathB)));
}

bool CliFileSystem::IsWritableFolder(const std::string& agPath) {
    return tkvProgramFolder::IsWritableFolder(agPath);
}
