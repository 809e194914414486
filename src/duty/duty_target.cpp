#include "duty/duty_target.h"

#include "core/model_tree.h"
#include "core/xer_tag.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace hxq::duty {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

ResolvedTarget ResolveTarget(const DutyDocument& duty, platform::Database& product, const std::string& path,
                             const std::string& user_level) {
    const char letter = DutyLetter(duty.kind);
    const std::string visible =
        fmt::format("Instr(Group,'{}')>0 AND Instr(UserLevel, '{}')>0", letter, core::JetText(user_level));
    platform::Recordset tree = product.OpenRecordset("SELECT * FROM ModelTree");
    std::vector<platform::Bookmark> found;
    if (duty.target == TargetKind::Node) {
        if (tree.FindFirst(fmt::format("NodeID={} AND {}", duty.target_node, visible))) found.push_back(tree.GetBookmark());
    } else {
        const std::string wanted = lower(duty.target_name);
        for (bool ok = tree.FindFirst(visible); ok; ok = tree.FindNext(visible))
            if (lower(core::NullToText(tree.Fields("Alias"))) == wanted) found.push_back(tree.GetBookmark());
    }
    const char* what = duty.target == TargetKind::Group ? "group" : duty.target == TargetKind::Model ? "model" : "node";
    if (found.empty())
        throw DutyFileError(duty.path, duty.target_place,
                            fmt::format("no {} {} {} in {} for user level \"{}\" (list them with hxq models --duty {})",
                                        DutyName(duty.kind), what,
                                        duty.target == TargetKind::Node ? std::to_string(duty.target_node)
                                                                        : "\"" + duty.target_name + "\"",
                                        path, user_level, letter));
    auto members_of = [&](std::int16_t node) {
        platform::Recordset probe = tree.Clone();
        return probe.FindFirst(fmt::format("Instr(Group,'{}/{:03d}')>0", letter, node));
    };
    std::vector<ResolvedTarget> candidates;
    for (const auto& b : found) {
        tree.SetBookmark(b);
        ResolvedTarget t;
        t.node = core::ToInt16(tree.Fields("NodeID"));
        t.alias = core::NullToText(tree.Fields("Alias"));
        t.tag = core::BuildXerTag(tree, path);
        t.dual = core::ParseXerTag(t.tag).Dual;
        t.is_group = members_of(t.node);
        // A group names its members; a model or folder is rated with its subtree.
        if (duty.target == TargetKind::Group && !t.is_group) continue;
        if (duty.target == TargetKind::Model) t.is_group = false;
        candidates.push_back(std::move(t));
    }
    if (candidates.empty())
        throw DutyFileError(duty.path, duty.target_place,
                            fmt::format("\"{}\" is not a group (no node is a member of it); use model = \"{}\" to rate it "
                                        "with its subtree",
                                        duty.target_name, duty.target_name));
    if (candidates.size() > 1) {
        std::string nodes;
        for (const auto& c : candidates) nodes += (nodes.empty() ? "" : ", ") + std::to_string(c.node);
        throw DutyFileError(duty.path, duty.target_place,
                            fmt::format("\"{}\" names nodes {}; give node = N instead", duty.target_name, nodes));
    }
    return candidates.front();
}

}  // namespace hxq::duty
