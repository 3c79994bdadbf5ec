#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class KPXDividoraData;
class tkvPageDocument;
class tkvCancelMng;

// The analysis behind a restore estimate: the readable pieces sorted into kinds (one per split
// run), each kind's pieces sorted into its join-order slots, every reason against restoring
// found, and the page body that explains it. Nothing is written to disk.
class KPXRestoreEstimate {
public:
    using Piece = std::shared_ptr<KPXDividoraData>;

    // The pieces found for one join-order ID.
    struct TurnIDSlot {
        std::vector<Piece> Files;
    };

    // The pieces of one split run.
    struct SepaKind {
        std::vector<Piece> Files;  // until they are sorted into the slots
        std::vector<TurnIDSlot> TurnIDs;
        int32_t SepaCount = 0;
        std::vector<Piece> OutOfRangeFiles;
        Piece Representative;
        bool IsOverUpperCount = false;
        bool IsShort = false;
        bool IsDuplicated = false;
        bool IsOutOfRange = false;
    };

    // agUnreadable: the pieces whose header could not be read, in list order.
    KPXRestoreEstimate(std::vector<Piece> agUnreadable, int32_t agUpperCountToWarn,
                       std::shared_ptr<tkvCancelMng> agCancelMng)
        : unreadable_(std::move(agUnreadable)),
          upperCountToWarn_(agUpperCountToWarn),
          cancelMng_(std::move(agCancelMng)) {}

    // Each step answers false on a cancel.
    // Puts each readable piece into the first kind whose first piece has the same split date,
    // file name, count and split ID, or into a new kind.
    bool SortIntoKinds(const std::vector<Piece>& agReadable);
    // Puts each piece of a kind into the slot of its join-order ID, or among the out-of-range.
    bool SortIntoSlots();
    // Finds what is short, duplicated or out of range.
    bool Check();
    // Appends the verdict and the details to agBody.
    bool Write(tkvPageDocument& agBody) const;
    // The body when no piece was listed at all.
    static void WriteNoPieces(tkvPageDocument& agBody);

    // The verdict: the listed pieces can be restored.
    bool Restorable() const { return !anyProblem_; }
    // The largest piece count among the kinds left unanalysed for being above the limit; 0 when
    // every kind was analysed. Such a kind adds nothing against restoring, so a caller that
    // must not read the verdict as a promise checks this too.
    int32_t LargestSkippedCount() const;

private:
    bool IsCanceled() const;
    bool WriteUnreadable(tkvPageDocument& agBody, int32_t& ioCauseNumber) const;
    void WriteKindCount(tkvPageDocument& agBody, int32_t& ioCauseNumber) const;
    bool WriteKind(tkvPageDocument& agBody, const SepaKind& agKind, size_t agNumber,
                   int32_t& ioCauseNumber) const;
    bool WriteSlots(tkvPageDocument& agBody, const SepaKind& agKind) const;
    bool WriteOutOfRange(tkvPageDocument& agBody, const SepaKind& agKind) const;

    std::vector<Piece> unreadable_;
    int32_t upperCountToWarn_;
    std::shared_ptr<tkvCancelMng> cancelMng_;
    std::vector<SepaKind> kinds_;
    bool anyProblem_ = false;
};
