// Where the documents of the library come from and go: the application folder the host
// reported, the template folder of the template language, and the time stamp in the
// names of new documents.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hxq::output {

// The program folder the host reported (ExePath), else the running program's.
std::filesystem::path application_folder();

// Local date and time as yyyymmddhhmmss.
std::string time_stamp();

// The folder the templates of the template language sit in: the registry setting
// "TemplatePath" (application "HXQ", part "Settings"; the application folder when it is
// not set) followed by the user setting TempLang.
std::filesystem::path template_language_folder();

// The template file `name` (relative to template_language_folder(), "\" read as a folder
// separator) names: the name itself, or when it is not there the same name with the
// extension ".rtf", ".docx" or ".dotx" in place of its own (or added, when it has none).
// Empty when none of them exists.
std::filesystem::path find_template(std::string_view name);

}  // namespace hxq::output
