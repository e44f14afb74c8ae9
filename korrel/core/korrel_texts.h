#pragma once
// The texts the print program puts on its pages and in its date heading, each written once.
// The price lists' headings and the windows' texts are the shared ones (base/shared_texts.h).
#include <string>

namespace velmo::korreltext {

// ---- a page of the composite unit price table ----
inline constexpr const char *TableTitle = "複 合 単 価 表";
// The heading row above the factor and component columns.
inline constexpr const char *FactorGroup = "歩　　掛";
inline constexpr const char *ComponentGroup = "金　　額（円）";
// The column headings.
inline constexpr const char *SizeColumn = "呼び径";
inline constexpr const char *UnitColumn = "単位";
inline constexpr const char *AdoptedColumn = "採用単価";
inline constexpr const char *MaterialColumn = "材料単価";
inline constexpr const char *TotalColumn = "合　計";
// The lines of the heading, each followed by its value.
inline constexpr const char *PipeLabel = "管材名：";
inline constexpr const char *LocationLabel = "施工場所：";
inline constexpr const char *LabourLabel = "基礎工費（１人工）：";
inline constexpr const char *NetLabourLabel = "NET：";
inline constexpr const char *MemoLabel = "備考：";
// The Western year under the date: "（2026年）".
inline std::string westernYear(const std::string &year) { return "（" + year + "年）"; }

// ---- the date of the heading: "令和8年12月9日（水）" ----
inline std::string headingDateText(const std::string &year, const std::string &month, const std::string &day,
                                   const std::string &weekday)
{
    std::string text = year + "年" + month + "月" + day + "日";
    if (!weekday.empty())
        text += "（" + weekday + "）";
    return text;
}

} // namespace velmo::korreltext
