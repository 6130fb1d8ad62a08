// The user's op-amp file: a new part, a changed built-in part, and every kind of bad file
// named with its line and why, leaving the table as it was.

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "opamp/opamp_file.h"
#include "opamp/opamp_model.h"

namespace morvane {
namespace {

constexpr const char* kNewPart =
    "# my own amplifier\n"
    "[MyAmp]\n"
    "a0 = 200k\n"
    "gbw = 4M\n"
    "secondPole = 30M\n"
    "rout = 75\n"
    "cin = 3p\n"
    "slewRate = 10M\n"
    "swing = 13\n"
    "en = 12n\n"
    "enCorner = 100\n"
    "in = 0.5p\n"
    "inCorner = 200\n";

TEST(OpAmpFile, AddsANewPartAtTheEnd) {
  std::vector<OpAmpModel> table = BuiltInOpAmps();
  ASSERT_FALSE(ApplyOpAmpFile(kNewPart, table));
  ASSERT_EQ(table.size(), BuiltInOpAmps().size() + 1);
  const OpAmpModel& m = table.back();
  EXPECT_EQ(m.name, "MyAmp");
  EXPECT_DOUBLE_EQ(m.dcGain, 200e3);
  EXPECT_DOUBLE_EQ(m.gainBandwidth, 4e6);
  ASSERT_TRUE(m.secondPole);
  EXPECT_DOUBLE_EQ(*m.secondPole, 30e6);
  EXPECT_DOUBLE_EQ(m.outputResistance, 75);
  EXPECT_DOUBLE_EQ(m.inputCapacitance, 3e-12);
  EXPECT_DOUBLE_EQ(m.slewRate, 10e6);
  EXPECT_DOUBLE_EQ(m.outputSwing, 13);
  EXPECT_DOUBLE_EQ(m.voltageNoiseDensity, 12e-9);
  EXPECT_DOUBLE_EQ(m.voltageNoiseCorner, 100);
  EXPECT_DOUBLE_EQ(m.currentNoiseDensity, 0.5e-12);
  EXPECT_DOUBLE_EQ(m.currentNoiseCorner, 200);
  EXPECT_TRUE(FindOpAmp(table, "myamp"));
}

TEST(OpAmpFile, ChangesOnlyTheGivenKeysOfABuiltInPart) {
  std::vector<OpAmpModel> table = BuiltInOpAmps();
  const OpAmpModel before = *FindOpAmp(table, "TL072");
  ASSERT_FALSE(ApplyOpAmpFile("[tl072]\r\nGBW = 5.25M\r\nsecondpole = 20M\r\n", table));
  EXPECT_EQ(table.size(), BuiltInOpAmps().size());
  const OpAmpModel after = *FindOpAmp(table, "TL072");
  EXPECT_EQ(after.name, "TL072");
  EXPECT_DOUBLE_EQ(after.gainBandwidth, 5.25e6);
  EXPECT_EQ(after.secondPole, 20e6);
  EXPECT_EQ(after.dcGain, before.dcGain);
  EXPECT_EQ(after.voltageNoiseDensity, before.voltageNoiseDensity);
  EXPECT_EQ(FindOpAmp(table, "NE5532")->gainBandwidth,
            FindOpAmp(BuiltInOpAmps(), "NE5532")->gainBandwidth);
}

TEST(OpAmpFile, SecondPoleNoneTakesItAway) {
  std::vector<OpAmpModel> table = BuiltInOpAmps();
  ASSERT_FALSE(ApplyOpAmpFile("[OP27]\nsecondPole = 40M\n", table));
  ASSERT_TRUE(FindOpAmp(table, "OP27")->secondPole);
  ASSERT_FALSE(ApplyOpAmpFile("[OP27]\nsecondPole = none\n", table));
  EXPECT_FALSE(FindOpAmp(table, "OP27")->secondPole);
}

TEST(OpAmpFile, EmptyFileAndCommentsChangeNothing) {
  for (const char* text : {"", "\n\n", "# nothing\n; nothing either\n", "\xEF\xBB\xBF"}) {
    std::vector<OpAmpModel> table = BuiltInOpAmps();
    EXPECT_FALSE(ApplyOpAmpFile(text, table)) << text;
    EXPECT_EQ(table.size(), BuiltInOpAmps().size());
  }
}

TEST(OpAmpFile, ReadsTheSameUnderADecimalCommaLocale) {
  const std::string old = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
  std::vector<OpAmpModel> table = BuiltInOpAmps();
  const auto error = ApplyOpAmpFile("[TL072]\ngbw = 5.25M\nen = 1,5n\n", table);
  std::setlocale(LC_ALL, old.c_str());
  ASSERT_FALSE(error);
  EXPECT_DOUBLE_EQ(FindOpAmp(table, "TL072")->gainBandwidth, 5.25e6);
  EXPECT_DOUBLE_EQ(FindOpAmp(table, "TL072")->voltageNoiseDensity, 1.5e-9);
}

struct BadFile {
  const char* name;
  std::string text;
  int line;
  const char* fragment;
};

std::string NewPartWith(const std::string& key, const std::string& value) {
  std::string text = kNewPart;
  const std::size_t at = text.find("\n" + key + " = ");
  const std::size_t end = text.find('\n', at + 1);
  return text.substr(0, at + 1) + key + " = " + value + text.substr(end);
}

std::string NewPartWithout(const std::string& key) {
  std::string text = kNewPart;
  const std::size_t at = text.find("\n" + key + " = ");
  const std::size_t end = text.find('\n', at + 1);
  return text.substr(0, at) + text.substr(end);
}

void PrintTo(const BadFile& bad, std::ostream* os) {
  *os << bad.name;
}

class BadOpAmpFile : public testing::TestWithParam<BadFile> {};

TEST_P(BadOpAmpFile, NamesTheLineAndWhyAndKeepsTheTable) {
  const BadFile& bad = GetParam();
  std::vector<OpAmpModel> table = BuiltInOpAmps();
  const auto error = ApplyOpAmpFile(bad.text, table);
  ASSERT_TRUE(error) << bad.text;
  EXPECT_EQ(error->line, bad.line) << error->message;
  EXPECT_NE(error->message.find(bad.fragment), std::string::npos) << error->message;
  ASSERT_EQ(table.size(), BuiltInOpAmps().size());
  EXPECT_EQ(FindOpAmp(table, "TL072")->gainBandwidth,
            FindOpAmp(BuiltInOpAmps(), "TL072")->gainBandwidth);
}

INSTANTIATE_TEST_SUITE_P(
    OpAmpFile, BadOpAmpFile,
    testing::Values(
        BadFile{"MissingGbw", NewPartWithout("gbw"), 2, "part MyAmp: missing gbw"},
        BadFile{"MissingInCorner", NewPartWithout("inCorner"), 2, "missing inCorner"},
        BadFile{"NotANumber", NewPartWith("en", "twelve"), 10, "en \"twelve\" is not a number"},
        BadFile{"UnitAfterNumber", NewPartWith("gbw", "4MHz"), 4, "\"4MHz\" is not a number"},
        BadFile{"Negative", NewPartWith("rout", "-75"), 6, "rout \"-75\" is negative"},
        BadFile{"ZeroGain", NewPartWith("a0", "0"), 3, "a0 must be above 0"},
        BadFile{"ZeroSwing", NewPartWith("swing", "0"), 9, "swing must be above 0"},
        BadFile{"Decibels", NewPartWith("a0", "106dB"), 3, "give V/V, not dB"},
        BadFile{"TooLarge", NewPartWith("gbw", "1e999"), 4, "too large"},
        BadFile{"NoValue", NewPartWith("cin", ""), 7, "cin has no value"},
        BadFile{"UnknownKey", std::string(kNewPart) + "gain = 5\n", 14, "unknown key \"gain\""},
        BadFile{"KeyTwice", std::string(kNewPart) + "GBW = 5M\n", 14, "gbw comes twice"},
        BadFile{"KeyBeforeAnyPart", "gbw = 5M\n[TL072]\n", 1, "before the first [NAME]"},
        BadFile{"NoEquals", "[TL072]\ngbw 5M\n", 2, "expected [NAME] or key = value"},
        BadFile{"HeaderUnclosed", "[TL072\ngbw = 5M\n", 1, "without its \"]\""},
        BadFile{"EmptyName", "[ ]\n", 1, "a part without a name"},
        BadFile{"NameWithBlank", "[My Amp]\n", 1, "only letters, digits"},
        BadFile{"IdealChanged", "[Ideal]\ngbw = 1M\n", 1, "ideal cannot be changed"},
        BadFile{"PartTwice", "[TL072]\ngbw = 5M\n[tl072]\n", 3,
                "part TL072 comes twice (first on line 1)"},
        BadFile{"SecondPoleZero", "[TL072]\nsecondPole = 0\n", 2, "secondPole must be above 0"},
        BadFile{"BinaryContent", std::string("[TL072]\n\0\n", 10), 1, "not a text file"},
        // The first fault counts; a good part before it is not kept.
        BadFile{"FaultAfterGoodPart", "[TL072]\ngbw = 5M\n[NE5532]\nen = x\n", 4,
                "part NE5532: en \"x\" is not a number"}),
    [](const testing::TestParamInfo<BadFile>& info) { return info.param.name; });

}  // namespace
}  // namespace morvane
