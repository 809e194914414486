// Duty files read with the sample's units database: the record a text builds (each kind
// by its own reader) and the error a text gives.
#pragma once

#include "duty/air_dryer_duty.h"
#include "duty/cascade_duty.h"
#include "duty/duty_target.h"
#include "duty/duty_document.h"
#include "duty/single_phase_duty.h"
#include "duty/two_phase_duty.h"
#include "duty/two_stage_duty.h"
#include "settings/convert.h"
#include "settings/unit_tables.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace hxq::duty {

inline const std::string kSample = HXQ_SAMPLE_DIR;

// A mistake and what its message must say.
struct Mistake {
    std::string text;
    int line;
    std::string key;
    std::string says;
};

class DutyFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        settings::convert_context().convert_db = [] { return kSample + "/units.db"; };
        settings::convert_context().unit_system = [] { return settings::kUnitSystemSI; };
        settings::ResetSharedConverter();
        ASSERT_TRUE(settings::SharedConverter().IsOpen());
    }

    static DutyDocument parse(const std::string& text) { return ParseDutyText(text, "duty.toml"); }

    // Parses `text` and builds the record of its kind on a made-up target.
    static void build(const std::string& text) {
        const DutyDocument d = parse(text);
        switch (d.kind) {
            case DutyKind::SinglePhase: BuildSPCData(d, ResolvedTarget{}, "products.db"); break;
            case DutyKind::Condenser: BuildCONData(d, ResolvedTarget{}, "products.db"); break;
            case DutyKind::Evaporator: BuildVAPData(d, ResolvedTarget{}, "products.db"); break;
            case DutyKind::AirDryerDesign:
            case DutyKind::AirDryerRating: BuildADData(d, ResolvedTarget{}); break;
            case DutyKind::TwoStage: BuildTwoStageData(d, ResolvedTarget{}, "products.db"); break;
            case DutyKind::Cascade: BuildCascadeData(d, ResolvedTarget{}, "products.db"); break;
        }
    }

    // The error that `read` throws; by default reading and building `text`.
    static DutyFileError error_of(const std::string& text, const std::function<void()>& read = {}) {
        try {
            if (read) read();
            else build(text);
        } catch (const DutyFileError& e) {
            return e;
        }
        ADD_FAILURE() << "no error for:\n" << text;
        return DutyFileError("", 0, "", "");
    }

    // Every mistake, read and built, gives its line and key, and the message says what is wrong.
    static void expect_mistakes(const std::vector<Mistake>& cases) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            const DutyFileError e = error_of(c.text);
            EXPECT_EQ(e.line(), c.line);
            EXPECT_EQ(e.key(), c.key);
            EXPECT_NE(e.message().find(c.says), std::string::npos) << e.message();
            const std::string place = c.line > 0 ? ":" + std::to_string(c.line) : "";
            EXPECT_EQ(std::string(e.what()).rfind("duty.toml" + place + ": " + c.key + ": ", 0), 0u) << e.what();
        }
    }
};

// `text` with its first line that starts with `key` replaced by `line` ("" removes it);
// `line` added at the end when there is none.
inline std::string with(std::string text, const std::string& key, const std::string& line) {
    const auto at = text.find("\n" + key);
    if (at == std::string::npos) return text + line + "\n";
    const auto end = text.find('\n', at + 1);
    return text.replace(at + 1, end - at, line.empty() ? "" : line + "\n");
}

// A target found in the model tree as the readers take it.
inline ResolvedTarget target(std::int16_t node, bool group, const std::string& alias = "", const std::string& tag = "") {
    return {node, group, false, alias, tag};
}

}  // namespace hxq::duty
