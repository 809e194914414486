#include "platform/docx_merge.h"

#include "platform/error.h"

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <list>
#include <memory>
#include <regex>
#include <sstream>
#include <vector>

namespace hxq::platform {
namespace {

constexpr std::int32_t kOpenError = 31036;

struct ArchiveCloser {
    void operator()(zip_t* archive) const {
        if (archive) zip_discard(archive);
    }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

Archive open_archive(const std::filesystem::path& file, int flags) {
    int error = 0;
    Archive archive(zip_open(file.c_str(), flags, &error));
    if (!archive) {
        zip_error_t z;
        zip_error_init_with_code(&z, error);
        const std::string why = zip_error_strerror(&z);
        zip_error_fini(&z);
        throw Error(flags & ZIP_CREATE ? 75 : kOpenError, "MailMerge", file.string() + ": " + why);
    }
    return archive;
}

std::string read_entry(zip_t* archive, zip_uint64_t index, const std::filesystem::path& file) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        throw Error(kOpenError, "MailMerge", file.string() + ": unreadable entry");
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> entry(zip_fopen_index(archive, index, 0), &zip_fclose);
    if (!entry) throw Error(kOpenError, "MailMerge", file.string() + ": unreadable entry " + stat.name);
    std::string content(stat.size, '\0');
    if (stat.size > 0 && zip_fread(entry.get(), content.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
        throw Error(kOpenError, "MailMerge", file.string() + ": unreadable entry " + stat.name);
    return content;
}

bool is_merged_part(const std::string& name) {
    static const std::regex parts(R"(word/(document|header\d*|footer\d*|footnotes|endnotes)\.xml)");
    return std::regex_match(name, parts);
}

void note_missing(MergeReport& report, const std::string& name) {
    if (std::find(report.missing_fields.begin(), report.missing_fields.end(), name) == report.missing_fields.end())
        report.missing_fields.push_back(name);
}

std::string field_value(const MergeData& data, const std::string& name, MergeReport& report) {
    if (auto value = data.value(name)) return *value;
    note_missing(report, name);
    return "\xC2\xAB" + name + "\xC2\xBB";  // «name»
}

// A run holding `value` in the formatting `properties` (a w:rPr, or empty), put before `at`.
void insert_value_run(pugi::xml_node at, pugi::xml_node properties, const std::string& value) {
    pugi::xml_node run = at.parent().insert_child_before("w:r", at);
    if (properties) run.append_copy(properties);
    std::stringstream lines(value);
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
        if (!first) run.append_child("w:br");
        pugi::xml_node text = run.append_child("w:t");
        text.append_attribute("xml:space") = "preserve";
        text.text().set(line.c_str());
        first = false;
    }
}

void merge_simple_fields(pugi::xml_document& doc, const MergeData& data, MergeReport& report) {
    for (const pugi::xpath_node& hit : doc.select_nodes("//w:fldSimple")) {
        pugi::xml_node field = hit.node();
        const auto name = merge_field_name(field.attribute("w:instr").value());
        if (!name) continue;
        insert_value_run(field, field.select_node(".//w:r/w:rPr").node(), field_value(data, *name, report));
        field.parent().remove_child(field);
    }
}

// Complex fields run from a w:fldChar "begin" to its "end", possibly over several runs
// and with fields nested inside; a MERGEFIELD's runs give way to one value run.
void merge_complex_fields(pugi::xml_document& doc, const MergeData& data, MergeReport& report) {
    struct Field {
        std::vector<pugi::xml_node> runs;
        std::string instruction;
        bool in_result = false;
        pugi::xml_node properties;
    };
    Field field;
    int depth = 0;
    const pugi::xpath_node_set runs = doc.select_nodes("//w:r");
    for (const pugi::xpath_node& hit : runs) {
        pugi::xml_node run = hit.node();
        const std::string type = run.child("w:fldChar").attribute("w:fldCharType").value();
        if (type == "begin" && depth++ == 0) field = Field{};
        if (depth == 0) continue;
        field.runs.push_back(run);
        if (depth == 1 && !field.in_result)
            for (pugi::xml_node text : run.children("w:instrText")) field.instruction += text.text().get();
        if (type == "separate" && depth == 1) field.in_result = true;
        if (depth == 1 && field.in_result && !field.properties && run.child("w:t")) field.properties = run.child("w:rPr");
        if (type == "end" && --depth == 0) {
            const auto name = merge_field_name(field.instruction);
            if (!name) continue;
            pugi::xml_node properties = field.properties ? field.properties : field.runs.front().child("w:rPr");
            insert_value_run(field.runs.front(), properties, field_value(data, *name, report));
            for (pugi::xml_node gone : field.runs) gone.parent().remove_child(gone);
        }
    }
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

std::string without_mail_merge_source(const std::string& settings_xml) {
    pugi::xml_document doc;
    if (!doc.load_buffer(settings_xml.data(), settings_xml.size(), pugi::parse_full | pugi::parse_ws_pcdata)) return settings_xml;
    for (const pugi::xpath_node& hit : doc.select_nodes("//w:mailMerge")) hit.node().parent().remove_child(hit.node());
    StringWriter out;
    doc.save(out, "", pugi::format_raw);
    return out.text;
}

std::string as_document_content_types(std::string xml) {
    const std::string from = "wordprocessingml.template.main+xml";
    const std::string to = "wordprocessingml.document.main+xml";
    for (auto at = xml.find(from); at != std::string::npos; at = xml.find(from, at + to.size()))
        xml.replace(at, from.size(), to);
    return xml;
}

}  // namespace

std::string merge_docx_part(std::string_view xml, const MergeData& data, MergeReport& report) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size(), pugi::parse_full | pugi::parse_ws_pcdata);
    if (!parsed) throw Error(kOpenError, "MailMerge", std::string("document part is not XML: ") + parsed.description());
    merge_simple_fields(doc, data, report);
    merge_complex_fields(doc, data, report);
    StringWriter out;
    doc.save(out, "", pugi::format_raw);
    return out.text;
}

void merge_docx(const std::filesystem::path& template_file, const MergeData& data,
                const std::filesystem::path& output, MergeReport& report) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(template_file, ec))
        throw Error(53, "MailMerge", "File not found: " + template_file.string());
    Archive source = open_archive(template_file, ZIP_RDONLY);
    const zip_int64_t entries = zip_get_num_entries(source.get(), 0);
    if (zip_name_locate(source.get(), "word/document.xml", 0) < 0)
        throw Error(kOpenError, "MailMerge", template_file.string() + ": no word/document.xml");

    const std::filesystem::path partial = output.string() + ".partial";
    std::filesystem::remove(partial, ec);
    Archive target = open_archive(partial, ZIP_CREATE | ZIP_TRUNCATE);
    std::list<std::string> buffers;  // libzip reads them when the archive is closed
    for (zip_int64_t i = 0; i < entries; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const std::string name = zip_get_name(source.get(), index, 0);
        zip_source_t* part = nullptr;
        std::string* changed = nullptr;
        if (is_merged_part(name)) changed = &buffers.emplace_back(merge_docx_part(read_entry(source.get(), index, template_file), data, report));
        else if (name == "[Content_Types].xml") changed = &buffers.emplace_back(as_document_content_types(read_entry(source.get(), index, template_file)));
        else if (name == "word/settings.xml") changed = &buffers.emplace_back(without_mail_merge_source(read_entry(source.get(), index, template_file)));
        part = changed ? zip_source_buffer(target.get(), changed->data(), changed->size(), 0)
                       : zip_source_zip(target.get(), source.get(), index, 0, 0, -1);
        if (!part || zip_file_add(target.get(), name.c_str(), part, ZIP_FL_ENC_UTF_8) < 0) {
            if (part) zip_source_free(part);
            throw Error(75, "MailMerge", partial.string() + ": " + zip_strerror(target.get()));
        }
    }
    if (zip_close(target.get()) != 0) {
        const std::string why = zip_strerror(target.get());
        std::filesystem::remove(partial, ec);
        throw Error(75, "MailMerge", output.string() + ": " + why);
    }
    (void)target.release();  // zip_close freed it
    std::filesystem::rename(partial, output, ec);
    if (ec) {
        std::filesystem::remove(partial, ec);
        throw Error(75, "MailMerge", output.string() + ": " + ec.message());
    }
}

}  // namespace hxq::platform
