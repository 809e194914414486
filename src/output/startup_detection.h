// What the document layer finds installed when a host starts: a word processor for the
// documents, and the program previews open in. Answered from PATH and the desktop's
// file associations each time it is asked; nothing is stored.
#pragma once

#include <string>

namespace hxq::output {

// True when LibreOffice is on PATH or an installed program opens .doc or .docx files.
bool word_processor_installed();

// The program that opens .rtf files: the desktop's default handler's program, else
// LibreOffice, else "".
std::string rtf_editor_program();

// Installs both as settings::library_state().startup, so that loading the settings
// notes the word processor and gives an unset EditorPath its default.
void install_startup_detection();

}  // namespace hxq::output
