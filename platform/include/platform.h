// The operating-system services the game expects: data paths, files, shell open, message box, INI files.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The folder that holds PICTURE/ and SOUNDS/: $DRELMONT_DATA if set, else the executable's folder,
// else ../share/drelmont beside it, else the working directory.
std::string DataDir();

// The folder the running program was started from (empty if the system cannot tell).
std::string ExecutableDir();

// Where "SAVES\" lives: $XDG_DATA_HOME/drelmont, default ~/.local/share/drelmont.
std::string UserDataDir();

// Maps a Windows-style relative name ("PICTURE\BULLET1.bmp") to a real path: backslashes become slashes,
// each component is matched case-insensitively, relative to DataDir(); "SAVES\..." maps under UserDataDir().
// An absolute POSIX path is returned unchanged. A component that does not exist keeps its spelling.
std::string ResolvePath(const std::string& windowsName);

bool FileExists(const std::string& windowsName);

// Creates the folders above a file that is about to be written. Returns false when it cannot.
bool PrepareForWrite(const std::string& realPath);

// Opens a file with the desktop's default handler (xdg-open), detached: the handler runs on by itself and
// nothing comes back. Returns false if it cannot start.
bool ShellOpen(const std::string& windowsName);

// An error box where a desktop can show one (SDL is not used here: zenity, kdialog or xmessage if present);
// always also printed on stderr.
void ShowErrorBox(const std::string& caption, const std::string& text);

// A line for whoever watches the program (tests, benchmarks): written to the file descriptor named by
// $DRELMONT_TRACE_FD, read once; nothing happens without it.
void Trace(const std::string& line);

// INI file service in the manner of the Windows one: sections, keys, integers and booleans with defaults.
int32_t IniReadInteger(const std::string& file, const std::string& section, const std::string& key,
                       int32_t defaultValue);
bool IniReadBool(const std::string& file, const std::string& section, const std::string& key,
                 bool defaultValue);
bool IniWriteInteger(const std::string& file, const std::string& section, const std::string& key,
                     int32_t value);
bool IniWriteBool(const std::string& file, const std::string& section, const std::string& key, bool value);

} // namespace platform
