// The one writer of every file: whole or not at all, never through a planted link, the
// old permissions kept, and every failure reported.

#include "files/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "scratch_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::ReadRaw;
using test::ScratchFolder;
using test::WriteRaw;

mode_t ModeOf(const fs::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

// Links as the target: the file they name is written, the link stays a link.
struct LinkCase {
  const char* name;
  const char* linkTarget;   // as stored in the link; empty: the absolute path of writtenFile
  const char* writtenFile;  // where the content must arrive, relative to the folder
  bool victimExists;
};

class AtomicFileLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(AtomicFileLinks, WriteThroughTheLink) {
  const LinkCase& c = GetParam();
  ScratchFolder folder("atomic_links_");
  fs::create_directories(folder.Root() / "sub");
  const fs::path written = folder.Root() / c.writtenFile;
  if (c.victimExists) {
    WriteRaw(written, "old");
    fs::permissions(written, fs::perms(0640), fs::perm_options::replace);
  }
  const fs::path link = folder.Root() / "design.ini";
  fs::create_symlink(*c.linkTarget ? fs::path(c.linkTarget) : written, link);

  std::string error;
  ASSERT_TRUE(WriteFileAtomically(link.string(), "new text", error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadRaw(written), "new text");
  if (c.victimExists) {
    EXPECT_EQ(ModeOf(written), 0640u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, AtomicFileLinks,
    ::testing::Values(LinkCase{"Absolute", "", "real.ini", true},
                      LinkCase{"Relative", "sub/real.ini", "sub/real.ini", true},
                      LinkCase{"Dangling", "sub/new.ini", "sub/new.ini", false},
                      LinkCase{"DanglingAbsolute", "", "new.ini", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AtomicFile, FollowsChainsOfLinksAndRefusesLoops) {
  ScratchFolder folder("atomic_abs_");
  const fs::path real = folder.Root() / "real.ini";
  const fs::path chain = folder.Root() / "chain.ini";
  const fs::path link = folder.Root() / "design.ini";
  fs::create_symlink(real, chain);
  fs::create_symlink(chain, link);
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(link.string(), "through two links", error)) << error;
  EXPECT_EQ(ReadRaw(real), "through two links");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_symlink(chain));

  fs::remove(real);
  fs::create_symlink(link, real);  // a loop
  EXPECT_FALSE(WriteFileAtomically(link.string(), "x", error));
  EXPECT_NE(error.find("symbolic links"), std::string::npos) << error;
}

TEST(AtomicFile, KeepsPermissionsAndLeavesNothingBehind) {
  ScratchFolder folder("atomic_mode_");
  const fs::path target = folder.Root() / "private.ini";
  WriteRaw(target, "secret");
  fs::permissions(target, fs::perms(0600), fs::perm_options::replace);
  std::string error;
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(WriteFileAtomically(target.string(), std::to_string(i), error)) << error;
  }
  EXPECT_EQ(ReadRaw(target), "19");
  EXPECT_EQ(ModeOf(target), 0600u);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"private.ini"});

  const mode_t mask = ::umask(027);
  const fs::path fresh = folder.Root() / "fresh.ini";
  const bool written = WriteFileAtomically(fresh.string(), "x", error);
  ::umask(mask);
  ASSERT_TRUE(written) << error;
  EXPECT_EQ(ModeOf(fresh), 0640u);
}

// Runs `work` in a child process and returns the text it reported, or how the child died.
std::string ReportFromChild(const std::function<std::string()>& work) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    const std::string report = work();
    [[maybe_unused]] const auto n = ::write(pipeEnds[1], report.data(), report.size());
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, n);
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return "child killed by signal " + std::to_string(WTERMSIG(status));
  return report;
}

std::string WriteReport(const fs::path& target, const std::string& content) {
  std::string error;
  return WriteFileAtomically(target.string(), content, error) ? "ok" : error;
}

// Writes under a file-size limit of `limit` bytes, SIGXFSZ ignored as the programs do.
std::string WriteUnderFileSizeLimit(const fs::path& target, rlim_t limit,
                                    const std::string& content) {
  return ReportFromChild([&] {
    ReportOversizedWritesAsErrors();
    const rlimit small{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &small);
    return WriteReport(target, content);
  });
}

struct SizeLimitCase {
  const char* name;
  rlim_t limit;
  std::size_t contentSize;
  bool succeeds;
};

class AtomicFileSizeLimit : public ::testing::TestWithParam<SizeLimitCase> {};

TEST_P(AtomicFileSizeLimit, OldFileStaysWholeOnFailure) {
  const SizeLimitCase& c = GetParam();
  ScratchFolder folder("atomic_fsize_");
  const fs::path target = folder.Root() / "design.ini";
  WriteRaw(target, "the old design");
  const std::string content(c.contentSize, 'x');
  const std::string report = WriteUnderFileSizeLimit(target, c.limit, content);
  if (c.succeeds) {
    EXPECT_EQ(report, "ok");
    EXPECT_EQ(ReadRaw(target), content);
  } else {
    EXPECT_NE(report.find("cannot write \"" + target.string() + "\""), std::string::npos) << report;
    EXPECT_NE(report.find("file size"), std::string::npos) << report;
    EXPECT_EQ(ReadRaw(target), "the old design");
  }
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"design.ini"});
}

INSTANTIATE_TEST_SUITE_P(Limits, AtomicFileSizeLimit,
                         ::testing::Values(SizeLimitCase{"NothingMayBeWritten", 0, 10, false},
                                           SizeLimitCase{"CutInTheMiddle", 4096, 100000, false},
                                           SizeLimitCase{"JustFits", 4096, 4096, true},
                                           SizeLimitCase{"EmptyUnderZero", 0, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A folder the user may not write into: the message names the folder and why. Run as an
// unprivileged user where the test runs as root (root may write anywhere).
TEST(AtomicFile, FolderWithoutWritePermissionIsNamed) {
  ScratchFolder folder("atomic_perm_");
  const fs::path locked = folder.Root() / "locked";
  fs::create_directories(locked);
  const fs::path target = locked / "design.ini";
  WriteRaw(target, "kept");
  // The file itself may be written by anyone: only the folder refuses the new copy.
  fs::permissions(target, fs::perms(0666), fs::perm_options::replace);
  fs::permissions(locked, fs::perms(0555), fs::perm_options::replace);
  fs::permissions(folder.Root(), fs::perms(0755), fs::perm_options::replace);

  const std::string report = ReportFromChild([&] {
    if (::geteuid() == 0 &&
        (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)) {
      return std::string("cannot become an unprivileged user");
    }
    return WriteReport(target, "new");
  });
  EXPECT_EQ(report, "cannot write \"" + target.string() + "\": the folder \"" + locked.string() +
                        "\" does not allow creating files in it (Permission denied)");
  EXPECT_EQ(ReadRaw(target), "kept");
}

}  // namespace
}  // namespace morvane
