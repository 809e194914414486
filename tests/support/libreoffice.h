// Reads a produced document back the way a user's office suite sees it: LibreOffice
// headless converts it to plain text (or to PDF), in a private profile so that parallel
// tests do not share one.
#pragma once

#include "run_process.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace hxq::test {

// The LibreOffice program on PATH; empty when it is not installed.
inline std::string soffice_program() {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin");
    std::string folder;
    while (std::getline(folders, folder, ':'))
        for (const char* name : {"soffice", "libreoffice"}) {
            const auto candidate = std::filesystem::path(folder) / name;
            if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        }
    return {};
}

// Converts `documents` with filter `target` ("txt:Text (encoded):UTF8", "pdf", "docx")
// into `scratch` in one LibreOffice start (each start costs about a second) and returns the
// converted files in the order given; nothing when LibreOffice is missing or any
// conversion failed (the reason in `why`).
inline std::optional<std::vector<std::filesystem::path>> libreoffice_convert_all(
    const std::vector<std::filesystem::path>& documents, const std::string& target,
    const std::filesystem::path& scratch, std::string* why = nullptr) {
    const std::string program = soffice_program();
    if (program.empty()) {
        if (why) *why = "LibreOffice (soffice) is not installed; scripts/setup.sh installs it";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < documents.size(); ++i)
        for (std::size_t k = 0; k < i; ++k)
            if (documents[i].stem() == documents[k].stem()) {
                if (why) *why = "two documents named " + documents[i].stem().string() + " would share one output";
                return std::nullopt;
            }
    const auto out_dir = scratch / "lo-out";
    std::filesystem::create_directories(out_dir);
    std::vector<std::string> args{"-env:UserInstallation=file://" + (scratch / "lo-profile").string(), "--headless",
                                  "--norestore", "--convert-to", target, "--outdir", out_dir.string()};
    for (const auto& d : documents) args.push_back(d.string());
    const auto outcome = run_process(program, args, scratch, {}, {"HOME=" + scratch.string()});
    const std::string extension = target.substr(0, target.find(':'));
    std::vector<std::filesystem::path> converted;
    for (const auto& d : documents) {
        converted.push_back(out_dir / (d.stem().string() + "." + extension));
        if (outcome.exit_code != 0 || !std::filesystem::exists(converted.back())) {
            if (why) *why = "LibreOffice could not convert " + d.string() + ": " + outcome.err + outcome.out;
            return std::nullopt;
        }
    }
    return converted;
}

inline std::optional<std::filesystem::path> libreoffice_convert(const std::filesystem::path& document,
                                                                const std::string& target,
                                                                const std::filesystem::path& scratch,
                                                                std::string* why = nullptr) {
    const auto converted = libreoffice_convert_all({document}, target, scratch, why);
    if (!converted) return std::nullopt;
    return converted->front();
}

// The documents' texts as LibreOffice reads them (UTF-8), in one start; see above.
inline std::optional<std::vector<std::string>> libreoffice_texts(const std::vector<std::filesystem::path>& documents,
                                                                 const std::filesystem::path& scratch,
                                                                 std::string* why = nullptr) {
    const auto converted = libreoffice_convert_all(documents, "txt:Text (encoded):UTF8", scratch, why);
    if (!converted) return std::nullopt;
    std::vector<std::string> texts;
    for (const auto& file : *converted) texts.push_back(slurp_file(file));
    return texts;
}

inline std::optional<std::string> libreoffice_text(const std::filesystem::path& document,
                                                   const std::filesystem::path& scratch, std::string* why = nullptr) {
    const auto texts = libreoffice_texts({document}, scratch, why);
    if (!texts) return std::nullopt;
    return texts->front();
}

}  // namespace hxq::test
