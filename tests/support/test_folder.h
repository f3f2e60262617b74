// A fresh, empty folder for each test, current while the test runs and
// removed afterwards, with the few file helpers the tests use in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Test folders carry the process id: the same test runs in several processes
// at once (one ctest entry a test, the whole suite under the sanitizers).
#ifdef _WIN32
#include <process.h>
inline int TestProcessId() {
  return _getpid();
}
#else
#include <unistd.h>
inline int TestProcessId() {
  return static_cast<int>(getpid());
}
#endif

class TestFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    home_ = fs::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ =
        fs::temp_directory_path() / ("quillet-" + std::to_string(TestProcessId()) + "-" +
                                     std::string(info->test_suite_name()) + "-" + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::current_path(folder_);
  }
  void TearDown() override {
    std::filesystem::current_path(home_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static bool Exists(const std::string& path) { return std::filesystem::exists(path); }
  static void MakeFolder(const std::string& path) { std::filesystem::create_directory(path); }

  std::filesystem::path home_, folder_;
};
