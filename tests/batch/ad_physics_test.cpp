// Physical data of an air dryer pair from the sample range: volumes from both units'
// channels, the frame's dimensions and weights from the air dryer's article.
#include "batch/ad_physics.h"
#include "core/fixture.h"

#include "platform/db.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <string>

namespace hxq::test {
namespace {

const std::string kProducts = std::string(HXQ_SAMPLE_DIR) + "/products.db";
const std::string kSelector = std::string(HXQ_SAMPLE_DIR) + "/selector.db";

double value(const std::string& db, const std::string& sql, const char* field) {
    platform::Database d = platform::OpenDatabase(db, true);
    platform::Recordset r = d.OpenRecordset(sql);
    return r.Fields(field).as_double();
}

// AD 350: a Q45 air unit (channel 52 both sides) and a Q32 evaporator (channel 41).
batch::ADOutputType ad350() {
    batch::ADOutputType out;
    out.XerModelID = 202;
    out.XerNodeID = 280;
    out.TotalNumberOfPlates = 32;
    out.AirHXQResults.NoOfChannels[1] = 6;
    out.AirHXQResults.NoOfChannels[2] = 7;
    out.RefHXQResults_new.NoOfChannels[1] = 9;
    out.RefHXQResults_new.NoOfChannels[2] = 9;
    out.RefHXQResults_new.Side2.Density = 9.4;       // air at 8 bar, 10 °C
    out.RefHXQResults_new.RefLiquid.Density = 1295;  // R134a liquid at 0 °C
    return out;
}

TEST(ADPhysics, VolumesDimensionsAndWeightsOfAPair) {
    batch::ADOutputType out = ad350();
    batch::GetADPhysics(out, kProducts, kSelector);
    EXPECT_EQ(out.XPc, "QA*AD202*S");
    const double air_channel = value(kProducts, "SELECT ChVol FROM Channel WHERE ChannelID=52", "ChVol");
    const double ref_channel = value(kProducts, "SELECT ChVol FROM Channel WHERE ChannelID=41", "ChVol");
    const auto& p = out.XerPhysics;
    EXPECT_FLOAT_EQ(p.Vol[1], static_cast<float>(13 * air_channel + 9 * ref_channel));
    EXPECT_FLOAT_EQ(p.Vol[2], static_cast<float>(9 * ref_channel));
    // The frame's depth over all plates of the pair; pressures in Pa from hPa.
    const std::string meas = "SELECT * FROM HXQMeas WHERE XPC='QA*AD202*S'";
    EXPECT_FLOAT_EQ(p.length, static_cast<float>(value(kSelector, meas, "PP_Start") +
                                                 32 * value(kSelector, meas, "PP_Plate") +
                                                 value(kSelector, meas, "OffsetDepth")));
    EXPECT_FLOAT_EQ(p.TestPress[1], static_cast<float>(100 * value(kSelector, meas, "TestPressure1")));
    EXPECT_FLOAT_EQ(p.MaxWorkingTemperature[1], static_cast<float>(value(kSelector, meas, "CH1TempAlt1")));
    EXPECT_NEAR(p.Weight_full - p.Weight_empty, 9.4 * p.Vol[1] + 1295 * p.Vol[2], 1e-4);
}

TEST(ADPhysics, LookupsThatFindNothingAreError666AndCloseTheirDatabases) {
    // No AD-Models row, then no measures row for the article.
    for (const auto& [model, xpc] : {std::pair{999, ""}, {202, "QA*AD999*S"}}) {
        SCOPED_TRACE(model);
        batch::ADOutputType out = ad350();
        out.XerModelID = static_cast<std::int16_t>(model);
        out.XPc = xpc;
        EXPECT_EQ(error_of([&] { batch::GetADPhysics(out, kProducts, kSelector); }).number(),
                  platform::kObjectError + 666);
        EXPECT_EQ(platform::db_open_handles().databases, 0);
    }
}

}  // namespace
}  // namespace hxq::test
