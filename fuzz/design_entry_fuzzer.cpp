// The whole chain from typed text to the shown results, on every page and filter type. The
// input picks the page, the type, the check boxes, the series and the LC choices, then a
// sequence of actions: text typed into an entry field, spin clicks, page and type changes,
// Make calculations. Every text the program writes is checked as it is written, and all
// that the window shows after every action: no "nan" or "inf", no negative component value,
// and every design entry a finite number.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "design/design_session.h"
#include "design/field_names.h"
#include "fuzz_checks.h"

namespace {

using morvane::DesignSession;
using morvane::FilterType;
using morvane::SpinDirection;
using morvane::Topology;

constexpr std::array<std::string_view, 6> kSpinButtons{
    "SpinButtonfg", "SpinButtonf", "SpinButtonQ", "SpinButtonD", "SpinButtonVu", "SpinButtonZin"};

Topology PickTopology(FuzzedDataProvider& in) {
  return static_cast<Topology>(in.ConsumeIntegralInRange<int>(1, morvane::kTopologyCount));
}

FilterType PickType(FuzzedDataProvider& in) {
  return static_cast<FilterType>(in.ConsumeIntegralInRange<int>(0, 5));
}

void Check(const DesignSession& session) {
  morvane::fuzz::CheckShownTexts(session);
  morvane::fuzz::CheckEntryValuesFinite(session.State());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  DesignSession session;
  morvane::fuzz::WatchWrites(session);
  session.Start();

  // The choices, in the order a user might make them before typing.
  session.SelectFilterType(PickType(in));
  const auto boxes = in.ConsumeIntegral<std::uint8_t>();
  const auto checkBoxes = morvane::field::CheckBoxes();
  for (std::size_t i = 0; i < checkBoxes.size(); ++i) {
    session.SetCheckBox(checkBoxes[i].name, (boxes >> i & 1u) == 0);
  }
  session.SelectResistorSeries(in.ConsumeIntegralInRange<int>(1, 5));
  session.SelectCapacitorSeries(in.ConsumeIntegralInRange<int>(1, 5));
  session.SetLadderOrder(in.ConsumeIntegralInRange<int>(2, 10));
  session.SetLadderApproximation(in.ConsumeBool());
  session.SetDiplexerOrder(3 + 2 * in.ConsumeIntegralInRange<int>(0, 3));
  session.SetDiplexerApproximation(in.ConsumeBool());
  session.SelectTopology(PickTopology(in));
  Check(session);

  const auto entries = morvane::field::EntryFields();
  for (int step = 0; step < 12 && in.remaining_bytes() > 0; ++step) {
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
      case 0:
        session.Spin(in.PickValueInArray(kSpinButtons),
                     in.ConsumeBool() ? SpinDirection::Up : SpinDirection::Down);
        break;
      case 1:
        session.SelectTopology(PickTopology(in));
        break;
      case 2:
        session.SelectFilterType(PickType(in));
        break;
      case 3:
        session.MakeCalculations();
        break;
      default: {
        const auto field = entries[in.ConsumeIntegralInRange<std::size_t>(0, entries.size() - 1)];
        session.TypeEntry(field, in.ConsumeRandomLengthString(24));
        break;
      }
    }
    Check(session);
  }
  return 0;
}
