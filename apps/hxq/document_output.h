// What the document commands (preview, print) share: the file they write by default,
// the kinds of file they can write, and opening the written document.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

namespace hxq::app {

// `given`, or "<duty file's stem>-<alternative><suffix>.rtf" in the current folder.
std::filesystem::path document_path(const std::string& given, const std::string& duty, int alternative,
                                    const std::string& suffix);

// Whether `file`'s extension (any case) is one of `extensions` (".rtf", ...).
bool supported_document(const std::filesystem::path& file, std::initializer_list<const char*> extensions);

// Opens `file` in the program that shows its kind; 0, or 1 with the reason on stderr.
int open_written(const std::filesystem::path& file, const std::string& command);

}  // namespace hxq::app
