// The version resource that a file's properties show, read back from the
// built program the way Windows reads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "common/codepage.h"
#include "tests/e2e/e2e_support.h"

namespace {

// Read wide, as the properties show it under every system code page.
std::string VersionString(const std::vector<char>& info, const char* name) {
  wchar_t* value = nullptr;
  UINT size = 0;
  const std::wstring path = WideText(std::string("\\StringFileInfo\\0c0a04e4\\") + name);
  if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &size) ||
      size == 0) {
    return "(missing)";
  }
  return Cp1252Text(std::wstring_view(value, size - 1));
}

TEST(Program, CarriesTheBuildVersionInItsProperties) {
  const std::string program = WindowsPath(ProgramPath);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &handle);
  ASSERT_GT(size, 0u) << program;
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, info.data()));

  EXPECT_EQ(VersionString(info, "ProductName"), "Quillet");
  EXPECT_EQ(VersionString(info, "ProductVersion"), QUILLET_VERSION);
  EXPECT_EQ(VersionString(info, "FileVersion"), QUILLET_VERSION);
  EXPECT_EQ(VersionString(info, "OriginalFilename"), "quillet.exe");
  EXPECT_EQ(VersionString(info, "FileDescription"), "Quillet: cálculo de fórmulas");

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  char numbers[64];
  wsprintfA(numbers, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            HIWORD(fixed->dwFileVersionLS));
  EXPECT_STREQ(numbers, QUILLET_VERSION);
}

}  // namespace
