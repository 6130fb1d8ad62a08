#pragma once

// A folder of its own for each file test, removed with everything in it when the test ends,
// and the raw reads and writes the file tests compare with.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace morvane::test {

class ScratchFolder {
 public:
  // Under the system's temporary folder, named after `prefix`, the running test and a random
  // number, so parallel test processes never share one.
  explicit ScratchFolder(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() / (prefix + (info ? info->name() : "test") +
                                                      "_" + std::to_string(std::random_device{}()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  // A test may have taken write permissions away; they are given back so all can go.
  ~ScratchFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
    for (const auto& entry : fs::recursive_directory_iterator(root_, ec)) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(root_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Root() const { return root_; }

  // The names in the folder, sorted, so a temporary file left behind shows.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path root_;
};

inline std::string ReadRaw(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteRaw(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace morvane::test
