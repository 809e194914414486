// The model-tree node a duty file names by group, model or node id.
#pragma once

#include "duty/duty_document.h"
#include "platform/db.h"

#include <cstdint>
#include <string>

namespace hxq::duty {

struct ResolvedTarget {
    std::int16_t node = 0;
    bool is_group = false;  // some node of the duty is a member ("S/NNN") of it
    bool dual = false;      // the node is a dual-circuit model (its Dual column)
    std::string alias;
    std::string tag;        // the node's XerTag
};

// Finds the duty's group, model or node in the ModelTree of `product` (at `path`) among
// the nodes of the duty's kind (its letter in Group) that the user level may see.
// DutyFileError naming the target key when there is none or more than one.
ResolvedTarget ResolveTarget(const DutyDocument& duty, platform::Database& product, const std::string& path,
                             const std::string& user_level);

}  // namespace hxq::duty
