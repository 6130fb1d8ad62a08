#include "files/atomic_file.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {

namespace {

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string ErrnoText(int number) {
  return std::strerror(number);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of symbolic links ends at, which need not exist. Empty with `error` set
// for a loop or a link that cannot be read.
std::string FollowLinks(std::string path, std::string& error) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) {
      error = "the link cannot be read (" + ErrnoText(errno) + ")";
      return {};
    }
    target.resize(static_cast<std::size_t>(length));
    path = target.starts_with('/') ? target : FolderOf(path) + "/" + target;
  }
  error = "too many levels of symbolic links";
  return {};
}

// The umask, read without changing it where the system tells it (Linux), so that no other
// thread ever creates a file under a changed mask.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("Umask:")) {
      return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

bool WriteAll(int fd, std::string_view content, int& failure) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      failure = errno;
      return false;
    }
    if (written == 0) {
      failure = ENOSPC;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The reason a write failed, in words a user can act on.
std::string WriteFailure(int number) {
  switch (number) {
    case ENOSPC:
      return "the disk is full (" + ErrnoText(number) + ")";
    case EFBIG:
      return "the file would exceed the allowed file size (" + ErrnoText(number) + ")";
    case EDQUOT:
      return "the disk quota is exhausted (" + ErrnoText(number) + ")";
    default:
      return "writing failed (" + ErrnoText(number) + ")";
  }
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error) {
  const auto fail = [&](const std::string& reason) {
    error = "cannot write " + Quoted(path) + ": " + reason;
    return false;
  };
  if (path.empty()) return fail("no file name");
  std::string reason;
  const std::string target = FollowLinks(path, reason);
  if (target.empty()) return fail(reason);

  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (!existed && errno != ENOENT) return fail(ErrnoText(errno));
  if (existed && S_ISDIR(old.st_mode)) return fail("it is a directory");
  if (existed && !S_ISREG(old.st_mode)) return fail("it is not a regular file");
  if (existed && ::access(target.c_str(), W_OK) != 0 && errno == EACCES) {
    return fail("the file is write-protected");
  }

  const std::string folder = FolderOf(target);
  // mkstemps creates the name exclusively (never through an existing file or link) with a
  // random part no one can guess, readable by the owner only until it is complete.
  std::string temp = folder + "/." + NameOf(target) + ".XXXXXX.tmp";
  const int fd = ::mkstemps(temp.data(), 4);
  if (fd < 0) {
    const int number = errno;
    if (number == EACCES || number == EPERM || number == EROFS) {
      return fail("the folder " + Quoted(folder) + " does not allow creating files in it (" +
                  ErrnoText(number) + ")");
    }
    if (number == ENOENT || number == ENOTDIR) {
      return fail("the folder " + Quoted(folder) + " does not exist");
    }
    return fail("no file can be created in the folder " + Quoted(folder) + " (" +
                ErrnoText(number) + ")");
  }
  const auto abandon = [&](const std::string& why) {
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(why);
  };

  int failure = 0;
  if (!WriteAll(fd, content, failure)) return abandon(WriteFailure(failure));
  if (existed) {
    // Another owner's file stays theirs where we may hand it over (as root); otherwise the
    // copy is ours, with the old permissions.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
  }
  const mode_t mode = existed ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (::fchmod(fd, mode) != 0)
    return abandon("the permissions cannot be set (" + ErrnoText(errno) + ")");
  if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) return abandon(WriteFailure(errno));
  if (::close(fd) != 0) {
    const int number = errno;
    ::unlink(temp.c_str());
    return fail(WriteFailure(number));
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int number = errno;
    ::unlink(temp.c_str());
    return fail(ErrnoText(number));
  }
  return true;
}

bool WriteStandardOutput(std::string_view content, std::string& error) {
  int failure = 0;
  if (WriteAll(STDOUT_FILENO, content, failure)) return true;
  error = "cannot write to standard output: " +
          (failure == EBADF ? std::string("it is closed") : WriteFailure(failure));
  return false;
}

void ReportOversizedWritesAsErrors() {
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace morvane
