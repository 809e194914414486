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

// Converts `document` with filter `target` ("txt:Text", "pdf") into `scratch` and returns
// the converted file; nothing when LibreOffice is missing or the conversion failed (the
// reason in `why`).
inline std::optional<std::filesystem::path> libreoffice_convert(const std::filesystem::path& document,
                                                                const std::string& target,
                                                                const std::filesystem::path& scratch,
                                                                std::string* why = nullptr) {
    const std::string program = soffice_program();
    if (program.empty()) {
        if (why) *why = "LibreOffice (soffice) is not installed; scripts/setup.sh installs it";
        return std::nullopt;
    }
    const auto profile = scratch / "lo-profile";
    const auto out_dir = scratch / "lo-out";
    std::filesystem::create_directories(out_dir);
    const auto outcome = run_process(program,
                                     {"-env:UserInstallation=file://" + profile.string(), "--headless", "--norestore",
                                      "--convert-to", target, "--outdir", out_dir.string(), document.string()},
                                     scratch, {}, {"HOME=" + scratch.string()});
    const std::string extension = target.substr(0, target.find(':'));
    const auto converted = out_dir / (document.stem().string() + "." + extension);
    if (outcome.exit_code != 0 || !std::filesystem::exists(converted)) {
        if (why) *why = "LibreOffice could not convert " + document.string() + ": " + outcome.err + outcome.out;
        return std::nullopt;
    }
    return converted;
}

// The document's text as LibreOffice reads it (UTF-8); nothing on failure, see `why`.
inline std::optional<std::string> libreoffice_text(const std::filesystem::path& document,
                                                   const std::filesystem::path& scratch, std::string* why = nullptr) {
    const auto converted = libreoffice_convert(document, "txt:Text (encoded):UTF8", scratch, why);
    if (!converted) return std::nullopt;
    return slurp_file(*converted);
}

// Several documents' texts in one LibreOffice start (each start costs about a second),
// in the order given; nothing when any conversion failed, see `why`.
inline std::optional<std::vector<std::string>> libreoffice_texts(const std::vector<std::filesystem::path>& documents,
                                                                 const std::filesystem::path& scratch,
                                                                 std::string* why = nullptr) {
    const std::string program = soffice_program();
    if (program.empty()) {
        if (why) *why = "LibreOffice (soffice) is not installed; scripts/setup.sh installs it";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < documents.size(); ++i)
        for (std::size_t k = 0; k < i; ++k)
            if (documents[i].stem() == documents[k].stem()) {
                if (why) *why = "two documents named " + documents[i].stem().string() + " would share one text file";
                return std::nullopt;
            }
    const auto out_dir = scratch / "lo-texts";
    std::filesystem::create_directories(out_dir);
    std::vector<std::string> args{"-env:UserInstallation=file://" + (scratch / "lo-profile").string(), "--headless",
                                  "--norestore", "--convert-to", "txt:Text (encoded):UTF8", "--outdir",
                                  out_dir.string()};
    for (const auto& d : documents) args.push_back(d.string());
    const auto outcome = run_process(program, args, scratch, {}, {"HOME=" + scratch.string()});
    std::vector<std::string> texts;
    for (const auto& d : documents) {
        const auto converted = out_dir / (d.stem().string() + ".txt");
        if (outcome.exit_code != 0 || !std::filesystem::exists(converted)) {
            if (why) *why = "LibreOffice could not convert " + d.string() + ": " + outcome.err + outcome.out;
            return std::nullopt;
        }
        texts.push_back(slurp_file(converted));
    }
    return texts;
}

}  // namespace hxq::test
