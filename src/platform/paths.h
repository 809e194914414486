// Where the program lives, where it works and where its temporary files go, plus the
// conversion of the Windows-style paths that stored settings and callers still build
// with "\" separators.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hxq::platform {

// The folder of the running program (the resolved /proc/self/exe); the current
// folder when that cannot be read.
std::filesystem::path application_path();

// The folder a host that sets none works in: the process's current folder.
std::filesystem::path default_working_folder();

// Every "\" becomes "/", so "C:\data\hxq.ini" and "data\hxq.ini" name files here.
std::string native_path(std::string_view windows_style);

// `folder` followed by `tail` with exactly one separator between them, whichever
// separators either side was written with ("work" + "\hxq.ini" -> "work/hxq.ini").
// An empty folder gives the tail alone.
std::string join_path(std::string_view folder, std::string_view tail);

// The folder for temporary files: $TMPDIR or /tmp.
std::filesystem::path temp_folder();

// A fresh random file name with the extension of a temporary file, e.g.
// "hxq3f9c01ab.tmp"; nothing is created. Use create_temp_file where nobody else may
// claim the name first.
std::string temp_name();

// Creates a new empty file with a unique name ending in `extension` in `folder` and
// returns its path. Throws Error 75 when the folder cannot take it.
std::filesystem::path create_temp_file(const std::filesystem::path& folder,
                                       std::string_view extension = ".tmp");

// The program's own data folder: $XDG_DATA_HOME/hxq, ~/.local/share/hxq when that variable
// is unset or not an absolute path. Nothing is created.
std::filesystem::path data_folder();

// The folder documents (previews, printed copies) are written to: "tmp" in
// `application_folder` when it can be created there and written to, else "tmp" in
// data_folder(). Creates it; Error 75 when neither can be used.
std::filesystem::path document_folder(const std::filesystem::path& application_folder);

// Creates `folder`/`stem``extension` exclusively, or, when that name is taken,
// `stem`_2`extension`, `stem`_3... the first that is free; returns it (empty). An
// existing file is never opened, so two writers cannot end up with one name. Error 75
// when the folder cannot take a new file.
std::filesystem::path create_unique_file(const std::filesystem::path& folder, std::string_view stem,
                                         std::string_view extension);

// True for an existing file (not a folder).
bool file_exists(const std::filesystem::path& file);

// Deletes a file; true when it is gone afterwards (also when it never existed).
bool delete_file(const std::filesystem::path& file);

}  // namespace hxq::platform
