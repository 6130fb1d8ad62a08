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
  // missing. Section and key names match without regard to letter case.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces the value of an existing key, or adds the key at the end of its section, or
  // adds the section at the end of the document. Names or values that cannot be one line
  // (line breaks, "=" in a key, "]" in a section, empty names) leave the document as it is;
  // WriteProfileString reports them.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // The document as file text; unchanged lines are reproduced exactly.
  std::string Text() const;

 private:
  std::optional<std::size_t> FindSection(std::string_view section) const;
  // Index one past the last line of the section whose header is at `header`.
  std::size_t SectionEnd(std::size_t header) const;
  std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
  void Insert(std::size_t at, std::string line);

  // Lines without their "\n"; a CRLF line keeps its "\r".
  std::vector<std::string> lines_;
  bool finalNewline_ = true;
  bool crlf_ = false;  // new lines end in CRLF
  bool bom_ = false;   // the text began with a UTF-8 byte order mark
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
