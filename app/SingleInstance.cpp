#include "app/SingleInstance.h"

#include <cstdint>
#include <vector>

#include "toolkit/UtilWindow.h"

namespace {

// Sent by a later start to the first instance's window: bring the program back.
constexpr UINT kBringBack = WM_APP + 0x56;

std::wstring FullPath(const std::wstring& path) {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetFullPathNameW(path.c_str(), DWORD(buf.size()), buf.data(), nullptr);
    if (n == 0) return path;
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(n + 1);
  }
}

// FNV-1a over the UTF-16 code units: the name must stay short (object names are limited)
// whatever the folder's length.
uint64_t Hash(const std::wstring& text) {
  uint64_t h = 1469598103934665603ull;
  for (wchar_t c : text) {
    h ^= uint64_t(uint16_t(c));
    h *= 1099511628211ull;
  }
  return h;
}

}  // namespace

std::wstring TSingleInstance::FoldFolder(const std::wstring& folder) {
  std::wstring path = folder;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  path = FullPath(path);
  if (!path.empty()) CharLowerBuffW(path.data(), DWORD(path.size()));
  while (path.size() > 1 && path.back() == L'\\') path.pop_back();
  return path + L'\\';
}

std::wstring TSingleInstance::NameFor(const std::wstring& folder) {
  wchar_t hex[17] = {};
  const uint64_t h = Hash(FoldFolder(folder));
  for (int i = 0; i < 16; ++i) hex[i] = L"0123456789abcdef"[(h >> (60 - 4 * i)) & 0xF];
  return std::wstring(L"VornikDesktop-") + hex;
}

TSingleInstance::TSingleInstance(const std::wstring& folder) : name_(NameFor(folder)) {
  // Local: one lock per desktop session, as each user's session has its own programs.
  const std::wstring lockName = L"Local\\" + name_;
  lock_.Reset(CreateMutexW(nullptr, FALSE, lockName.c_str()));
  // Without a lock (the system refused) the program runs as it always did.
  first_ = !lock_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

TSingleInstance::~TSingleInstance() = default;

void TSingleInstance::Listen(std::function<void()> bringBack) {
  bringBack_ = std::move(bringBack);
  window_ = std::make_unique<TUtilWindow>([this](TMessage& m, bool& handled) {
    if (m.Msg != kBringBack) return;
    if (bringBack_) bringBack_();
    m.Result = 1;
    handled = true;
  });
  if (window_->Handle()) SetWindowTextW(window_->Handle(), name_.c_str());
}

void TSingleInstance::StopListening() {
  window_.reset();
  bringBack_ = nullptr;
}

bool TSingleInstance::BringBackFirst(DWORD waitMs) const {
  const DWORD start = GetTickCount();
  HWND wnd = nullptr;
  while (!(wnd = FindWindowW(nullptr, name_.c_str())) && GetTickCount() - start < waitMs)
    Sleep(50);
  if (!wnd) return false;
  // The user just started this program, so it may hand the foreground to the first one.
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  AllowSetForegroundWindow(pid);
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(wnd, kBringBack, 0, 0, SMTO_ABORTIFHUNG, waitMs, &answer) &&
         answer == 1;
}
