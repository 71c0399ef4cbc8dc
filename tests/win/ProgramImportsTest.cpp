// The program runs on a plain Windows machine: beside the system's own libraries it needs no
// DLL (Wine carries some libraries a Windows machine lacks, so a start under Wine proves
// nothing). The import table is read from the file itself.
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

TEST(ProgramImports, OnlyLibrariesEveryWindowsMachineHas) {
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

}  // namespace
