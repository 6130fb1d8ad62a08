#pragma once

// The four graph windows, numbered as the sweep mode addresses its target graph.

namespace morvane {

enum class GraphKind { Gain = 1, Phase = 2, GroupDelay = 3, TimeResponse = 4 };

inline constexpr GraphKind kGraphKinds[] = {GraphKind::Gain, GraphKind::Phase,
                                            GraphKind::GroupDelay, GraphKind::TimeResponse};

inline bool IsFrequencyGraph(GraphKind kind) {
  return kind != GraphKind::TimeResponse;
}

}  // namespace morvane
