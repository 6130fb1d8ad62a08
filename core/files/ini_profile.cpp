#include "files/ini_profile.h"

namespace morvane {

// Placeholder until the profile engine lands.
std::optional<IniDocument> IniDocument::Parse(std::string_view, std::string*) { return IniDocument{}; }
std::optional<std::string> IniDocument::Get(std::string_view, std::string_view) const { return {}; }
void IniDocument::Set(std::string_view, std::string_view, std::string_view) {}
std::string IniDocument::Text() const { return {}; }
bool LoadIniFile(const std::string&, IniDocument&, std::string&) { return false; }
bool SaveIniFile(const std::string&, const IniDocument&, std::string&) { return false; }
std::string ReadProfileString(const std::string&, std::string_view, std::string_view,
                              std::string_view fallback) {
  return std::string(fallback);
}
bool WriteProfileString(const std::string&, std::string_view, std::string_view, std::string_view,
                        std::string&) {
  return false;
}

}  // namespace morvane
