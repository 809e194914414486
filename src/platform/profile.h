// Initialisation files ("private profiles"): sections of key=value lines, read and
// written with the rules users' existing files were made under — case-insensitive
// section and key names, a default for anything missing, a fixed read buffer, and
// writes that touch only the one line they change.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hxq::platform {

// The read buffer of the settings code: 127 characters and the terminator.
inline constexpr std::size_t kProfileBufferSize = 128;

// One initialisation file held as its lines, so that comments, blank lines and text we
// do not understand survive a rewrite. Names compare case-insensitively (ASCII);
// the first of duplicate sections or keys wins, as readers of such files expect.
class ProfileFile {
public:
    ProfileFile() = default;

    // A missing file is an empty profile; one that exists but cannot be read throws
    // Error 75, so that a later save cannot replace it with almost nothing.
    static ProfileFile load(const std::filesystem::path& file);
    // Accepts CR LF, LF or CR line ends and a leading UTF-8 byte-order mark.
    static ProfileFile parse(std::string_view text);

    // The text after "=", trimmed of blanks, with one pair of enclosing matching
    // quotes (" or ') removed. Not cut to any buffer.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // The private-profile read on this profile: value() cut to buffer_size - 1
    // characters, else `default_value` without trailing blanks, cut the same way.
    std::string read(std::string_view section, std::string_view key, std::string_view default_value,
                     std::size_t buffer_size = kProfileBufferSize) const;
    // The text after "=", trimmed of blanks only.
    std::optional<std::string> raw_value(std::string_view section, std::string_view key) const;

    bool has_section(std::string_view section) const;
    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

    // Replaces the value of an existing key in place (keeping the spelling of its name)
    // or adds "key=value" after the last entry of the section, adding the section at the
    // end when needed. Line breaks in the value become blanks: one key is one line.
    // Throws Error 5 for a section or key name that cannot be written as such.
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Adds an empty section when there is none of that name.
    void add_section(std::string_view section);
    bool erase_key(std::string_view section, std::string_view key);
    bool erase_section(std::string_view section);

    // The file text with CR LF line ends.
    std::string text() const;
    // Writes the text to a temporary file beside `file` and renames it over `file`, so
    // a failed write never leaves half a file. Throws Error 75 when it cannot write.
    void save(const std::filesystem::path& file) const;

private:
    struct Line {
        std::string text;     // as read, without the line end
        std::string section;  // section name of a header line
        std::string key;      // key name of an entry line
        enum Kind { Other, Header, Entry } kind = Other;
    };
    static Line classify(std::string text);
    // Index of the header line of a section, or npos.
    std::size_t find_section(std::string_view section) const;
    // Index of an entry line of a section, or npos.
    std::size_t find_key(std::string_view section, std::string_view key) const;
    // One past the last line of the section starting at `header`.
    std::size_t section_end(std::size_t header) const;

    std::vector<Line> lines_;
    bool bom_ = false;
};

// The private-profile read: the value of `key` in `section` of `file`, else
// `default_value` with trailing blanks removed; either cut to buffer_size - 1
// characters (UTF-8 sequences are kept whole).
std::string read_profile_string(std::string_view section, std::string_view key,
                                std::string_view default_value, const std::filesystem::path& file,
                                std::size_t buffer_size = kProfileBufferSize);

// The private-profile write: sets `key` of `section` in `file`, creating the file and
// the section as needed and keeping every other line. Returns false when the file
// cannot be written (the file is then unchanged).
bool write_profile_string(std::string_view section, std::string_view key, std::string_view value,
                          const std::filesystem::path& file);

// The form of a text to write so that the private-profile read gives it back whole:
// a text with blanks at either end, or enclosed in matching quotes, is written inside
// double quotes (the read removes one enclosing pair); any other text as it is.
std::string profile_text(std::string_view value);

// Cuts `text` to at most `max_chars` characters, counting a UTF-8 sequence as one.
std::string cut_to_characters(std::string_view text, std::size_t max_chars);

// ASCII case-insensitive equality of two names.
bool iequals(std::string_view a, std::string_view b);

}  // namespace hxq::platform
