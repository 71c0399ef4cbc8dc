#include "app/WinTaskStorage.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <memory>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

[[noreturn]] void Fail(const std::wstring& what, const std::wstring& path, DWORD error) {
  throw TTaskFileError(WideToUtf8(what + L" \"" + path + L"\". " + SystemErrorText(error)));
}

void WriteAll(HANDLE file, const std::string& bytes, const std::wstring& path) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      Fail(L"Cannot write file", path, GetLastError());
    done += written;
  }
}

}  // namespace

unsigned TWinTaskStorage::CodePage() const { return codePage_ ? codePage_ : GetACP(); }

bool TWinTaskStorage::FileExists(const std::string& path) const {
  const DWORD a = GetFileAttributesW(Utf8ToWide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string TWinTaskStorage::ReadFile(const std::string& path) const {
  const std::wstring wpath = Utf8ToWide(path);
  TFileHandle file(CreateFileW(wpath.c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    file.Release();
    Fail(L"Cannot open file", wpath, GetLastError());
  }
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) Fail(L"Cannot read file", wpath, GetLastError());
  if (size.QuadPart > kMaxFileSize)
    throw TTaskFileError(WideToUtf8(L"The task file \"" + wpath + L"\" is too large (" +
                                    std::to_wstring(size.QuadPart) + L" bytes)."));
  std::string bytes(size_t(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr))
      Fail(L"Cannot read file", wpath, GetLastError());
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

// The file's name with another extension, beside it: save.txt -> save.tmp, save.bak.
std::wstring TWinTaskStorage::Sibling(const std::wstring& path, const wchar_t* extension) {
  const size_t slash = path.find_last_of(L"\\/");
  const size_t dot = path.find_last_of(L'.');
  const bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
  return (hasExtension ? path.substr(0, dot) : path) + extension;
}

namespace {

void WriteTemporary(const std::wstring& temp, const std::string& bytes, const std::wstring& path) {
  TFileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    file.Release();
    Fail(L"Cannot create file", path, GetLastError());
  }
  WriteAll(file.Get(), bytes, path);
  if (!FlushFileBuffers(file.Get())) Fail(L"Cannot write file", path, GetLastError());
}

// The temporary file takes the place of the file, whose previous version becomes the backup.
void MoveIntoPlace(const std::wstring& temp, const std::wstring& path, const std::wstring& backup) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      Fail(L"Cannot create file", path, GetLastError());
    return;
  }
  if (ReplaceFileW(path.c_str(), temp.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                   nullptr, nullptr))
    return;
  const DWORD error = GetLastError();
  // The old file was already renamed to the backup when the new one could not follow it.
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileExW(backup.c_str(), path.c_str(), 0);
  Fail(L"Cannot create file", path, error);
}

}  // namespace

void TWinTaskStorage::ReplaceFile(const std::string& path, const std::string& bytes) {
  const std::wstring wpath = Utf8ToWide(path);
  const std::wstring temp = Sibling(wpath, L".tmp");
  try {
    WriteTemporary(temp, bytes, wpath);
    MoveIntoPlace(temp, wpath, Sibling(wpath, L".bak"));
  } catch (...) {
    DeleteFileW(temp.c_str());
    throw;
  }
}

namespace {

// A new empty file with a unique name in the folder of path; its name.
std::wstring CreateTemporaryBeside(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
  wchar_t temp[MAX_PATH] = {};
  if (!GetTempFileNameW(folder.c_str(), L"csv", 0, temp)) Fail(L"Cannot create file", path, GetLastError());
  return temp;
}

}  // namespace

void TWinTaskStorage::WriteWholeFile(const std::string& path, const std::string& bytes) {
  const std::wstring wpath = Utf8ToWide(path);
  const std::wstring temp = CreateTemporaryBeside(wpath);
  try {
    WriteTemporary(temp, bytes, wpath);
    if (!MoveFileExW(temp.c_str(), wpath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      Fail(L"Cannot create file", wpath, GetLastError());
  } catch (...) {
    DeleteFileW(temp.c_str());
    throw;
  }
}

void TWinTaskStorage::RemoveOldTemporaryFiles(const std::string& folder) {
  const std::wstring dir = Utf8ToWide(folder);
  WIN32_FIND_DATAW found;
  const HANDLE first = FindFirstFileW((dir + L"sav*.tmp").c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return;
  const std::unique_ptr<void, decltype(&FindClose)> search(first, &FindClose);
  std::vector<std::wstring> old;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsOldTemporaryName(found.cFileName))
      old.push_back(dir + found.cFileName);
  } while (FindNextFileW(search.get(), &found));
  for (const std::wstring& path : old) DeleteFileW(path.c_str());
}

// "sav", one to four hexadecimal digits, ".tmp": the names the platform's temporary-name
// call made for the task file. "save.tmp" fits as well: at start it can only be left from a
// save that was killed before its move.
bool TWinTaskStorage::IsOldTemporaryName(const std::wstring& name) {
  if (name.size() < 8 || name.size() > 11) return false;
  if (_wcsnicmp(name.c_str(), L"sav", 3) != 0 || _wcsicmp(name.c_str() + name.size() - 4, L".tmp") != 0)
    return false;
  for (size_t i = 3; i + 4 < name.size(); ++i)
    if (!iswxdigit(name[i])) return false;
  return true;
}

namespace {

bool IsAscii(const std::string& text) {
  unsigned char any = 0;
  for (const char c : text) any |= static_cast<unsigned char>(c);
  return any < 0x80;
}

}  // namespace

// Whether the code page writes the 128 ASCII characters as the same bytes, as every ANSI
// code page does; asked once per code page.
bool TWinTaskStorage::KeepsAscii(unsigned cp) const {
  if (asciiCodePage_ == cp) return keepsAscii_;
  wchar_t wide[128];
  for (int i = 0; i < 128; ++i) wide[i] = wchar_t(i);
  char bytes[256] = {};
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, wide, 128, bytes, sizeof bytes,
                                    nullptr, &usedDefault);
  bool same = n == 128 && !usedDefault;
  for (int i = 0; same && i < 128; ++i) same = bytes[i] == char(i);
  asciiCodePage_ = cp;
  keepsAscii_ = same;
  return same;
}

bool TWinTaskStorage::EncodeAnsi(const std::string& utf8, std::string& ansi) const {
  ansi.clear();
  if (utf8.empty()) return true;
  const unsigned cp = CodePage();
  // Plain ASCII text (the usual list) is its own encoding: no round trip through UTF-16.
  if (cp == CP_UTF8 || (IsAscii(utf8) && KeepsAscii(cp))) {
    ansi = utf8;
    return true;
  }
  const int wn = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()),
                                     nullptr, 0);
  if (wn <= 0) return false;
  std::wstring wide(size_t(wn), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(), wn);
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, wide.data(), wn, nullptr, 0,
                                    nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  ansi.assign(size_t(n), '\0');
  WideCharToMultiByte(cp, WC_NO_BEST_FIT_CHARS, wide.data(), wn, ansi.data(), n, nullptr,
                      &usedDefault);
  return !usedDefault;
}

std::string TWinTaskStorage::DecodeAnsi(const std::string& ansi) const {
  if (ansi.empty()) return {};
  const unsigned cp = CodePage();
  const int wn = MultiByteToWideChar(cp, 0, ansi.data(), int(ansi.size()), nullptr, 0);
  if (wn <= 0) return {};
  std::wstring wide(size_t(wn), L'\0');
  MultiByteToWideChar(cp, 0, ansi.data(), int(ansi.size()), wide.data(), wn);
  return WideToUtf8(wide);
}
