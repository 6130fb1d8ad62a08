#include "files/ini_profile.h"

#include "files/atomic_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace morvane {

namespace {

namespace fs = std::filesystem;

// A profile file is a few hundred bytes; these limits only keep a wrong file (a log, an
// image renamed to .ini, a megabyte of blank lines) from being taken in whole.
constexpr std::size_t kMaxLineLength = 65536;
constexpr std::uintmax_t kMaxFileSize = 1024u * 1024u;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// Control bytes that occur in text files: tab, line ends, vertical tab, form feed, and the
// end-of-file mark old editors left behind.
bool IsTextByte(unsigned char c) {
  if (c >= 0x20) return c != 0x7F;
  return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

std::string HexByte(unsigned char c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[c >> 4] + kDigits[c & 0x0F];
}

// The section name of a "[name]" line, or nullopt for any other line. A header whose "]"
// was lost ("[Variablen") still names its section: reading on would put its keys into the
// section before it.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  return Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
}

bool IsCommentOrBlank(std::string_view line) {
  line = Trim(line);
  return line.empty() || line.front() == ';' || line.front() == '#';
}

// The key of a "key=value" line, or nullopt for sections, comments and lines without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
  if (IsCommentOrBlank(line) || SectionName(line)) return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

// Why a name or value could not be written as one line that reads back the same; empty
// when it can.
std::string EntryProblem(std::string_view section, std::string_view key, std::string_view value) {
  const auto hasControl = [](std::string_view text) {
    for (char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 && c != '\t') return true;
      if (byte == 0x7F) return true;
    }
    return false;
  };
  if (Trim(section).empty()) return "the section name is empty";
  if (Trim(key).empty()) return "the key name is empty";
  if (hasControl(section) || hasControl(key) || hasControl(value)) {
    return "a name or value holds a line break or control character";
  }
  if (section.find(']') != std::string_view::npos) return "the section name holds \"]\"";
  if (key.find('=') != std::string_view::npos) return "the key name holds \"=\"";
  const std::string_view k = Trim(key);
  if (k.front() == '[' || k.front() == ';' || k.front() == '#') {
    return "the key name starts with \"[\", \";\" or \"#\"";
  }
  return {};
}

std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

}  // namespace

std::optional<IniDocument> IniDocument::Parse(std::string_view text, std::string* error) {
  const auto fail = [error](std::string message) -> std::optional<IniDocument> {
    if (error) *error = std::move(message);
    return std::nullopt;
  };
  IniDocument document;
  // Editors that add a mark to a file that has one already leave two.
  while (text.substr(0, kBom.size()) == kBom) {
    ++document.boms_;
    text.remove_prefix(kBom.size());
  }
  std::size_t lineStart = 0;
  bool firstEnd = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsTextByte(byte)) {
      return fail("not a text file (byte " + HexByte(byte) + " in line " +
                  std::to_string(document.lines_.size() + 1) + ")");
    }
    if (byte != '\n' && byte != '\r') {
      if (i - lineStart >= kMaxLineLength) {
        return fail("line " + std::to_string(document.lines_.size() + 1) + " is longer than " +
                    std::to_string(kMaxLineLength) + " characters");
      }
      continue;
    }
    // "\n", "\r\n" and a lone "\r" (old Mac files) each end a line.
    const std::size_t endLength =
        byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    Line line{std::string(text.substr(lineStart, i - lineStart)),
              std::string(text.substr(i, endLength))};
    if (firstEnd) document.newline_ = line.end;
    firstEnd = false;
    document.lines_.push_back(std::move(line));
    i += endLength - 1;
    lineStart = i + 1;
  }
  if (lineStart < text.size()) document.lines_.push_back({std::string(text.substr(lineStart)), ""});
  return document;
}

std::vector<std::size_t> IniDocument::FindSections(std::string_view section) const {
  section = Trim(section);
  std::vector<std::size_t> headers;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i].text);
    if (name && SameName(*name, section)) headers.push_back(i);
  }
  return headers;
}

std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && !SectionName(lines_[i].text)) ++i;
  return i;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t header, std::string_view key) const {
  key = Trim(key);
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const auto name = KeyName(lines_[i].text);
    if (name && SameName(*name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  for (const std::size_t header : FindSections(section)) {
    if (const auto line = FindKey(header, key)) {
      const std::string_view text = lines_[*line].text;
      return std::string(Trim(text.substr(text.find('=') + 1)));
    }
  }
  return std::nullopt;
}

void IniDocument::Insert(std::size_t at, std::string text) {
  if (at == lines_.size() && !lines_.empty()) {
    // The old last line needs a whole line end now that a line follows: it may have none,
    // or only the "\r" of a CRLF end that was cut off.
    std::string& end = lines_.back().end;
    if (end.empty() || (end == "\r" && newline_ == "\r\n")) end = newline_;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), newline_});
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!EntryProblem(section, key, value).empty()) return;
  const std::vector<std::size_t> headers = FindSections(section);
  if (headers.empty()) {
    Insert(lines_.size(), "[" + std::string(Trim(section)) + "]");
    Insert(lines_.size(), std::string(Trim(key)) + "=" + std::string(value));
    return;
  }
  for (const std::size_t header : headers) {
    if (const auto line = FindKey(header, key)) {
      // Keep the key as the file spells it and everything before the "=".
      std::string& text = lines_[*line].text;
      text.erase(text.find('=') + 1);
      text += value;
      return;
    }
  }
  // After the first section's last line that is neither blank nor a comment: blank lines and
  // comments before the next section stay with that section.
  const std::size_t header = headers.front();
  std::size_t last = header;
  const std::size_t end = SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (!IsCommentOrBlank(lines_[i].text)) last = i;
  }
  Insert(last + 1, std::string(Trim(key)) + "=" + std::string(value));
}

std::string IniDocument::Text() const {
  std::string text;
  for (int i = 0; i < boms_; ++i) text += kBom;
  for (const Line& line : lines_) text += line.text + line.end;
  return text;
}

bool LoadIniFile(const std::string& path, IniDocument& document, std::string& error) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) {
    document = IniDocument();
    return true;
  }
  const auto fail = [&](const std::string& reason) {
    error = "cannot read " + Quoted(path) + ": " + reason;
    return false;
  };
  if (ec) return fail(ec.message());
  if (status.type() == fs::file_type::directory) return fail("it is a directory");
  // Devices and pipes could block or never end.
  if (status.type() != fs::file_type::regular) return fail("it is not a regular file");
  const std::uintmax_t size = fs::file_size(path, ec);
  if (!ec && size > kMaxFileSize) {
    return fail("the file is larger than " + std::to_string(kMaxFileSize / (1024 * 1024)) + " MiB");
  }

  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("the file cannot be opened");
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return fail("reading failed");

  std::string reason;
  auto parsed = IniDocument::Parse(buffer.str(), &reason);
  if (!parsed) return fail(reason);
  document = std::move(*parsed);
  return true;
}

bool SaveIniFile(const std::string& path, const IniDocument& document, std::string& error) {
  return WriteFileAtomically(path, document.Text(), error);
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view fallback) {
  IniDocument document;
  std::string error;
  if (!LoadIniFile(path, document, error)) return std::string(fallback);
  return document.Get(section, key).value_or(std::string(fallback));
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value, std::string& error) {
  if (const std::string problem = EntryProblem(section, key, value); !problem.empty()) {
    error = "cannot write to " + Quoted(path) + ": " + problem;
    return false;
  }
  IniDocument document;
  if (!LoadIniFile(path, document, error)) return false;
  document.Set(section, key, value);
  return SaveIniFile(path, document, error);
}

}  // namespace morvane
