// The INI profile engine on any file text and any key write. The input is a section, a key
// and a value (each ended by a backslash and one more byte), then the file text.
// - a text that parses is reproduced byte for byte while unchanged;
// - Set then Get returns the value written (without the blanks around it), also after the
//   text is saved and parsed again;
// - every other key reads as before, and every other line stays as it was;
// - a write that cannot be one line leaves the text as it was.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/ini_profile.h"
#include "fuzz_checks.h"

namespace {

using morvane::IniDocument;
using morvane::fuzz::Fail;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Whether a write of these names and value can be one "key=value" line under a "[section]"
// line that reads back as written.
bool Writable(std::string_view section, std::string_view key, std::string_view value) {
  const auto oneLine = [](std::string_view text) {
    for (char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte < 0x20 && c != '\t') || byte == 0x7F) return false;
    }
    return true;
  };
  if (Trim(section).empty() || Trim(key).empty()) return false;
  if (!oneLine(section) || !oneLine(key) || !oneLine(value)) return false;
  if (section.find(']') != std::string_view::npos) return false;
  if (key.find('=') != std::string_view::npos) return false;
  const char first = Trim(key).front();
  return first != '[' && first != ';' && first != '#';
}

// The lines without their ends; "\n", "\r\n" and a lone "\r" each end one.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return lines;
}

// Names to look up: every "[...]" with every "...=" after it, as a reader of the file would
// guess them, plus a few that exist nowhere.
std::vector<std::pair<std::string, std::string>> Probes(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> probes;
  std::string section;
  for (const std::string& line : Lines(text)) {
    if (probes.size() >= 64) break;
    const std::string_view trimmed = Trim(line);
    const std::size_t close = trimmed.find(']');
    if (!trimmed.empty() && trimmed.front() == '[' && close != std::string_view::npos) {
      section = std::string(trimmed.substr(1, close - 1));
      probes.emplace_back(section, "fg");
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) probes.emplace_back(section, line.substr(0, equals));
  }
  probes.emplace_back("Variablen", "fg");
  probes.emplace_back("", "");
  return probes;
}

void CheckTextKept(const IniDocument& document, std::string_view text) {
  if (document.Text() != text) Fail("unchanged document is not reproduced");
}

// The lines before and after the one written are the old ones; the written key took the place
// of one line or added at most a section line and a key line.
void CheckOtherLinesKept(std::string_view before, std::string_view after) {
  const std::vector<std::string> oldLines = Lines(before);
  const std::vector<std::string> newLines = Lines(after);
  // Line ends are compared by the unit tests; here the lines' text.
  const auto same = [&](std::size_t oldIndex, std::size_t newIndex) {
    return oldLines[oldIndex] == newLines[newIndex];
  };
  std::size_t prefix = 0;
  while (prefix < oldLines.size() && prefix < newLines.size() && same(prefix, prefix)) ++prefix;
  std::size_t suffix = 0;
  while (suffix < oldLines.size() - prefix && suffix < newLines.size() - prefix &&
         same(oldLines.size() - 1 - suffix, newLines.size() - 1 - suffix)) {
    ++suffix;
  }
  const std::size_t oldChanged = oldLines.size() - prefix - suffix;
  const std::size_t newChanged = newLines.size() - prefix - suffix;
  if (oldChanged > 1 || newChanged > 2 || newChanged < oldChanged) {
    Fail("a write changed other lines");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string section = provider.ConsumeRandomLengthString(40);
  const std::string key = provider.ConsumeRandomLengthString(40);
  const std::string value = provider.ConsumeRandomLengthString(80);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  std::string error;
  std::optional<IniDocument> parsed = IniDocument::Parse(text, &error);
  if (!parsed) {
    if (error.empty()) Fail("a refused text gives no reason");
    // Only binary bytes and overlong lines are refused.
    std::size_t longest = 0;
    for (const std::string& line : Lines(text)) longest = std::max(longest, line.size());
    if (longest >= 65536) return 0;
    for (char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if ((byte < 0x20 && std::string_view("\t\n\v\f\r\x1A").find(c) == std::string_view::npos) ||
          byte == 0x7F) {
        return 0;
      }
    }
    Fail("a text file was refused", error);
  }
  IniDocument document = std::move(*parsed);
  CheckTextKept(document, text);

  const auto probes = Probes(text);
  std::vector<std::optional<std::string>> before;
  for (const auto& [s, k] : probes) {
    auto got = document.Get(s, k);
    if (got && (got->find('\n') != std::string::npos || (!got->empty() && IsBlank(got->front())) ||
                (!got->empty() && IsBlank(got->back())))) {
      Fail("a value keeps its line end or blanks", *got);
    }
    before.push_back(std::move(got));
  }
  // Reading changes nothing.
  CheckTextKept(document, text);

  document.Set(section, key, value);
  const std::string written = document.Text();
  if (!Writable(section, key, value)) {
    if (written != text) Fail("a write that cannot be one line changed the text");
    return 0;
  }

  const std::string expected(Trim(value));
  if (document.Get(section, key) != expected) Fail("Set then Get does not give the value");
  CheckOtherLinesKept(text, written);

  std::optional<IniDocument> reread = IniDocument::Parse(written, &error);
  if (!reread) Fail("a written text does not parse", error);
  CheckTextKept(*reread, written);
  if (reread->Get(section, key) != expected) Fail("the value is lost when the text is read again");

  for (std::size_t i = 0; i < probes.size(); ++i) {
    const auto& [s, k] = probes[i];
    if (SameName(s, section) && SameName(k, key)) continue;
    if (document.Get(s, k) != before[i] || reread->Get(s, k) != before[i]) {
      Fail("a write changed another key", s + "/" + k);
    }
  }
  return 0;
}
