// VornikDesktop.exe as it is shipped. It runs on a plain Windows machine: beside the system's
// own libraries it needs no DLL (Wine carries some libraries a Windows machine lacks, so a
// start under Wine proves nothing; the import table is read from the file itself). Its
// version resource carries the tree's version and its manifest runs it as the invoking user.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "toolkit/WideText.h"

namespace {

struct TPeFile {
  std::vector<char> Bytes;
  const IMAGE_NT_HEADERS64* Nt = nullptr;

  explicit TPeFile(const std::wstring& path) {
    std::ifstream f(WideToUtf8(path), std::ios::binary);
    Bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    if (Bytes.size() < sizeof(IMAGE_DOS_HEADER)) return;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Bytes.data());
    if (dos->e_magic != IMAGE_DOS_SIGNATURE ||
        size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > Bytes.size())
      return;
    Nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(Bytes.data() + dos->e_lfanew);
    if (Nt->Signature != IMAGE_NT_SIGNATURE) Nt = nullptr;
  }

  // The file offset of a virtual address, or 0 when no section holds it.
  size_t Offset(DWORD rva) const {
    const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(Nt);
    for (WORD i = 0; i < Nt->FileHeader.NumberOfSections; ++i, ++s)
      if (rva >= s->VirtualAddress && rva < s->VirtualAddress + s->SizeOfRawData)
        return rva - s->VirtualAddress + s->PointerToRawData;
    return 0;
  }

  std::vector<std::string> ImportedLibraries() const {
    std::vector<std::string> names;
    if (!Nt) return names;
    const IMAGE_DATA_DIRECTORY& dir = Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t at = Offset(dir.VirtualAddress);
    for (; at && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= Bytes.size(); at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Bytes.data() + at);
      if (d->Name == 0) break;
      const size_t name = Offset(d->Name);
      if (!name) break;
      std::string n(Bytes.data() + name, strnlen(Bytes.data() + name, Bytes.size() - name));
      std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return char(std::tolower(c)); });
      names.push_back(n);
    }
    return names;
  }
};

TEST(ProgramFile, ImportsOnlyLibrariesEveryWindowsMachineHas) {
  const std::set<std::string> system = {
      "kernel32.dll", "user32.dll",  "gdi32.dll",  "comctl32.dll", "shell32.dll",
      "winmm.dll",    "msimg32.dll", "uxtheme.dll", "dwmapi.dll",  "ole32.dll",
      "comdlg32.dll", "shlwapi.dll", "advapi32.dll", "msvcrt.dll"};
  const TPeFile exe(ExeFolder() + L"VornikDesktop.exe");
  ASSERT_NE(exe.Nt, nullptr) << "VornikDesktop.exe is not beside the tests";
  const std::vector<std::string> imports = exe.ImportedLibraries();
  EXPECT_FALSE(imports.empty());
  for (const std::string& name : imports) EXPECT_TRUE(system.count(name)) << name;
}

std::wstring VersionValue(const std::vector<char>& info, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
    return L"";
  return std::wstring(value, wcsnlen(value, length));
}

TEST(ProgramFile, VersionResourceCarriesTheTreeVersion) {
  const std::wstring exe = ExeFolder() + L"VornikDesktop.exe";
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
  const std::wstring version = Utf8ToWide(VORNIK_TREE_VERSION);
  EXPECT_EQ(VersionValue(info, L"FileVersion"), version);
  EXPECT_EQ(VersionValue(info, L"ProductVersion"), version);
  EXPECT_EQ(VersionValue(info, L"ProductName"), L"Vornik Desktop");
  EXPECT_NE(VersionValue(info, L"LegalCopyright").find(L"The Vornik Desktop authors"), std::wstring::npos);
  EXPECT_FALSE(VersionValue(info, L"FileDescription").empty());

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const std::wstring numeric = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(numeric, version);
}

TEST(ProgramFile, ManifestRunsAsInvokerFromWindows7On) {
  HMODULE image = LoadLibraryExW((ExeFolder() + L"VornikDesktop.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr);
  HRSRC res = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(res, nullptr);
  const char* data = static_cast<const char*>(LockResource(LoadResource(image, res)));
  const std::string manifest(data, SizeofResource(image, res));
  FreeLibrary(image);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos) << "Windows 7";
  EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10";
  EXPECT_NE(manifest.find("version=\"" VORNIK_TREE_VERSION ".0\""), std::string::npos);
}

}  // namespace
