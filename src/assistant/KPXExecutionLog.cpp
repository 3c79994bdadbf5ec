#include "KPXExecutionLog.h"

#include "KPXSepaData.h"
#include "KPXSepaResult.h"
#include "tkvDateTime.h"
#include "tkvFileString.h"
#include "tkvPageDocument.h"

namespace KPXExecutionLog {

namespace {

// The verdict, then the details' heading and block.
void Completed(tkvPageDocument& agBody, const std::string& agVerdict) {
    agBody.Texts({agVerdict});
    agBody.EndBlock();
    agBody.Heading("詳細");
}

}  // namespace

void WriteSeparateLog(tkvPageDocument& agBody, const KPXSepaData& agJob,
                      const std::string& agBaseFileAddress, const KPXSepaResult& agResult) {
    using Page = tkvPageDocument;
    const int32_t count = agJob.DividoraCount();
    Completed(agBody, "分割が完了しました。");
    agBody.BeginBlock();
    std::vector<Page::Row> rows = {Page::NameValue("分割元ｱﾄﾞﾚｽ", agJob.FileAddress()),
                                   Page::NameValue("分割先ｱﾄﾞﾚｽ", agBaseFileAddress),
                                   Page::NameValue("分割数", std::to_string(count) + "個", false)};
    if (count > 0) {
        const auto first = agJob.DividoraData(0);
        rows.push_back(Page::NameValue("分割ID", std::to_string(first->SpecID()), false));
        rows.push_back(
            Page::NameValue("分割日時", tkvDateTime::GeneralDateText(first->SepaDate()), false));
    }
    if (!agResult.ChecksumFileAddress().empty()) {
        rows.push_back(Page::NameValue("ﾁｪｯｸｻﾑﾌｧｲﾙ", agResult.ChecksumFileAddress()));
    }
    agBody.Table(std::move(rows));
}

void WriteRestoreLog(tkvPageDocument& agBody, const KPXSepaData& agJob,
                     const KPXSepaResult& agResult, bool agToStream) {
    using Page = tkvPageDocument;
    const int32_t count = agJob.DividoraCount();
    Completed(agBody, "復元が完了しました。");
    if (count > 0) {
        const auto first = agJob.DividoraData(0);
        agBody.BeginBlock();
        std::vector<Page::Row> rows = {
            Page::NameValue("復元先ｱﾄﾞﾚｽ", agToStream
                                               ? "標準出力"
                                               : tkvFileString::JoinFolderAndName(
                                                     agJob.FileAddress(), first->FileName())),
            Page::NameValue("復元した分割ﾌｧｲﾙ数", std::to_string(count) + "個", false),
            Page::NameValue("復元した分割ID", std::to_string(first->SpecID()), false)};
        if (agResult.Verified()) {
            rows.push_back(Page::NameValue("ﾃﾞｰﾀの検証", "ﾁｪｯｸｻﾑﾌｧｲﾙと一致しました。", false));
            rows.push_back(Page::NameValue("ﾁｪｯｸｻﾑﾌｧｲﾙ", agResult.ChecksumFileAddress()));
        } else {
            rows.push_back(
                Page::NameValue("ﾃﾞｰﾀの検証", "ﾁｪｯｸｻﾑﾌｧｲﾙがないため、検証していません。", false));
        }
        agBody.Table(std::move(rows));
    }
}

}  // namespace KPXExecutionLog
