#pragma once

#include <string>
#include <vector>

// The fixed texts the result pages are made of, and the rows that carry a value, as the pages
// must read character for character. Values passed in are put in as given: a test passes the
// escaped form of a path or name.
namespace page {

inline const std::string kBlock = "<blockquote style=\"MARGIN-RIGHT: 0px\">";
inline const std::string kBlockEnd = "</blockquote>";
inline const std::string kDetails = "<p><b>詳細</b></p>";
inline const std::string kCausesHeading = "<p><b>原因</b></p>";
inline const std::string kDetailsAndCauses = "<p><b>詳細と原因</b></p>";

// The frame of every page.
inline std::string Page(const std::string& agAddress, const std::string& agTitle,
                        const std::string& agReportBody) {
    return "<html><body><meta HTTP-EQUIV=\"Content-Type\" Content=\"text/html; charset=x-sjis\">"
           "<p><Font Size=2><A href=\"" +
           agAddress + "\" target=_blank>新しいウィンドウで表示する</A></Font></p>" + agTitle +
           agReportBody + "</body></html>";
}

inline const std::string kSplitEstimateTitle = "<p><b>分割予測結果</b></p>";
inline const std::string kRestoreEstimateTitle = "<p><b>復元予測結果</b></p>";
inline const std::string kSplitTitle = "<p><b>分割実行結果</b></p>";
inline const std::string kRestoreTitle = "<p><b>復元実行結果</b></p>";

inline const std::string kSplitEstimateFailed =
    "<font size=2><p>分割予測の実行は失敗しました。</p></font></blockquote>";
inline const std::string kRestoreEstimateFailed =
    "<font size=2><p>復元予測の実行は失敗しました。</p></font></blockquote>";
inline const std::string kSplitFailed =
    "<font size=2><p>分割実行は失敗しました。</p></font></blockquote>";
inline const std::string kRestoreFailed =
    "<font size=2><p>復元実行は失敗しました。</p></font></blockquote>";

inline const std::string kSplitEstimateCancelled =
    std::string("<p><font size=2>実行はｷｬﾝｾﾙされました。</font></p>") +
    "<p><font size=2>分割の予測は完了していません。</font></p>";
inline const std::string kRestoreEstimateCancelled =
    std::string("<p><font size=2>実行はｷｬﾝｾﾙされました。</font></p>") +
    "<p><font size=2>復元の予測は完了していません。</font></p>";
inline const std::string kRunCancelled = "<font size=2><p>実行はｷｬﾝｾﾙされました。</p></font>";

// A cause of a failed run, as the error chain gives it.
inline std::string Cause(const std::string& agDescription) {
    return "<font size=2><p>" + agDescription + "</p></font>";
}

// The report body of a failed operation: its failure fragment, the causes, the failing piece.
inline std::string FailureBody(const std::string& agFailure,
                               const std::vector<std::string>& agDescriptions,
                               const std::string& agFailedPiece = {}) {
    std::string body = kBlock + agFailure + kCausesHeading + kBlock;
    for (const std::string& description : agDescriptions) {
        body += Cause(description);
    }
    return body + agFailedPiece + kBlockEnd;
}

inline std::string FailedSplitPiece(const std::string& agAddress) {
    return "<font size=2><p>ｴﾗｰが発生した分割先ﾌｧｲﾙ:</p>" + ("<p><div nowrap>" + agAddress) +
           "</div></p></font>";
}
inline std::string FailedRestorePiece(const std::string& agAddress) {
    return "<font size=2><p>ｴﾗｰが発生した復元元ﾌｧｲﾙ:</p>" + ("<p><div nowrap>" + agAddress) +
           "</div></p></font>";
}

// The assistant's own causes.
inline const std::string kSizeNotNumeric = "ﾌｧｲﾙの等分割ｻｲｽﾞが数字でありません。";
inline const std::string kCountNotNumeric = "指定された分割数が数字でありません。";
inline const std::string kSourceMissing = "指定された分割元ﾌｧｲﾙが存在しません。";
inline const std::string kSizeNotDecided =
    "予期せぬｴﾗｰがﾌｧｲﾙｻｲｽﾞを計算／ｾｯﾄしている際に発生しました。";
inline const std::string kNoSepaAddress = "分割先ｱﾄﾞﾚｽが指定されていません。";
inline const std::string kNoRestoreAddress = "復元先ｱﾄﾞﾚｽが指定されていません。";

// Causes the engine gives.
inline const std::string kOverwriteRefused = "上書き保存のｲﾍﾞﾝﾄの後、実行をｷｬﾝｾﾙされました。";
inline const std::string kPieceNotOpened = "分割先ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。";
inline const std::string kPieceMissing = "復元元ﾌｧｲﾙが存在しません。";
inline const std::string kPieceWriteFailed = "分割先ﾌｧｲﾙへの書き込みに失敗しました。";
inline const std::string kNameNotInHeader =
    "分割元ﾌｧｲﾙ名にﾍｯﾀﾞへ書き込めない文字が含まれています。";

// Split estimate.
inline const std::string kSplitEstimateDone =
    std::string("<font size=2><p>分割予測は完了しました。</p></font></blockquote>") + kDetails;
inline const std::string kSplitEstimateImpossible =
    std::string("<font size=2><p>分割予測は失敗しました。</p></font></blockquote>") +
    kCausesHeading;

inline std::string SourceSection(const std::string& agAddress, const std::string& agSize) {
    return "<font size=2><p>以下は、分割元ﾌｧｲﾙのﾃﾞｰﾀです。</p></font>" + kBlock + "<table>" +
           "<tr><td><font size=2><div nowrap>分割元ﾌｧｲﾙ名</div></font></td>" +
           "<td><font size=2><div nowrap>" + agAddress + "</div></font></td></tr>" +
           "<tr><td><font size=2><div nowrap>分割元ﾌｧｲﾙｻｲｽﾞ</div></font></td>" +
           "<td><font size=2><div nowrap>" + agSize + "</div></font></td></tr>" +
           "</table></blockquote>";
}

inline const std::string kNoSourceCause =
    std::string("<font size=2><p><b>原因1: </b>") +
    "分割元ｱﾄﾞﾚｽに指定されたｱﾄﾞﾚｽが適切でない、もしくは、指定されたｱﾄﾞﾚｽにﾌｧｲﾙが存在しません。</"
    "p></font>" +
    "<font size=2><p>従って、分割予測ができませんでした。</p></font>";

inline std::string SizeCause(int agNumber) {
    return "<font size=2><p><b>原因" + std::to_string(agNumber) + ": </b>" +
           "失敗の原因として以下の2つが考えられます。</p></font>" +
           "<font size=2><p><b>可能性1: </b>分割予測は、分割元ｱﾄﾞﾚｽ、分割ﾓｰﾄﾞのﾌｧｲﾙｻｲｽﾞ、"
           "または、分割数が正しく指定されていないと、実行できません。</p></font>" +
           "<font size=2><p><b>可能性2: </b>分割予測で算出された分割数が、警告をする分割数の上限"
           "値を超えている場合は、分割予測を中断してしまいます。分割ﾓｰﾄﾞを「ｻｲｽﾞを指定して分割」に"
           "している場合、ﾌｧｲﾙｻｲｽﾞが小さすぎると分割数が多くなり上限値を超えてしまう場合があります"
           "。また、分割ﾓｰﾄﾞを「分割数を指定して分割」にしている場合、分割数に上限値を超える値が指"
           "定されている可能性があります。</p></font>" +
           "<font size=2><p>従って、分割予測ができませんでした。</p></font>";
}

inline std::string NamingCause(int agNumber) {
    return "<font size=2><p><b>原因" + std::to_string(agNumber) + ": </b>" +
           "予期せぬｴﾗｰが発生しました。</p></font>" +
           "<font size=2><p>従って、分割予測ができませんでした。</p></font>";
}

struct PlannedPiece {
    std::string Name;
    std::string Size;
};

inline std::string PieceSection(const std::vector<PlannedPiece>& agPieces,
                                const std::string& agHeaderSize) {
    std::string text =
        std::string(
            "<font size=2><p>以下は、作成される分割先ﾌｧｲﾙのﾌｧｲﾙ名とﾌｧｲﾙｻｲｽﾞです。</p></font>") +
        "<font size=2><p>作成される分割先ﾌｧｲﾙは、" + std::to_string(agPieces.size()) +
        "個です。</p></font>" + kBlock + "<table>" +
        "<tr><td><font size=2><div nowrap>ﾌｧｲﾙ名</div></font></td>" +
        "<td><font size=2><div nowrap>ﾌｧｲﾙｻｲｽﾞ</div></font></td></tr>";
    for (const PlannedPiece& piece : agPieces) {
        text += "<tr><td><font size=2><div nowrap>" + piece.Name + "</div></font></td>" +
                "<td><font size=2><div nowrap>" + piece.Size + "</div></font></td></tr>";
    }
    return text + "</table></blockquote>" + "<font size=2><p>ﾌｧｲﾙｻｲｽﾞには、" + agHeaderSize +
           "分のﾍｯﾀﾞｻｲｽﾞも含まれています。</p></font>";
}

// Restore estimate.
inline const std::string kEmptyListBody =
    kBlock + "<font size=2><p>復元の実行はできません。</p></font></blockquote>" + kCausesHeading +
    kBlock + "<font size=2><p>復元元ｱﾄﾞﾚｽが指定されていません。</p></font>" + kBlockEnd;
inline const std::string kRestorable =
    std::string("<font size=2><p>指定された分割ﾌｧｲﾙは復元できます。</p></font></blockquote>") +
    kDetails;
inline const std::string kNotRestorable =
    std::string("<font size=2><p>指定された分割ﾌｧｲﾙは復元できません。</p></font></blockquote>") +
    kDetailsAndCauses;

inline std::string CauseHead(int agNumber) {
    return "<font size=2><p><b>原因" + std::to_string(agNumber) + ": </b>";
}

inline std::string UnreadableCause(int agNumber, const std::vector<std::string>& agAddresses) {
    std::string text =
        CauseHead(agNumber) + "ﾍｯﾀﾞの読み込みができない分割ﾌｧｲﾙが" +
        std::to_string(agAddresses.size()) + "個ありました。</p>" +
        "<p>分割ﾌｧｲﾙが存在しない、分割ﾌｧｲﾙではない、もしくは、分割ﾌｧｲﾙが壊れている可能"
        "性があります。</p>" +
        "<p>従って、指定された分割ﾌｧｲﾙは復元できません。</p></font>" +
        "<font size=2><p>以下は、ﾍｯﾀﾞの読み込みができなかった分割ﾌｧｲﾙﾃﾞｰﾀです。</p></font>" +
        kBlock + "<table>";
    for (const std::string& address : agAddresses) {
        text += "<tr><td><font size=2><div nowrap>" + address + "</div></font></td></tr>";
    }
    return text + "</table></blockquote>";
}

inline std::string MixedKindsCause(int agNumber, int agKinds) {
    return CauseHead(agNumber) + "異なる分割の実行によって作成された分割ﾌｧｲﾙが" +
           std::to_string(agKinds) + "種類混ざっています。</p>" +
           "<p>分割ﾌｧｲﾙは1種類のときのみ復元できます。</p>" +
           "<p>従って、指定された分割ﾌｧｲﾙは復元できません。</p></font>" +
           "<font size=2><p>以下は、各分割ﾌｧｲﾙを種類別に分けたものです。</p></font>";
}

inline std::string NoKindCause(int agNumber) {
    return CauseHead(agNumber) + "読み込みが可能な分割ﾌｧｲﾙが1つもありません。</p>" +
           "<p>従って、復元の実行はできません。</p></font>";
}

inline const std::string kOnlyKindTitle = "<font size=2><p>以下は、分割ﾌｧｲﾙﾃﾞｰﾀです。</p></font>";
inline std::string KindTitle(int agNumber) {
    const std::string k = std::to_string(agNumber);
    return "<p><b>種類" + k + ":</b></p>" + "<font size=2><p>以下は、種類" + k +
           "に含まれる分割ﾌｧｲﾙﾃﾞｰﾀです。</p></font>";
}

inline std::string KindTable(int agSpecID, const std::string& agDate, int agCount,
                             const std::string& agFileName) {
    return kBlock + "<table>" + "<tr><td><font size=2><div nowrap>分割ID</div></font></td>" +
           "<td><font size=2>" + std::to_string(agSpecID) + "</font></td></tr>" +
           "<tr><td><font size=2><div nowrap>分割日時</div></font></td>" + "<td><font size=2>" +
           agDate + "</font></td></tr>" +
           "<tr><td><font size=2><div nowrap>分割数</div></font></td>" + "<td><font size=2>" +
           std::to_string(agCount) + "</font></td></tr>" +
           "<tr><td><font size=2><div nowrap>分割元ﾌｧｲﾙ名</div></font></td>" + "<td><font size=2>" +
           agFileName + "</font></td></tr>" + "</table></blockquote>";
}

inline const std::string kOverUpperCount =
    "<font size=2><p>分割数が設定で指定された、警告を表示する上限値を超えたので、復元予測を行いませ"
    "んでした。</p></font>";

inline std::string DuplicatedCause(int agNumber) {
    return CauseHead(agNumber) + "結合順IDが同じ分割ﾌｧｲﾙがあります。</p>" +
           "<p>この場合、以下の2つの可能性が考えられます。</p></font>" +
           "<font size=2><p><b>可能性1: </b>" +
           "同じ分割ﾌｧｲﾙを重複して指定してしまっている可能性があります。</p>" +
           "<p>従って、指定された分割ﾌｧｲﾙは復元できません。</p></font>" +
           "<font size=2><p><b>可能性2: </b>" +
           "結合順IDが同じ分割ﾌｧｲﾙのうちどちらか、もしくは、両方のﾌｧｲﾙが壊れている可能性があります"
           "。</p>" +
           "<p>従って、二度と復元できない可能性があります。</p></font>" +
           "<font size=2><p>(以下のﾁｪｯｸ欄が「重複」となっている結合順IDが原因です。)</p></font>";
}

inline std::string OutOfRangeCause(int agNumber, int agLast) {
    return CauseHead(agNumber) + "結合順IDが適正な範囲の0～" + std::to_string(agLast) +
           "内の値ではありません。</p></font>" +
           "<font "
           "size=2><p>結合順IDが同じ分割ﾌｧｲﾙのうちどちらか、もしくは、両方のﾌｧｲﾙが壊れている可"
           "能性があります。</p>" +
           "<p>従って、二度と復元できない可能性があります。</p></font>" +
           "<font size=2><p>(以下の「結合順IDが適正な範囲内の値ではない分割ﾌｧｲﾙﾃﾞｰﾀ」に詳しいﾃﾞｰﾀを"
           "示してあります。)</p></font>";
}

inline std::string ShortCause(int agNumber, int agLast) {
    return CauseHead(agNumber) + "復元するための分割ﾌｧｲﾙがそろっていません。</p></font>" +
           "<font size=2><p>復元するためには、0～" + std::to_string(agLast) +
           "の結合順IDをもつ分割ﾌｧｲﾙが1つずつなくてはいけません。</p>" +
           "<p>従って、指定された分割ﾌｧｲﾙは復元できません。</p></font>" +
           "<font size=2><p>(以下のﾁｪｯｸ欄が「不足」となっている結合順IDが原因です。)</p></font>";
}

inline const std::string kSlotsIntro = "<font size=2><p>以下は、結合順IDﾃﾞｰﾀです。</p></font>";
inline const std::string kSlotsIntroRestorable =
    "<font size=2><p>以下は、結合順IDﾃﾞｰﾀです。以下の分割ﾌｧｲﾙは復元できます。</p></font>";

// One slot of the join order: no address is a missing piece, two or more a duplicate.
struct Slot {
    std::vector<std::string> Addresses;
};

inline std::string SlotTable(const std::vector<Slot>& agSlots) {
    std::string text = kBlock + "<table>" +
                       "<tr><td><font size=2><div nowrap>結合順ID</div></font></td>" +
                       "<td><font size=2><div nowrap>ﾁｪｯｸ</div></font></td>" +
                       "<td><font size=2><div nowrap>ｱﾄﾞﾚｽ</div></font></td></tr>";
    for (size_t t = 0; t < agSlots.size(); ++t) {
        const auto& addresses = agSlots[t].Addresses;
        text += "<tr><td><font size=2><div nowrap>" + std::to_string(t) + "</div></font></td>";
        if (addresses.empty()) {
            text += std::string("<td><font size=2><div nowrap>不足</div></font></td>") +
                    "<td></td></tr>";
        } else if (addresses.size() == 1) {
            text += std::string("<td><font size=2><div nowrap>適正</div></font></td>") +
                    "<td><font size=2><div nowrap>" + addresses[0] + "</div></font></td></tr>";
        } else {
            text += std::string("<td><font size=2><div nowrap>重複</div></font></td>") +
                    "<td><font size=2>";
            for (const std::string& address : addresses) {
                text += "<div nowrap>" + address + "</div>";
            }
            text += "</font></td></tr>";
        }
    }
    return text + "</table></blockquote>";
}

struct OutOfRangePiece {
    int TurnID;
    std::string Address;
};

inline std::string OutOfRangeTable(const std::vector<OutOfRangePiece>& agPieces) {
    std::string text =
        std::string(
            "<font "
            "size=2><p>以下は、結合順IDが適正な範囲内の値ではない分割ﾌｧｲﾙﾃﾞｰﾀです。</p></font>") +
        kBlock + "<table>" + "<tr><td><font size=2><div nowrap>結合順ID</div></font></td>" +
        "<td><font size=2><div nowrap>ｱﾄﾞﾚｽ</div></font></td></tr>";
    for (const OutOfRangePiece& piece : agPieces) {
        text += "<tr><td><font size=2><div nowrap>" + std::to_string(piece.TurnID) +
                "</div></font></td>" + "<td><font size=2><div nowrap>" + piece.Address +
                "</div></font></td></tr>";
    }
    return text + "</table></blockquote>";
}

// Execution logs.
// A row of a name and a value kept on one line (a path).
inline std::string PathRow(const std::string& agName, const std::string& agPath) {
    return "<tr><td><font size=2><div nowrap>" + agName +
           "</div></font></td><td><font size=2><div nowrap>" + agPath + "</div></font></td></tr>";
}

// agChecksum: the checksum file the split wrote, empty for none.
inline std::string SplitLogBody(const std::string& agSource, const std::string& agDestination,
                                int agCount, int agSpecID, const std::string& agDate,
                                const std::string& agChecksum = {}) {
    return kBlock + "<font size=2><p>分割が完了しました。</p></font></blockquote>" + kDetails +
           kBlock + "<table>" + "<tr><td><font size=2><div nowrap>分割元ｱﾄﾞﾚｽ</div></font></td>" +
           "<td><font size=2><div nowrap>" + agSource + "</div></font></td></tr>" +
           "<tr><td><font size=2><div nowrap>分割先ｱﾄﾞﾚｽ</div></font></td>" +
           "<td><font size=2><div nowrap>" + agDestination + "</div></font></td></tr>" +
           "<tr><td><font size=2><div nowrap>分割数</div></font></td>" + "<td><font size=2>" +
           std::to_string(agCount) + "個</font></td></tr>" +
           "<tr><td><font size=2><div nowrap>分割ID</div></font></td>" + "<td><font size=2>" +
           std::to_string(agSpecID) + "</font></td></tr>" +
           "<tr><td><font size=2><div nowrap>分割日時</div></font></td>" + "<td><font size=2>" +
           agDate + "</font></td></tr>" +
           (agChecksum.empty() ? std::string() : PathRow("ﾁｪｯｸｻﾑﾌｧｲﾙ", agChecksum)) +
           "</table>" + kBlockEnd;
}

// agChecksum: the checksum file the data was checked against; empty: not checked.
inline std::string RestoreLogBody(const std::string& agRestored, int agCount, int agSpecID,
                                  const std::string& agChecksum = {}) {
    const std::string verification =
        agChecksum.empty()
            ? "<tr><td><font size=2><div nowrap>ﾃﾞｰﾀの検証</div></font></td><td><font size=2>"
              "ﾁｪｯｸｻﾑﾌｧｲﾙがないため、検証していません。</font></td></tr>"
            : "<tr><td><font size=2><div nowrap>ﾃﾞｰﾀの検証</div></font></td><td><font size=2>"
              "ﾁｪｯｸｻﾑﾌｧｲﾙと一致しました。</font></td></tr>" +
                  PathRow("ﾁｪｯｸｻﾑﾌｧｲﾙ", agChecksum);
    return kBlock + "<font size=2><p>復元が完了しました。</p></font></blockquote>" + kDetails +
           kBlock + "<table>" + "<tr><td><font size=2><div nowrap>復元先ｱﾄﾞﾚｽ</div></font></td>" +
           "<td><font size=2><div nowrap>" + agRestored + "</div></font></td></tr>" +
           "<tr><td><font size=2><div nowrap>復元した分割ﾌｧｲﾙ数</div></font></td>" +
           "<td><font size=2>" + std::to_string(agCount) + "個</font></td></tr>" +
           "<tr><td><font size=2><div nowrap>復元した分割ID</div></font></td>" +
           "<td><font size=2>" + std::to_string(agSpecID) + "</font></td></tr>" + verification +
           "</table>" + kBlockEnd;
}

}  // namespace page
