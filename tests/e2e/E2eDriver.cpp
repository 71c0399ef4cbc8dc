// End-to-end driver: starts the real VornikDesktop.exe in the current folder, adds two tasks
// from outside (one with the button, one with Enter), takes a screenshot of the window,
// closes it, checks save.txt byte for byte, starts it again and checks that the rows came
// back. Then a task started two minutes ago gets a one-minute limit through the time-limit
// dialog (opened from the list's popup menu): it turns red and save.txt carries the fired
// mark; after a restart the alarm does not fire again. Last, the window is minimized into
// the tray and brought back by a double click on the tray icon. Last of all, a list of sixty
// tasks shows the skin's scroll bar, and the thumb and the wheel scroll it; the tray menu
// switches the skin to Quarn Night, which a restart keeps, and back to Quarn.
//   e2e_driver.exe PROGRAM.exe SCREENSHOT.bmp
// The further screenshots (add-normal.bmp and add-hover.bmp around the add button,
// dialog-open.bmp, row-red.bmp, after-restore.bmp, list-scrolled.bmp, menu-tray.bmp,
// skin-night.bmp, menu-night.bmp, dialog-night.bmp) are written beside the first one.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

namespace {

int g_failed = 0;
int g_passed = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "  ok  " : "  FAIL", what.c_str());
  ok ? ++g_passed : ++g_failed;
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

bool WaitFor(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    Sleep(50);
  }
  return done();
}

// Whether the window answers the skin's "are you skinned" command (code 7 in the high word).
bool IsSkinnedWindow(HWND wnd) {
  DWORD_PTR answer = 0;
  return wnd && SendMessageTimeoutW(wnd, 0xA100, MAKEWPARAM(0, 7), 0, SMTO_ABORTIFHUNG, 5000, &answer) &&
         answer == 1;
}

struct Program {
  PROCESS_INFORMATION pi = {};
  HWND form = nullptr, edit = nullptr, add = nullptr, list = nullptr;

  bool Start(const std::wstring& exe) {
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return false;
    WaitForInputIdle(pi.hProcess, 20000);
    if (!WaitFor([&] { return (form = FindForm()) != nullptr && IsWindowVisible(form); }, 30000))
      return false;
    edit = FindWindowExW(form, nullptr, L"TsEdit", nullptr);
    add = FindWindowExW(form, nullptr, nullptr, L"Добавить");
    list = FindWindowExW(form, nullptr, L"TsListView", nullptr);
    return edit && add && list;
  }

  HWND FindForm() const {
    struct Search {
      DWORD pid;
      HWND found;
    } search = {pi.dwProcessId, nullptr};
    EnumWindows(
        [](HWND wnd, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(wnd, &pid);
          wchar_t cls[64] = {};
          GetClassNameW(wnd, cls, 64);
          if (pid == s->pid && std::wstring(cls) == L"TForm1") {
            s->found = wnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  int Rows() const { return int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

  // The program's top-level windows of a class (visible ones only when asked), in the
  // platform's z-order.
  std::vector<HWND> TopLevels(const wchar_t* cls, bool visibleOnly) const {
    struct Search {
      DWORD pid;
      const wchar_t* cls;
      bool visibleOnly;
      std::vector<HWND> found;
    } search = {pi.dwProcessId, cls, visibleOnly, {}};
    EnumWindows(
        [](HWND wnd, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(wnd, &pid);
          wchar_t name[64] = {};
          GetClassNameW(wnd, name, 64);
          if (pid == s->pid && std::wstring(name) == s->cls && (!s->visibleOnly || IsWindowVisible(wnd)))
            s->found.push_back(wnd);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND FindTopLevel(const wchar_t* cls, bool visibleOnly) const {
    const std::vector<HWND> found = TopLevels(cls, visibleOnly);
    return found.empty() ? nullptr : found.front();
  }
  // The visible menu windows, the newest first.
  std::vector<HWND> MenuWindows() const { return TopLevels(L"#32768", true); }

  // The program's hidden window that receives the tray icon's callbacks.
  HWND TrayHandler() const {
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, L"TTrayIconHandler", nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, L"TTrayIconHandler", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == pi.dwProcessId) return w;
    }
    return nullptr;
  }

  // An LVITEMW sent to the list view through memory in the program's process.
  bool ListItem(UINT msg, int row, LVITEMW& item) const {
    void* remote = VirtualAllocEx(pi.hProcess, nullptr, sizeof(LVITEMW), MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (!remote) return false;
    WriteProcessMemory(pi.hProcess, remote, &item, sizeof(item), nullptr);
    const LRESULT ok = SendMessageW(list, msg, WPARAM(row), reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(pi.hProcess, remote, &item, sizeof(item), nullptr);
    VirtualFreeEx(pi.hProcess, remote, 0, MEM_RELEASE);
    return ok != 0;
  }

  int ImageIndex(int row) const {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    return ListItem(LVM_GETITEMW, row, item) ? item.iImage : -1;
  }

  void Select(int row) const {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ListItem(LVM_SETITEMSTATE, row, item);
  }

  // An item text read through memory in the program's process.
  std::wstring ItemText(int row, int column) const {
    const size_t chars = 512;
    void* remote = VirtualAllocEx(pi.hProcess, nullptr, sizeof(LVITEMW) + chars * 2,
                                  MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return L"?";
    LVITEMW item = {};
    item.iSubItem = column;
    item.cchTextMax = int(chars);
    item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
    WriteProcessMemory(pi.hProcess, remote, &item, sizeof(item), nullptr);
    const LRESULT n = SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(remote));
    std::wstring text(size_t(n), L'\0');
    if (n > 0) ReadProcessMemory(pi.hProcess, item.pszText, text.data(), size_t(n) * 2, nullptr);
    VirtualFreeEx(pi.hProcess, remote, 0, MEM_RELEASE);
    return text;
  }

  // Types a task into the edit box and adds it with Enter; true when the list grew by one.
  bool Add(const std::wstring& text) const {
    const int before = Rows();
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    return WaitFor([&] { return Rows() == before + 1; }, 10000);
  }

  bool Close() {
    PostMessageW(form, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ended && code == 0;
  }
};

// The window holding the mouse capture, and the focus window, of the program's window thread.
GUITHREADINFO GuiOf(const Program& p) {
  GUITHREADINFO gi{};
  gi.cbSize = sizeof(gi);
  GetGUIThreadInfo(GetWindowThreadProcessId(p.form, nullptr), &gi);
  return gi;
}
HWND CaptureOf(const Program& p) { return GuiOf(p).hwndCapture; }
HWND FocusOf(const Program& p) { return GuiOf(p).hwndFocus; }

std::string ReadFileBytes(const char* path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// The user's date-time text of a moment given as local SYSTEMTIME.
std::wstring DateTimeText(const SYSTEMTIME& st) {
  wchar_t date[128] = {}, time[128] = {};
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128, nullptr);
  GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, time, 128);
  return std::wstring(date) + L" " + time;
}

// Every text the program may have written for a moment between from and to.
std::vector<std::wstring> TextsBetween(const FILETIME& from, const FILETIME& to) {
  std::vector<std::wstring> texts;
  ULARGE_INTEGER t, end;
  t.LowPart = from.dwLowDateTime, t.HighPart = from.dwHighDateTime;
  end.LowPart = to.dwLowDateTime, end.HighPart = to.dwHighDateTime;
  t.QuadPart -= t.QuadPart % 10000000;
  for (; t.QuadPart <= end.QuadPart; t.QuadPart += 10000000) {
    FILETIME ft = {t.LowPart, t.HighPart};
    SYSTEMTIME st;
    FileTimeToSystemTime(&ft, &st);
    texts.push_back(DateTimeText(st));
  }
  return texts;
}

FILETIME LocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

// The bytes the program writes for a text: the ANSI code page when nothing is lost, else
// UTF-8 with a byte-order mark.
std::string FileBytes(const std::wstring& text) {
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()),
                                    nullptr, 0, nullptr, &lossy);
  if (GetACP() != CP_UTF8 && n > 0 && !lossy) {
    std::string ansi(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), ansi.data(),
                        n, nullptr, &lossy);
    return ansi;
  }
  return "\xEF\xBB\xBF" + Utf8(text);
}

// The user's date-time text of the local time some seconds ago.
std::wstring TextSecondsAgo(int seconds) {
  FILETIME now = LocalNow();
  ULARGE_INTEGER t;
  t.LowPart = now.dwLowDateTime, t.HighPart = now.dwHighDateTime;
  t.QuadPart -= ULONGLONG(seconds) * 10000000ULL;
  FILETIME then = {t.LowPart, t.HighPart};
  SYSTEMTIME st;
  FileTimeToSystemTime(&then, &st);
  return DateTimeText(st);
}

// Starts a program and waits for it to end by itself; false when it did not within 30 s.
bool RunToEnd(const std::wstring& exe, DWORD& code) {
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  std::wstring cmd = L"\"" + exe + L"\"";
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return false;
  const bool ended = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(pi.hProcess, 1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ended;
}

void WriteFileBytes(const char* path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string Directory(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}


// The frame of a window is the skin's: it answers the skin's is-skinned query, the platform
// neither draws nor hit-tests its title buttons (no system-menu style) and the window region
// cuts the skin's corners.
bool FrameSkinned(HWND wnd) {
  const WPARAM isSkinned = WPARAM(7) << 16;
  if (SendMessageW(wnd, 0xA100, isSkinned, 0) != 1) return false;
  if (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU) return false;
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(wnd, rgn);
  const bool cornerCut = kind == COMPLEXREGION && !PtInRegion(rgn, 0, 0);
  DeleteObject(rgn);
  return cornerCut;
}

// A point of the title band where the window answers the given hit-test code (screen
// coordinates), searched from the right along the band's rows.
bool FindHitPoint(HWND wnd, LRESULT code, POINT& found) {
  RECT r;
  GetWindowRect(wnd, &r);
  for (int y = r.top + 2; y < r.top + 24; y += 2)
    for (int x = r.right - 2; x > r.left + (r.right - r.left) / 2; x -= 2)
      if (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code) {
        // Somewhat inside the button rather than on its edge, when that is still the button.
        const bool inside = SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x - 6, y + 4)) == code;
        found = inside ? POINT{x - 6, y + 4} : POINT{x, y};
        return true;
      }
  return false;
}

// A point of the title's left end that hit-tests as the title icon.
bool FindIconPoint(HWND wnd, POINT& found) {
  RECT r;
  GetWindowRect(wnd, &r);
  for (int y = r.top + 2; y < r.top + 24; y += 2)
    for (int x = r.left + 2; x < r.left + 40; x += 2)
      if (SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTSYSMENU) {
        found = POINT{x + 2, y + 2};
        return true;
      }
  return false;
}

// A real click of the left button at a screen point. The pointer rests on the point and the
// button is held a moment, as a hand does: the title buttons show their hot and pressed looks
// on the way, and no other process's state tells when they have.
void ClickAt(POINT p) {
  SetCursorPos(p.x, p.y);
  Sleep(150);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &in[0], sizeof(INPUT));
  Sleep(150);
  SendInput(1, &in[1], sizeof(INPUT));
}

// Keys pressed together and let go in reverse order, as a hand types a shortcut.
void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> in;
  for (WORD k : keys) {
    INPUT i = {};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    in.push_back(i);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT i = {};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *--it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    in.push_back(i);
  }
  for (INPUT& i : in) {
    SendInput(1, &i, sizeof(INPUT));
    Sleep(30);
  }
}

std::wstring WindowText(HWND wnd) {
  wchar_t text[MAX_PATH] = {};
  SendMessageW(wnd, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
  return text;
}

// The file-name box of a save dialog: the edit inside its file-name combo box.
HWND FileNameBox(HWND dialog) {
  HWND edit = nullptr;
  EnumChildWindows(
      GetDlgItem(dialog, 0x47C),
      [](HWND c, LPARAM l) {
        wchar_t name[8] = {};
        GetClassNameW(c, name, 8);
        if (std::wstring(name) != L"Edit") return TRUE;
        *reinterpret_cast<HWND*>(l) = c;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&edit));
  return edit;
}

bool SaveScreenshot(RECT r, const char* path);

// The screen's colour at a point of a window's client area.
COLORREF ClientPixel(HWND wnd, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(wnd, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return c;
}

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

bool SaveScreenshot(HWND wnd, const char* path) {
  RECT r;
  GetWindowRect(wnd, &r);
  return SaveScreenshot(r, path);
}

// The screen inside r, as a 24-bit BMP file.
bool SaveScreenshot(RECT r, const char* path) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  const DWORD rowBytes = DWORD((w * 3 + 3) & ~3);
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
  fh.bfSize = fh.bfOffBits + rowBytes * DWORD(h);
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
  f.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
  f.write(static_cast<const char*>(bits), std::streamsize(rowBytes * DWORD(h)));
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return bool(f);
}

}  // namespace

// One start of an installed or unpacked program: its skinned window appears, a task is added
// and lands in the save.txt beside the program, and the program closes.
int RunSmoke(const std::wstring& exe, const std::wstring& task) {
  std::printf("smoke run of %s\n", Utf8(exe).c_str());
  Program run;
  Check(run.Start(exe), "the program starts and shows its main window");
  if (!run.form) return 1;
  Check(WaitFor([&] { return FrameSkinned(run.form); }, 10000), "with the skin's frame");
  Check(run.Add(task), "a task is added");
  Check(run.Close(), "closing the window ends the program");
  const std::string folder = Directory(Utf8(exe));
  const std::string file = ReadFileBytes((folder + "save.txt").c_str());
  Check(file.find(Utf8(task)) != std::string::npos, "save.txt beside the program holds the task");
  std::printf("%d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}

namespace {

// The display's DPI, as this process (started at the same scale as the program) sees it.
int DisplayDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// Whether a button's caption fits inside its client area in the program's font at that DPI
// ("MS Sans Serif", 11 pixels at 96 DPI). Prints the sizes when it does not.
bool CaptionFits(HWND button, int dpi) {
  const std::wstring text = WindowText(button);
  HDC screen = GetDC(nullptr);
  HFONT font = CreateFontW(-MulDiv(11, dpi, 96), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                           DEFAULT_QUALITY, 0, L"MS Sans Serif");
  HGDIOBJ old = SelectObject(screen, font);
  SIZE extent = {};
  GetTextExtentPoint32W(screen, text.c_str(), int(text.size()), &extent);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  RECT client;
  GetClientRect(button, &client);
  const bool fits = extent.cx <= client.right && extent.cy <= client.bottom;
  if (!fits)
    std::printf("  \"%s\": text %ld x %ld, button %ld x %ld\n", Utf8(text).c_str(), extent.cx, extent.cy,
                client.right, client.bottom);
  return fits;
}

bool ClientSizeIs(HWND wnd, int width, int height) {
  RECT r;
  GetClientRect(wnd, &r);
  if (r.right == width && r.bottom == height) return true;
  std::printf("  client area %ld x %ld, expected %d x %d\n", r.right, r.bottom, width, height);
  return false;
}

void PressIn(HWND wnd, WORD key) {
  PostMessageW(wnd, WM_KEYDOWN, key, 1);
  PostMessageW(wnd, WM_KEYUP, key, 0xC0000001);
  Sleep(250);
}

}  // namespace

// One start at the display scale the registry gives (run-e2e.sh sets it before each start,
// as a process reads it when it starts): the main window's client area is 657 x 451 at that
// scale and no button caption is cut, in the main window or the time-limit dialog. The main
// window, the list's menu, the dialog and an error box are captured as
// DIR/scale-PERCENT-main.bmp, -menu.bmp, -dialog.bmp and -message.bmp.
int RunScale(const std::wstring& exe, const std::string& dir) {
  const int dpi = DisplayDpi();
  const int percent = MulDiv(dpi, 100, 96);
  const std::string prefix = dir + "scale-" + std::to_string(percent) + "-";
  std::printf("display scale %d %% (%d DPI)\n", percent, dpi);
  // A finished task, one with a limit ahead, a high-priority one and a running one: every
  // status icon the list shows at the start.
  const std::wstring started = TextSecondsAgo(90);
  std::wstring rows = started + L"\r\n";
  rows += L"Running task<#>" + started + L"<#>notend<#>false<#>notime<#>0\r\n";
  rows += L"Important task<#>" + started + L"<#>notend<#>false<#>notime<#>2\r\n";
  rows += L"Task with a limit<#>" + started + L"<#>notend<#>false<#>5:0:00<#>1\r\n";
  rows += L"Finished task<#>" + started + L"<#>notend<#>true<#>notime<#>0\r\n";
  SetFileAttributesW(L"save.txt", FILE_ATTRIBUTE_NORMAL);
  WriteFileBytes("save.txt", FileBytes(rows));

  Program run;
  Check(run.Start(exe), "the program starts and shows its main window");
  if (!run.form) return 1;
  Check(WaitFor([&] { return run.Rows() == 4 && run.ItemText(0, 2) != L"notend"; }, 10000),
        "the four tasks are loaded and ticking");
  Check(WaitFor([&] { return FrameSkinned(run.form); }, 10000), "the main window shows the skin's frame");
  Check(ClientSizeIs(run.form, MulDiv(657, dpi, 96), MulDiv(451, dpi, 96)),
        "the main window's client area is 657 x 451 at this scale");
  HWND restart = FindWindowExW(run.form, nullptr, nullptr, L"Всё сначала");
  Check(run.add && CaptionFits(run.add, dpi), "\"Добавить\" is not cut");
  Check(restart && CaptionFits(restart, dpi), "\"Всё сначала\" is not cut");
  Sleep(500);  // the window reaches the screen; the screenshot is only looked at
  Check(SaveScreenshot(run.form, (prefix + "main.bmp").c_str()), "the main window is captured");

  run.Select(0);
  PostMessageW(run.list, WM_CONTEXTMENU, WPARAM(run.list), MAKELPARAM(0xFFFF, 0xFFFF));
  Check(WaitFor([&] { return run.MenuWindows().size() == 1; }, 10000), "the list's popup menu opens");
  const std::vector<HWND> menus = run.MenuWindows();
  if (!menus.empty()) {
    RECT area;
    GetWindowRect(menus.front(), &area);
    InflateRect(&area, 30, 30);
    Sleep(400);
    SaveScreenshot(area, (prefix + "menu.bmp").c_str());
    // "Установить время": the second item (the first, "Приоритет", opens a submenu).
    for (WORD key : {WORD(VK_DOWN), WORD(VK_DOWN), WORD(VK_RETURN)}) PressIn(menus.front(), key);
  }
  HWND dialog = nullptr;
  Check(WaitFor([&] { return (dialog = run.FindTopLevel(L"TForm2", true)) != nullptr; }, 10000),
        "the menu shows the time-limit dialog");
  if (dialog) {
    Check(WaitFor([&] { return FrameSkinned(dialog); }, 5000), "the dialog shows the skin's frame");
    Check(ClientSizeIs(dialog, MulDiv(193, dpi, 96), MulDiv(120, dpi, 96)),
          "the dialog's client area is 193 x 120 at this scale");
    HWND set = FindWindowExW(dialog, nullptr, nullptr, L"Установить");
    Check(set && CaptionFits(set, dpi), "\"Установить\" is not cut");
    Sleep(500);
    SaveScreenshot(dialog, (prefix + "dialog.bmp").c_str());
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    Check(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000), "closing the dialog hides it");
  }

  // A save into a read-only file: the program's error box.
  SetFileAttributesW(L"save.txt", FILE_ATTRIBUTE_READONLY);
  SendMessageW(run.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"не сохранится"));
  PostMessageW(run.edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageW(run.edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
  HWND box = nullptr;
  Check(WaitFor([&] { return (box = run.FindTopLevel(L"#32770", true)) != nullptr; }, 10000),
        "a failed save shows an error box");
  if (box) {
    Sleep(500);
    SaveScreenshot(box, (prefix + "message.bmp").c_str());
    PressIn(box, VK_RETURN);
  }
  Check(WaitFor([&] { return !run.FindTopLevel(L"#32770", true); }, 5000), "OK closes it");
  SetFileAttributesW(L"save.txt", FILE_ATTRIBUTE_NORMAL);
  Check(run.Close(), "closing the window ends the program");
  std::printf("%d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv && argc == 4 && std::wstring(argv[1]) == L"--smoke") return RunSmoke(argv[2], argv[3]);
  if (argv && argc == 4 && std::wstring(argv[1]) == L"--scale") return RunScale(argv[2], Utf8(argv[3]));
  if (!argv || argc != 3) {
    std::fprintf(stderr, "usage: e2e_driver PROGRAM.exe SCREENSHOT.bmp\n"
                         "       e2e_driver --smoke PROGRAM.exe TASK\n"
                         "       e2e_driver --scale PROGRAM.exe SCREENSHOT_FOLDER\\\n");
    return 2;
  }
  const std::wstring exe = argv[1];
  const std::string shot = Utf8(argv[2]);
  DeleteFileW(L"save.txt");
  const std::wstring first = L"Первая задача", second = L"Second task";

  std::printf("first run\n");
  Program run1;
  Check(run1.Start(exe), "the program starts and shows its main window");
  if (!run1.form) return 1;
  Check(GetFileAttributesW(L"save.txt") == INVALID_FILE_ATTRIBUTES, "nothing is written before a change");

  // The skinned button: the pointer over it changes what is on the screen around it (its
  // hot look and glow), and a click with the mouse still adds the task.
  RECT addRect;
  GetWindowRect(run1.add, &addRect);
  const RECT around = {addRect.left - 16, addRect.top - 16, addRect.right + 16, addRect.bottom + 16};
  const std::string dir = Directory(shot);
  SaveScreenshot(around, (dir + "add-normal.bmp").c_str());
  const int cx = (addRect.right - addRect.left) / 2, cy = (addRect.bottom - addRect.top) / 2;
  SetCursorPos(addRect.left + cx, addRect.top + cy);
  PostMessageW(run1.add, WM_MOUSEMOVE, 0, MAKELPARAM(cx, cy));
  const auto hoverChanged = [&] {
    SaveScreenshot(around, (dir + "add-hover.bmp").c_str());
    return ReadFileBytes((dir + "add-normal.bmp").c_str()) != ReadFileBytes((dir + "add-hover.bmp").c_str());
  };
  Check(WaitFor(hoverChanged, 5000), "the pointer over \"Добавить\" changes its pixels");

  const FILETIME before1 = LocalNow();
  SendMessageW(run1.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(first.c_str()));
  PostMessageW(run1.add, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx, cy));
  PostMessageW(run1.add, WM_LBUTTONUP, 0, MAKELPARAM(cx, cy));
  const bool added1 = WaitFor([&] { return run1.Rows() == 1; }, 10000);
  const FILETIME after1 = LocalNow();
  Check(added1, "a mouse click on the button adds a task");
  SetCursorPos(0, 0);

  const FILETIME before2 = LocalNow();
  Check(IsSkinnedWindow(run1.edit), "the task edit is drawn by the skin");
  for (wchar_t c : second) PostMessageW(run1.edit, WM_CHAR, c, 1);  // typed
  // Asked by message: for another process's window the platform may answer from the
  // window's stored caption, which typing does not change.
  Check(WaitFor([&] { return SendMessageW(run1.edit, WM_GETTEXTLENGTH, 0, 0) == LRESULT(second.size()); }, 5000),
        "typing reaches the skinned edit");
  PostMessageW(run1.edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageW(run1.edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
  const bool added2 = WaitFor([&] { return run1.Rows() == 2; }, 10000);
  Sleep(500);  // time for a second row that must not come
  const FILETIME after2 = LocalNow();
  Check(added2 && run1.Rows() == 2, "Enter in the edit box adds exactly one task");
  Check(GetWindowTextLengthW(run1.edit) == 0, "the edit box is cleared after adding");
  Check(run1.ItemText(0, 0) == second && run1.ItemText(1, 0) == first, "the newest task is on top");

  Check(WaitFor([&] { return run1.ItemText(0, 2) != L"notend" && !run1.ItemText(0, 2).empty(); }, 5000),
        "a tick draws the elapsed times");
  Check(WaitFor([&] { return FrameSkinned(run1.form); }, 5000), "the main window shows the skin's frame");
  Check(SaveScreenshot(run1.form, shot.c_str()), "a screenshot of the window is saved");
  Check(run1.Close(), "closing the window ends the program");

  const std::string file = ReadFileBytes("save.txt");
  bool exact = false;
  for (const std::wstring& s1 : TextsBetween(before1, after1)) {
    for (const std::wstring& s2 : TextsBetween(before2, after2)) {
      const std::wstring text = s1 + L"\r\n" + second + L"<#>" + s2 +
                                L"<#>notend<#>false<#>notime<#>0\r\n" + first + L"<#>" + s1 +
                                L"<#>notend<#>false<#>notime<#>0\r\n";
      exact = exact || file == FileBytes(text);
    }
  }
  Check(exact, "save.txt holds ListStart and both rows, byte for byte");
  if (!exact) std::printf("  save.txt was: %s\n", file.c_str());

  std::printf("second run\n");
  Program run2;
  Check(run2.Start(exe), "the program starts again");
  if (!run2.form) return 1;
  Check(WaitFor([&] { return run2.Rows() == 2; }, 10000), "both rows came back");
  Check(run2.ItemText(0, 0) == second && run2.ItemText(1, 0) == first, "in the same order");
  Check(run2.ItemText(0, 3) == L"false" && run2.ItemText(0, 4) == L"notime" && run2.ItemText(0, 5) == L"0",
        "with their status, limit and priority");
  Check(WaitFor([&] { return run2.ItemText(0, 2) != L"notend" && !run2.ItemText(0, 2).empty(); }, 5000),
        "and the ticker recomputes their elapsed times");
  Check(run2.Close(), "closing the window ends the program");
  Check(ReadFileBytes("save.txt") == file, "a start and a close without changes leave save.txt alone");

  std::printf("time limit through the dialog\n");
  const std::string shots = Directory(shot);
  const std::wstring started = TextSecondsAgo(120);
  const std::wstring task = L"Limit task";
  WriteFileBytes("save.txt", FileBytes(started + L"\r\n" + task + L"<#>" + started +
                                       L"<#>notend<#>false<#>notime<#>0\r\n"));
  Program run3;
  Check(run3.Start(exe), "the program starts with a task begun two minutes ago");
  if (!run3.form) return 1;
  Check(WaitFor([&] { return run3.Rows() == 1; }, 10000), "the task is loaded");
  run3.Select(0);
  // "Установить время" from the list's popup menu: the menu opens at the list and the keys
  // reach its loop through the program's queue (first item, then the one below).
  PostMessageW(run3.list, WM_CONTEXTMENU, WPARAM(run3.list), MAKELPARAM(0xFFFF, 0xFFFF));
  HWND menu = nullptr;
  Check(WaitFor([&] { return (menu = run3.FindTopLevel(L"#32768", true)) != nullptr; }, 10000),
        "the list's popup menu opens");
  Check(menu && IsSkinnedWindow(menu), "the popup menu is drawn by the skin");
  // The menu's state lives in the other process and nothing there says when its loop has
  // taken a key, so the keys are given at a hand's pace.
  Sleep(300);
  for (WORD key : {WORD(VK_DOWN), WORD(VK_DOWN), WORD(VK_RETURN)}) {
    PostMessageW(menu ? menu : run3.list, WM_KEYDOWN, key, 1);
    PostMessageW(menu ? menu : run3.list, WM_KEYUP, key, 0xC0000001);
    Sleep(200);
  }
  HWND dialog = nullptr;
  Check(WaitFor([&] { return (dialog = run3.FindTopLevel(L"TForm2", true)) != nullptr; }, 10000),
        "\"Установить время\" shows the time-limit dialog");
  if (dialog) {
    wchar_t caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    Check(std::wstring(caption) == L"Временное ограничение", "with its caption");
    HWND hours = nullptr, minutes = nullptr;
    for (HWND e = FindWindowExW(dialog, nullptr, L"TsDecimalSpinEdit", nullptr); e;
         e = FindWindowExW(dialog, e, L"TsDecimalSpinEdit", nullptr)) {
      RECT r;
      GetWindowRect(e, &r);
      POINT p = {r.left, r.top};
      ScreenToClient(dialog, &p);
      (p.y < 40 ? hours : minutes) = e;
    }
    HWND set = FindWindowExW(dialog, nullptr, nullptr, L"Установить");
    Check(hours && minutes && set, "with the hour and minute boxes and its button");
    Check(IsSkinnedWindow(hours) && IsSkinnedWindow(minutes), "both boxes are drawn by the skin");
    Check(FindWindowExW(hours, nullptr, L"TsSpinButton", nullptr) != nullptr,
          "with their arrow buttons inside");
    SendMessageW(hours, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
    SendMessageW(minutes, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
    Check(WaitFor([&] { return FrameSkinned(dialog); }, 5000), "the dialog shows the skin's frame");
    Sleep(400);  // the boxes repaint with their new text before the picture is taken
    RECT both, main, dlg;  // the dialog over the main window
    GetWindowRect(run3.form, &main);
    GetWindowRect(dialog, &dlg);
    UnionRect(&both, &main, &dlg);
    SaveScreenshot(both, (shots + "dialog-open.bmp").c_str());
    SendMessageW(set, BM_CLICK, 0, 0);
    Check(WaitFor([&] { return !IsWindowVisible(dialog); }, 5000), "\"Установить\" hides the dialog");
  }
  Check(WaitFor([&] { return ReadFileBytes("save.txt").find("<#>0:1:00#<#>") != std::string::npos; }, 10000),
        "the one-minute limit fires at the next tick and save.txt carries the mark");
  Check(WaitFor([&] { return run3.ImageIndex(0) == 3; }, 5000), "the row turns red");
  Check(run3.ItemText(0, 4) == L"0:1:00#", "the row's limit text is 0:1:00#");
  Sleep(500);  // the red row reaches the screen; the screenshot is only looked at
  SaveScreenshot(run3.form, (shots + "row-red.bmp").c_str());
  const std::string fired = ReadFileBytes("save.txt");
  Check(fired == FileBytes(started + L"\r\n" + task + L"<#>" + started +
                           L"<#>notend<#>false<#>0:1:00#<#>0\r\n"),
        "save.txt holds the task with its fired limit, byte for byte");

  std::printf("a priority from the popup menu\n");
  run3.Select(0);
  PostMessageW(run3.list, WM_CONTEXTMENU, WPARAM(run3.list), MAKELPARAM(0xFFFF, 0xFFFF));
  Check(WaitFor([&] { return run3.MenuWindows().size() == 1; }, 10000), "the popup menu opens again");
  // Keys at a hand's pace (see above): the first item, "Приоритет", opens its submenu.
  auto press = [&](WORD key) {
    const std::vector<HWND> menus = run3.MenuWindows();
    HWND target = menus.empty() ? run3.list : menus.front();
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    Sleep(250);
  };
  Sleep(300);
  press(VK_DOWN);
  press(VK_RIGHT);
  Check(WaitFor([&] { return run3.MenuWindows().size() == 2; }, 5000), "\"Приоритет\" opens its submenu");
  const std::vector<HWND> menus = run3.MenuWindows();
  bool allSkinned = !menus.empty();
  RECT menuArea = {};
  for (HWND m : menus) {
    allSkinned = allSkinned && IsSkinnedWindow(m);
    RECT r;
    GetWindowRect(m, &r);
    if (IsRectEmpty(&menuArea)) menuArea = r;
    else UnionRect(&menuArea, &menuArea, &r);
  }
  Check(allSkinned, "the menu and its submenu are drawn by the skin");
  InflateRect(&menuArea, 40, 40);
  Sleep(300);  // the open menus reach the screen; the screenshot is only looked at
  SaveScreenshot(menuArea, (shots + "menu-priority.bmp").c_str());
  press(VK_DOWN);
  press(VK_DOWN);
  press(VK_RETURN);
  Check(WaitFor([&] { return run3.ItemText(0, 5) == L"2"; }, 5000), "\"Высокий\" gives the row priority 2");
  Check(WaitFor([&] { return ReadFileBytes("save.txt").find("<#>0:1:00#<#>2\r\n") != std::string::npos; },
                5000),
        "and save.txt carries it");
  Check(run3.MenuWindows().empty(), "no menu is left open");

  std::printf("the edit box's own context menu\n");
  SendMessageW(run3.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"draft"));
  RECT editRect;
  GetWindowRect(run3.edit, &editRect);
  PostMessageW(run3.edit, WM_CONTEXTMENU, WPARAM(run3.edit), MAKELPARAM(editRect.left + 30, editRect.bottom - 4));
  Check(WaitFor([&] { return run3.MenuWindows().size() == 1; }, 10000), "a right-click on the edit box opens its menu");
  const std::vector<HWND> editMenus = run3.MenuWindows();
  Check(!editMenus.empty() && IsSkinnedWindow(editMenus.front()), "the edit box's menu is drawn by the skin");
  if (!editMenus.empty()) {
    RECT around;
    GetWindowRect(editMenus.front(), &around);
    UnionRect(&around, &around, &editRect);
    InflateRect(&around, 30, 30);
    Sleep(300);  // the menu reaches the screen; the screenshot is only looked at
    SaveScreenshot(around, (shots + "menu-edit.bmp").c_str());
    PostMessageW(editMenus.front(), WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(editMenus.front(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
  }
  Check(WaitFor([&] { return run3.MenuWindows().empty(); }, 5000), "Escape closes it");
  SendMessageW(run3.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  const std::string prioritised = ReadFileBytes("save.txt");

  std::printf("the system menu\n");
  SetForegroundWindow(run3.form);
  WaitFor([&] { return GetForegroundWindow() == run3.form; }, 5000);
  POINT icon = {};
  Check(FindIconPoint(run3.form, icon), "the title icon answers its hit-test");
  ClickAt(icon);
  Check(WaitFor([&] { return run3.MenuWindows().size() == 1; }, 5000), "a click on the title icon opens the system menu");
  {
    const std::vector<HWND> sys = run3.MenuWindows();
    Check(!sys.empty() && IsSkinnedWindow(sys.front()), "the system menu is drawn by the skin");
    RECT below = {};
    if (!sys.empty()) GetWindowRect(sys.front(), &below);
    Check(!sys.empty() && below.top >= icon.y, "it opens below the icon");
    if (!sys.empty()) {
      RECT around;
      GetWindowRect(run3.form, &around);
      UnionRect(&around, &around, &below);
      Sleep(300);  // the menu reaches the screen; the screenshot is only looked at
      SaveScreenshot(RECT{around.left, around.top, below.right + 20, below.bottom + 20},
                     (shots + "menu-system.bmp").c_str());
      PostMessageW(sys.front(), WM_KEYDOWN, VK_ESCAPE, 1);
      PostMessageW(sys.front(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    }
  }
  Check(WaitFor([&] { return run3.MenuWindows().empty(); }, 5000), "Escape closes it");
  SetForegroundWindow(run3.form);
  WaitFor([&] { return GetForegroundWindow() == run3.form; }, 5000);
  PressKeys({VK_MENU, VK_SPACE});
  Check(WaitFor([&] { return run3.MenuWindows().size() == 1; }, 5000), "Alt+Space opens the system menu too");
  {
    const std::vector<HWND> sys = run3.MenuWindows();
    Check(!sys.empty() && IsSkinnedWindow(sys.front()), "drawn by the skin as well");
    if (!sys.empty()) {
      PostMessageW(sys.front(), WM_KEYDOWN, VK_ESCAPE, 1);
      PostMessageW(sys.front(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    }
  }
  Check(WaitFor([&] { return run3.MenuWindows().empty(); }, 5000), "and Escape closes it");

  std::printf("a save that fails\n");
  SetFileAttributesW(L"save.txt", FILE_ATTRIBUTE_READONLY);
  const int rowsBefore = run3.Rows();
  SendMessageW(run3.edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"не сохранится"));
  PostMessageW(run3.edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageW(run3.edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
  HWND errorBox = nullptr;
  Check(WaitFor([&] { return (errorBox = run3.FindTopLevel(L"#32770", true)) != nullptr; }, 10000),
        "saving into a read-only task file shows an error box");
  Check(errorBox && IsSkinnedWindow(errorBox), "the error box is drawn by the skin");
  if (errorBox) {
    Sleep(400);  // the box reaches the screen; the screenshot is only looked at
    SaveScreenshot(errorBox, (shots + "save-failed.bmp").c_str());
    PostMessageW(errorBox, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(errorBox, WM_KEYUP, VK_RETURN, 0xC01C0001);
  }
  Check(WaitFor([&] { return !run3.FindTopLevel(L"#32770", true); }, 5000), "OK closes it");
  Check(run3.Rows() == rowsBefore + 1 && run3.ItemText(0, 0) == L"не сохранится",
        "the new task stays in the list");
  Check(ReadFileBytes("save.txt") == prioritised, "save.txt on disk is unchanged");
  SetFileAttributesW(L"save.txt", FILE_ATTRIBUTE_NORMAL);
  Check(run3.Close(), "closing the window ends the program");

  std::printf("restart after the alarm\n");
  Program run4;
  Check(run4.Start(exe), "the program starts again");
  if (!run4.form) return 1;
  Check(WaitFor([&] { return run4.Rows() == 1 && run4.ItemText(0, 2) != L"notend"; }, 10000),
        "the task is back and ticking");
  Sleep(1500);  // more than a tick: time for an alarm that must not fire again
  Check(run4.ItemText(0, 4) == L"0:1:00#", "the limit keeps its fired mark");
  Check(run4.ImageIndex(0) == 0, "a limit fired before the restart shows the plain running icon");
  // The alarm, its mark and a save happen together: an unchanged file means no second alarm.
  Check(ReadFileBytes("save.txt") == prioritised, "the alarm does not fire again (save.txt unchanged)");

  std::printf("tray\n");
  HWND app = run4.FindTopLevel(L"TApplication", false);
  HWND handler = run4.TrayHandler();
  Check(app && handler, "the application window and the tray handler window exist");
  SetForegroundWindow(run4.form);
  WaitFor([&] { return GetForegroundWindow() == run4.form; }, 5000);
  POINT minimize = {};
  Check(FindHitPoint(run4.form, HTMINBUTTON, minimize), "the skinned minimize button answers its hit-test");
  ClickAt(minimize);
  Check(WaitFor([&] { return !IsWindowVisible(run4.form) && app && !IsWindowVisible(app); }, 10000),
        "a click on the skinned minimize button hides the window and its taskbar button");
  // The program's only tray icon has the id 1. A double click as the shell reports it.
  for (LPARAM m : {LPARAM(WM_LBUTTONDOWN), LPARAM(WM_LBUTTONUP), LPARAM(WM_LBUTTONDBLCLK), LPARAM(WM_LBUTTONUP)})
    PostMessageW(handler, 0x800, 1, m);
  Check(WaitFor([&] { return IsWindowVisible(run4.form) && !IsIconic(run4.form); }, 10000),
        "a double click on the tray icon shows the window again");
  Check(app && IsWindowVisible(app) && !IsIconic(app), "with its taskbar button, not minimized");
  Check(WaitFor([&] { return GetForegroundWindow() == run4.form; }, 5000), "and in front");
  Check(WaitFor([&] { return FrameSkinned(run4.form); }, 5000), "the restored window shows the skin's frame");
  SaveScreenshot(run4.form, (shots + "after-restore.bmp").c_str());
  // Hovering and pressing the close button: its hot and pressed looks on the screen.
  POINT close = {};
  Check(FindHitPoint(run4.form, HTCLOSE, close), "the skinned close button answers its hit-test");
  SetCursorPos(close.x, close.y);
  Sleep(600);  // the hot look fades in over several steps; the screenshot is only looked at
  RECT title;
  GetWindowRect(run4.form, &title);
  title.bottom = title.top + 40;
  SaveScreenshot(title, (shots + "close-hot.bmp").c_str());
  const std::string before = ReadFileBytes("save.txt");
  ClickAt(close);
  const bool ended = WaitForSingleObject(run4.pi.hProcess, 30000) == WAIT_OBJECT_0;
  DWORD code = 1;
  GetExitCodeProcess(run4.pi.hProcess, &code);
  Check(ended && code == 0, "a click on the skinned close button ends the program");
  Check(ReadFileBytes("save.txt") == before && !before.empty(), "and leaves save.txt as it was");
  CloseHandle(run4.pi.hThread);
  CloseHandle(run4.pi.hProcess);

  std::printf("sixty tasks\n");
  {
    std::wstring text = started + L"\r\n";
    for (int i = 0; i < 60; ++i)
      text += L"Task " + std::to_wstring(i) + L"<#>" + started + L"<#>notend<#>false<#>notime<#>0\r\n";
    WriteFileBytes("save.txt", FileBytes(text));
  }
  Program run5;
  Check(run5.Start(exe), "the program starts with sixty tasks");
  if (!run5.form) return 1;
  Check(WaitFor([&] { return run5.Rows() == 60; }, 10000), "all sixty are loaded");
  RECT lr;
  GetWindowRect(run5.list, &lr);
  const int barX = lr.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2;
  Check(WaitFor([&] {
          return SendMessageW(run5.list, WM_NCHITTEST, 0, MAKELPARAM(barX, (lr.top + lr.bottom) / 2)) ==
                 HTVSCROLL;
        }, 5000),
        "the skin hit-tests the list's vertical bar");
  {
    COLORREF track = 0;
    WaitFor([&] {
      HDC screen = GetDC(nullptr);
      track = GetPixel(screen, barX, lr.bottom - 2 - 40);
      ReleaseDC(nullptr, screen);
      return track == RGB(0xE5, 0xE9, 0xEF);
    }, 5000);
    Check(track == RGB(0xE5, 0xE9, 0xEF), "the bar's track has the skin's SCROLLBAR1H colour");
    if (track != RGB(0xE5, 0xE9, 0xEF)) std::printf("  track pixel was %06lx\n", track);

  }
  SetForegroundWindow(run5.form);
  const int thumbY = lr.top + 2 + GetSystemMetrics(SM_CYVSCROLL) + 6;
  SetCursorPos(barX, thumbY);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  WaitFor([&] { return CaptureOf(run5) == run5.list; }, 5000);  // the thumb is held
  for (int y = thumbY; y <= lr.bottom - 30; y += 20) {
    SetCursorPos(barX, y);
    Sleep(30);  // the pointer moves in steps, as a hand drags it
  }
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  const auto top = [&] { return int(SendMessageW(run5.list, LVM_GETTOPINDEX, 0, 0)); };
  Check(WaitFor([&] { return top() > 30; }, 5000), "dragging the thumb to the bottom scrolls the list to its end");
  Sleep(500);  // the scrolled rows reach the screen; the screenshot is only looked at
  SaveScreenshot(run5.form, (shots + "list-scrolled.bmp").c_str());
  const int bottomTop = top();
  // A click on a row gives the list the focus; the wheel then scrolls it up.
  SetCursorPos((lr.left + lr.right) / 2, (lr.top + lr.bottom) / 2);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  WaitFor([&] { return FocusOf(run5) == run5.list; }, 5000);
  mouse_event(MOUSEEVENTF_WHEEL, 0, 0, DWORD(WHEEL_DELTA * 3), 0);
  Check(WaitFor([&] { return top() < bottomTop; }, 5000), "the mouse wheel scrolls the list back up");

  std::printf("export to CSV\n");
  Check(run5.Add(L"Отчёт; \"квартал\", <#> итог"), "a task with separators and quotes is added");
  DeleteFileW(L"export.csv");
  SetForegroundWindow(run5.form);
  WaitFor([&] { return GetForegroundWindow() == run5.form; }, 5000);
  PressKeys({VK_CONTROL, 'E'});
  HWND saveDialog = nullptr;
  Check(WaitFor([&] { return (saveDialog = run5.FindTopLevel(L"#32770", true)) != nullptr; }, 10000),
        "Ctrl+E opens the save dialog");
  Check(saveDialog && IsSkinnedWindow(saveDialog), "the save dialog is drawn by the skin");
  HWND nameBox = saveDialog ? FileNameBox(saveDialog) : nullptr;
  Check(nameBox && WindowText(nameBox).rfind(L"Vornik Desktop ", 0) == 0 && WindowText(nameBox).size() > 19,
        "it proposes \"Vornik Desktop YYYY-MM-DD.csv\"");
  if (saveDialog) {
    Sleep(400);  // the dialog reaches the screen; the screenshot is only looked at
    SaveScreenshot(saveDialog, (shots + "export-dialog.bmp").c_str());
  }
  wchar_t target[MAX_PATH] = {};
  GetFullPathNameW(L"export.csv", MAX_PATH, target, nullptr);
  if (nameBox) {
    SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target));
    PostMessageW(saveDialog, WM_COMMAND, IDOK, 0);
  }
  Check(WaitFor([&] { return !ReadFileBytes("export.csv").empty() && !run5.FindTopLevel(L"#32770", true); }, 10000),
        "the list is written where the dialog says");
  {
    // What the list shows, for the CSV reader of the run script: caption, status, limit and
    // priority, one row a line.
    std::wstring expected;
    for (int row = 0; row < run5.Rows(); ++row) {
      const bool finished = run5.ItemText(row, 3) == L"true";
      const std::wstring limit = run5.ItemText(row, 4);
      const std::wstring status = finished ? L"завершено"
                                  : limit.find(L'#') != std::wstring::npos ? L"время вышло"
                                                                           : L"в работе";
      expected += run5.ItemText(row, 0) + L"\t" + status + L"\t" + run5.ItemText(row, 5) + L"\n";
    }
    WriteFileBytes("export-expected.txt", Utf8(expected));
  }
  Check(run5.Close(), "closing the window ends the program");

  std::printf("skins from the tray menu\n");
  {
    DeleteFileW(L"settings.ini");
    Program run;
    Check(run.Start(exe), "the program starts in Quarn");
    if (!run.form) return 1;
    Check(WaitFor([&] { return FrameSkinned(run.form); }, 10000), "with the skin's frame");
    Sleep(500);
    // The form's own background, between the group box and the edit box.
    const COLORREF quarn = ClientPixel(run.form, 4, 145);
    const auto pressIn = [&](const Program& p, WORD key) {
      const std::vector<HWND> menus = p.MenuWindows();
      if (!menus.empty()) {
        PostMessageW(menus.front(), WM_KEYDOWN, key, 1);
        PostMessageW(menus.front(), WM_KEYUP, key, 0xC0000001);
      }
      Sleep(250);
    };
    // The right button on the tray icon, as the shell reports it; then "Скин", its submenu and
    // the item `down` places below its first, at a hand's pace.
    const auto chooseSkin = [&](const Program& p, int down, const char* shot) {
      HWND handler = p.TrayHandler();
      PostMessageW(handler, 0x800, 1, WM_RBUTTONDOWN);
      PostMessageW(handler, 0x800, 1, WM_RBUTTONUP);
      if (!WaitFor([&] { return p.MenuWindows().size() == 1; }, 10000)) return false;
      Sleep(300);
      pressIn(p, VK_DOWN);
      pressIn(p, VK_DOWN);
      pressIn(p, VK_RIGHT);
      if (!WaitFor([&] { return p.MenuWindows().size() == 2; }, 5000)) return false;
      for (int i = 0; i < down; ++i) pressIn(p, VK_DOWN);
      if (shot) {
        RECT area = {};
        for (HWND m : p.MenuWindows()) {
          RECT r;
          GetWindowRect(m, &r);
          if (IsRectEmpty(&area)) area = r;
          else UnionRect(&area, &area, &r);
        }
        InflateRect(&area, 30, 30);
        Sleep(300);  // the open menus reach the screen; the screenshot is only looked at
        SaveScreenshot(area, (shots + shot).c_str());
      }
      pressIn(p, VK_RETURN);
      return WaitFor([&] { return p.MenuWindows().empty(); }, 5000);
    };
    Check(chooseSkin(run, 1, "menu-tray.bmp"), "the tray menu opens and \"Скин\" offers Quarn Night");
    Check(WaitFor([&] { return ReadFileBytes("settings.ini").find("Skin=Quarn Night (internal)") != std::string::npos; },
                  10000),
          "choosing it writes the choice into settings.ini beside the program");
    Check(WaitFor([&] { return Brightness(ClientPixel(run.form, 4, 145)) + 150 < Brightness(quarn); }, 5000),
          "the window turns dark at once");
    Check(FrameSkinned(run.form), "with the skin's frame");
    Sleep(500);  // the new look reaches the screen; the screenshot is only looked at
    SaveScreenshot(run.form, (shots + "skin-night.bmp").c_str());
    const COLORREF night = ClientPixel(run.form, 4, 145);
    run.Select(0);
    PostMessageW(run.list, WM_CONTEXTMENU, WPARAM(run.list), MAKELPARAM(0xFFFF, 0xFFFF));
    if (WaitFor([&] { return run.MenuWindows().size() == 1; }, 10000)) {
      Sleep(300);
      pressIn(run, VK_DOWN);
      pressIn(run, VK_RIGHT);
      WaitFor([&] { return run.MenuWindows().size() == 2; }, 5000);
      RECT area = {};
      for (HWND m : run.MenuWindows()) {
        RECT r;
        GetWindowRect(m, &r);
        if (IsRectEmpty(&area)) area = r;
        else UnionRect(&area, &area, &r);
      }
      InflateRect(&area, 30, 30);
      Sleep(300);
      SaveScreenshot(area, (shots + "menu-night.bmp").c_str());
      pressIn(run, VK_ESCAPE);
      pressIn(run, VK_ESCAPE);
    }
    Check(WaitFor([&] { return run.MenuWindows().empty(); }, 5000), "the list's menu in Night opens and closes");
    Check(run.Close(), "closing the window ends the program");

    Program again;
    Check(again.Start(exe), "the program starts again");
    if (!again.form) return 1;
    Check(WaitFor([&] { return FrameSkinned(again.form); }, 10000), "with the skin's frame");
    Check(WaitFor([&] { return ClientPixel(again.form, 4, 145) == night; }, 5000),
          "in Quarn Night: settings.ini was read");
    // The time-limit dialog, made hidden at start, in the remembered skin.
    again.Select(0);
    PostMessageW(again.list, WM_CONTEXTMENU, WPARAM(again.list), MAKELPARAM(0xFFFF, 0xFFFF));
    if (WaitFor([&] { return again.MenuWindows().size() == 1; }, 10000)) {
      Sleep(300);
      for (WORD key : {WORD(VK_DOWN), WORD(VK_DOWN), WORD(VK_RETURN)}) {
        HWND m = again.MenuWindows().empty() ? again.list : again.MenuWindows().front();
        PostMessageW(m, WM_KEYDOWN, key, 1);
        PostMessageW(m, WM_KEYUP, key, 0xC0000001);
        Sleep(200);
      }
    }
    HWND dialog = nullptr;
    Check(WaitFor([&] { return (dialog = again.FindTopLevel(L"TForm2", true)) != nullptr; }, 10000),
          "the time-limit dialog opens");
    if (dialog) {
      Check(WaitFor([&] { return FrameSkinned(dialog); }, 5000), "with the skin's frame");
      Sleep(500);
      RECT both, main, dlg;
      GetWindowRect(again.form, &main);
      GetWindowRect(dialog, &dlg);
      UnionRect(&both, &main, &dlg);
      SaveScreenshot(both, (shots + "dialog-night.bmp").c_str());
      PostMessageW(dialog, WM_CLOSE, 0, 0);
      WaitFor([&] { return !IsWindowVisible(dialog); }, 5000);
    }
    // Back to Quarn through the same menu, on the restarted program.
    Check(chooseSkin(again, 0, nullptr), "the tray menu offers Quarn again");
    Check(WaitFor([&] { return ReadFileBytes("settings.ini").find("Skin=Quarn (internal)") != std::string::npos; },
                  10000),
          "and keeps that choice");
    Check(WaitFor([&] { return ClientPixel(again.form, 4, 145) == quarn; }, 5000), "the window is light again");
    // "Выход", the tray menu's last item, ends the program as closing the window does.
    PostMessageW(again.TrayHandler(), 0x800, 1, WM_RBUTTONDOWN);
    PostMessageW(again.TrayHandler(), 0x800, 1, WM_RBUTTONUP);
    if (WaitFor([&] { return again.MenuWindows().size() == 1; }, 10000)) {
      Sleep(300);
      pressIn(again, VK_UP);
      pressIn(again, VK_RETURN);
    }
    DWORD code = 1;
    const bool ended = WaitForSingleObject(again.pi.hProcess, 30000) == WAIT_OBJECT_0;
    GetExitCodeProcess(again.pi.hProcess, &code);
    Check(ended && code == 0, "\"Выход\" in the tray menu ends the program");
    if (!ended) TerminateProcess(again.pi.hProcess, 1);
    CloseHandle(again.pi.hThread);
    CloseHandle(again.pi.hProcess);
  }

  std::printf("a second start\n");
  DeleteFileW(L"save.txt");
  Program runA;
  Check(runA.Start(exe), "the program starts on an empty list");
  if (!runA.form) return 1;
  Check(runA.Add(L"From A"), "a task is added");
  const std::string saved = ReadFileBytes("save.txt");
  PostMessageW(runA.form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Check(WaitFor([&] { return !IsWindowVisible(runA.form); }, 10000), "the window hides into the tray");
  DWORD secondCode = 1;
  Check(RunToEnd(exe, secondCode) && secondCode == 0, "a second start in the same folder ends by itself");
  Check(WaitFor([&] { return IsWindowVisible(runA.form) && !IsIconic(runA.form); }, 10000),
        "and brings the running program's window back from the tray");
  Check(WaitFor([&] { return GetForegroundWindow() == runA.form; }, 5000), "in front");
  Check(ReadFileBytes("save.txt") == saved, "save.txt is untouched by the second start");
  Check(runA.Add(L"From A again") && runA.Rows() == 2, "the running program goes on with its list");
  CreateDirectoryW(L"other", nullptr);
  for (const wchar_t* f : {L"notok.ico", L"ok.ico", L"yellow.ico", L"red.ico", L"sound.wav"})
    CopyFileW(f, (std::wstring(L"other\\") + f).c_str(), FALSE);
  CopyFileW(exe.c_str(), L"other\\VornikDesktop.exe", FALSE);
  DeleteFileW(L"other\\save.txt");
  Program runB;
  Check(runB.Start(L"other\\VornikDesktop.exe"), "a copy in another folder runs beside it");
  if (!runB.form) return 1;
  Check(runB.Add(L"From B"), "and adds a task to its own list");
  const std::string mine = ReadFileBytes("save.txt"), theirs = ReadFileBytes("other\\save.txt");
  Check(theirs.find("From B") != std::string::npos && mine.find("From B") == std::string::npos &&
            mine.find("From A again") != std::string::npos,
        "each folder's save.txt holds its own tasks");
  Check(runB.Close() && runA.Close(), "both end on closing");

  std::printf("%d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
