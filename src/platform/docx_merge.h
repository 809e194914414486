// The mail merge of a word-processing template saved as Office Open XML (.docx or
// .dotx): MERGEFIELD fields in both forms word processors write (w:fldSimple, and the
// begin/instrText/separate/end runs of a complex field) become the data file's value in
// the run formatting of the field's shown result. Everything else is copied unchanged;
// the result is a .docx document (a template's content type becomes a document's and
// the template's own mail-merge data source is dropped).
#pragma once

#include "platform/merge_data.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace hxq::platform {

// Writes the merged document to `output` (replaced only when the merge succeeded).
// Fields the data lacks stay visible as «name» and are listed in `report`. Error 53 when
// the template does not exist, Error 31036 (the word processor's "error opening file")
// when it is no readable Office Open XML package, Error 75 when `output` cannot be written.
void merge_docx(const std::filesystem::path& template_file, const MergeData& data,
                const std::filesystem::path& output, MergeReport& report);

// The XML of one document part merged (word/document.xml, a header or footer).
std::string merge_docx_part(std::string_view xml, const MergeData& data, MergeReport& report);

}  // namespace hxq::platform
