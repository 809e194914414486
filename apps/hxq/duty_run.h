// Running a duty file as the commands do: read it, prepare the installation, resolve the
// model or group and run the calculation of its kind, with a progress bar on a terminal.
// Every failure is reported on stderr in the language chosen; the caller only prints.
#pragma once

#include "batch/ad_records.h"
#include "records/calc_records.h"

#include <cstdint>
#include <string>
#include <variant>

namespace hxq::app {

// The filled record of a run, one type per kind of duty.
using DutyRecord = std::variant<core::SPCDataType, core::CONDataType, core::VAPDataType, core::TwoStageType,
                                core::CascadeDataType, batch::ADDataType>;

struct DutyRunRequest {
    std::string command = "select";  // names the command in messages
    std::string duty;
    std::string ini;
    std::string user_level = "A";
    std::string lang;  // code or name; "": the settings' language
    bool progress = true;
};

struct DutyRun {
    int exit_code = 0;        // 0: `record` holds the rated alternatives; 1 run failure; 2 bad input
    std::int16_t offset = 0;  // text offset of the chosen language
    bool air_dryer_design = false;
    DutyRecord record;
};

DutyRun RunDuty(const DutyRunRequest& request);

// The message of an engine error in the language of `offset`.
std::string EngineErrorMessage(std::int32_t number, std::int16_t offset);

}  // namespace hxq::app
