// A design file of any content opened in a started session, then recalculated on every page.
// - a file that cannot be read changes nothing and says why;
// - a file that opens leaves entry values within their limits (finite, above zero);
// - no field shows "nan" or "inf" and no component value is negative;
// - saving the design and reading it back gives the same values within the saved rounding.

#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "design/design_session.h"
#include "files/design_file.h"
#include "fuzz_checks.h"

namespace {

using morvane::DesignSession;
using morvane::DesignState;
using morvane::FilterType;
using morvane::Topology;
using morvane::fuzz::Fail;

// One file per process, so parallel fuzzing jobs do not share it.
std::string TempPath(const char* tag) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/morvane_fuzz_" + tag + "_" +
         std::to_string(getpid()) + ".ini";
}

const std::string& InputPath() {
  static const std::string path = TempPath("in");
  return path;
}

const std::string& SavedPath() {
  static const std::string path = TempPath("saved");
  return path;
}

void RemoveFiles() {
  std::remove(InputPath().c_str());
  std::remove(SavedPath().c_str());
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) Fail("cannot write the temporary file", path);
  if (size > 0 && std::fwrite(data, 1, size, file) != size) Fail("short write", path);
  std::fclose(file);
}

constexpr double DesignState::*kFileMembers[] = {
    &DesignState::fg, &DesignState::f,        &DesignState::Zin,  &DesignState::fnfp,
    &DesignState::Q,  &DesignState::Vu,       &DesignState::R3,   &DesignState::C1,
    &DesignState::RL, &DesignState::rippleDb, &DesignState::Sweep};

void CheckOpenedValues(const DesignState& s) {
  for (const auto member : kFileMembers) {
    const double v = s.*member;
    if (!std::isfinite(v) || !(v > 0.0)) Fail("opened value out of its limits", std::to_string(v));
  }
}

// The file keeps each value as FormatValue text with two or three decimals.
void CheckSavedRoundTrip(const DesignState& s) {
  std::string error;
  if (!morvane::WriteDesignFile(SavedPath(), s, error)) Fail("cannot save the design", error);
  DesignState back;
  if (!morvane::ReadDesignFile(SavedPath(), back, error)) Fail("cannot read the saved design");
  for (const auto member : kFileMembers) {
    const double x = s.*member;
    const double y = back.*member;
    if (!(std::fabs(y - x) <= 0.0051 * std::fabs(x))) {
      Fail("saved value does not read back", std::to_string(x) + " -> " + std::to_string(y));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(RemoveFiles);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFile(InputPath(), data, size);
  std::remove(SavedPath().c_str());

  DesignSession session;
  morvane::fuzz::WatchWrites(session);
  session.Start();
  const auto fieldsBefore = session.Fields();
  const double fgBefore = session.State().fg;

  std::string error;
  if (!session.OpenDesign(InputPath(), error)) {
    if (error.empty()) Fail("a refused file gives no reason");
    if (session.Fields() != fieldsBefore || session.State().fg != fgBefore) {
      Fail("a refused file changed the design");
    }
    return 0;
  }
  CheckOpenedValues(session.State());
  morvane::fuzz::CheckEntryValuesFinite(session.State());
  CheckSavedRoundTrip(session.State());

  // The type comes from the data so that all of them meet every page.
  const auto type = static_cast<FilterType>(size % 6);
  session.SelectFilterType(type);
  for (int t = 1; t <= morvane::kTopologyCount; ++t) {
    session.SelectTopology(static_cast<Topology>(t));
    session.MakeCalculations();
    morvane::fuzz::CheckShownTexts(session);
    morvane::fuzz::CheckEntryValuesFinite(session.State());
  }
  return 0;
}
