#pragma once

// INI text files read and written one key at a time, as profile strings: sections in
// square brackets, "key=value" lines. A write keeps every other line as it was.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class IniDocument {
 public:
  // Parses the text of a file. Returns nullopt with a message in `error` for text that is not
  // an INI text file (binary content, overlong lines).
  static std::optional<IniDocument> Parse(std::string_view text, std::string* error);

  // Value of a key with blanks around it removed; nullopt when the section or key is
  // missing. Section and key names match without regard to letter case. A section that comes
  // twice is read as one (the first value of a key counts), and a header whose "]" is missing
  // still opens its section.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces the value of an existing key, or adds the key at the end of its (first) section,
  // or adds the section at the end of the document. Names or
  // values that cannot be one line (line breaks, "=" in a key, "]" in a section, empty names) leave
  // the document as it is; WriteProfileString reports them.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // The document as file text; unchanged lines are reproduced exactly.
  std::string Text() const;

 private:
  // A line as the file has it: its text without the line end, and the line end itself
  // ("\n", "\r\n", a lone "\r" as old Mac files end lines, or none at the end of the file).
  struct Line {
    std::string text;
    std::string end;
  };

  // Every section header of that name, in file order: a name may come more than once.
  std::vector<std::size_t> FindSections(std::string_view section) const;
  // Index one past the last line of the section whose header is at `header`.
  std::size_t SectionEnd(std::size_t header) const;
  std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
  void Insert(std::size_t at, std::string text);

  std::vector<Line> lines_;
  std::string newline_ = "\n";  // the line end of new lines: the file's first one
  int boms_ = 0;                // UTF-8 byte order marks the text began with
};

// Loads a file. A missing file gives an empty document and true; a file that cannot be
// read or is not text gives false and a message naming the file.
bool LoadIniFile(const std::string& path, IniDocument& document, std::string& error);
// Saves beside the old file and renames over it, so a failed save leaves the old file whole.
bool SaveIniFile(const std::string& path, const IniDocument& document, std::string& error);

// One key of one section, or `fallback` when the file, section or key is missing or the file
// cannot be read.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view fallback);
// Writes one key of one section, keeping everything else in the file.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string& error);

}  // namespace morvane
