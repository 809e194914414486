// The property list ("tag") of a model-tree node as the host keeps it with a chosen
// model or group (InputData::XerTag): items separated by "%", in the fixed order below.
// The drivers read item 15, the batch items 5, 23 and 25.
//
//  0 Alias (PureType when the tree has no Alias column)   13 StockID
//  1 NodeID                                               14 PriceID
//  2 ParentID                                             15 group number or node id
//  3 ModelID                                              16 single-phase letter S in Group
//  4 Table                                                17 condenser letter C
//  5 group flag: some node is a member (X/NNN) of it      18 evaporator letter E
//  6 ChannelType                                          19 two-stage letter T
//  7 ChannelCombination                                   20 air-dryer letter A
//  8 PureType                                             21 Information2
//  9 CalcMethod                                           22 cross-flow (Information2 "crossflow")
// 10 Group                                                23 Dual
// 11 UserLevel                                            24 uses stock (StockID not empty)
// 12 InUse                                                25 product database path
//
// Flags are "True" or "False". A group's number is its node id (memberships name the
// group node as letter/NNN), so item 15 is the node id for groups and models alike.
#pragma once

#include "platform/db.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace hxq::core {

inline constexpr int kXerTagItems = 26;
inline constexpr int kXerTagGroupFlag = 5;
inline constexpr int kXerTagGroupOrNode = 15;
inline constexpr int kXerTagDual = 23;
inline constexpr int kXerTagDatabase = 25;

// The columns of a ModelTree row the tag is made of.
struct ModelTreeNode {
    std::string Alias;
    std::int16_t NodeID = 0;
    std::int16_t ParentID = 0;
    std::int16_t ModelID = 0;
    std::string Table;
    std::string ChannelType;
    std::string ChannelCombination;
    std::string PureType;
    std::string CalcMethod;
    std::string Group;
    std::string UserLevel;
    bool InUse = false;
    std::string StockID;
    std::string PriceID;
    std::string Information2;
    bool Dual = false;
    // Some node names this one in a membership ("S/012" for node 12), so the group
    // query of its number finds rows. A folder that nobody names is not a group: it is
    // rated as one node with its subtree.
    bool IsGroup = false;
};

// The row `tree` stands on; IsGroup is looked up in a clone of `tree`, whose position
// stays as it was.
ModelTreeNode ReadModelTreeNode(const platform::Recordset& tree);

// The tag of `node` of the product database at `database`. A "%" inside an item would
// shift every later item, so such a node is refused (error 5, invalid argument).
std::string BuildXerTag(const ModelTreeNode& node, const std::string& database);
std::string BuildXerTag(const platform::Recordset& tree, const std::string& database);

// Item `index` (counting from 0) of a tag; "" when the tag is shorter.
std::string XerTagItem(std::string_view tag, int index);

// The items the drivers and the batch read.
struct XerTagInfo {
    bool IsGroup = false;
    std::int16_t GroupOrNode = 0;
    bool Dual = false;
    std::string Database;
};
XerTagInfo ParseXerTag(std::string_view tag);

}  // namespace hxq::core
