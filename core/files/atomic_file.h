#pragma once

// The one way the program writes a file: whole or not at all.

#include <string>
#include <string_view>

namespace morvane {

// Writes `content` to `path` through a fresh, exclusive temporary file in the target's folder
// that then replaces the target in one rename. Every write, the flush to disk and the close are
// checked; on any failure the old file stays as it was, the temporary file is removed, and
// `error` says what went wrong ("cannot write "PATH": ..."). A symbolic link as the target is
// written through to the file it names (also when that file does not exist yet); the link
// itself stays. An existing target keeps its permissions; a new file gets the usual ones
// (0666 less the umask).
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);

// Writes `content` to standard output and flushes it; false with a message when the output
// cannot take it (a full disk, a closed or broken pipe).
bool WriteStandardOutput(std::string_view content, std::string& error);

// Makes an oversized write fail with an error the program reports instead of ending the
// process (SIGXFSZ under a file-size limit); called once at start by each program.
void ReportOversizedWritesAsErrors();

}  // namespace morvane
