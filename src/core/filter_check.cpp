#include "core/filter_check.h"

#include "core/model_tree.h"
#include "platform/error.h"

#include <fmt/format.h>

#include <vector>

namespace hxq::core {

namespace {

std::vector<std::string> split_codes(const std::string& text) {
    std::vector<std::string> codes;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        // An empty code (";;" or a trailing ";") would ask for connections without a
        // code; it is skipped.
        if (end > start) codes.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return codes;
}

}  // namespace

std::string ArticleCriteria(std::string_view cls, std::string_view type, std::string_view size,
                            const FilterType& filter) {
    std::string c = fmt::format("Class = '{}' AND Type = '{}' AND Size = '{}'", JetText(cls), JetText(type),
                                JetText(size));
    if (!filter.Material.empty()) c += fmt::format(" AND Material = '{}'", JetText(filter.Material));
    if (!filter.Pressure.empty()) c += fmt::format(" AND Pressure = '{}'", JetText(filter.Pressure));
    return c;
}

std::string WarehousePlatesQuery(const std::string& article_criteria, const FilterType& filter) {
    std::string q =
        "SELECT DISTINCT ITEM_PLAN_NF.NoPlates FROM BaseArticleNumbers INNER JOIN ITEM_PLAN_NF ON"
        " BaseArticleNumbers.BaseArtNo = ITEM_PLAN_NF.ArtNo WHERE " +
        article_criteria + " AND ITEM_PLAN_NF.WHS_NBR='" + JetText(filter.whs) + "'";
    const std::vector<std::string> codes = split_codes(filter.ConnXPCs);
    if (!codes.empty()) {
        // The codes are joined by " OR " with blanks on both sides; without the blank
        // after OR the second code would run into the keyword and the query fail.
        q += " AND (";
        for (std::size_t i = 0; i < codes.size(); ++i) {
            if (i > 0) q += " OR ";
            q += "conXPC='" + JetText(codes[i]) + "'";
        }
        q += ")";
    }
    return q;
}

bool FilterCheck(std::string_view /*duty*/, std::int16_t node, const FilterSources& sources,
                 const FilterType& filter, bool& forced_stock, Bounded<std::int16_t, 1, 20>& plates,
                 std::int16_t& count) {
    if (!filter.Active) return true;
    if (sources.Denomination == nullptr || sources.Selector == nullptr || !sources.Denomination->IsOpen() ||
        !sources.Selector->IsOpen())
        throw platform::Error(91, "FilterCheck", "Object variable or With block variable not set");

    platform::Recordset& denomination = *sources.Denomination;
    // A node without a denomination has no base article, so no article can pass.
    if (!denomination.FindFirst(fmt::format("NodeID={}", node))) return false;
    const std::string criteria =
        ArticleCriteria(NullToText(denomination.Fields("Class")), NullToText(denomination.Fields("Type")),
                        NullToText(denomination.Fields("Size")), filter);

    {
        platform::Recordset articles = sources.Selector->OpenRecordset("SELECT * FROM BaseArticleNumbers WHERE " + criteria);
        if (articles.BOF() && articles.Eof()) return false;
        if (!filter.Factory.empty() &&
            NullToText(articles.Fields("Factory")).find(filter.Factory) == std::string::npos)
            return false;
    }
    if (!filter.cew) return true;

    platform::Recordset stocked = sources.Selector->OpenRecordset(WarehousePlatesQuery(criteria, filter));
    if (stocked.BOF() && stocked.Eof()) return false;
    forced_stock = true;
    std::int16_t n = 0;
    for (stocked.MoveFirst(); !stocked.Eof() && n < plates.upper; stocked.MoveNext())
        plates[++n] = ToInt16(stocked.Fields("NoPlates"));
    while (n < 3) {
        plates[n + 1] = plates[n];
        ++n;
    }
    count = n;
    return true;
}

}  // namespace hxq::core
