// hxq errors [CODE]: the engine error texts, one code or all listed ones.
#include "command_registry.h"

#include "core/records/engine_error_text.h"
#include "platform/error.h"

#include <fmt/core.h>

namespace hxq::app {
namespace {

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("errors", "Print the engine error text of one code or of all codes");
    auto code = std::make_shared<int>(0);
    auto calc_type = std::make_shared<int>(0);
    cmd->add_option("CODE", *code, "Engine error code (1-46)");
    cmd->add_option("--calc-type", *calc_type, "CalcType setting that selects the text of code 6")
        ->capture_default_str();
    cmd->callback([cmd, code, calc_type, &exit_code] {
        auto print = [&](int c) {
            fmt::print("{}\n", core::EngineErrorText(platform::kObjectError + c, *calc_type));
        };
        if (cmd->count("CODE")) {
            print(*code);
            exit_code = 0;
            return;
        }
        for (int c = 1; c <= 46; ++c)
            if (!core::EngineErrorMessage(c, *calc_type).empty()) print(c);
        exit_code = 0;
    });
});

}  // namespace
}  // namespace hxq::app
