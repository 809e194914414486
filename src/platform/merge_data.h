// A merge data file: one line of field names and one line of values, both separated by
// ";", in an ANSI code page, each line ended by CR LF. Templates address the fields by
// these names exactly; where a name repeats, its first value is the field's.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hxq::platform {

class MergeData {
public:
    MergeData() = default;
    // Splits the two lines (UTF-8). Fewer values than names leave the rest empty.
    MergeData(std::string_view header_line, std::string_view value_line);

    // Reads a merge data file written in `code_page`. Error 53 when it does not exist,
    // Error 75 when it cannot be read.
    static MergeData read(const std::filesystem::path& file, int code_page = 1252);

    // The value of the field a template names `name`: the exact name first, then the
    // name compared without its single quotes ("Tin1" finds "'Tin1'", "Shear1_u" finds
    // "Shear1_u'"); nothing for a name the file lacks.
    std::optional<std::string> value(std::string_view name) const;

    const std::vector<std::pair<std::string, std::string>>& fields() const { return fields_; }

private:
    std::vector<std::pair<std::string, std::string>> fields_;
};

// What a merge reports: the fields the template names that the data file lacks, in the
// order met (each once). The merged document shows them marked as «name».
struct MergeReport {
    std::vector<std::string> missing_fields;
};

// The instruction of a merge field ("MERGEFIELD 'Tin1' \* MERGEFORMAT") reduced to its
// field name ("'Tin1'"); nothing when the instruction is not a MERGEFIELD.
std::optional<std::string> merge_field_name(std::string_view instruction);

}  // namespace hxq::platform
