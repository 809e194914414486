// Documents through the installed office suite and the print system: LibreOffice run
// headless converts a document (to PDF for printing, or to any of its export filters),
// CUPS's lp prints a file.
#pragma once

#include <filesystem>
#include <string_view>

namespace hxq::platform {

// The package that brings LibreOffice's converter without a desktop.
inline constexpr std::string_view kOfficePackage = "libreoffice-writer-nogui";

// LibreOffice's program on PATH: soffice, else libreoffice; empty when not installed.
std::filesystem::path office_program();

// Converts `document` with LibreOffice's filter `target` ("pdf", "docx",
// "txt:Text (encoded):UTF8") and returns the new file in `out_folder`: the document's
// name with the filter's extension, or the first free name after it ("view_2.pdf"),
// never a file that was there before. Each conversion runs in a private, temporary
// LibreOffice profile, so it works while the user has LibreOffice open. Error 53 when
// LibreOffice is not installed, 75 when the conversion fails.
std::filesystem::path convert_document(const std::filesystem::path& document, std::string_view target,
                                       const std::filesystem::path& out_folder);

// Hands `file` to the print system with lp, for `printer` or, when empty, the default
// destination, and waits until lp has taken it. Error 53 when lp is not installed, 482
// when it refuses the job.
void print_file(const std::filesystem::path& file, std::string_view printer = {});

}  // namespace hxq::platform
