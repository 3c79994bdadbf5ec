#include "KPXSeparateEstimate.h"

#include "KPXSepaData.h"
#include "tkvCancelMng.h"
#include "tkvFileString.h"
#include "tkvFormat.h"
#include "tkvPageDocument.h"

namespace {

std::string CauseLead(int32_t agNumber) { return "原因" + std::to_string(agNumber) + ": "; }

const char* kNotEstimated = "従って、分割予測ができませんでした。";

}  // namespace

bool KPXSeparateEstimate::Verdict() const {
    return findings_.SourceExists && findings_.SizeDecided && findings_.NamesDecided;
}

bool KPXSeparateEstimate::Write(tkvPageDocument& agBody) const {
    const bool verdict = Verdict();
    agBody.Texts({verdict ? "分割予測は完了しました。" : "分割予測は失敗しました。"});
    agBody.EndBlock();
    agBody.Heading(verdict ? "詳細" : "原因");
    agBody.BeginBlock();
    int32_t causeNumber = 0;
    if (findings_.SourceExists) {
        agBody.Texts({"以下は、分割元ﾌｧｲﾙのﾃﾞｰﾀです。"});
        agBody.BeginBlock();
        agBody.Table({tkvPageDocument::NameValue("分割元ﾌｧｲﾙ名", findings_.Source),
                      tkvPageDocument::NameValue(
                          "分割元ﾌｧｲﾙｻｲｽﾞ",
                          tkvFormat::FormatByteSize(static_cast<double>(findings_.SourceSize)))});
        agBody.EndBlock();
    } else {
        causeNumber = 1;
        agBody.Paragraphs({{CauseLead(causeNumber),
                            "分割元ｱﾄﾞﾚｽに指定されたｱﾄﾞﾚｽが適切でない、もしくは、指定された"
                            "ｱﾄﾞﾚｽにﾌｧｲﾙが存在しません。"}});
        agBody.Texts({kNotEstimated});
    }
    if (findings_.SizeDecided && findings_.NamesDecided) {
        const KPXSepaData& job = *findings_.Job;
        const int32_t count = job.DividoraCount();
        agBody.Texts({"以下は、作成される分割先ﾌｧｲﾙのﾌｧｲﾙ名とﾌｧｲﾙｻｲｽﾞです。"});
        agBody.Texts({"作成される分割先ﾌｧｲﾙは、" + std::to_string(count) + "個です。"});
        agBody.BeginBlock();
        std::vector<tkvPageDocument::Row> rows = {tkvPageDocument::NameValue("ﾌｧｲﾙ名", "ﾌｧｲﾙｻｲｽﾞ")};
        for (int32_t i = 0; i < count; ++i) {
            const auto record = job.DividoraData(i);
            rows.push_back(tkvPageDocument::NameValue(
                tkvFileString::GetFileNamePart(record->FileAddress()),
                tkvFormat::FormatByteSize(static_cast<double>(record->FileSize()) +
                                          findings_.HeaderSize)));
            if (tkvCancelMng::IsCanceled(cancelMng_)) {
                return false;
            }
        }
        agBody.Table(std::move(rows));
        agBody.EndBlock();
        agBody.Texts({"ﾌｧｲﾙｻｲｽﾞには、" + tkvFormat::FormatByteSize(findings_.HeaderSize) +
                      "分のﾍｯﾀﾞｻｲｽﾞも含まれています。"});
    }
    WriteCauses(agBody, causeNumber);
    return true;
}

void KPXSeparateEstimate::WriteCauses(tkvPageDocument& agBody, int32_t agCauseNumber) const {
    if (!findings_.SizeDecided) {
        agBody.Paragraphs(
            {{CauseLead(++agCauseNumber), "失敗の原因として以下の2つが考えられます。"}});
        agBody.Paragraphs({{"可能性1: ",
                            "分割予測は、分割元ｱﾄﾞﾚｽ、分割ﾓｰﾄﾞのﾌｧｲﾙｻｲｽﾞ、または、分割数が"
                            "正しく指定されていないと、実行できません。"}});
        agBody.Paragraphs(
            {{"可能性2: ",
              "分割予測で算出された分割数が、警告をする分割数の上限値を超えている場合は、"
              "分割予測を中断してしまいます。分割ﾓｰﾄﾞを「ｻｲｽﾞを指定して分割」にしている場合、"
              "ﾌｧｲﾙｻｲｽﾞが小さすぎると分割数が多くなり上限値を超えてしまう場合があります。"
              "また、分割ﾓｰﾄﾞを「分割数を指定して分割」にしている場合、分割数に上限値を超える"
              "値が指定されている可能性があります。"}});
        agBody.Texts({kNotEstimated});
    }
    if (!findings_.NamesDecided) {
        agBody.Paragraphs({{CauseLead(++agCauseNumber), "予期せぬｴﾗｰが発生しました。"}});
        agBody.Texts({kNotEstimated});
    }
}
