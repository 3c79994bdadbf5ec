// Fuzz target: any bytes as a piece file. KPXSepaCtrl::ReadHeader reads it, and the restore
// joins it as a one-piece set into an empty folder, with the size check on and off.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInvariant.h"
#include "FuzzWorkFolder.h"
#include "KPXDividoraData.h"
#include "KPXPieceFormat.h"
#include "KPXSepaCtrl.h"
#include "KPXSepaData.h"
#include "tkvErrorMng.h"
#include "tkvLittleEndian.h"

using FuzzInvariant::Require;

namespace {

// Small, so the data of most inputs crosses several blocks.
constexpr int32_t kBlockSize = 100;

// The header fields as the bytes lay them out (KPXPieceFormat.h), read here without the
// engine's reader, so what ReadHeader answers can be held against them.
struct LaidOutHeader {
    bool Whole = false;  // the piece's version block and every field are there
    double SepaDate = 0.0;
    int32_t SpecID = 0;
    int32_t TurnID = 0;
    int32_t Count = 0;
    int32_t FileSize = 0;
    size_t End = 0;  // the offset of the first data byte
};

void AppendText(std::string& ioBytes, std::string_view agText) {
    unsigned char length[4];
    tkvLittleEndian::Encode(static_cast<int32_t>(agText.size()), length);
    ioBytes.append(reinterpret_cast<const char*>(length), sizeof length);
    ioBytes.append(agText);
}

std::string PieceVersionBlock() {
    std::string block;
    AppendText(block, KPXPieceFormat::kProductName);
    AppendText(block, KPXPieceFormat::kProductComment);
    AppendText(block, KPXPieceFormat::kFileKind);
    unsigned char version[4];
    tkvLittleEndian::Encode(KPXPieceFormat::kFileVersion, version);
    block.append(reinterpret_cast<const char*>(version), sizeof version);
    return block;
}

template <typename T>
T ValueAt(const std::string& agBytes, size_t agOffset) {
    return tkvLittleEndian::Decode<T>(reinterpret_cast<const unsigned char*>(agBytes.data()) +
                                      agOffset);
}

// A byte that starts a two-byte Shift-JIS character.
bool LeadsTwoBytes(unsigned char agByte) {
    return (agByte >= 0x81 && agByte <= 0x9F) || (agByte >= 0xE0 && agByte <= 0xFC);
}

LaidOutHeader LayOut(const std::string& agBytes) {
    static const std::string versionBlock = PieceVersionBlock();
    LaidOutHeader header;
    size_t at = versionBlock.size();
    if (agBytes.compare(0, at, versionBlock) != 0 || agBytes.size() < at + 24) {
        return header;
    }
    header.SepaDate = ValueAt<double>(agBytes, at);
    header.SpecID = ValueAt<int32_t>(agBytes, at + 8);
    header.TurnID = ValueAt<int32_t>(agBytes, at + 12);
    header.Count = ValueAt<int32_t>(agBytes, at + 16);
    const int32_t nameLength = ValueAt<int32_t>(agBytes, at + 20);
    at += 24;
    if (nameLength < 0 || nameLength > KPXPieceFormat::kFileNameLimit) {
        return header;
    }
    // The length counts characters: the name's end is found by its lead bytes.
    for (int32_t i = 0; i < nameLength; ++i) {
        if (at >= agBytes.size()) {
            return header;
        }
        at += LeadsTwoBytes(static_cast<unsigned char>(agBytes[at])) ? 2 : 1;
    }
    if (at + 4 > agBytes.size()) {
        return header;
    }
    header.FileSize = ValueAt<int32_t>(agBytes, at);
    header.End = at + 4;
    header.Whole = true;
    return header;
}

// A name a restore can create only inside its destination folder, and that no terminal
// takes for a command: no separator, NUL or control character, not "." or "..".
bool IsPlainName(const std::string& agName) {
    if (agName.empty() || agName == "." || agName == "..") {
        return false;
    }
    for (const unsigned char c : agName) {
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) {
            return false;
        }
    }
    return true;
}

bool IsHeaderError(int32_t agNumber) {
    switch (agNumber) {
        case KPXSepaCtrl::kForeignVersion:
        case KPXSepaCtrl::kHeaderNotRead:
        case KPXSepaCtrl::kBadDataSize:
        case KPXSepaCtrl::kBadFileName:
            return true;
        default:
            return false;
    }
}

bool SameBits(double agLeft, double agRight) {
    return std::memcmp(&agLeft, &agRight, sizeof agLeft) == 0;
}

// ReadHeader of the piece; answers the one number it registered, 0 when it accepted.
int32_t CheckReadHeader(const std::string& agBytes, const std::string& agPiecePath,
                        bool agConfirmSize, KPXDividoraData& ouRecord) {
    auto job = std::make_shared<KPXSepaData>();
    job->SetConfirmDividoraSize(agConfirmSize);
    KPXSepaCtrl reader;
    reader.SetSepaData(job);
    ouRecord.SetFileAddress(agPiecePath);
    const bool accepted = reader.ReadHeader(ouRecord);
    const std::shared_ptr<tkvErrorMng> errors = reader.ErrorMng();
    if (!accepted) {
        Require(errors->Count() == 1 && IsHeaderError(errors->Number(0)),
                "a refused header registers one header error");
        return errors->Number(0);
    }
    Require(errors->Count() == 0, "an accepted header registers no error");
    const LaidOutHeader header = LayOut(agBytes);
    Require(header.Whole, "an accepted header is whole and has the piece's version block");
    Require(SameBits(ouRecord.SepaDate(), header.SepaDate) && ouRecord.SpecID() == header.SpecID &&
                ouRecord.TurnID() == header.TurnID && ouRecord.Count() == header.Count &&
                ouRecord.FileSize() == header.FileSize,
            "ReadHeader gives the fields where the layout puts them");
    Require(IsPlainName(ouRecord.FileName()), "an accepted FileName is a plain file name");
    Require(ouRecord.FileSize() >= 0, "an accepted FileSize is not negative");
    if (agConfirmSize) {
        Require(agBytes.size() == header.End + static_cast<size_t>(header.FileSize),
                "with the size check, an accepted piece is exactly its header and FileSize "
                "bytes");
    }
    return 0;
}

// Restores the piece alone into an empty folder.
void CheckRestore(const FuzzWorkFolder& agFolder, const std::string& agBytes,
                  const std::string& agPiecePath, bool agConfirmSize, const KPXDividoraData& agRead,
                  int32_t agReadError) {
    const std::string destination = agFolder.MakeEmptyFolder("restored");
    auto job = std::make_shared<KPXSepaData>();
    job->SetFileAddress(destination);
    job->SetTransmissionByteSize(kBlockSize);
    job->SetConfirmDividoraSize(agConfirmSize);
    job->SetClearCreatedFileWhenUncompleted(true);
    job->Initialize(1);
    job->DividoraData(0)->SetFileAddress(agPiecePath);
    KPXSepaCtrl restorer;
    restorer.SetSepaData(job);
    const bool restored = restorer.Restore();
    const std::vector<std::string> entries = FuzzWorkFolder::Entries(destination);

    const LaidOutHeader header = LayOut(agBytes);
    const bool dataThere = header.Whole && header.FileSize >= 0 &&
                           agBytes.size() >= header.End + static_cast<size_t>(header.FileSize);
    if (!restored) {
        Require(entries.empty(), "a restore that fails leaves its destination folder empty");
        if (agReadError != 0) {
            const std::shared_ptr<tkvErrorMng> errors = restorer.ErrorMng();
            Require(errors->Count() >= 1 && errors->Number(0) == agReadError,
                    "a restore refuses a piece for the reason ReadHeader gives");
        }
        Require(!(agReadError == 0 && agRead.Count() == 1 && agRead.TurnID() == 0 && dataThere &&
                  agRead.FileName().size() <= NAME_MAX),
                "a whole one-piece set with an accepted header restores");
        return;
    }
    Require(agReadError == 0, "a restored piece has a header ReadHeader accepts");
    Require(entries.size() == 1 && entries[0] == agRead.FileName(),
            "a restore creates one file, under the header's FileName");
    Require(dataThere && FuzzWorkFolder::ReadFile(destination + "/" + entries[0]) ==
                             agBytes.substr(header.End, static_cast<size_t>(header.FileSize)),
            "a restore gives exactly the data bytes the header announces");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* agData, size_t agSize) {
    static const FuzzWorkFolder folder;
    const std::string bytes(reinterpret_cast<const char*>(agData), agSize);
    const std::string piecePath = folder.WriteFile("piece.KPX", bytes);
    for (const bool confirmSize : {true, false}) {
        KPXDividoraData read;
        const int32_t readError = CheckReadHeader(bytes, piecePath, confirmSize, read);
        CheckRestore(folder, bytes, piecePath, confirmSize, read, readError);
    }
    return 0;
}
