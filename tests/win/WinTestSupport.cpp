#include "WinTestSupport.h"

#include <cstdio>
#include <utility>

#include <commctrl.h>

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"
#include "tray/CoolTrayIcon.h"

namespace {

class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Application->Initialize();
    Application->SetTitle(L"Vornik Desktop tests");
    // Tray icons of the windows under test stay out of the shell: under Wine a request to
    // the notification area can take seconds, and the tests of the icon itself record them.
    // The end-to-end run uses the real shell.
    TCoolTrayIcon::SetShellNotify([](DWORD, NOTIFYICONDATAW*) { return TRUE; });
  }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace

void SelectListRow(HWND listView, int row) {
  ListView_SetItemState(listView, -1, 0, LVIS_SELECTED);
  if (row >= 0) ListView_SetItemState(listView, row, LVIS_SELECTED, LVIS_SELECTED);
}

void Pump() {
  for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

void PumpFor(int ms) {
  const DWORD end = GetTickCount() + DWORD(ms);
  while (int(end - GetTickCount()) > 0) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

bool WaitUntil(const std::function<bool()>& done, int deadlineMs) {
  const DWORD end = GetTickCount() + DWORD(deadlineMs);
  for (;;) {
    Application->ProcessMessages();
    if (done()) return true;
    if (int(end - GetTickCount()) <= 0) return false;
    Sleep(2);
  }
}

namespace {

// The kinds of message a pointer wait is for, and whether one has been taken from the queue.
const UINT* g_awaited = nullptr;
size_t g_awaitedCount = 0;
bool g_arrived = false;

LRESULT CALLBACK NoteArrival(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* m = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE)
    for (size_t i = 0; i < g_awaitedCount; ++i) g_arrived = g_arrived || m->message == g_awaited[i];
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Runs `give` and pumps until a message of one of the kinds has been taken, then handles what
// it caused; at most deadlineMs.
template <size_t N>
bool WaitForInput(const UINT (&kinds)[N], const std::function<void()>& give, int deadlineMs) {
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, NoteArrival, nullptr, GetCurrentThreadId());
  g_awaited = kinds;
  g_awaitedCount = N;
  g_arrived = false;
  give();
  const bool arrived = WaitUntil([] { return g_arrived; }, deadlineMs);
  UnhookWindowsHookEx(hook);
  g_awaited = nullptr;
  g_awaitedCount = 0;
  Pump();
  return arrived;
}

// Whether the pointer at the point would be over a window of this thread.
bool OverOwnWindow(POINT screen) {
  HWND w = WindowFromPoint(screen);
  return w && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId();
}

}  // namespace

bool MovePointerTo(POINT screen) {
  POINT now{};
  GetCursorPos(&now);
  if ((now.x == screen.x && now.y == screen.y) || !OverOwnWindow(screen)) {
    SetCursorPos(screen.x, screen.y);
    Pump();
    return true;
  }
  static const UINT kMoves[] = {WM_MOUSEMOVE, WM_NCMOUSEMOVE};
  return WaitForInput(kMoves, [&] { SetCursorPos(screen.x, screen.y); }, 2000);
}

bool SendMouseButton(bool down) {
  static const UINT kDown[] = {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDBLCLK};
  static const UINT kUp[] = {WM_LBUTTONUP, WM_NCLBUTTONUP};
  const auto give = [down] {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(in));
  };
  return down ? WaitForInput(kDown, give, 2000) : WaitForInput(kUp, give, 2000);
}

void LetPaintReachScreen() {
  const DWORD end = GetTickCount() + 30;
  for (;;) {
    Pump();
    const int left = int(end - GetTickCount());
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left), QS_ALLINPUT);
  }
}

TLeakCheck::TLeakCheck(int processSlack)
    : slack_(processSlack),
      handles_(handles::GdiObjectsAlive()),
      gdi_(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
      user_(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) {}

TLeakCheck::~TLeakCheck() {
  EXPECT_EQ(handles::GdiObjectsAlive(), handles_) << "GDI objects of the toolkit's handles";
  if (slack_ == kHandlesOnly) return;
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi_ + DWORD(slack_)) << "GDI objects";
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user_ + DWORD(slack_)) << "USER objects";
}

TScratchFolder::TScratchFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  for (;;) {
    path_ = std::wstring(temp) + L"vornik-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TScratchFolder::~TScratchFolder() {
  for (const std::wstring& f : FilesIn(path_)) {
    SetFileAttributesW((path_ + f).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW((path_ + f).c_str());
  }
  RemoveDirectoryW(path_.c_str());
}

void TScratchFolder::CopyAssets() const {
  for (const wchar_t* f : {L"notok.ico", L"ok.ico", L"yellow.ico", L"red.ico", L"sound.wav"})
    CopyFileW((ExeFolder() + f).c_str(), (path_ + f).c_str(), FALSE);
}

// Through the wide file functions: a narrow path would go through the ANSI code page and
// lose every character it lacks.
std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, n);
    fclose(f);
  }
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
}

bool FileExistsW(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

TErrorCatcher::TErrorCatcher() {
  Application->OnException = [this](TObject*, const std::exception* e) {
    messages.push_back(e ? e->what() : "unknown");
  };
}

TErrorCatcher::~TErrorCatcher() { Application->OnException = nullptr; }

namespace {

struct TModalSteps {
  std::vector<std::function<void()>> steps;
  std::function<void()> finish;
  size_t next = 0;
};
TModalSteps* runningScript = nullptr;

}  // namespace

void CALLBACK TModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  TModalSteps* s = runningScript;
  if (!s) return;
  if (s->next < s->steps.size()) {
    s->steps[s->next++]();
    return;
  }
  if (s->finish) s->finish();
}

void TModalScript::Run(const std::function<void()>& open, std::vector<std::function<void()>> steps,
                       const std::function<void()>& finish, UINT interval) {
  TModalSteps script{std::move(steps), finish, 0};
  TModalSteps* outer = std::exchange(runningScript, &script);
  const UINT_PTR timer = SetTimer(nullptr, 0, interval, &Tick);
  open();
  KillTimer(nullptr, timer);
  runningScript = outer;
}
