// One language file of the text table (`identifier<TAB>text` lines, "#" comments) read
// and checked against the English base file, with every problem reported by file and
// line so that the build can name it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace hxq::tools {

// Base identifiers lie below this; each language block spans this many identifiers.
inline constexpr int kBlockSpan = 1000;

struct TextLine {
    int id = 0;
    std::string text;  // UTF-8, to the end of the line
    int line = 0;      // 1-based line of the file
};

struct TextFile {
    std::string path;
    std::vector<TextLine> entries;  // in file order, each identifier once
};

// A problem of a file, printed as "<path>:<line>: error: <message>" (no line when it
// concerns the whole file).
struct Diagnostic {
    std::string path;
    int line = 0;
    std::string message;

    std::string to_string() const;
};

// Reads `path`. Malformed lines, invalid UTF-8, control characters, empty texts,
// identifiers outside 0..kBlockSpan-1 and repeated identifiers are added to `problems`
// and left out of the result.
TextFile read_text_file(const std::filesystem::path& path, std::vector<Diagnostic>& problems);

// Identifiers of `language` that `base` lacks and identifiers of `base` that `language`
// lacks.
std::vector<Diagnostic> compare_with_base(const TextFile& base, const TextFile& language);

}  // namespace hxq::tools
