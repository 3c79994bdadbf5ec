#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "KPXBlockCopy.h"
#include "KPXChecksumFile.h"
#include "KPXDividoraData.h"
#include "KPXSepaData.h"
#include "KPXSepaResult.h"
#include "tkvErrorMng.h"
#include "tkvFileHandle.h"
#include "tkvFileString.h"
#include "tkvIError.h"
#include "tkvStagedFiles.h"

class KPXSepaCtrlEvents;
class tkvCancelMng;
class tkvFileRWCtrl;

// Cuts a file into piece files and joins them back, and reads and writes piece headers.
// Every public operation starts with a fresh error registry; failures register a number and
// answer false.
class KPXSepaCtrl : public tkvIError {
public:
    enum Error : int32_t {
        kNoSepaData = 1001,
        kNoSource = 1002,
        kNoPieces = 1003,
        kBadTransmissionSize = 1004,
        kSizesDiffer = 1005,
        kSourceNotOpened = 1006,
        kPieceIsSource = 1007,
        kSourceNameNotStorable = 1008,
        kPieceNotCreated = 1101,
        kSourceEndedEarly = 1102,
        kPieceWriteFailed = 1103,
        kSourceReadFailed = 1104,
        kPieceTargetNotAFile = 1105,
        kSourceChanged = 1106,
        kHeaderNotWritten = 1201,
        kNoPieceFile = 1301,
        kRestoredNotCreated = 1302,
        kNoPiecesToRestore = 1303,
        kRestoredIsPiece = 1304,
        kRestoredTargetNotAFile = 1305,
        kChecksumFileBad = 1306,
        kNoChecksumFile = 1307,
        kChecksumFileNotRead = 1308,
        kPieceNotOpened = 1401,
        kPieceEndedEarly = 1402,
        kRestoredWriteFailed = 1403,
        kPieceReadFailed = 1404,
        kPieceChanged = 1405,
        kPieceDigestDiffers = 1406,
        kRestoredDigestDiffers = 1407,
        kHeaderFileNotOpened = 1501,
        kHeaderFileMissing = 1502,
        kForeignVersion = 1601,
        kHeaderNotRead = 1602,
        kBadDataSize = 1603,
        kBadFileName = 1604,
        kSepaDateDiffers = 1701,
        kSpecIDDiffers = 1702,
        kCountDiffers = 1703,
        kFileNameDiffers = 1704,
        kCountNotChosen = 1705,
        kJoinOrderGap = 1801,
        kJoinOrderFailed = 1802,
        kOverwriteRefused = 1901,
        kNoSourceAddress = 2001,
        kNameNotStorable = 2002,
    };

    void SetCancelMng(std::shared_ptr<tkvCancelMng> agCancelMng) {
        cancelMng_ = std::move(agCancelMng);
    }
    // Not owned; none means nobody listens.
    void SetEvents(KPXSepaCtrlEvents* agEvents) { events_ = agEvents; }

    std::shared_ptr<tkvErrorMng> ErrorMng() const override { return lcErrorMng; }
    std::string ClassName() const override { return "KPXSepaCtrl"; }

    std::string ProductName() const;
    std::string ProductComment() const;
    std::string FileKindOfDividora() const;
    int32_t FileVersionOfDividora() const;

    std::shared_ptr<KPXSepaData> SepaData() const { return sepaData_; }
    void SetSepaData(std::shared_ptr<KPXSepaData> agSepaData) { sepaData_ = std::move(agSepaData); }
    // The result of the last Separate or Restore; none before the first.
    std::shared_ptr<KPXSepaResult> SepaResult() const { return sepaResult_; }

    // Cuts SepaData's source into the pieces its records describe. On false the registry holds
    // the reason (empty on a cancel) and SepaResult what was created.
    bool Separate();

    // Joins the pieces SepaData's records name, given in any order, into SepaData's folder,
    // after checking that they form one complete split. Leaves the records in join order. When
    // the set's checksum file is found (SepaData's, or beside the pieces), every piece's bytes
    // and the whole file's are checked as they are copied; SepaResult tells whether they were.
    bool Restore();
    // Checks the set as Restore does, and every piece against the set's checksum file, reading
    // each piece once and writing nothing. Without a checksum file: 1307.
    bool Verify();

    // A restore writes into agHandle (the standard output) instead of a file in SepaData's
    // folder; kNoHandle for a file. Nothing is asked or replaced then, and what was written
    // stays written when a later check fails.
    void SetOutputHandle(tkvFileHandle::Handle agHandle) { outputHandle_ = agHandle; }

    // Reads the header of the piece at agRecord.FileAddress into agRecord. Fields read before a
    // failure stay in the record. With SepaData's ConfirmDividoraSize, the piece must be exactly
    // its header and FileSize bytes long.
    bool ReadHeader(KPXDividoraData& agRecord);
    // Whether the last ReadHeader failed because the system could not open or read the file,
    // rather than because the file is no sound piece.
    bool HeaderUnreadable() const { return headerUnreadable_; }

    // The exact header size a split of SepaData's source writes.
    bool GetSizeOfHeader(int32_t& ouSize);

    // Writes agRecord's header at the start of a new, empty piece file; the file is left at the
    // first data byte. Registers 1201 on failure (also for a full disk).
    bool WriteHeader(tkvFileRWCtrl& agFile, const KPXDividoraData& agRecord);

private:
    void NewErrorMng();
    // agDetail (a system's text, a path) follows the number's text in its description.
    void RegisterError(int32_t agNumber, const std::string& agDetail = {});
    // ReadHeader's steps without a new registry; ouIdentity, when given, receives which file
    // was read.
    bool ReadHeaderFields(KPXDividoraData& agRecord, tkvFileString::FileIdentity* ouIdentity);
    bool CheckVersionBlock(tkvFileRWCtrl& agFile);
    // Reads a header at the file's position into agRecord, field by field, and checks it.
    bool DecodeHeader(tkvFileRWCtrl& agFile, KPXDividoraData& agRecord);
    // Before a piece's data is copied: the open file is the one whose header was checked, and
    // its header still says the same; the file is left at the first data byte.
    bool CheckPieceUnchanged(tkvFileRWCtrl& agFile, const KPXDividoraData& agRecord);

    bool RunSeparate();
    bool CheckSeparateJob();
    // Opens the source and takes its length from the open file.
    bool OpenSource(tkvFileRWCtrl& agSource);
    // The source still is what it was when it was opened: nobody wrote to it, cut it or added to
    // it, so the pieces hold one state of it.
    bool CheckSourceUnchanged(const tkvFileRWCtrl& agSource);
    // ouDigest, when given, receives the piece file's digest.
    bool WritePiece(tkvFileRWCtrl& agSource, KPXBlockCopy& agCopy, const KPXDividoraData& agRecord,
                    std::string* ouDigest);
    bool WriteChecksumFile(const KPXChecksumFile& agChecksum);
    bool RunRestore();
    bool RunVerify();
    // The set's headers read, compared and put into join order; its checksum file found.
    bool CheckSet();
    bool FindChecksumFile();
    // agRestored none: the pieces are only read.
    bool CopyPieces(tkvFileRWCtrl* agRestored);
    bool CheckRestoreJob();
    bool ReadAllHeaders();
    bool ConfirmRestorability();
    bool PutIntoJoinOrder();
    bool CheckRestoredIsNoPiece(const std::string& agRestoredPath);
    // ioDone: the data bytes before this piece's, moved on past them.
    bool CopyPiece(tkvFileRWCtrl* agRestored, KPXBlockCopy& agCopy, const KPXDividoraData& agRecord,
                   int64_t& ioDone, bool& ouDiffers);
    KPXSepaCtrlEvents& Events() const;
    // Makes the temporary file that agPath is written under until the run succeeds, after the
    // checks of what is at agPath: only a file can be replaced, and only after OverwriteFile.
    // agNotAFile or agNotCreated (registered) when it fails; 1901 when the listener refuses.
    bool CreateTarget(tkvFileRWCtrl& agFile, const std::string& agPath, int32_t agNotAFile,
                      int32_t agNotCreated);
    // Registers the failure of a block copy from agReader to agWriter (none: only read) as
    // agEndedEarly, agReadFailed or agWriteFailed, naming the file that failed.
    bool CopyFailed(const KPXBlockCopy& agCopy, KPXBlockCopy::Result agResult,
                    const tkvFileRWCtrl& agReader, const tkvFileRWCtrl* agWriter,
                    int32_t agEndedEarly, int32_t agReadFailed, int32_t agWriteFailed);
    // agNumber followed by the path the user knows the file by and the system's text.
    void RegisterFileError(int32_t agNumber, const std::string& agPath,
                           const std::string& agSystemText);
    // The path the user knows a file of the run by: the final path of a temporary file.
    std::string UserPath(const std::string& agPath) const;
    // Makes a written file durable and closes it; agWriteFailed when the system refuses.
    bool FinishTarget(tkvFileRWCtrl& agFile, int32_t agWriteFailed);
    // Gives the written files their final names; agWriteFailed naming the file that failed.
    bool CommitTargets(int32_t agWriteFailed);
    // A fresh registry and result, agRun, then the clean-up of a run that did not complete. An
    // I/O failure that escapes agRun is registered as agWriteFailure when it concerns a file the
    // run writes, else as agReadFailure, naming the file.
    bool RunWithCleanUp(bool (KPXSepaCtrl::*agRun)(), int32_t agReadFailure,
                        int32_t agWriteFailure);
    bool Fail(int32_t agNumber, int32_t agErrorIndex = -1);
    bool IsCanceled() const;

    std::shared_ptr<tkvErrorMng> lcErrorMng;
    // What follows the description of a number: the system's text of an I/O failure, a path.
    std::shared_ptr<std::map<int32_t, std::string>> details_;
    std::shared_ptr<tkvCancelMng> cancelMng_;
    std::shared_ptr<KPXSepaData> sepaData_;
    std::shared_ptr<KPXSepaResult> sepaResult_;
    KPXSepaCtrlEvents* events_ = nullptr;
    // The files the running split or restore writes.
    std::unique_ptr<tkvStagedFiles> stagedFiles_;
    // Which file each piece's header was read from, by record, for the copy's second look.
    std::map<const KPXDividoraData*, tkvFileString::FileIdentity> checkedPieces_;
    // The set's checksum file, when a restore or verify found one.
    std::optional<KPXChecksumFile> checksum_;
    tkvFileHandle::Handle outputHandle_ = tkvFileHandle::kNoHandle;
    // The source as it was opened, for the look at the end of the copy.
    tkvFileString::FileStamp sourceStamp_;
    bool headerUnreadable_ = false;
};
