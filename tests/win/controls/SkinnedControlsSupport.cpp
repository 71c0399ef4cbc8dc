#include "SkinnedControlsSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"

std::unique_ptr<TsSkinManager> MakeDefaultSkinManager(
    const std::function<void(TsSkinManager&)>& configure) {
  InstallDibBitmapStorage();
  auto manager = std::make_unique<TsSkinManager>(nullptr);
  manager->InternalSkins().push_back(InternalStoredSkin());
  manager->SetIsDefault(true);
  if (configure) configure(*manager);
  manager->SetSkinName(kInternalSkinName);
  return manager;
}

void SkinnedForm::SetUp() {
  manager = MakeDefaultSkinManager();
  ASSERT_TRUE(manager->SkinData().Active);
  form = Application->CreateForm<TForm>();
  form->SetBounds(60, 60, 320, 200);
  form->SetColor(RGBColor(200, 210, 220));
}

void SkinnedForm::TearDown() {
  delete form;
  ReleaseManager(manager);
}

void AdapterForm::SetUp() {
  skin.InternalSkins().push_back(InternalStoredSkin());
  skin.SetSkinName(kInternalSkinName);
  ASSERT_TRUE(skin.SkinData().Active);
  form = Application->CreateForm<TForm>();
  form->SetBounds(60, 60, 320, 220);
  form->SetColor(RGBColor(200, 210, 220));
  form->Show();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
}

void AdapterForm::TearDown() {
  SetCursorPos(0, 0);
  delete form;
  Pump();
}

HWND AdapterForm::Child(const wchar_t* cls, const wchar_t* text, DWORD style, TRect r, HWND parent) {
  HWND w = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.Left, r.Top, r.Width(),
                           r.Height(), parent ? parent : form->Handle(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (w) SendMessageW(w, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
  return w;
}

void AdapterForm::Compose(TzkBitmap& into, const char* name, const TRect& r, int state, bool centre) {
  TsBackgroundInfo bg;
  bg.Color = ColorToRGB(form->Color());
  PaintSkinnedItem(&Tables(), SectionLook(Tables(), Tables().IndexOfSection(name)), bg.Moved(r.Left, r.Top),
                   clFuchsia, centre, true, &into, {r.Left, r.Top}, r, state);
}

void AdapterForm::Redraw(HWND w) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  LetPaintReachScreen();
}

TColor PixelOf(const TzkBitmap& b, int x, int y) {
  const uint8_t* p = b.ScanLine(y) + x * b.BytesPerPixel();
  return RGBColor(p[2], p[1], p[0]);
}

TzkBitmap Tinted(TzkBitmap image, TColor towards, double keep) {
  const uint8_t k[3] = {GetBValue(towards), GetGValue(towards), GetRValue(towards)};
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width() * 3; ++x) {
      uint8_t& p = image.ScanLine(y)[x];
      p = uint8_t(std::nearbyint(keep * p + (1 - keep) * k[x % 3]));
    }
  return image;
}

TzkBitmap PrintWindowBitmap(HWND wnd, int width, int height) {
  TzkBitmap out = NewBitmap24(width, height);
  TWindowDc screen(nullptr);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
  TBitmapDc dc(bitmap.Get(), screen.Get());
  SendMessageW(wnd, WM_PRINT, WPARAM(dc.Get()), PRF_CLIENT | PRF_ERASEBKGND);
  CopyDCToBitmap(out, dc.Get(), 0, 0);
  return out;
}

TzkBitmap PrintWhole(HWND wnd, UINT flags) {
  RECT r;
  GetWindowRect(wnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  TzkBitmap out = NewBitmap24(w, h);
  TWindowDc screen(nullptr);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), w, h));
  TBitmapDc dc(bitmap.Get(), screen.Get());
  TBrushHandle marker(CreateSolidBrush(RGB(1, 2, 3)));
  const RECT all = {0, 0, w, h};
  FillRect(dc.Get(), &all, marker.Get());
  SendMessageW(wnd, WM_PRINT, WPARAM(dc.Get()), flags);
  CopyDCToBitmap(out, dc.Get(), 0, 0);
  return out;
}

TzkBitmap ScreenPixels(const TRect& onScreen) {
  TzkBitmap out = NewBitmap24(onScreen.Width(), onScreen.Height());
  TWindowDc screen(nullptr);
  CopyDCToBitmap(out, screen.Get(), onScreen.Left, onScreen.Top);
  return out;
}

TzkBitmap WindowOnScreen(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return ScreenPixels(TRect(r.left, r.top, r.right, r.bottom));
}

int DifferentPixels(const TzkBitmap& a, const TzkBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelOf(a, x, y) != PixelOf(b, x, y)) ++n;
  return n;
}

int ChannelDistance(const TzkBitmap& a, const TzkBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return 256;
  int most = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const TColor p = PixelOf(a, x, y), q = PixelOf(b, x, y);
      most = std::max({most, std::abs(GetRValue(p) - GetRValue(q)), std::abs(GetGValue(p) - GetGValue(q)),
                       std::abs(GetBValue(p) - GetBValue(q))});
    }
  return most;
}

int DifferencesIn(const TzkBitmap& a, const TzkBitmap& b, const TRect& r, const TRect& skip) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (!skip.Contains({x, y}) && PixelOf(a, x, y) != PixelOf(b, x, y)) ++n;
  return n;
}

HWND MakeForegroundParent(const wchar_t* className, WNDPROC proc, int width, int height) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassW(&wc);
  HWND parent = CreateWindowExW(WS_EX_TOPMOST, className, L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 50, 50,
                                width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(parent);
  SetFocus(parent);
  SetCursorPos(0, 0);
  return parent;
}
