// hxq models [--duty S|C|E|T|A]: the model tree a user may choose a model or group from.
#include "command_registry.h"
#include "installation.h"

#include "core/model_tree.h"
#include "platform/db.h"
#include "platform/error.h"
#include "settings/library_state.h"

#include <fmt/core.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace hxq::app {
namespace {

struct ModelsOptions {
    std::string duty = "S";
    std::string database;
    std::string ini;
    std::string user_level = "A";
};

struct Node {
    std::int16_t id = 0;
    std::int16_t parent = 0;
    std::string alias;
    std::string group;
    bool model = false;
    bool in_use = true;
};

// Group numbers ("S/012" -> 12) of the memberships of duty `letter` in a Group text.
std::vector<int> memberships(const std::string& group, char letter) {
    std::vector<int> out;
    const std::string tag = std::string(1, letter) + "/";
    for (std::size_t at = group.find(tag); at != std::string::npos; at = group.find(tag, at + 1)) {
        int n = 0;
        std::size_t i = at + 2;
        for (; i < group.size() && std::isdigit(static_cast<unsigned char>(group[i])); ++i) n = n * 10 + (group[i] - '0');
        if (i > at + 2) out.push_back(n);
    }
    return out;
}

int run_models(const ModelsOptions& o) {
    try {
        PrepareInstallation(o.ini, o.user_level);
        const std::string database = o.database.empty() ? settings::library_state().Settings.HXQDB : o.database;
        if (database.empty()) {
            fmt::print(stderr, "hxq: no product database: set HXQnew in the registry store or give --database\n");
            return 1;
        }
        const char letter = o.duty.front();
        std::vector<Node> nodes;
        {
            platform::Database db = platform::OpenDatabase(database, true);
            platform::Recordset tree = db.OpenRecordset("SELECT * FROM ModelTree");
            const std::string visible =
                fmt::format("Instr(Group,'{}')>0 AND Instr(UserLevel, '{}')>0", letter, core::JetText(o.user_level));
            for (bool ok = tree.FindFirst(visible); ok; ok = tree.FindNext(visible)) {
                Node n;
                n.id = core::ToInt16(tree.Fields("NodeID"));
                n.parent = core::ToInt16(tree.Fields("ParentID"));
                n.alias = core::NullToText(tree.Fields("Alias"));
                n.group = core::NullToText(tree.Fields("Group"));
                n.model = !core::NullToText(tree.Fields("Table")).empty();
                n.in_use = tree.Fields("InUse").is_null() || tree.Fields("InUse").as_bool();
                nodes.push_back(std::move(n));
            }
        }
        std::map<int, int> members;  // group node -> members
        std::set<int> ids;
        std::map<int, std::vector<const Node*>> children;
        for (const auto& n : nodes) {
            ids.insert(n.id);
            for (int g : memberships(n.group, letter)) ++members[g];
        }
        std::vector<const Node*> roots;
        for (const auto& n : nodes) {
            if (ids.count(n.parent) && n.parent != n.id) children[n.parent].push_back(&n);
            else roots.push_back(&n);
        }
        fmt::print("{:>6}  {:<40}  {}\n", "Node", "Alias", "Kind");
        std::set<int> shown;
        auto print = [&](auto&& self, const Node* n, int depth) -> void {
            if (!shown.insert(n->id).second) return;
            std::string kind = n->model ? "model" : "folder";
            if (auto m = members.find(n->id); m != members.end())
                kind = fmt::format("group ({} member{})", m->second, m->second == 1 ? "" : "s");
            std::string of;
            for (int g : memberships(n->group, letter))
                if (g != n->id) of += (of.empty() ? "" : ", ") + fmt::format("{:03d}", g);
            if (!of.empty()) kind += ", member of " + of;
            if (!n->in_use) kind += ", not in use";
            fmt::print("{:>6}  {:<40}  {}\n", n->id, std::string(static_cast<std::size_t>(2 * depth), ' ') + n->alias,
                       kind);
            for (const Node* c : children[n->id]) self(self, c, depth + 1);
        };
        for (const Node* r : roots) print(print, r, 0);
        return 0;
    } catch (const platform::Error& e) {
        fmt::print(stderr, "hxq: {} (error {}, {})\n", e.description(), e.number(), e.source());
        return 1;
    }
}

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("models", "List the model tree of a duty: groups, folders and models");
    auto o = std::make_shared<ModelsOptions>();
    cmd->add_option("--duty", o->duty, "S single-phase, C condenser, E evaporator, T two-stage, A air dryer")
        ->check(CLI::IsMember({"S", "C", "E", "T", "A"}))
        ->capture_default_str();
    cmd->add_option("--database", o->database, "Product database (default: setting HXQnew)");
    cmd->add_option("--ini", o->ini, "User settings file (default: the build's sample/hxq.ini)");
    cmd->add_option("--user-level", o->user_level, "User level letter that the model tree is filtered by")
        ->capture_default_str();
    cmd->callback([o, &exit_code] { exit_code = run_models(*o); });
});

}  // namespace
}  // namespace hxq::app
