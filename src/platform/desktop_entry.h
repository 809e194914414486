// The desktop's choice of program for a kind of file: the default application of a MIME
// type as the user's desktop keeps it (mimeapps.list files, desktop entries in the
// "applications" folders of XDG_DATA_HOME and XDG_DATA_DIRS), and the command a
// desktop entry's Exec line gives for a list of files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hxq::platform {

// The keys of a desktop entry's [Desktop Entry] group we use; string escapes ("\s",
// "\\" ...) are already undone.
struct DesktopEntry {
    std::string id;  // "org.example.Writer.desktop"; subfolders joined with "-"
    std::filesystem::path file;
    std::string name;
    std::string icon;
    std::string exec;
    std::string try_exec;
    std::vector<std::string> mime_types;
    bool hidden = false;  // Hidden=true: the entry counts as deleted
};

// The entry of `file` under the id `id`; nothing when the file cannot be read or has no
// [Desktop Entry] group.
std::optional<DesktopEntry> read_desktop_entry(const std::filesystem::path& file, std::string id);

// The argument vector of the entry's Exec line for `files`: quoting undone, %f and %u
// the first file, %F and %U all of them (each one argument), %i "--icon" and the icon,
// %c the name, %k the entry's file, %% a percent sign; the deprecated and unknown codes
// are dropped. Without a file code the files are added at the end. Empty when the line
// is empty or has an unclosed quote.
std::vector<std::string> expand_exec(const DesktopEntry& entry, const std::vector<std::string>& files);

// The program the entry runs (the first word of Exec, found with find_program); empty
// when it is not installed.
std::filesystem::path handler_program(const DesktopEntry& entry);

// The installed default application for `mime_type` ("application/rtf"): in a session
// of a desktop environment, the one `xdg-mime query default` names when xdg-utils is on
// PATH (it knows the environments' own stores); else the first installed entry of the "Default
// Applications" of the mimeapps.list files in XDG order (XDG_CONFIG_HOME,
// XDG_CONFIG_DIRS, then the "applications" folders of XDG_DATA_HOME and XDG_DATA_DIRS),
// of the legacy defaults.list files, of the "Added Associations", and last of the
// entries that list the type in MimeType. Entries that are hidden or whose program is
// not installed are passed over. Nothing when no installed program handles the type.
std::optional<DesktopEntry> default_handler(std::string_view mime_type);

// The MIME types of files ending in `extension` (".rtf", any case) for the document
// kinds the library writes or looks for: rtf, doc, docx, pdf, txt. Empty for others.
std::vector<std::string> extension_mime_types(std::string_view extension);

// default_handler of the extension's MIME types in turn.
std::optional<DesktopEntry> default_handler_for_extension(std::string_view extension);

}  // namespace hxq::platform
