#include "curve_command.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>

#include "design/design_session.h"
#include "design_options.h"
#include "graphs/curve_buffer.h"
#include "graphs/transfer_curves.h"
#include "numerics/number_text.h"
#include "numerics/value_text.h"
#include "unread_rest.h"
#include "usage_error.h"

namespace morvane::cli {

namespace {

enum class CurveKind { Gain, Phase, Delay, Step, Pulse };

std::optional<CurveKind> ParseKind(const std::string& name) {
  if (name == "gain") return CurveKind::Gain;
  if (name == "phase") return CurveKind::Phase;
  if (name == "delay") return CurveKind::Delay;
  if (name == "step") return CurveKind::Step;
  if (name == "pulse") return CurveKind::Pulse;
  return std::nullopt;
}

// A number beyond the read limit ("1e999") is refused as "inf" is, not taken as 1e300.
double ParseNumber(const std::string& option, const std::string& text, std::ostream& warnings) {
  const ValueReading reading = ReadValueInDetail(text);
  if (!reading.readable || reading.beyondLimit || !std::isfinite(reading.value)) {
    throw UsageError("option " + option + " needs a finite number, not \"" + text + "\"");
  }
  warnings << UnreadRestWarning(option + " " + text, text);
  return reading.value;
}

std::string Sample(double x) {
  return GeneralText(x, 17);
}

}  // namespace

int RunCurve(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError("curve needs one of gain, phase, delay, step, pulse");
  const auto kind = ParseKind(args[0]);
  if (!kind) throw UsageError("unknown curve: " + args[0]);

  DesignRequest request;
  const std::vector<std::string> rest =
      ParseDesignRequest(std::vector<std::string>(args.begin() + 1, args.end()), request);
  std::optional<double> from;
  std::optional<double> to;
  bool logarithmic = false;
  std::ostringstream warnings;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const std::string& arg = rest[i];
    const auto value = [&]() -> std::string {
      const auto eq = arg.find('=');
      if (eq != std::string::npos) return arg.substr(eq + 1);
      if (i + 1 >= rest.size()) throw UsageError("option " + arg + " needs a value");
      return rest[++i];
    };
    const std::string name = arg.substr(0, arg.find('='));
    if (name == "--from") {
      from = ParseNumber(name, value(), warnings);
    } else if (name == "--to") {
      to = ParseNumber(name, value(), warnings);
    } else if (arg == "--log") {
      logarithmic = true;
    } else {
      throw UsageError("unknown option or argument: " + arg);
    }
  }
  const bool time = *kind == CurveKind::Step || *kind == CurveKind::Pulse;
  if (!to) throw UsageError("option --to is required");
  if (!from) {
    if (!time) throw UsageError("option --from is required for a frequency curve");
    from = 0.0;
  }
  if (!(*to > *from)) throw UsageError("--to must be greater than --from");
  if (logarithmic && !(*from > 0.0)) throw UsageError("--log needs --from above 0");
  if (time && !(*to > 0.0)) throw UsageError("--to must be above 0 for a time curve");

  DesignSession session;
  ApplyDesignRequest(request, session, warnings);
  std::cerr << warnings.str();

  DesignState& state = session.MutableState();
  const FilterType type = session.Type();
  const AxisRange axis{*from, *to, logarithmic};
  CurveBuffer buffer;
  int last = buffer.Count;
  if (const auto& real = session.RealAmplifier()) {
    // The stage with the op amp asked for.
    const GraphKind graph = *kind == CurveKind::Gain    ? GraphKind::Gain
                            : *kind == CurveKind::Phase ? GraphKind::Phase
                            : *kind == CurveKind::Delay ? GraphKind::GroupDelay
                                                        : GraphKind::TimeResponse;
    FillTransferCurve(TransferResponse(real->transfer), graph, axis, *kind == CurveKind::Pulse,
                      buffer);
    if (graph == GraphKind::TimeResponse) last = 250;
  } else {
    switch (*kind) {
      case CurveKind::Gain:
        FillGainCurve(state, type, axis, buffer);
        break;
      case CurveKind::Phase:
        FillPhaseCurve(state, type, axis, buffer);
        break;
      case CurveKind::Delay:
        FillGroupDelayCurve(state, type, axis, buffer);
        break;
      case CurveKind::Step:
      case CurveKind::Pulse:
        FillTimeCurve(state, axis,
                      *kind == CurveKind::Step ? TimeResponse::Step : TimeResponse::Pulse, buffer);
        last = 250;
        break;
    }
  }
  // A range far beyond what a graph window shows (it holds the x axis within 1000 fg)
  // overflows the response: say so rather than print "inf" or "nan".
  for (int i = 0; i <= last; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (!std::isfinite(buffer.X[at]) || !std::isfinite(buffer.Y[at])) {
      throw RunError("the curve cannot be sampled from " + Sample(*from) + " to " + Sample(*to) +
                     ": its values overflow there; choose a narrower range");
    }
  }
  std::ostringstream out;
  out << "x,y\n";
  for (int i = 0; i <= last; ++i) {
    out << Sample(buffer.X[static_cast<std::size_t>(i)]) << ","
        << Sample(buffer.Y[static_cast<std::size_t>(i)]) << "\n";
  }
  std::cout << out.str();
  return 0;
}

}  // namespace morvane::cli
