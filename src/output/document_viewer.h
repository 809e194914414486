// Showing a finished document: the editor program of the settings for rich text (the
// one the previews open in), else the desktop's handler of the document's kind, else the
// editor program for any kind; started without a shell and not waited for.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace hxq::output {

// The command that shows `document`. Error 53 when no program shows its kind.
std::vector<std::string> viewer_command(const std::filesystem::path& document);

// Starts viewer_command(document) detached. Error 53 as viewer_command; 75 when the
// program cannot be started.
void open_document(const std::filesystem::path& document);

}  // namespace hxq::output
