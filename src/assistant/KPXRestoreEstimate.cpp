#include "KPXRestoreEstimate.h"

#include <algorithm>

#include "KPXDividoraData.h"
#include "KPXPieceFormat.h"
#include "tkvCancelMng.h"
#include "tkvDateTime.h"
#include "tkvPageDocument.h"

namespace {

const char* kCannotRestore = "従って、指定された分割ﾌｧｲﾙは復元できません。";
const char* kOneOrBothBroken =
    "結合順IDが同じ分割ﾌｧｲﾙのうちどちらか、もしくは、両方のﾌｧｲﾙが壊れている可能性があります。";
const char* kNeverAgain = "従って、二度と復元できない可能性があります。";

// Two pieces are of one kind when they come from the same split run and agree on what it made.
bool SameKind(const KPXDividoraData& agA, const KPXDividoraData& agB) {
    return KPXPieceFormat::SameSplit(agA, agB) && agA.FileName() == agB.FileName() &&
           agA.Count() == agB.Count();
}

// The bold lead of the next cause: "原因1: ", "原因2: ", ...
std::string CauseLead(int32_t& ioCauseNumber) {
    return "原因" + std::to_string(++ioCauseNumber) + ": ";
}

// A one-line cell.
tkvPageDocument::Cell Cell(const std::string& agText) { return {{agText}, true}; }

// A table in a block of its own.
void WriteBlockTable(tkvPageDocument& agBody, std::vector<tkvPageDocument::Row> agRows) {
    agBody.BeginBlock();
    agBody.Table(std::move(agRows));
    agBody.EndBlock();
}

}  // namespace

bool KPXRestoreEstimate::IsCanceled() const { return tkvCancelMng::IsCanceled(cancelMng_); }

bool KPXRestoreEstimate::SortIntoKinds(const std::vector<Piece>& agReadable) {
    for (const Piece& piece : agReadable) {
        bool found = false;
        for (SepaKind& kind : kinds_) {
            if (SameKind(*kind.Representative, *piece)) {
                kind.Files.push_back(piece);
                found = true;
                break;
            }
            if (IsCanceled()) {
                return false;
            }
        }
        if (!found) {
            SepaKind kind;
            kind.Files.push_back(piece);
            kind.Representative = piece;
            kinds_.push_back(std::move(kind));
        }
        if (IsCanceled()) {
            return false;
        }
    }
    return true;
}

bool KPXRestoreEstimate::SortIntoSlots() {
    for (SepaKind& kind : kinds_) {
        const int32_t count = kind.Representative->Count();
        kind.IsOverUpperCount = count > upperCountToWarn_;
        if (!kind.IsOverUpperCount) {
            // A count of 0 or less leaves no slot: every piece of such a kind is out of range.
            kind.SepaCount = count;
            kind.TurnIDs.assign(static_cast<size_t>(std::max(count, 0)), TurnIDSlot{});
            for (const Piece& piece : kind.Files) {
                const int32_t turn = piece->TurnID();
                if (turn < 0 || turn >= count) {
                    kind.OutOfRangeFiles.push_back(piece);
                } else {
                    kind.TurnIDs[static_cast<size_t>(turn)].Files.push_back(piece);
                }
                if (IsCanceled()) {
                    return false;
                }
            }
            kind.Files.clear();
        }
        if (IsCanceled()) {
            return false;
        }
    }
    return true;
}

bool KPXRestoreEstimate::Check() {
    for (SepaKind& kind : kinds_) {
        if (kind.IsOverUpperCount) {
            continue;  // not analysed: adds nothing against restoring
        }
        for (const TurnIDSlot& slot : kind.TurnIDs) {
            kind.IsShort = kind.IsShort || slot.Files.empty();
            kind.IsDuplicated = kind.IsDuplicated || slot.Files.size() >= 2;
            anyProblem_ = anyProblem_ || kind.IsShort || kind.IsDuplicated;
            if (IsCanceled()) {
                return false;
            }
        }
        kind.IsOutOfRange = !kind.OutOfRangeFiles.empty();
        anyProblem_ = anyProblem_ || kind.IsOutOfRange;
        if (IsCanceled()) {
            return false;
        }
    }
    anyProblem_ = anyProblem_ || !unreadable_.empty() || kinds_.size() != 1;
    return true;
}

int32_t KPXRestoreEstimate::LargestSkippedCount() const {
    int32_t largest = 0;
    for (const SepaKind& kind : kinds_) {
        if (kind.IsOverUpperCount) {
            largest = std::max(largest, kind.Representative->Count());
        }
    }
    return largest;
}

void KPXRestoreEstimate::WriteNoPieces(tkvPageDocument& agBody) {
    agBody.Texts({"復元の実行はできません。"});
    agBody.EndBlock();
    agBody.Heading("原因");
    agBody.BeginBlock();
    agBody.Texts({"復元元ｱﾄﾞﾚｽが指定されていません。"});
}

bool KPXRestoreEstimate::Write(tkvPageDocument& agBody) const {
    agBody.Texts({anyProblem_ ? "指定された分割ﾌｧｲﾙは復元できません。"
                              : "指定された分割ﾌｧｲﾙは復元できます。"});
    agBody.EndBlock();
    agBody.Heading(anyProblem_ ? "詳細と原因" : "詳細");
    agBody.BeginBlock();
    int32_t causeNumber = 0;
    if (!unreadable_.empty() && !WriteUnreadable(agBody, causeNumber)) {
        return false;
    }
    if (kinds_.size() != 1) {
        WriteKindCount(agBody, causeNumber);
    }
    for (size_t k = 0; k < kinds_.size(); ++k) {
        if (!WriteKind(agBody, kinds_[k], k + 1, causeNumber) || IsCanceled()) {
            return false;
        }
    }
    return true;
}

bool KPXRestoreEstimate::WriteUnreadable(tkvPageDocument& agBody, int32_t& ioCauseNumber) const {
    agBody.Paragraphs(
        {{CauseLead(ioCauseNumber), "ﾍｯﾀﾞの読み込みができない分割ﾌｧｲﾙが" +
                                        std::to_string(unreadable_.size()) + "個ありました。"},
         {{},
          "分割ﾌｧｲﾙが存在しない、分割ﾌｧｲﾙではない、もしくは、分割ﾌｧｲﾙが壊れている"
          "可能性があります。"},
         {{}, kCannotRestore}});
    agBody.Texts({"以下は、ﾍｯﾀﾞの読み込みができなかった分割ﾌｧｲﾙﾃﾞｰﾀです。"});
    std::vector<tkvPageDocument::Row> rows;
    for (const Piece& piece : unreadable_) {
        rows.push_back({Cell(piece->FileAddress())});
        if (IsCanceled()) {
            return false;
        }
    }
    WriteBlockTable(agBody, std::move(rows));
    return true;
}

void KPXRestoreEstimate::WriteKindCount(tkvPageDocument& agBody, int32_t& ioCauseNumber) const {
    if (kinds_.empty()) {
        agBody.Paragraphs(
            {{CauseLead(ioCauseNumber), "読み込みが可能な分割ﾌｧｲﾙが1つもありません。"},
             {{}, "従って、復元の実行はできません。"}});
        return;
    }
    agBody.Paragraphs(
        {{CauseLead(ioCauseNumber), "異なる分割の実行によって作成された分割ﾌｧｲﾙが" +
                                        std::to_string(kinds_.size()) + "種類混ざっています。"},
         {{}, "分割ﾌｧｲﾙは1種類のときのみ復元できます。"},
         {{}, kCannotRestore}});
    agBody.Texts({"以下は、各分割ﾌｧｲﾙを種類別に分けたものです。"});
}

bool KPXRestoreEstimate::WriteKind(tkvPageDocument& agBody, const SepaKind& agKind, size_t agNumber,
                                   int32_t& ioCauseNumber) const {
    const std::string k = std::to_string(agNumber);
    if (kinds_.size() != 1) {
        agBody.Heading("種類" + k + ":");
        agBody.Texts({"以下は、種類" + k + "に含まれる分割ﾌｧｲﾙﾃﾞｰﾀです。"});
    } else {
        agBody.Texts({"以下は、分割ﾌｧｲﾙﾃﾞｰﾀです。"});
    }
    const KPXDividoraData& header = *agKind.Representative;
    using Row = tkvPageDocument;
    WriteBlockTable(
        agBody, {Row::NameValue("分割ID", std::to_string(header.SpecID()), false),
                 Row::NameValue("分割日時", tkvDateTime::GeneralDateText(header.SepaDate()), false),
                 Row::NameValue("分割数", std::to_string(header.Count()), false),
                 Row::NameValue("分割元ﾌｧｲﾙ名", header.FileName(), false)});
    if (agKind.IsOverUpperCount) {
        agBody.Texts(
            {"分割数が設定で指定された、警告を表示する上限値を超えたので、"
             "復元予測を行いませんでした。"});
        return true;
    }
    const std::string last = std::to_string(agKind.SepaCount - 1);
    if (agKind.IsDuplicated) {
        agBody.Paragraphs({{CauseLead(ioCauseNumber), "結合順IDが同じ分割ﾌｧｲﾙがあります。"},
                           {{}, "この場合、以下の2つの可能性が考えられます。"}});
        agBody.Paragraphs(
            {{"可能性1: ", "同じ分割ﾌｧｲﾙを重複して指定してしまっている可能性があります。"},
             {{}, kCannotRestore}});
        agBody.Paragraphs({{"可能性2: ", kOneOrBothBroken}, {{}, kNeverAgain}});
        agBody.Texts({"(以下のﾁｪｯｸ欄が「重複」となっている結合順IDが原因です。)"});
    }
    if (agKind.IsOutOfRange) {
        agBody.Paragraphs({{CauseLead(ioCauseNumber),
                            "結合順IDが適正な範囲の0～" + last + "内の値ではありません。"}});
        agBody.Paragraphs({{{}, kOneOrBothBroken}, {{}, kNeverAgain}});
        agBody.Texts(
            {"(以下の「結合順IDが適正な範囲内の値ではない分割ﾌｧｲﾙﾃﾞｰﾀ」に"
             "詳しいﾃﾞｰﾀを示してあります。)"});
    }
    if (agKind.IsShort) {
        agBody.Paragraphs(
            {{CauseLead(ioCauseNumber), "復元するための分割ﾌｧｲﾙがそろっていません。"}});
        agBody.Paragraphs({{{},
                            "復元するためには、0～" + last +
                                "の結合順IDをもつ分割ﾌｧｲﾙが1つずつなくてはいけません。"},
                           {{}, kCannotRestore}});
        agBody.Texts({"(以下のﾁｪｯｸ欄が「不足」となっている結合順IDが原因です。)"});
    }
    if (!agKind.IsDuplicated && !agKind.IsShort && anyProblem_) {
        agBody.Texts({"以下は、結合順IDﾃﾞｰﾀです。以下の分割ﾌｧｲﾙは復元できます。"});
    } else {
        agBody.Texts({"以下は、結合順IDﾃﾞｰﾀです。"});
    }
    return WriteSlots(agBody, agKind) && (!agKind.IsOutOfRange || WriteOutOfRange(agBody, agKind));
}

bool KPXRestoreEstimate::WriteSlots(tkvPageDocument& agBody, const SepaKind& agKind) const {
    std::vector<tkvPageDocument::Row> rows = {{Cell("結合順ID"), Cell("ﾁｪｯｸ"), Cell("ｱﾄﾞﾚｽ")}};
    for (size_t t = 0; t < agKind.TurnIDs.size(); ++t) {
        const std::vector<Piece>& files = agKind.TurnIDs[t].Files;
        if (files.empty()) {
            rows.push_back({Cell(std::to_string(t)), Cell("不足"), tkvPageDocument::Cell{}});
        } else if (files.size() == 1) {
            rows.push_back(
                {Cell(std::to_string(t)), Cell("適正"), Cell(files.front()->FileAddress())});
        } else {
            tkvPageDocument::Cell addresses;
            for (const Piece& piece : files) {
                addresses.Lines.push_back(piece->FileAddress());
                if (IsCanceled()) {
                    return false;
                }
            }
            rows.push_back({Cell(std::to_string(t)), Cell("重複"), std::move(addresses)});
        }
        if (IsCanceled()) {
            return false;
        }
    }
    WriteBlockTable(agBody, std::move(rows));
    return true;
}

bool KPXRestoreEstimate::WriteOutOfRange(tkvPageDocument& agBody, const SepaKind& agKind) const {
    agBody.Texts({"以下は、結合順IDが適正な範囲内の値ではない分割ﾌｧｲﾙﾃﾞｰﾀです。"});
    std::vector<tkvPageDocument::Row> rows = {{Cell("結合順ID"), Cell("ｱﾄﾞﾚｽ")}};
    for (const Piece& piece : agKind.OutOfRangeFiles) {
        rows.push_back({Cell(std::to_string(piece->TurnID())), Cell(piece->FileAddress())});
        if (IsCanceled()) {
            return false;
        }
    }
    WriteBlockTable(agBody, std::move(rows));
    return true;
}
