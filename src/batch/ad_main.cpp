#include "batch/ad_opt.h"

#include "batch/ad_duty.h"
#include "batch/ad_messages.h"
#include "core/model_tree.h"
#include "core/price_data.h"
#include "core/xer_physics.h"
#include "core/xer_tag.h"
#include "platform/error.h"

#include <fmt/format.h>

#include <cmath>
#include <string>
#include <utility>

namespace hxq::batch {

using platform::Recordset;

void clsADOpt::ReadADModel(const Recordset& ad, ADInputType& input) {
    input.Optimisation.Split = core::ToInt16(core::FieldValueOrZero(ad.Fields("Split")));
    input.Optimisation.Depth = core::ToInt16(core::FieldValueOrZero(ad.Fields("Depth")));
    input.MaxNoOfPlates = core::ToInt16(core::FieldValueOrZero(ad.Fields("MaxNoOfPlates")));
    const platform::Variant ref = ad.Fields("RefNoOfPlates");
    if (ref.is_null()) return;
    input.ADFormIndata.RefNoOfPlates = core::ToInt16(ref);
    const platform::Variant air = ad.Fields("AirNoOfPlates");
    if (air.is_null()) return;
    input.ADFormIndata.AirNoOfPlates = core::ToInt16(air);
}

namespace {

// Everything AD_Main opens; closed in reverse order, also when an error ends the run.
struct ADRun {
    platform::Database product;
    platform::Database stock_db;
    Recordset cost;
    Recordset hxq;
    Recordset channel;
    Recordset stock;
    Recordset corr;
    Recordset vring;
    Recordset tree;
};

[[noreturn]] void lookup_failed(const std::string& what) {
    throw platform::object_error(core::kLookupErrorCode, "AD_Main", what);
}

// Puts the unit's node (model and both channel types) current in `tree`.
void find_unit(Recordset& tree, const platform::Variant& model, const platform::Variant& side1,
               const platform::Variant& side2) {
    const std::string criteria = fmt::format("ModelID={} AND ChannelID1Left={} AND ChannelID2Left={}",
                                             model.as_text(), side1.as_text(), side2.as_text());
    if (!tree.FindFirst(criteria)) lookup_failed("No model-tree node where " + criteria);
}

}  // namespace

void clsADOpt::AD_Main(ADDataType& data) {
    for (auto& slot : data.ADOutData) {
        slot = ADOutputType{};
        slot.TotalPrice = kADEmptySlotPrice;
    }
    try {
        ADInputType& input = data.ADInData;
        const core::CalculationSources sources = sources_ ? *sources_ : core::DefaultCalculationSources();
        const std::string tag_db = core::XerTagItem(input.XerTag, core::kXerTagDatabase);
        const std::string product_db = tag_db.empty() ? sources.MainProductDB : tag_db;

        ADRun run;
        run.product = platform::OpenDatabase(product_db);
        run.stock_db = platform::OpenDatabase(sources.StockDB);
        run.cost = run.product.OpenRecordset("SELECT * FROM Cost");
        run.hxq = run.product.OpenRecordset("SELECT * FROM HXQ");
        run.channel = run.product.OpenRecordset("SELECT * FROM Channel");
        run.stock = run.stock_db.OpenRecordset("SELECT * FROM Stock");
        run.corr = run.product.OpenRecordset("SELECT * FROM [Channel-Fluid-Factors]");
        run.vring = run.product.OpenRecordset("SELECT * FROM VRing");
        run.tree = run.product.OpenRecordset("SELECT * FROM ModelTree");
        PrepareADFluids(input);

        std::string query;
        if (input.IsGroup) {
            // The group node is the parent of its models, which name it as A/NNN.
            const std::string node = core::XerTagItem(input.XerTag, 1);
            const std::string group = core::XerTagItem(input.XerTag, core::kXerTagGroupOrNode);
            const long parent = node.empty() ? input.XerIndex : std::stol(node);
            const long code = group.empty() ? input.XerIndex : std::stol(group);
            query = fmt::format("SELECT * FROM ModelTree WHERE ParentID={} AND Instr(Group,'A/{:03d}') > 0 AND InUse",
                                parent, code);
        } else {
            query = fmt::format("SELECT * FROM ModelTree WHERE NodeID={}", input.XerIndex);
        }
        Recordset models = run.product.OpenRecordset(query);
        // A model without plate numbers of its own is rated with the entered ones, not
        // with those of the model before it; the entered ones are back after the run.
        const std::int16_t entered_air = input.ADFormIndata.AirNoOfPlates;
        const std::int16_t entered_ref = input.ADFormIndata.RefNoOfPlates;
        struct Restore {
            ADFormIndataType& form;
            std::int16_t air;
            std::int16_t ref;
            ~Restore() {
                form.AirNoOfPlates = air;
                form.RefNoOfPlates = ref;
            }
        } restore{input.ADFormIndata, entered_air, entered_ref};
        auto& slots = data.ADOutData;
        while (!models.Eof()) {
            const platform::Variant model_id = models.Fields("ModelID");
            Recordset ad = run.product.OpenRecordset("SELECT * FROM [AD-Models] WHERE ADID=" + model_id.as_text());
            if (ad.Eof()) lookup_failed("No AD-Models row of model " + model_id.as_text());
            input.ADFormIndata.AirNoOfPlates = entered_air;
            input.ADFormIndata.RefNoOfPlates = entered_ref;
            ReadADModel(ad, input);

            find_unit(run.tree, ad.Fields("AirHXQID"), ad.Fields("AirChannelIDSide1"), ad.Fields("AirChannelIDSide2"));
            input.AirIndata.GivenValues.Xer = core::NullToText(run.tree.Fields("Alias"));
            input.AirIndata.GivenValues.XerID = core::ToInt16(run.tree.Fields("nodeid"));
            calc_.SPC_SetData(input.AirIndata, run.tree, run.hxq, run.channel, run.stock, run.cost);

            find_unit(run.tree, ad.Fields("RefHXQID"), ad.Fields("RefChannelIDSide1"), ad.Fields("RefChannelIDSide2"));
            input.RefIndata.HXQModel = core::NullToText(run.tree.Fields("Alias"));
            input.RefIndata.HXQChannel = core::NullToText(run.tree.Fields("ChannelType"));
            input.RefIndata.VAP.GivenValues.Xer = input.RefIndata.HXQModel;
            input.RefIndata.VAP.GivenValues.XerID = core::ToInt16(run.tree.Fields("nodeid"));
            calc_.VAP_SetData(input.RefIndata.VAP, run.tree, run.hxq, run.channel, run.stock, run.cost, run.corr,
                              run.vring);

            ADOutputType result = input.ADFormIndata.CalcMethod == 0 ? D_ADCalc(input) : P_ADCalc(input);
            if (result.Exist) {
                const platform::Variant price_id = ad.Fields("PriceID");
                result.Startprice = core::kDefaultStartprice;
                result.Plateprice = core::kDefaultPlateprice;
                if (!price_id.is_null() && run.cost.FindFirst("PriceID=" + price_id.as_text())) {
                    result.Startprice = static_cast<float>(core::FieldValueOrZero(run.cost.Fields("TQSP1")).as_double());
                    result.Plateprice = static_cast<float>(core::FieldValueOrZero(run.cost.Fields("TQSP2")).as_double());
                }
                result.TotalPrice = result.Startprice + result.Plateprice * result.TotalNumberOfPlates;
                result.XerType = core::NullToText(models.Fields("Alias"));
                result.XerNodeID = core::ToInt16(models.Fields("nodeid"));
                result.XerModelID = core::ToInt16(model_id);
                if (result.TotalPrice < slots[7].TotalPrice) {
                    slots[7] = std::move(result);
                    for (int i = 7; i >= 2 && slots[i].TotalPrice < slots[i - 1].TotalPrice; --i)
                        std::swap(slots[i], slots[i - 1]);
                }
            }
            models.MoveNext();
            std::int16_t percent =
                models.Eof() ? std::int16_t{100} : static_cast<std::int16_t>(std::floor(models.PercentPosition()));
            CalcPercent.raise(percent);
        }
    } catch (...) {
        ShowADError("Occured in AD-Main");
    }
}

}  // namespace hxq::batch
