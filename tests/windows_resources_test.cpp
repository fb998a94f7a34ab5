// The Windows programs carry their version information, and the desktop program its icon, as
// Windows reads them (Explorer's "Properties" and the icon it shows for the file).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/RunProgram.h"

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

struct VersionCase {
  const char* program;  // relative to the build folder
  const wchar_t* description;
};

TEST(WindowsResources, EveryProgramCarriesItsVersion) {
  std::vector<VersionCase> cases = {
      {"tools/cli/tarvelo-cli", L"Tarvelo from the command line"},
      {"tools/carsim/tarvelo-carsim", L"Tarvelo's simulated car"},
  };
#ifdef TARVELO_TEST_GUI
  cases.push_back({"ui/tarvelo", L"Tarvelo, the service history of a BMW head unit"});
#endif
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.program);
    const std::wstring path = Wide(BuiltProgram(c.program));
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1u);  // 1.00.100
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 0u);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 100u);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

    const auto text = [&](const wchar_t* name) {
      wchar_t* value = nullptr;
      UINT chars = 0;
      const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
      if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars) || !value) return std::wstring();
      return std::wstring(value);
    };
    EXPECT_EQ(text(L"ProductName"), L"Tarvelo");
    EXPECT_EQ(text(L"ProductVersion"), L"1.00.100");
    EXPECT_EQ(text(L"FileVersion"), L"1.00.100");
    EXPECT_EQ(text(L"FileDescription"), c.description);
    const std::string name = std::string(c.program).substr(std::string(c.program).rfind('/') + 1);
    EXPECT_EQ(text(L"OriginalFilename"), Wide(name + ".exe"));
  }
}

#ifdef TARVELO_TEST_GUI

// The icon group of tarvelo.exe holds every size from 16 to 256 pixels, and Windows makes icons of them.
TEST(WindowsResources, TheDesktopProgramCarriesItsIconInEverySize) {
  const std::wstring path = Wide(BuiltProgram("ui/tarvelo"));
  HMODULE program = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(program, group)));
  ASSERT_NE(directory, nullptr);
  const WORD count = *reinterpret_cast<WORD*>(directory + 4);
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const BYTE width = directory[6 + 14 * i];  // GRPICONDIRENTRY: 14 bytes each, the width first
    sizes.push_back(width == 0 ? 256 : width);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 256}));

  for (const int size : {16, 32, 48, 256}) {
    SCOPED_TRACE(size);
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    ASSERT_GT(id, 0);
    HRSRC image = FindResourceW(program, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(3));  // RT_ICON
    ASSERT_NE(image, nullptr);
    HICON icon = CreateIconFromResourceEx(static_cast<BYTE*>(LockResource(LoadResource(program, image))),
                                          SizeofResource(program, image), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    ICONINFO iconInfo{};
    ASSERT_TRUE(GetIconInfo(icon, &iconInfo));
    BITMAP bitmap{};
    GetObjectW(iconInfo.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    DeleteObject(iconInfo.hbmColor);
    DeleteObject(iconInfo.hbmMask);
    DestroyIcon(icon);
  }
  FreeLibrary(program);
}

#endif

}  // namespace
