#include "core/model_tree.h"

#include "platform/error.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <limits>

namespace hxq::core {

using platform::Recordset;
using platform::Variant;

char DutyLetter(Duty duty) {
    switch (duty) {
        case Duty::SinglePhase: return 'S';
        case Duty::Condenser: return 'C';
        case Duty::Evaporator: return 'E';
        case Duty::TwoStage: return 'T';
    }
    return 'S';
}

std::string NullToText(const Variant& field) { return field.as_text(); }

std::string JetText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::string MainQuery(Duty duty, bool is_group, long group_or_node, std::string_view user_level) {
    if (!is_group) return fmt::format("SELECT * FROM ModelTree WHERE NodeID={}", group_or_node);
    // The single-phase text has two blanks before AND InUse; the queries are kept as
    // the product databases' tools expect them, letter for letter.
    const char* middle = duty == Duty::SinglePhase ? "') > 0  AND InUse AND Instr(UserLevel, '"
                                                   : "') > 0 AND InUse AND Instr(UserLevel, '";
    return fmt::format("SELECT * FROM ModelTree WHERE Instr(Group,'{}/{:03d}{}{}')>0", DutyLetter(duty),
                       group_or_node, middle, JetText(user_level));
}

std::string DutyTerm(Duty duty, std::string_view user_level) {
    return fmt::format(" AND Instr(Group,'{}')>0 AND Instr(UserLevel, '{}')>0", DutyLetter(duty),
                       JetText(user_level));
}

std::int16_t ToInt16(const Variant& value) {
    if (value.is_null() || value.is_empty()) return 0;
    if (value.is_text() && value.as_text().empty()) return 0;
    std::int64_t v = value.as_integer();
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        throw platform::Error(6, "ToInt16", "Overflow");
    return static_cast<std::int16_t>(v);
}

namespace {

template <class Alt>
void read_designation_into(const Recordset& tree, Alt& alt) {
    alt.ChanComb = NullToText(tree.Fields("ChannelCombination"));
    alt.XerAlias = NullToText(tree.Fields("PureType"));
    alt.Chantype = NullToText(tree.Fields("ChannelType"));
    alt.HXQID = ToInt16(tree.Fields("ModelID"));
    alt.nodeid = ToInt16(tree.Fields("nodeid"));
    const Variant& info = tree.Fields("Information2");
    if (!info.is_null()) {
        std::string text = info.as_text();
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        alt.CrossFlow = text == "crossflow";
    }
    const Variant& dual = tree.Fields("Dual");
    if (!dual.is_null()) alt.Dual = dual.as_bool();
}

bool is_folder(const Recordset& tree) {
    const Variant& table = tree.Fields("Table");
    return table.is_null() || table.as_text().empty();
}

template <class Alt>
class Walk {
public:
    Walk(Recordset& tree, const WalkOptions& options, CalculatedSet& calculated, CandidateRating<Alt>& rating)
        : tree_(tree), options_(options), calculated_(calculated), rating_(rating) {}

    std::optional<Alt> start(std::int16_t n) {
        path_.insert(n);
        return node(n);
    }

private:
    std::optional<Alt> node(std::int16_t n) {
        std::optional<Alt> best;
        const std::string children = child_criteria(n);
        if (!tree_.FindFirst(children)) {
            // A node without children (of this duty) is its own only candidate.
            if (tree_.FindFirst(self_criteria(n))) offer(best, rate_row());
            return best;
        }
        do {
            const platform::Bookmark here = tree_.GetBookmark();
            if (is_folder(tree_)) {
                const std::int16_t child = ToInt16(tree_.Fields("NodeID"));
                // A folder that is its own ancestor (damaged tree data) is not entered
                // again: the walk would never end.
                if (path_.insert(child).second) {
                    offer(best, node(child));
                    path_.erase(child);
                }
            } else {
                offer(best, rate_row());
            }
            tree_.SetBookmark(here);
        } while (tree_.FindNext(children));
        return best;
    }

    std::string child_criteria(std::int16_t n) const {
        std::string c = fmt::format("ParentID={}", n);
        if (!options_.without_terms) c += DutyTerm(options_.duty, options_.user_level);
        return c;
    }

    std::string self_criteria(std::int16_t n) const {
        std::string c = fmt::format("NodeID={}", n);
        if (options_.without_terms) return c;
        if (options_.ignore_duty_letter)
            return c + fmt::format(" AND Instr(UserLevel, '{}')>0", JetText(options_.user_level));
        return c + DutyTerm(options_.duty, options_.user_level);
    }

    // Rates the model row the tree stands on; nothing when it was rated before in this
    // run or the filter rejects it.
    std::optional<Alt> rate_row() {
        const long position = tree_.AbsolutePosition();
        if (calculated_.IsCalculated(position)) return std::nullopt;
        const std::int16_t node_id = ToInt16(tree_.Fields("NodeID"));
        if (!rating_.PassesFilter(node_id)) {
            calculated_.Add(position);
            return std::nullopt;
        }
        Alt alt{};
        ReadDesignation(tree_, alt);
        const platform::Bookmark here = tree_.GetBookmark();
        rating_.Rate(tree_, alt);
        tree_.SetBookmark(here);
        calculated_.Add(position);
        return alt;
    }

    void offer(std::optional<Alt>& best, std::optional<Alt> candidate) {
        if (!candidate) return;
        if (!best || rating_.Better(*candidate, *best)) best = std::move(candidate);
    }

    Recordset& tree_;
    const WalkOptions& options_;
    CalculatedSet& calculated_;
    CandidateRating<Alt>& rating_;
    std::unordered_set<std::int16_t> path_;
};

}  // namespace

void ReadDesignation(const Recordset& tree, OutDataType& alternative) { read_designation_into(tree, alternative); }
void ReadDesignation(const Recordset& tree, CONOutDataType& alternative) { read_designation_into(tree, alternative); }
void ReadDesignation(const Recordset& tree, VAPOutDataType& alternative) { read_designation_into(tree, alternative); }
void ReadDesignation(const Recordset& tree, TwoStageOutDataType& alternative) {
    read_designation_into(tree, alternative.Stage1);
    read_designation_into(tree, alternative.Stage2);
}

template <class Alternative>
std::optional<Alternative> NodeCalc(Recordset& tree, std::int16_t node, const WalkOptions& options,
                                    CalculatedSet& calculated, CandidateRating<Alternative>& rating) {
    return Walk<Alternative>(tree, options, calculated, rating).start(node);
}

template std::optional<OutDataType> NodeCalc(Recordset&, std::int16_t, const WalkOptions&, CalculatedSet&,
                                             CandidateRating<OutDataType>&);
template std::optional<CONOutDataType> NodeCalc(Recordset&, std::int16_t, const WalkOptions&, CalculatedSet&,
                                                CandidateRating<CONOutDataType>&);
template std::optional<VAPOutDataType> NodeCalc(Recordset&, std::int16_t, const WalkOptions&, CalculatedSet&,
                                                CandidateRating<VAPOutDataType>&);
template std::optional<TwoStageOutDataType> NodeCalc(Recordset&, std::int16_t, const WalkOptions&,
                                                     CalculatedSet&, CandidateRating<TwoStageOutDataType>&);

}  // namespace hxq::core
