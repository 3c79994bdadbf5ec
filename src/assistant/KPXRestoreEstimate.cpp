#include "KPXRestoreEstimate.h"

#include <algorithm>

#include "KPXDividoraData.h"
#include "tkvCancelMng.h"
#include "tkvDateTime.h"
#include "tkvFormat.h"

namespace {

const std::string kBlock = "<blockquote style=\"MARGIN-RIGHT: 0px\">";

// Two pieces come from the same split run when these header fields are equal.
bool SameKind(const KPXDividoraData& agA, const KPXDividoraData& agB) {
    return agA.SepaDate() == agB.SepaDate() && agA.FileName() == agB.FileName() &&
           agA.Count() == agB.Count() && agA.SpecID() == agB.SpecID();
}

std::string CauseHead(int32_t& ioCauseNumber) {
    return "<font size=2><p><b>原因" + std::to_string(++ioCauseNumber) + ": </b>";
}

std::string Cell(const std::string& agText) {
    return "<td><font size=2><div nowrap>" + agText + "</div></font></td>";
}

std::string Address(const KPXRestoreEstimate::Piece& agPiece) {
    return tkvFormat::EscapeHTML(agPiece->FileAddress());
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

bool KPXRestoreEstimate::Write(std::string& agBody) const {
    if (anyProblem_) {
        agBody +=
            "<font size=2><p>指定された分割ﾌｧｲﾙは復元できません。</p></font></blockquote>"
            "<p><b>詳細と原因</b></p>";
    } else {
        agBody +=
            "<font size=2><p>指定された分割ﾌｧｲﾙは復元できます。</p></font></blockquote>"
            "<p><b>詳細</b></p>";
    }
    agBody += kBlock;
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

bool KPXRestoreEstimate::WriteUnreadable(std::string& agBody, int32_t& ioCauseNumber) const {
    agBody += CauseHead(ioCauseNumber) + "ﾍｯﾀﾞの読み込みができない分割ﾌｧｲﾙが" +
              std::to_string(unreadable_.size()) +
              "個ありました。</p>"
              "<p>分割ﾌｧｲﾙが存在しない、分割ﾌｧｲﾙではない、もしくは、分割ﾌｧｲﾙが壊れている"
              "可能性があります。</p>"
              "<p>従って、指定された分割ﾌｧｲﾙは復元できません。</p></font>"
              "<font size=2><p>以下は、ﾍｯﾀﾞの読み込みができなかった分割ﾌｧｲﾙﾃﾞｰﾀです。</p></font>";
    agBody += kBlock + "<table>";
    for (const Piece& piece : unreadable_) {
        agBody += "<tr>" + Cell(Address(piece)) + "</tr>";
        if (IsCanceled()) {
            return false;
        }
    }
    agBody += "</table></blockquote>";
    return true;
}

void KPXRestoreEstimate::WriteKindCount(std::string& agBody, int32_t& ioCauseNumber) const {
    agBody += CauseHead(ioCauseNumber);
    if (kinds_.empty()) {
        agBody +=
            "読み込みが可能な分割ﾌｧｲﾙが1つもありません。</p>"
            "<p>従って、復元の実行はできません。</p></font>";
        return;
    }
    agBody += "異なる分割の実行によって作成された分割ﾌｧｲﾙが" + std::to_string(kinds_.size()) +
              "種類混ざっています。</p>"
              "<p>分割ﾌｧｲﾙは1種類のときのみ復元できます。</p>"
              "<p>従って、指定された分割ﾌｧｲﾙは復元できません。</p></font>"
              "<font size=2><p>以下は、各分割ﾌｧｲﾙを種類別に分けたものです。</p></font>";
}

bool KPXRestoreEstimate::WriteKind(std::string& agBody, const SepaKind& agKind, size_t agNumber,
                                   int32_t& ioCauseNumber) const {
    const std::string k = std::to_string(agNumber);
    if (kinds_.size() != 1) {
        agBody += "<p><b>種類" + k + ":</b></p><font size=2><p>以下は、種類" + k +
                  "に含まれる分割ﾌｧｲﾙﾃﾞｰﾀです。</p></font>";
    } else {
        agBody += "<font size=2><p>以下は、分割ﾌｧｲﾙﾃﾞｰﾀです。</p></font>";
    }
    const KPXDividoraData& header = *agKind.Representative;
    const auto row = [](const std::string& agName, const std::string& agValue) {
        return "<tr><td><font size=2><div nowrap>" + agName +
               "</div></font></td><td><font size=2>" + agValue + "</font></td></tr>";
    };
    agBody += kBlock + "<table>" + row("分割ID", std::to_string(header.SpecID())) +
              row("分割日時", tkvDateTime::GeneralDateText(header.SepaDate())) +
              row("分割数", std::to_string(header.Count())) +
              row("分割元ﾌｧｲﾙ名", tkvFormat::EscapeHTML(header.FileName())) +
              "</table></blockquote>";
    if (agKind.IsOverUpperCount) {
        agBody +=
            "<font size=2><p>分割数が設定で指定された、警告を表示する上限値を超えたので、"
            "復元予測を行いませんでした。</p></font>";
        return true;
    }
    const std::string last = std::to_string(agKind.SepaCount - 1);
    if (agKind.IsDuplicated) {
        agBody += CauseHead(ioCauseNumber) +
                  "結合順IDが同じ分割ﾌｧｲﾙがあります。</p>"
                  "<p>この場合、以下の2つの可能性が考えられます。</p></font>"
                  "<font size=2><p><b>可能性1: </b>"
                  "同じ分割ﾌｧｲﾙを重複して指定してしまっている可能性があります。</p>"
                  "<p>従って、指定された分割ﾌｧｲﾙは復元できません。</p></font>"
                  "<font size=2><p><b>可能性2: </b>"
                  "結合順IDが同じ分割ﾌｧｲﾙのうちどちらか、もしくは、両方のﾌｧｲﾙが壊れている"
                  "可能性があります。</p>"
                  "<p>従って、二度と復元できない可能性があります。</p></font>"
                  "<font size=2><p>(以下のﾁｪｯｸ欄が「重複」となっている結合順IDが原因です。)</p>"
                  "</font>";
    }
    if (agKind.IsOutOfRange) {
        agBody += CauseHead(ioCauseNumber) + "結合順IDが適正な範囲の0～" + last +
                  "内の値ではありません。</p></font>"
                  "<font size=2><p>結合順IDが同じ分割ﾌｧｲﾙのうちどちらか、もしくは、両方のﾌｧｲﾙが"
                  "壊れている可能性があります。</p>"
                  "<p>従って、二度と復元できない可能性があります。</p></font>"
                  "<font size=2><p>(以下の「結合順IDが適正な範囲内の値ではない分割ﾌｧｲﾙﾃﾞｰﾀ」に"
                  "詳しいﾃﾞｰﾀを示してあります。)</p></font>";
    }
    if (agKind.IsShort) {
        agBody += CauseHead(ioCauseNumber) +
                  "復元するための分割ﾌｧｲﾙがそろっていません。</p></font>"
                  "<font size=2><p>復元するためには、0～" +
                  last +
                  "の結合順IDをもつ分割ﾌｧｲﾙが1つずつなくてはいけません。</p>"
                  "<p>従って、指定された分割ﾌｧｲﾙは復元できません。</p></font>"
                  "<font size=2><p>(以下のﾁｪｯｸ欄が「不足」となっている結合順IDが原因です。)</p>"
                  "</font>";
    }
    if (!agKind.IsDuplicated && !agKind.IsShort && anyProblem_) {
        agBody +=
            "<font size=2><p>以下は、結合順IDﾃﾞｰﾀです。以下の分割ﾌｧｲﾙは復元できます。</p>"
            "</font>";
    } else {
        agBody += "<font size=2><p>以下は、結合順IDﾃﾞｰﾀです。</p></font>";
    }
    return WriteSlots(agBody, agKind) && (!agKind.IsOutOfRange || WriteOutOfRange(agBody, agKind));
}

bool KPXRestoreEstimate::WriteSlots(std::string& agBody, const SepaKind& agKind) const {
    agBody += kBlock + "<table><tr>" + Cell("結合順ID") + Cell("ﾁｪｯｸ") + Cell("ｱﾄﾞﾚｽ") + "</tr>";
    for (size_t t = 0; t < agKind.TurnIDs.size(); ++t) {
        const std::vector<Piece>& files = agKind.TurnIDs[t].Files;
        agBody += "<tr>" + Cell(std::to_string(t));
        if (files.empty()) {
            agBody += Cell("不足") + "<td></td></tr>";
        } else if (files.size() == 1) {
            agBody += Cell("適正") + Cell(Address(files.front())) + "</tr>";
        } else {
            agBody += Cell("重複") + "<td><font size=2>";
            for (const Piece& piece : files) {
                agBody += "<div nowrap>" + Address(piece) + "</div>";
                if (IsCanceled()) {
                    return false;
                }
            }
            agBody += "</font></td></tr>";
        }
        if (IsCanceled()) {
            return false;
        }
    }
    agBody += "</table></blockquote>";
    return true;
}

bool KPXRestoreEstimate::WriteOutOfRange(std::string& agBody, const SepaKind& agKind) const {
    agBody +=
        "<font size=2><p>以下は、結合順IDが適正な範囲内の値ではない分割ﾌｧｲﾙﾃﾞｰﾀです。</p>"
        "</font>" +
        kBlock + "<table><tr>" + Cell("結合順ID") + Cell("ｱﾄﾞﾚｽ") + "</tr>";
    for (const Piece& piece : agKind.OutOfRangeFiles) {
        agBody += "<tr>" + Cell(std::to_string(piece->TurnID())) + Cell(Address(piece)) + "</tr>";
        if (IsCanceled()) {
            return false;
        }
    }
    agBody += "</table></blockquote>";
    return true;
}
