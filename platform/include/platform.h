// The operating-system services the game expects: data paths, files, shell open, message box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

namespace platform {

// The folder that holds PICTURE/ and SOUNDS/: $DRELMONT_DATA if set, else the executable's folder,
// else ../share/drelmont beside it, else ../../share/games/drelmont (the installed game), else the working
// directory.
std::string DataDir();

// Where DataDir looks, in order: $DRELMONT_DATA alone when it is set.
std::vector<std::string> DataDirCandidates();

// Empty when DataDir() holds the game's data; otherwise a sentence that names every folder looked in.
std::string MissingData();

// The folder the running program was started from (empty if the system cannot tell).
std::string ExecutableDir();

// Where "SAVES\" lives: $XDG_DATA_HOME/drelmont, default ~/.local/share/drelmont, where ~ is $HOME or, when
// that is unset or not an absolute path, the home folder the password database gives. Empty when neither
// gives one: there is then no place to save in.
std::string UserDataDir();

// The user's pictures folder: $XDG_PICTURES_DIR, else XDG_PICTURES_DIR in user-dirs.dirs of
// $XDG_CONFIG_HOME (default ~/.config), else ~/Pictures; empty without a home folder.
std::string PicturesDir();

// A name for a new file in folder after the local date and time ("2024-05-01_12-34-56.png", then
// "2024-05-01_12-34-56_2.png" when that one is taken), making the folder and those above it when missing.
// Empty, with the reason in error, when the folder cannot be made.
std::string NewTimedFile(const std::string& folder, const std::string& extension, std::string* error);

// Maps a Windows-style relative name ("PICTURE\BULLET1.bmp") to a real path: backslashes become slashes,
// each component is matched case-insensitively, relative to DataDir(); "SAVES\..." maps under UserDataDir(),
// or to an empty path (no file) without one. An absolute POSIX path is returned unchanged. A component that
// does not exist keeps its spelling. A folder is searched for a name only when it has changed since the last
// search, so a name asked for often costs nothing however many files the folder holds.
std::string ResolvePath(const std::string& windowsName);

bool FileExists(const std::string& windowsName);

// Opens a file with the desktop's default handler (xdg-open), detached: the handler runs on by itself and
// nothing comes back. Returns false if it cannot start.
bool ShellOpen(const std::string& windowsName);

// An error box where a desktop can show one (SDL is not used here: zenity, kdialog or xmessage if present);
// always also printed on stderr.
void ShowErrorBox(const std::string& caption, const std::string& text);

// A line for whoever watches the program (tests, benchmarks): written to the file descriptor named by
// $DRELMONT_TRACE_FD, read once; nothing happens without it.
void Trace(const std::string& line);

// What became of reading a file.
enum class FileRead { kRead, kMissing, kUnreadable };

// Reads a whole file, but only a regular one: a FIFO, a device or a folder is never opened for reading (it
// could block or never end) and counts as unreadable. `error`, when given, gets the reason of a failure.
FileRead ReadRegularFile(const std::string& realPath, std::string* text, std::string* error = nullptr);

// Opens a file for reading as ReadRegularFile does: the descriptor, or -1 with the outcome and the reason.
int OpenRegularFile(const std::string& realPath, FileRead* outcome, std::string* error = nullptr);

// Opens a file for writing from its start, made or emptied, but only a regular one: a FIFO, a device or a
// folder is refused without blocking and left as it was. The descriptor, or -1 with the reason.
int CreateRegularFile(const std::string& realPath, std::string* error = nullptr);

// Replaces a file's contents so that a crash, a full disk or a power loss at any moment leaves either the old
// or the new contents whole: the text goes to a new file in the same folder, is flushed to the disk and is
// renamed over the old one, and the folder is flushed too. The folders above are created when missing; a
// symbolic link is written through to its target; an existing file keeps its permissions. A target that is
// not a regular file, that has no write permission bit (whoever we are) or that we may not write, is left
// alone and the write fails, as does a relative path. Temporary files of the target that writers killed in
// the middle left behind go with the next replacement. Returns false when the new contents are not in place,
// with the reason in `error` when given.
bool WriteFileAtomically(const std::string& realPath, std::string_view text, std::string* error = nullptr);

// What tells one version of a file from another without reading it: where it lives, its size and its
// modification time to the nanosecond. A missing file has no stamp.
struct FileStamp {
    uint64_t device = 0, inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(const std::string& realPath);

// Gives the memory the program has freed back to the system where the allocator keeps it for reuse; a moment
// between levels is the time for it. Nothing the program holds changes.
void ReleaseFreeMemory();

// The processor cores this process may run on (its affinity mask, so `taskset -c 0` gives 1); at least 1.
int UsableCores();

} // namespace platform
