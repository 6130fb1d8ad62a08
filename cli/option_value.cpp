#include "option_value.h"

#include "usage_error.h"

namespace morvane::cli {

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view option,
               std::string& value) {
  const std::string& arg = args[i];
  if (arg == option) {
    if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
    value = args[++i];
    return true;
  }
  if (arg.size() > option.size() && arg.compare(0, option.size(), option) == 0 &&
      arg[option.size()] == '=') {
    value = arg.substr(option.size() + 1);
    return true;
  }
  return false;
}

}  // namespace morvane::cli
