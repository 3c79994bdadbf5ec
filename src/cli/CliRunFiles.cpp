#include "CliRunFiles.h"

#include <cctype>

#include "CliFileSystem.h"
#include "KPXDecideFileName.h"
#include "tkvFileString.h"

namespace {

std::string Lower(std::string agText) {
    for (char& c : agText) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return agText;
}

}  // namespace

void CliRunFiles::SetPieces(const std::string& agFolder, const std::string& agName) {
    pieceFolder_ = agFolder;
    pieceName_ = agName;
}

bool CliRunFiles::IsPieceName(const std::string& agName) const {
    const std::string name = Lower(agName);
    const std::string head = Lower(pieceName_);
    const std::string tail = Lower(KPXDecideFileName::kExtension);
    return name.size() >= head.size() + tail.size() && name.compare(0, head.size(), head) == 0 &&
           name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

bool CliRunFiles::Holds(const std::string& agPath) const {
    for (const std::string& file : files_) {
        if (CliFileSystem::IsSameTarget(agPath, file)) {
            return true;
        }
    }
    if (pieceFolder_.empty()) {
        return false;
    }
    if (IsPieceName(tkvFileString::GetFileNamePart(agPath)) &&
        tkvFileString::IsSameFile(CliFileSystem::FolderOf(agPath), pieceFolder_)) {
        return true;
    }
    // A link elsewhere to a piece that is already there.
    if (tkvFileString::GetPathKind(agPath) != tkvFileString::kFile) {
        return false;
    }
    for (const std::string& name : tkvFileString::FolderEntries(pieceFolder_)) {
        if (IsPieceName(name) && tkvFileString::IsSameFile(agPath, tkvFileString::JoinFolderAndName(
                                                                       pieceFolder_, name))) {
            return true;
        }
    }
    return false;
}
