// The merge data of a printout being built (field names and values side by side, written
// as one header line and one value line), where its file goes, and the template each
// printout kind uses for each print type.
#pragma once

#include "records/calc_records.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hxq::output {

class MergeRecord {
public:
    // A field: `name` exactly as templates address it, `value` as written (UTF-8).
    void field(std::string_view name, std::string value);
    // A quantity: its value under `name` and its unit text under `unit_name`, from the
    // value formatter's "value;unit" text or an OutVal.
    void quantity(std::string_view name, std::string_view unit_name, const std::string& value_and_unit);
    void quantity(std::string_view name, std::string_view unit_name, const core::OutVal& value);
    // Puts `value` in place of the value of the first field named `name`; false when there
    // is none.
    bool replace(std::string_view name, std::string value);

    std::size_t size() const { return names_.size(); }
    const std::vector<std::string>& names() const { return names_; }
    const std::vector<std::string>& values() const { return values_; }

    // The names joined by ";", and the values joined by ";".
    std::string header_line() const;
    std::string value_line() const;

private:
    std::vector<std::string> names_;
    std::vector<std::string> values_;
};

// A model designation as a merge value: every double quote becomes the diaeresis
// (character 168 of the ANSI code page), which word processors do not take for a text
// delimiter.
std::string merge_designation(std::string_view designation);

// The merge data file on disk, deleted (with the private folder it may sit in) when this
// goes out of scope, also when the merge failed.
class MergeDataFile {
public:
    // Writes `record` (code page 1252, CR LF after both lines) to a new file with a
    // random name and mode 0600 in `folder`; when `folder` cannot take it, in a private
    // folder (mode 0700) created under the system's temporary folder. Nothing existing is
    // ever overwritten. Error 75 when neither place takes it.
    MergeDataFile(const MergeRecord& record, const std::filesystem::path& folder);
    ~MergeDataFile();
    MergeDataFile(const MergeDataFile&) = delete;
    MergeDataFile& operator=(const MergeDataFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Leaves the file in place (for inspection) instead of deleting it.
    void keep() { keep_ = true; }

private:
    std::filesystem::path path_;
    std::filesystem::path private_folder_;
    bool keep_ = false;
};

// The printout kinds and their templates.
enum class MergeKind { SPC, SPCDual, CON, CONDual, VAP, VAPDual, Cascade, TwoStage, AD };

// The template name (relative to the language's template folder, "\" as folder separator)
// of `kind` for print type 0 (result sheet), 1 (extra data sheet) or 2 (quotation), with
// the quotation templates of the user's settings TempDotSPC/CON/VAP; empty for a print
// type the kind has no template for.
std::string merge_template(MergeKind kind, std::int16_t PrintType);

}  // namespace hxq::output
