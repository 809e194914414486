// Scripted engines for the air dryer search: the air-to-air unit and the evaporator
// answer from one rule of the pair's size and dew temperature, and every rating is
// logged, so that tests see which pairs the search tried.
#pragma once

#include "batch/ad_opt.h"
#include "core/sample_duties.h"
#include "platform/error.h"
#include "platform/prompter.h"
#include "settings/library_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace hxq::test {

// One pair as the engines saw it.
struct RatedPair {
    int air_side1 = 0;
    int air_side2 = 0;
    int ref_plates = 0;
    double dew = 0;
    int air_plates() const { return air_side1 + air_side2 + 1; }
    int total() const { return air_plates() + ref_plates; }
};

struct PairScript {
    // Whether the evaporator keeps a non-negative margin for the pair.
    std::function<bool(const RatedPair&)> meets = [](const RatedPair&) { return true; };
    double dried_air_outlet = 25;  // °C, cold side leaving the air unit
    bool evaporator_no_solution = false;
    bool air_unit_throws = false;
    std::vector<RatedPair> log;  // every evaporator rating
    RatedPair pending;
    double precooled = 0;
};

class ScriptedAirUnit final : public core::SinglePhaseEngine {
public:
    explicit ScriptedAirUnit(PairScript& s) : s_(s) {}
    void Calculate(core::SinglePhaseInput& in, core::SinglePhaseResult& r) override {
        if (s_.air_unit_throws) throw platform::object_error(9, "engine", "Temperature approach too small");
        r = core::SinglePhaseResult{};
        s_.pending.air_side1 = in.NoOfChannels[1][1].Value;
        s_.pending.air_side2 = in.NoOfChannels[2][1].Value;
        s_.pending.dew = in.InletTemp[1].Value;
        r.Valid = in.CalcMode == "P" && in.NoOfChannels[1][1].Given && in.NoOfChannels[2][1].Given;
        r.NoOfChannels[1] = in.NoOfChannels[1][1].Value;
        r.NoOfChannels[2] = in.NoOfChannels[2][1].Value;
        r.InletTemp[1] = in.InletTemp[1].Value;
        r.InletTemp[2] = in.InletTemp[2].Value;
        r.OutletTemp[1] = s_.dried_air_outlet;
        r.OutletTemp[2] = in.InletTemp[2].Value - 10;  // pre-cooled air
        s_.precooled = r.OutletTemp[2];
        r.MassFlow[1] = in.MassFlow[1].Value;
        r.MassFlow[2] = in.MassFlow[2].Value;
        r.PressureDrop[1] = r.PressureDrop[2] = 1000;  // Pa
        r.HeatLoad = 5;  // kW, as the engine writes it
    }
    void CheckInput(core::SinglePhaseInput&, core::SinglePhaseResult&) override {}

private:
    PairScript& s_;
};

class ScriptedEvaporator final : public core::EvaporatorEngine {
public:
    explicit ScriptedEvaporator(PairScript& s) : s_(s) {}
    void Calculate(core::EvaporatorInput& in, core::EvaporatorResult& r) override {
        r = core::EvaporatorResult{};
        RatedPair p = s_.pending;
        p.ref_plates = in.NoOfPlates.Value;
        s_.log.push_back(p);
        EXPECT_EQ(in.CalcMode, "X");
        EXPECT_DOUBLE_EQ(in.OutletTemp[2].Value, p.dew);
        EXPECT_DOUBLE_EQ(in.InletTemp[2].Value, s_.precooled);  // the air unit's warm side leaving
        if (s_.evaporator_no_solution) {
            r.HeatTransferArea = 1e30;
            return;
        }
        r.Status = -1;
        r.NoOfPlates = in.NoOfPlates.Value;
        r.HeatTransferArea = 1.0;
        r.OverSurface = s_.meets(p) ? 5.0 : -5.0;
        r.PressureDrop[2] = 1000;  // Pa
        r.OutletTemp[2] = in.OutletTemp[2].Value;
    }
    void CheckInput(core::EvaporatorInput&, std::int16_t& code) override { code = 0; }

private:
    PairScript& s_;
};

// The fixture: a clsADOpt on the scripted engines, a recording prompter and the sample
// air dryer duty (8 bar(a) air at 35 °C dried to a 3 °C dew point, at most 20 kPa).
class ADSearch : public ::testing::Test {
protected:
    void SetUp() override {
        prompter = std::make_shared<platform::ScriptedPrompter>();
        settings::set_prompter(prompter);
        opt.Calculation().SetSinglePhaseEngine(std::make_unique<ScriptedAirUnit>(script));
        opt.Calculation().SetEvaporatorEngine(std::make_unique<ScriptedEvaporator>(script));
        air_dryer_duty(input, 0, false);
        input.Optimisation.Split = 3;
        input.Optimisation.Depth = 1;
        input.MaxNoOfPlates = 100;
    }
    void TearDown() override { settings::reset_library_state(); }

    PairScript script;
    batch::clsADOpt opt;
    batch::ADInputType input;
    std::shared_ptr<platform::ScriptedPrompter> prompter;
};

}  // namespace hxq::test
