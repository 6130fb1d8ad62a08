// Design and circuit files that are not what they should be: empty, binary, huge, with
// overlong lines, in another encoding, write-protected, in a folder that is missing or
// protected, vanishing while in use, and a save killed half way. Every case ends with a
// clear message or a good result, never a crash, and no file is lost or left half written.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "design/design_session.h"
#include "files/design_file.h"
#include "files/ini_profile.h"
#include "lc/circuit_export.h"
#include "scratch_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

using test::ReadRaw;
using test::WriteRaw;

std::string ReadRaw(const fs::path& path, std::uintmax_t bytes) {
  std::ifstream in(path, std::ios::binary);
  std::string text(bytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(bytes));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

// Whether this process may write `path` whatever its permissions say (root may).
bool Writable(const fs::path& path) {
  return access(path.c_str(), W_OK) == 0;
}

// The bytes of a literal that holds NULs, without its terminating one.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// A state whose saved text differs from the initial one in every key.
DesignState OtherState() {
  DesignState s;
  s.fg = 2200;
  s.f = 470;
  s.Zin = 4700;
  s.fnfp = 3.3;
  s.Q = 2.2;
  s.Vu = 3.3;
  s.R3 = 6800;
  s.C1 = 4.7e-9;
  s.RL = 50;
  s.rippleDb = 0.5;
  s.Sweep = 1.05;
  return s;
}

class BadFiles : public ::testing::Test {
 protected:
  fs::path Path(const std::string& name) const { return dir_ / name; }
  std::vector<std::string> Entries() const { return folder_.Entries(); }

  test::ScratchFolder folder_{"morvane_bad_files_"};
  fs::path dir_ = folder_.Root();
};

struct RefusedFile {
  const char* name;
  std::string content;  // empty with `size`: a sparse file of that size after a header
  std::uintmax_t size;
  const char* reason;
};

const std::string kHeader = "[Variablen]\nfg=2k\n";

std::vector<RefusedFile> RefusedFiles() {
  return {
      {"binary.ini", Bytes("[Variablen]\nfg=2k\n\x89PNG\r\n\x1A\n\0\0\0\rIHDR"), 0,
       "not a text file (byte 0x00 in line 5)"},
      {"zeros.ini", std::string(4096, '\0'), 0, "not a text file (byte 0x00 in line 1)"},
      // UTF-16 (little-endian, with byte order mark): every second byte is 0.
      {"utf16.ini", Bytes("\xFF\xFE[\0V\0a\0r\0]\0\n\0f\0g\0=\0\x32\0k\0\n\0"), 0,
       "not a text file (byte 0x00 in line 1)"},
      {"utf16be.ini", Bytes("\xFE\xFF\0[\0V\0]\0\n"), 0, "not a text file (byte 0x00 in line 1)"},
      {"long.ini", kHeader + "Kommentar=" + std::string(100000, 'x') + "\n", 0,
       "line 3 is longer than 65536 characters"},
      {"oneline.ini", std::string(1 << 20, 'a'), 0, "line 1 is longer than 65536 characters"},
      {"huge.ini", kHeader, 50u << 20, "the file is larger than 1 MiB"},
      // Read line by line, this took 570 MB and seconds.
      {"blanks.ini", std::string(16u << 20, '\n'), 0, "the file is larger than 1 MiB"},
  };
}

void Create(const fs::path& path, const RefusedFile& f) {
  WriteRaw(path, f.content);
  if (f.size) fs::resize_file(path, f.size);
}

// Reading refuses, names the file and the reason, and changes nothing; writing into the
// file refuses too and leaves it byte for byte as it was.
TEST_F(BadFiles, RefusedFilesAreNamedAndLeftAlone) {
  for (const RefusedFile& f : RefusedFiles()) {
    SCOPED_TRACE(f.name);
    const fs::path path = Path(f.name);
    Create(path, f);
    // Byte for byte; the huge file by its size, time and beginning, which is quicker.
    const auto Snapshot = [&path] {
      const std::uintmax_t size = fs::file_size(path);
      std::string head = ReadRaw(path, size > (1u << 20) ? 4096 : size);
      return std::make_tuple(head, size, fs::last_write_time(path));
    };
    const auto Unchanged = [&, before = Snapshot()] { return Snapshot() == before; };
    const std::string message = "cannot read \"" + path.string() + "\": " + f.reason;

    const auto started = std::chrono::steady_clock::now();
    DesignState s;
    s.fg = 1234.5;  // any read would round it
    std::string error;
    EXPECT_FALSE(ReadDesignFile(path.string(), s, error));
    EXPECT_EQ(error, message);
    EXPECT_EQ(s.fg, 1234.5);
    // A huge file is refused by its size, not read first.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));

    error.clear();
    EXPECT_FALSE(WriteDesignFile(path.string(), OtherState(), error));
    EXPECT_TRUE(error.starts_with("nach " + path.string() + " kann nicht geschrieben werden: "))
        << error;

    DesignState ladder;
    ladder.LCOrder = 3;
    error.clear();
    EXPECT_FALSE(ExportCircuit(path.string(), ladder, DesignChoices{}, error));
    EXPECT_EQ(error, message);

    EXPECT_EQ(ReadProfileString(path.string(), "Variablen", "fg", "none"), "none");
    EXPECT_TRUE(Unchanged());
  }
  EXPECT_EQ(Entries().size(), RefusedFiles().size());  // no temporary file left
}

// The session shows the refusal and keeps every field and value it had.
TEST_F(BadFiles, SessionKeepsItsDesignWhenAFileIsRefused) {
  DesignSession session;
  session.Start();
  session.TypeEntry("fgEingabe", "3k3");
  session.SelectTopology(Topology::Pfb);
  const auto fields = session.Fields();
  const DesignState state = session.State();
  std::vector<RefusedFile> files = RefusedFiles();
  files.push_back({"folder.ini", "", 0, "it is a directory"});
  for (const RefusedFile& f : files) {
    SCOPED_TRACE(f.name);
    const fs::path path = Path(f.name);
    if (std::string(f.name) == "folder.ini") {
      fs::create_directory(path);
    } else {
      Create(path, f);
    }
    std::string error;
    EXPECT_FALSE(session.OpenDesign(path.string(), error));
    EXPECT_EQ(error, "cannot read \"" + path.string() + "\": " + f.reason);
    EXPECT_EQ(session.Fields(), fields);
    EXPECT_EQ(session.State().fg, state.fg);
    EXPECT_EQ(session.State().Q, state.Q);
    EXPECT_EQ(session.State().topology, Topology::Pfb);
  }
}

// An empty file is an empty design file, and text in Latin-1 reads where it is plain ASCII;
// a save keeps the other lines' bytes exactly.
TEST_F(BadFiles, EmptyAndLatin1FilesAreText) {
  const fs::path empty = Path("empty.ini");
  WriteRaw(empty, "");
  DesignState s;
  std::string error;
  ASSERT_TRUE(ReadDesignFile(empty.string(), s, error)) << error;
  EXPECT_DOUBLE_EQ(s.fg, 1000.0);
  ASSERT_TRUE(WriteDesignFile(empty.string(), OtherState(), error)) << error;
  DesignState back;
  ASSERT_TRUE(ReadDesignFile(empty.string(), back, error)) << error;
  EXPECT_DOUBLE_EQ(back.fg, 2200.0);
  EXPECT_DOUBLE_EQ(back.RL, 50.0);

  const fs::path latin1 = Path("latin1.ini");
  const std::string comment =
      "; Entw\xFCrfe von J\xF6rg, 4,7 k\xA6 \xB5"
      "F\n";
  WriteRaw(latin1, comment + "[Variablen]\nfg=4k7 \xB5\nQ=2\xB2\n");
  ASSERT_TRUE(ReadDesignFile(latin1.string(), s, error)) << error;
  EXPECT_DOUBLE_EQ(s.fg, 4700.0);  // "4k7" reads as 4.7k, the " \xB5" after it not
  EXPECT_DOUBLE_EQ(s.Q, 2.0);
  ASSERT_TRUE(WriteDesignFile(latin1.string(), OtherState(), error)) << error;
  EXPECT_EQ(ReadRaw(latin1).substr(0, comment.size()), comment);

  DesignSession session;
  session.Start();
  ASSERT_TRUE(session.OpenDesign(latin1.string(), error)) << error;
  EXPECT_DOUBLE_EQ(session.State().fg, 2200.0);
}

// Values no entry field takes (digits by the thousand, "nan", "inf", signs, empty) come
// back inside the limits of their fields, and no field shows "nan" or "inf".
TEST_F(BadFiles, HostileValuesAreHeldInRange) {
  const fs::path path = Path("hostile.ini");
  WriteRaw(path, "[Variablen]\nfg=" + std::string(60000, '9') + "\nf=nan\nQ=inf\nZin=-1e999\n" +
                     "Vu=1e-400\nR3=\nC1=" + std::string(30000, '0') + "1\nfn/fp=,\nRL=-0\n" +
                     "Welligkeit=\x01\nSweep=" + std::string(1000, '7') + "\n");
  DesignSession session;
  session.Start();
  std::string error;
  // A control byte in a value makes the file no text file.
  EXPECT_FALSE(session.OpenDesign(path.string(), error));
  EXPECT_EQ(error, "cannot read \"" + path.string() + "\": not a text file (byte 0x01 in line 11)");

  std::string text = ReadRaw(path);
  text.replace(text.find('\x01'), 1, "");
  WriteRaw(path, text);
  ASSERT_TRUE(session.OpenDesign(path.string(), error)) << error;
  session.Recalculate();
  const DesignState& s = session.State();
  EXPECT_EQ(s.fg, 2e9);
  EXPECT_EQ(s.f, 0.0001);
  EXPECT_EQ(s.Q, 0.1);
  EXPECT_EQ(s.Zin, 0.1);
  EXPECT_EQ(s.Vu, 0.1);
  EXPECT_EQ(s.Sweep, 10.0);
  for (const auto& [name, value] : session.Fields()) {
    std::string lower = value;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t at; (at = lower.find("infinite")) != std::string::npos;) lower.erase(at, 8);
    EXPECT_EQ(lower.find("nan"), std::string::npos) << name << " = " << value;
    EXPECT_EQ(lower.find("inf"), std::string::npos) << name << " = " << value;
  }
}

// Paths that cannot be written, for every user: the save fails with the file's name, the old
// file stays, and no folder or stray file appears.
TEST_F(BadFiles, UnwritablePlacesKeepTheOldFile) {
  const fs::path plain = Path("plain.ini");
  WriteRaw(plain, kHeader);
  const fs::path folder = Path("folder.ini");
  fs::create_directory(folder);
  WriteRaw(folder / "inside.ini", kHeader);
  const std::vector<fs::path> paths = {
      plain / "design.ini",             // a file where a folder is expected
      Path("missing") / "design.ini",   // a folder that is not there
      folder,                           // a folder where the file is expected
      "/proc/version",                  // a file no one can replace
      "/proc/self/morvane_design.ini",  // a folder no one can create files in
  };
  DesignState ladder;
  ladder.LCOrder = 5;
  for (const fs::path& path : paths) {
    SCOPED_TRACE(path.string());
    const std::string before = fs::is_regular_file(path) ? ReadRaw(path) : std::string();
    std::string error;
    EXPECT_FALSE(WriteDesignFile(path.string(), OtherState(), error));
    EXPECT_TRUE(error.starts_with("nach " + path.string() + " kann nicht geschrieben werden: "))
        << error;
    error.clear();
    EXPECT_FALSE(ExportCircuit(path.string(), ladder, DesignChoices{}, error));
    EXPECT_NE(error.find("\"" + path.string() + "\""), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(WriteProfileString(path.string(), "Variablen", "fg", "1k", error));
    EXPECT_NE(error.find("\"" + path.string() + "\""), std::string::npos) << error;
    if (fs::is_regular_file(path)) {
      EXPECT_EQ(ReadRaw(path), before);
    }
  }
  EXPECT_EQ(ReadRaw(plain), kHeader);
  EXPECT_EQ(ReadRaw(folder / "inside.ini"), kHeader);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"folder.ini", "plain.ini"}));
}

// A write-protected file or folder: the save fails and the file stays, unless the process
// may write anyway (root), in which case the save is whole and keeps the permissions.
TEST_F(BadFiles, WriteProtectedFileAndFolder) {
  const fs::path file = Path("protected.ini");
  WriteRaw(file, kHeader);
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
  const fs::path folder = Path("protected");
  fs::create_directory(folder);
  const fs::path inFolder = folder / "design.ini";
  WriteRaw(inFolder, kHeader);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

  for (const fs::path& path : {file, inFolder}) {
    SCOPED_TRACE(path.string());
    std::string error;
    const bool saved = WriteDesignFile(path.string(), OtherState(), error);
    const bool mayWrite = path == file ? Writable(file) : Writable(folder);
    if (mayWrite) {
      // Root writes what the permissions forbid: nothing to refuse, so the save must be
      // whole, and the file keeps its permissions.
      std::cout << "note: " << path << " is writable by this user (root?); checked that the "
                << "save is whole instead of refused\n";
      ASSERT_TRUE(saved) << error;
      DesignState back;
      ASSERT_TRUE(ReadDesignFile(path.string(), back, error)) << error;
      EXPECT_DOUBLE_EQ(back.fg, 2200.0);
    } else {
      EXPECT_FALSE(saved);
      EXPECT_TRUE(error.starts_with("nach " + path.string() + " kann nicht geschrieben werden: "))
          << error;
      EXPECT_EQ(ReadRaw(path), kHeader);
    }
    DesignState s;
    EXPECT_TRUE(ReadDesignFile(path.string(), s, error)) << error;  // reading still works
  }
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read);
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"protected", "protected.ini"}));
  std::vector<fs::path> inside(fs::directory_iterator(folder), fs::directory_iterator{});
  EXPECT_EQ(inside, std::vector<fs::path>{inFolder});
}

// The file goes while the program holds its design (deleted, its folder removed, a folder
// put in its place): the next save writes a new file or says why not, and the next open
// keeps the design.
TEST_F(BadFiles, FileVanishesWhileOpen) {
  const fs::path folder = Path("designs");
  fs::create_directory(folder);
  const fs::path path = folder / "MV.INI";
  std::string error;
  ASSERT_TRUE(WriteDesignFile(path.string(), OtherState(), error)) << error;
  DesignSession session;
  session.Start();
  ASSERT_TRUE(session.OpenDesign(path.string(), error)) << error;
  EXPECT_DOUBLE_EQ(session.State().fg, 2200.0);

  fs::remove(path);
  const DesignState held = session.State();
  // A missing file is a new design file: the design stays, rounded as the file would hold it.
  ASSERT_TRUE(session.OpenDesign(path.string(), error)) << error;
  EXPECT_DOUBLE_EQ(session.State().fg, held.fg);
  ASSERT_TRUE(WriteDesignFile(path.string(), session.State(), error)) << error;
  DesignState back;
  ASSERT_TRUE(ReadDesignFile(path.string(), back, error)) << error;
  EXPECT_DOUBLE_EQ(back.fg, 2200.0);

  fs::remove_all(folder);
  EXPECT_FALSE(WriteDesignFile(path.string(), session.State(), error));
  EXPECT_TRUE(error.starts_with("nach " + path.string() + " kann nicht geschrieben werden: "))
      << error;
  EXPECT_FALSE(fs::exists(folder));

  fs::create_directories(path);
  EXPECT_FALSE(WriteDesignFile(path.string(), session.State(), error));
  EXPECT_FALSE(session.OpenDesign(path.string(), error));
  EXPECT_EQ(error, "cannot read \"" + path.string() + "\": it is a directory");
  EXPECT_DOUBLE_EQ(session.State().fg, 2200.0);
  EXPECT_TRUE(fs::is_directory(path));
}

// Another program replaces the file again and again (a new version renamed over it) and
// removes it now and then, while the design is read: each read gives a whole version, the
// values held before (the file was missing), or a message, never a mix.
TEST_F(BadFiles, FileReplacedWhileBeingRead) {
  const fs::path path = Path("MV.INI");
  const fs::path next = Path("next.tmp");
  DesignState a = OtherState();
  DesignState b = OtherState();
  b.fg = 3300;
  b.Sweep = 1.1;
  std::string error;
  ASSERT_TRUE(WriteDesignFile(path.string(), a, error)) << error;
  const std::string textA = ReadRaw(path);
  const fs::path pathB = Path("b.ini");
  ASSERT_TRUE(WriteDesignFile(pathB.string(), b, error)) << error;
  const std::string textB = ReadRaw(pathB);

  DesignState held;  // the initial values, which no version has
  DesignState readA = held;
  DesignState readB = held;
  ASSERT_TRUE(ReadDesignFile(path.string(), readA, error)) << error;
  WriteRaw(pathB, textB);
  ASSERT_TRUE(ReadDesignFile(pathB.string(), readB, error)) << error;
  fs::remove(pathB);

  std::atomic<bool> stop{false};
  std::thread other([&] {
    for (int i = 0; !stop; ++i) {
      std::error_code ec;
      WriteRaw(next, i % 2 ? textB : textA);
      fs::rename(next, path, ec);
      if (i % 7 == 0) fs::remove(path, ec);
    }
  });
  int whole = 0;
  for (int i = 0; i < 3000; ++i) {
    DesignState s = held;
    std::string message;
    if (!ReadDesignFile(path.string(), s, message)) {
      EXPECT_EQ(message.rfind("cannot read \"" + path.string() + "\": ", 0), 0u) << message;
      continue;
    }
    const bool isA = s.fg == readA.fg && s.Sweep == readA.Sweep;
    const bool isB = s.fg == readB.fg && s.Sweep == readB.Sweep;
    const bool isHeld = s.fg == held.fg && s.Sweep == held.Sweep;
    EXPECT_TRUE(isA || isB || isHeld) << "fg " << s.fg << ", Sweep " << s.Sweep;
    whole += isA || isB;
  }
  stop = true;
  other.join();
  EXPECT_GT(whole, 0);
}

// A child saves two versions in turn and is killed at a random moment: the file is always
// one whole version, never a mix or a truncation.
void KillDuringSaves(const fs::path& path, const std::string& textA, const std::string& textB,
                     const std::function<void(int)>& save) {
  std::mt19937 random(std::random_device{}());
  for (int round = 0; round < 40; ++round) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      for (int i = 0;; ++i) save(i);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";
    const std::string text = ReadRaw(path);
    ASSERT_TRUE(text == textA || text == textB)
        << "round " << round << ": the file holds neither version (" << text.size() << " bytes):\n"
        << text;
  }
}

TEST_F(BadFiles, KilledDesignSaveLeavesOneWholeVersion) {
  const fs::path path = Path("MV.INI");
  const std::string other = "; another program's settings\n[Fenster]\nLinks=10\n\n";
  WriteRaw(path, other);
  DesignState a = OtherState();
  DesignState b = OtherState();
  b.fg = 3300;
  b.C1 = 2.2e-9;
  std::string error;
  ASSERT_TRUE(WriteDesignFile(path.string(), b, error)) << error;
  const std::string textB = ReadRaw(path);
  ASSERT_TRUE(WriteDesignFile(path.string(), a, error)) << error;
  const std::string textA = ReadRaw(path);
  ASSERT_NE(textA, textB);
  ASSERT_EQ(textA.substr(0, other.size()), other);

  KillDuringSaves(path, textA, textB, [&](int i) {
    std::string message;
    if (!WriteDesignFile(path.string(), i % 2 ? a : b, message)) _exit(3);
  });
  // A save killed between writing its temporary file and renaming it leaves that file; the
  // design file itself is whole (see above). Only hidden ".MV.INI.*.tmp" files may remain.
  for (const std::string& name : Entries()) {
    if (name == "MV.INI") continue;
    EXPECT_TRUE(name.rfind(".MV.INI.", 0) == 0 && name.ends_with(".tmp")) << name;
  }
}

TEST_F(BadFiles, KilledCircuitExportLeavesOneWholeVersion) {
  const fs::path path = Path("MV.KDR");
  DesignState third;
  third.LCOrder = 3;
  DesignState ninth;
  ninth.LCOrder = 9;
  ninth.fg = 2000;
  const DesignChoices in;
  std::string error;
  // Exports into a file of its own keep the other's sections: each version stands alone.
  ASSERT_TRUE(ExportCircuit(path.string(), ninth, in, error)) << error;
  ASSERT_TRUE(ExportCircuit(path.string(), third, in, error)) << error;
  const std::string textA = ReadRaw(path);
  ASSERT_TRUE(ExportCircuit(path.string(), ninth, in, error)) << error;
  const std::string textB = ReadRaw(path);
  ASSERT_NE(textA, textB);
  ASSERT_TRUE(ExportCircuit(path.string(), third, in, error)) << error;

  KillDuringSaves(path, textA, textB, [&](int i) {
    std::string message;
    if (!ExportCircuit(path.string(), i % 2 ? third : ninth, in, message)) _exit(3);
  });
}

}  // namespace
}  // namespace morvane
