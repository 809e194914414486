#include "platform/office.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/shell.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fmt/format.h>

namespace hxq::platform {
namespace {

namespace fs = std::filesystem;

// A fresh folder (mkdtemp) removed with everything in it when it goes.
class PrivateFolder {
public:
    PrivateFolder(const fs::path& parent, std::string_view prefix) {
        std::string tmpl = (parent / (std::string(prefix) + "XXXXXX")).string();
        if (!::mkdtemp(tmpl.data()))
            throw Error(75, "office", "Path/File access error: " + parent.string() + ": " + std::strerror(errno));
        path_ = tmpl;
    }
    ~PrivateFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A file: URL of an absolute path, reserved and non-ASCII bytes percent-encoded (the
// profile folder may have spaces in it).
std::string file_url(const fs::path& path) {
    std::string url = "file://";
    for (const unsigned char c : fs::absolute(path).string()) {
        const bool plain = std::isalnum(c) || std::strchr("/-._~", c);
        url += plain ? std::string(1, static_cast<char>(c)) : fmt::format("%{:02X}", c);
    }
    return url;
}

std::string output_of(const ProcessResult& r) {
    std::string text = r.err + r.out;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

}  // namespace

fs::path office_program() {
    for (const char* name : {"soffice", "libreoffice"})
        if (auto program = find_program(name); !program.empty()) return program;
    return {};
}

fs::path convert_document(const fs::path& document, std::string_view target, const fs::path& out_folder) {
    const auto program = office_program();
    if (program.empty())
        throw Error(53, "office",
                    fmt::format("LibreOffice (soffice) is not installed; install the package {} to convert and print "
                                "documents",
                                kOfficePackage));
    const std::string extension(target.substr(0, target.find(':')));
    const PrivateFolder profile(temp_folder(), "hxq-office-");
    // Converted in a folder of its own beside the result, so that LibreOffice cannot
    // replace an existing file and the result moves into place on the same file system.
    const PrivateFolder staging(out_folder, ".hxq-convert-");
    const auto result = run_program({program.string(), "-env:UserInstallation=" + file_url(profile.path() / "user"),
                                     "--headless", "--norestore", "--nologo", "--convert-to", std::string(target),
                                     "--outdir", staging.path().string(), fs::absolute(document).string()});
    const auto converted = staging.path() / (document.stem().string() + "." + extension);
    std::error_code ec;
    // LibreOffice exits with 0 also when it could not load the document; the file tells.
    if (result.exit_code != 0 || !fs::is_regular_file(converted, ec))
        throw Error(75, "office",
                    fmt::format("LibreOffice could not convert {} to {} (exit code {}): {}", document.string(), target,
                                result.exit_code, output_of(result)));
    const auto final_file = create_unique_file(out_folder, document.stem().string(), "." + extension);
    fs::rename(converted, final_file, ec);  // replaces only the empty file just claimed
    if (ec) {
        delete_file(final_file);
        throw Error(75, "office", "Path/File access error: " + final_file.string() + ": " + ec.message());
    }
    return final_file;
}

void print_file(const fs::path& file, std::string_view printer) {
    if (find_program("lp").empty())
        throw Error(53, "office", "The print command lp is not installed; install the package cups-client to print");
    std::vector<std::string> argv{"lp"};
    if (!printer.empty()) argv.insert(argv.end(), {"-d", std::string(printer)});
    argv.push_back(fs::absolute(file).string());
    const auto result = run_program(argv);
    if (result.exit_code != 0)
        throw Error(482, "office",
                    fmt::format("Printer error: lp could not print {} (exit code {}): {}", file.string(),
                                result.exit_code, output_of(result)));
}

}  // namespace hxq::platform
