// morvane-cli opamps: the JSON keys and units, ideal's nulls, a user file that adds and
// changes parts, a bad user file named with its line, and bad use refused.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "cli_runner.h"

namespace {

using morvane::test::ChildRun;
using morvane::test::RunChild;
using morvane::test::TempPath;
using Args = std::vector<std::string>;

QJsonArray JsonList(Args args) {
  args.insert(args.begin(), "opamps");
  args.push_back("--json");
  const ChildRun run = RunChild(args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
}

QJsonObject Named(const QJsonArray& list, const QString& name) {
  for (const QJsonValue v : list) {
    if (v.toObject()["name"].toString() == name) return v.toObject();
  }
  return {};
}

std::string WriteFile(const std::string& name, const std::string& text) {
  const std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const char* const kKeys[] = {"name",     "a0",    "gbw", "secondPole", "rout", "cin",
                             "slewRate", "swing", "en",  "enCorner",   "in",   "inCorner"};

TEST(CliOpAmps, JsonHasEveryKeyForEveryPart) {
  const QJsonArray list = JsonList({});
  ASSERT_GE(list.size(), 31);
  for (const QJsonValue v : list) {
    const QJsonObject o = v.toObject();
    EXPECT_EQ(o.size(), 12);
    for (const char* key : kKeys) EXPECT_TRUE(o.contains(key)) << key;
    if (o["name"] == "ideal") continue;
    for (const char* key : kKeys) {
      if (std::string(key) == "name" || std::string(key) == "secondPole") continue;
      EXPECT_TRUE(o[key].isDouble()) << o["name"].toString().toStdString() << " " << key;
    }
  }
}

TEST(CliOpAmps, JsonInSiUnits) {
  const QJsonObject tl072 = Named(JsonList({}), "TL072");
  EXPECT_DOUBLE_EQ(tl072["gbw"].toDouble(), 3e6);        // Hz, not MHz
  EXPECT_DOUBLE_EQ(tl072["slewRate"].toDouble(), 13e6);  // V/s, not V/us
  EXPECT_DOUBLE_EQ(tl072["en"].toDouble(), 18e-9);       // V/sqrt(Hz)
  EXPECT_DOUBLE_EQ(tl072["cin"].toDouble(), 3e-12);      // F
  EXPECT_TRUE(tl072["secondPole"].isNull());
}

TEST(CliOpAmps, IdealPrintsNullsNotInf) {
  const ChildRun run = RunChild({"opamps", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const char* bad : {"inf", "nan", "Infinity", "NaN"}) {
    EXPECT_EQ(run.out.find(bad), std::string::npos) << bad;
  }
  const QJsonObject ideal =
      Named(QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array(), "ideal");
  for (const char* key : {"a0", "gbw", "secondPole", "slewRate", "swing"}) {
    EXPECT_TRUE(ideal[key].isNull()) << key;
  }
  for (const char* key : {"rout", "cin", "en", "in"}) {
    EXPECT_EQ(ideal[key].toDouble(-1), 0.0) << key;
  }
}

TEST(CliOpAmps, TextTableWithoutInfOrNan) {
  const ChildRun run = RunChild({"opamps"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.find("inf "), std::string::npos);
  EXPECT_EQ(run.out.find("nan"), std::string::npos);
  EXPECT_NE(run.out.find("\nideal "), std::string::npos);
  EXPECT_NE(run.out.find("\nNE5532 "), std::string::npos);
}

TEST(CliOpAmps, UserFileAddsAndChangesParts) {
  const std::string path = WriteFile("opamps_good.ini",
                                     "[tl072]\ngbw = 5.25M\n"
                                     "[MyAmp]\na0=1M\ngbw=2M\nsecondPole=20M\nrout=50\ncin=2p\n"
                                     "slewRate=1M\nswing=12\nen=10n\nenCorner=0\nin=1p\n"
                                     "inCorner=0\n");
  const QJsonArray list = JsonList({"--file", path});
  std::remove(path.c_str());
  EXPECT_DOUBLE_EQ(Named(list, "TL072")["gbw"].toDouble(), 5.25e6);
  EXPECT_DOUBLE_EQ(Named(list, "TL072")["en"].toDouble(), 18e-9);
  const QJsonObject mine = list.last().toObject();
  EXPECT_EQ(mine["name"].toString(), "MyAmp");
  EXPECT_DOUBLE_EQ(mine["secondPole"].toDouble(), 20e6);
  EXPECT_DOUBLE_EQ(mine["en"].toDouble(), 10e-9);
}

TEST(CliOpAmps, BadUserFileNamesFileAndLine) {
  const std::string path = WriteFile("opamps_bad.ini", "[TL072]\ngbw = -3M\n");
  const ChildRun run = RunChild({"opamps", "--file", path});
  std::remove(path.c_str());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(path + ", line 2: part TL072: gbw \"-3M\" is negative"), std::string::npos)
      << run.err;
}

TEST(CliOpAmps, MissingUserFileOrFolderFails) {
  for (const std::string& path : {TempPath("no_such_opamps.ini"), std::string("/tmp")}) {
    const ChildRun run = RunChild({"opamps", "--file", path});
    EXPECT_EQ(run.exitCode, 1) << path;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cannot read the op-amp file"), std::string::npos) << run.err;
  }
}

TEST(CliOpAmps, BadUseIsRefused) {
  for (const Args& args :
       {Args{"opamps", "--bogus"}, Args{"opamps", "--file"}, Args{"opamps", "TL072"}}) {
    const ChildRun run = RunChild(args);
    EXPECT_EQ(run.exitCode, 2) << args.back();
    EXPECT_EQ(run.out, "");
  }
}

TEST(CliOpAmps, HelpDescribesTheFileAndTheNulls) {
  const ChildRun run = RunChild({"help", "opamps"});
  ASSERT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("--file FILE"), std::string::npos);
  EXPECT_NE(run.out.find("null"), std::string::npos);
  EXPECT_NE(RunChild({"--help"}).out.find("morvane-cli opamps"), std::string::npos);
}

}  // namespace
