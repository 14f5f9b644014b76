#pragma once
// The operating system as the program sees it: its own folder, the user's
// desktop folder, and handing a finished file to the desktop's viewer.

#include <filesystem>
#include <string>

namespace sys {

// The folder of the running executable. Tests may replace it.
std::filesystem::path program_folder();
void set_program_folder(const std::filesystem::path& folder);

// The user's desktop folder: XDG_DESKTOP_DIR from the user's dirs file,
// else ~/Desktop when it exists, else the home folder.
std::filesystem::path desktop_folder();

// Starts the desktop's viewer (xdg-open) on `path`, without a shell and
// without waiting for it. The name travels as one argument, so blanks or
// shell characters in it are harmless. False when it could not be started.
bool open_in_viewer(const std::string& path);

}  // namespace sys
