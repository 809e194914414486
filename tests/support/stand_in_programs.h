// Small shell scripts that stand in for the programs a desktop would have (an editor,
// LibreOffice, lp, a file handler) and note how they were started.
#pragma once

#include "platform/scratch.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace hxq::test {

// An executable script `file` with `body` after its "#!/bin/sh" line.
inline std::filesystem::path write_script(const std::filesystem::path& file, const std::string& body) {
    std::filesystem::create_directories(file.parent_path());
    write_file(file, "#!/bin/sh\n" + body);
    ::chmod(file.c_str(), 0755);
    return file;
}

// A script body that writes its arguments, NUL-separated, to `record`, renamed into
// place whole.
inline std::string recorder(const std::filesystem::path& record) {
    return "printf '%s\\0' \"$@\" > '" + record.string() + ".part' && mv '" + record.string() + ".part' '" +
           record.string() + "'\n";
}

// The NUL-separated words a script wrote with printf '%s\0'.
inline std::vector<std::string> words_of(const std::string& text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
        words.push_back(text.substr(start, end - start));
    return words;
}

// The file once it exists (a detached program writes it in its own time); nothing after
// five seconds.
inline std::optional<std::string> await_file(const std::filesystem::path& file) {
    for (int i = 0; i < 200; ++i) {
        if (std::filesystem::exists(file)) return read_file(file);
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return std::nullopt;
}

// The words a recorder wrote to `record`, once it has; none when it never did.
inline std::vector<std::string> recorded_words(const std::filesystem::path& record) {
    const auto text = await_file(record);
    return text ? words_of(*text) : std::vector<std::string>{};
}

}  // namespace hxq::test
