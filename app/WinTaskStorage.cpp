#include "app/WinTaskStorage.h"

#include <windows.h>

#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

[[noreturn]] void Fail(const std::wstring& what, const std::wstring& path, DWORD error) {
  throw TTaskFileError(WideToUtf8(what + L" \"" + path + L"\". " + SystemErrorText(error)));
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
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

void TWinTaskStorage::ReplaceFile(const std::string& path, const std::string& bytes) {
  const std::wstring wpath = Utf8ToWide(path);
  wchar_t temp[MAX_PATH + 1] = {};
  if (!GetTempFileNameW(FolderOf(wpath).c_str(), L"sav", 0, temp))
    Fail(L"Cannot create file", wpath, GetLastError());
  try {
    {
      TFileHandle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        Fail(L"Cannot create file", wpath, GetLastError());
      }
      WriteAll(file.Get(), bytes, wpath);
      if (!FlushFileBuffers(file.Get())) Fail(L"Cannot write file", wpath, GetLastError());
    }
    if (!MoveFileExW(temp, wpath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      Fail(L"Cannot create file", wpath, GetLastError());
  } catch (...) {
    DeleteFileW(temp);
    throw;
  }
}

bool TWinTaskStorage::EncodeAnsi(const std::string& utf8, std::string& ansi) const {
  ansi.clear();
  if (utf8.empty()) return true;
  const unsigned cp = CodePage();
  if (cp == CP_UTF8) {
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
