#include "help/help_pages.h"

#include <array>

namespace morvane::gui {

namespace {

// In tab order: Topology 1..7.
constexpr std::array<const char*, kTopologyCount> kTopologyPages{
    "mfb.html",    "pfb.html",       "svf3.html",        "svf4.html",
    "fliege.html", "lc_ladder.html", "lc_diplexer.html",
};

constexpr std::array kConceptPages{
    "frequencies.html",     "q_and_d.html",      "input_impedance.html",
    "peaking.html",         "gbwp.html",         "noise_bandwidth.html",
    "lc_terminations.html", "filter_order.html", "standard_series.html",
    "multi_stage.html",     "tolerance.html",    "op_amps_noise.html",
};

}  // namespace

QString HelpPageFor(Topology topology) {
  const auto index = static_cast<std::size_t>(topology) - 1;
  return index < kTopologyPages.size() ? QString::fromLatin1(kTopologyPages[index])
                                       : QString::fromLatin1(kHelpIndexPage);
}

QStringList HelpPages() {
  QStringList pages{QString::fromLatin1(kHelpIndexPage)};
  for (const char* page : kTopologyPages) pages << QString::fromLatin1(page);
  for (const char* page : kConceptPages) pages << QString::fromLatin1(page);
  return pages;
}

QString HelpPageUrl(const QString& page) {
  return "qrc:/help/" + page;
}

}  // namespace morvane::gui
