#include "KPXChecksumFile.h"

#include <algorithm>
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <sstream>

#include "KPXDecideFileName.h"
#include "KPXDividoraData.h"
#include "KPXPieceFormat.h"
#include "tkvDigest.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"

namespace {

constexpr const char* kSetTag = "# dividora-set ";
constexpr size_t kDigestDigits = 32;
constexpr size_t kSelfCheckDigits = 16;

std::string DateHex(double agDate) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, std::bit_cast<uint64_t>(agDate));
    return text;
}

bool IsHex(const std::string& agText, size_t agDigits) {
    return agText.size() == agDigits && std::all_of(agText.begin(), agText.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// The set's fields as the first line carries them, before the self check.
std::string SetFields(const KPXChecksumFile& agFile) {
    return std::to_string(agFile.SpecID) + " " + DateHex(agFile.SepaDate) + " " +
           std::to_string(agFile.Count) + " " + agFile.SourceDigest;
}

std::string PieceLines(const std::vector<KPXChecksumFile::Line>& agPieces) {
    std::string lines;
    for (const auto& piece : agPieces) {
        lines += piece.Digest + "  " + piece.Name + "\n";
    }
    return lines;
}

std::string SelfCheck(const std::string& agFields, const std::string& agLines) {
    return tkvDigest::Of(agFields + "\n" + agLines).substr(0, kSelfCheckDigits);
}

// The fields of a set line; false when the line is none.
bool ParseSetLine(const std::string& agLine, KPXChecksumFile& ouFile, std::string& ouSelfCheck) {
    if (agLine.rfind(kSetTag, 0) != 0) {
        return false;
    }
    std::istringstream fields(agLine.substr(std::char_traits<char>::length(kSetTag)));
    std::string specID;
    std::string date;
    std::string count;
    std::string extra;
    if (!(fields >> specID >> date >> count >> ouFile.SourceDigest >> ouSelfCheck) ||
        (fields >> extra) || !IsHex(date, 16) || !IsHex(ouFile.SourceDigest, kDigestDigits) ||
        !IsHex(ouSelfCheck, kSelfCheckDigits)) {
        return false;
    }
    try {
        size_t used = 0;
        const long long id = std::stoll(specID, &used);
        size_t countUsed = 0;
        const long long pieces = std::stoll(count, &countUsed);
        if (used != specID.size() || countUsed != count.size() || id < INT32_MIN ||
            id > INT32_MAX || pieces < 0 || pieces > INT32_MAX) {
            return false;
        }
        ouFile.SpecID = static_cast<int32_t>(id);
        ouFile.Count = static_cast<int32_t>(pieces);
        ouFile.SepaDate = std::bit_cast<double>(std::stoull(date, nullptr, 16));
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

// ouSystemText, when given, receives why the system could not read the file.
bool ReadText(const std::string& agPath, int64_t agLimit, std::string& ouText,
              std::string* ouSystemText = nullptr) {
    tkvFileRWCtrl file;
    file.SetFileAddress(agPath);
    file.SetFileAccess(tkvFileRWCtrl::kReadOnly);
    if (!file.OpenForBinary()) {
        if (ouSystemText != nullptr) {
            *ouSystemText = file.OpenFailure();
        }
        return false;
    }
    try {
        const int64_t length = std::min(file.FileLength(), agLimit);
        ouText.resize(static_cast<size_t>(length));
        return file.ReadBlock(ouText.data(), length) == length;
    } catch (const tkvFileError& error) {
        if (ouSystemText != nullptr) {
            *ouSystemText = error.SystemText();
        }
        return false;
    }
}

// Whether a quick look at the file at agPath, without the self check, finds a checksum file of
// ours that names agRecord's split or one of agPieceNames.
bool MayBelong(const std::string& agPath, const KPXDividoraData& agRecord,
               const std::vector<std::string>& agPieceNames) {
    std::string text;
    // The set line and the first piece lines are enough to tell.
    if (!ReadText(agPath, 64 * 1024, text) || text.rfind(kSetTag, 0) != 0) {
        return false;  // no checksum file of ours, whatever else it lists
    }
    KPXChecksumFile file;
    std::string selfCheck;
    if (ParseSetLine(text.substr(0, text.find('\n')), file, selfCheck) &&
        KPXPieceFormat::SameSplit(file.SpecID, file.SepaDate, agRecord)) {
        return true;
    }
    return std::any_of(agPieceNames.begin(), agPieceNames.end(),
                       [&text](const std::string& agName) {
                           return text.find("  " + agName + "\n") != std::string::npos;
                       });
}

// Whether NAME.xxh128 is the name the split of agPieceNames (in join order) gave its checksum
// file: each piece is NAME and the suffix its place gives.
bool IsNamedForPieces(const std::string& agName, const std::vector<std::string>& agPieceNames) {
    const std::string base = tkvFileString::RemoveExtension(agName);
    const auto count = static_cast<int32_t>(agPieceNames.size());
    for (int32_t i = 0; i < count; ++i) {
        if (!KPXDecideFileName::IsPieceNameOf(agPieceNames[static_cast<size_t>(i)], base, i,
                                              count)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string KPXChecksumFile::ToText() const {
    const std::string fields = SetFields(*this);
    const std::string lines = PieceLines(Pieces);
    return kSetTag + fields + " " + SelfCheck(fields, lines) + "\n" + lines;
}

bool KPXChecksumFile::FromText(const std::string& agText) {
    const size_t firstEnd = agText.find('\n');
    KPXChecksumFile read;
    std::string selfCheck;
    if (firstEnd == std::string::npos ||
        !ParseSetLine(agText.substr(0, firstEnd), read, selfCheck)) {
        return false;
    }
    for (size_t at = firstEnd + 1; at < agText.size();) {
        const size_t end = agText.find('\n', at);
        if (end == std::string::npos) {
            return false;  // every line ends with its newline
        }
        const std::string line = agText.substr(at, end - at);
        if (line.size() < kDigestDigits + 3 || line.compare(kDigestDigits, 2, "  ") != 0 ||
            !IsHex(line.substr(0, kDigestDigits), kDigestDigits)) {
            return false;
        }
        read.Pieces.push_back({line.substr(0, kDigestDigits), line.substr(kDigestDigits + 2)});
        at = end + 1;
    }
    if (static_cast<int64_t>(read.Pieces.size()) != read.Count ||
        SelfCheck(SetFields(read), PieceLines(read.Pieces)) != selfCheck) {
        return false;
    }
    *this = std::move(read);
    return true;
}

bool KPXChecksumFile::Read(const std::string& agPath, std::string* ouSystemText) {
    std::string text;
    return ReadText(agPath, kSizeLimit + 1, text, ouSystemText) &&
           static_cast<int64_t>(text.size()) <= kSizeLimit && FromText(text);
}

bool KPXChecksumFile::Belongs(const KPXDividoraData& agRecord) const {
    return KPXPieceFormat::SameSplit(SpecID, SepaDate, agRecord) && Count == agRecord.Count();
}

std::vector<std::string> KPXChecksumFile::FindBeside(const std::vector<std::string>& agPieces,
                                                     const KPXDividoraData& agRecord) {
    if (agPieces.empty()) {
        return {};
    }
    std::vector<std::string> names;
    for (const std::string& piece : agPieces) {
        names.push_back(tkvFileString::GetFileNamePart(piece));
    }
    const std::string folder = tkvFileString::FolderOf(agPieces.front());
    std::vector<std::string> entries = tkvFileString::FolderEntries(folder);
    std::sort(entries.begin(), entries.end());
    std::vector<std::string> found;
    const std::string_view extension(kExtension);
    for (const std::string& entry : entries) {
        const std::string path = folder + entry;
        if (entry.size() > extension.size() && entry.ends_with(extension) &&
            tkvFileString::GetPathKind(path) == tkvFileString::kFile &&
            (IsNamedForPieces(entry, names) || MayBelong(path, agRecord, names))) {
            found.push_back(path);
        }
    }
    return found;
}

std::string KPXChecksumFile::AddressOfSplit(const std::string& agFolder, const std::string& agName,
                                            const std::string& agSource) {
    const std::string name =
        agName.empty() ? tkvFileString::RemoveExtension(tkvFileString::GetFileNamePart(agSource))
                       : agName;
    return tkvFileString::JoinFolderAndName(agFolder, name + kExtension);
}
