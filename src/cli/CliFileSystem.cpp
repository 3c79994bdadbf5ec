#include "CliFileSystem.h"

#include "tkvFileString.h"

std::string CliFileSystem::FolderOf(const std::string& agPath) {
    const std::string folder = tkvFileString::FolderOf(agPath);
    return folder.empty() ? "." : folder;
}

bool CliFileSystem::IsSameTarget(const std::string& agPathA, const std::string& agPathB) {
    return tkvFileString::IsSameFile(agPathA, agPathB) ||
           (tkvFileString::GetFileNamePart(agPathA) == tkvFileString::GetFileNamePart(agPathB) &&
            tkvFileString::IsSameFile(FolderOf(agPathA), FolderOf(agPathB)));
}
