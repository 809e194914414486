#include "core/xer_tag.h"

#include "core/model_tree.h"
#include "platform/error.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace hxq::core {

namespace {

const char* flag(bool b) { return b ? "True" : "False"; }

bool has_letter(const std::string& group, char letter) { return group.find(letter) != std::string::npos; }

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool parse_flag(const std::string& item) {
    return item == "True" || item == "true" || item == "-1" || item == "1";
}

}  // namespace

ModelTreeNode ReadModelTreeNode(const platform::Recordset& tree) {
    ModelTreeNode n;
    n.NodeID = ToInt16(tree.Fields("NodeID"));
    n.ParentID = ToInt16(tree.Fields("ParentID"));
    n.ModelID = ToInt16(tree.Fields("ModelID"));
    n.Table = NullToText(tree.Fields("Table"));
    n.ChannelType = NullToText(tree.Fields("ChannelType"));
    n.ChannelCombination = NullToText(tree.Fields("ChannelCombination"));
    n.PureType = NullToText(tree.Fields("PureType"));
    n.Alias = tree.HasField("Alias") ? NullToText(tree.Fields("Alias")) : n.PureType;
    n.CalcMethod = NullToText(tree.Fields("CalcMethod"));
    n.Group = NullToText(tree.Fields("Group"));
    n.UserLevel = NullToText(tree.Fields("UserLevel"));
    n.InUse = tree.Fields("InUse").as_bool();
    n.StockID = NullToText(tree.Fields("StockID"));
    n.PriceID = NullToText(tree.Fields("PriceID"));
    n.Information2 = NullToText(tree.Fields("Information2"));
    n.Dual = tree.Fields("Dual").as_bool();
    platform::Recordset members = tree.Clone();
    n.IsGroup = members.FindFirst(fmt::format("Instr(Group,'/{:03d}')>0", n.NodeID));
    return n;
}

std::string BuildXerTag(const ModelTreeNode& n, const std::string& database) {
    const std::array<std::string, kXerTagItems> items = {
        n.Alias,
        std::to_string(n.NodeID),
        std::to_string(n.ParentID),
        std::to_string(n.ModelID),
        n.Table,
        flag(n.IsGroup),
        n.ChannelType,
        n.ChannelCombination,
        n.PureType,
        n.CalcMethod,
        n.Group,
        n.UserLevel,
        flag(n.InUse),
        n.StockID,
        n.PriceID,
        std::to_string(n.NodeID),
        flag(has_letter(n.Group, 'S')),
        flag(has_letter(n.Group, 'C')),
        flag(has_letter(n.Group, 'E')),
        flag(has_letter(n.Group, 'T')),
        flag(has_letter(n.Group, 'A')),
        n.Information2,
        flag(lower(n.Information2) == "crossflow"),
        flag(n.Dual),
        flag(!n.StockID.empty()),
        database,
    };
    std::string tag;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].find('%') != std::string::npos)
            throw platform::Error(5, "BuildXerTag",
                                  fmt::format("Item {} of node {} contains \"%\": {}", i, n.NodeID, items[i]));
        if (i > 0) tag += '%';
        tag += items[i];
    }
    return tag;
}

std::string BuildXerTag(const platform::Recordset& tree, const std::string& database) {
    return BuildXerTag(ReadModelTreeNode(tree), database);
}

std::string XerTagItem(std::string_view tag, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        std::size_t p = tag.find('%', start);
        if (p == std::string_view::npos) return {};
        start = p + 1;
    }
    std::size_t end = tag.find('%', start);
    return std::string(tag.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

XerTagInfo ParseXerTag(std::string_view tag) {
    XerTagInfo info;
    info.IsGroup = parse_flag(XerTagItem(tag, kXerTagGroupFlag));
    info.GroupOrNode = ToInt16(platform::Variant(XerTagItem(tag, kXerTagGroupOrNode)));
    info.Dual = parse_flag(XerTagItem(tag, kXerTagDual));
    info.Database = XerTagItem(tag, kXerTagDatabase);
    return info;
}

}  // namespace hxq::core
