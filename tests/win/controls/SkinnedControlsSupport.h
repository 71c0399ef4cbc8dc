// Shared set-up of the skinned-control tests: the internal skin loaded by a default manager,
// DIB-backed bitmaps, a form to put controls on, and pixel helpers.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "skin/data/sSkinManager.h"
#include "skin/paint/zkBitmap.h"
#include "toolkit/Form.h"

// A manager that is the default one (its hook skins new forms) with the internal skin
// applied; bitmaps are DIB sections from here on. `configure` runs before the skin loads.
std::unique_ptr<TsSkinManager> MakeDefaultSkinManager(
    const std::function<void(TsSkinManager&)>& configure = nullptr);

// A form with the program's kind of frame: single border, system menu and minimize button.
class TFramedTestForm : public TForm {
 public:
  explicit TFramedTestForm(TComponent* owner, const wchar_t* caption = nullptr) : TForm(owner) {
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    if (caption) SetCaption(caption);
  }
};

// A form with the internal skin applied by a manager that is the default one.
class SkinnedForm : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TsSkinManager& Manager() { return *manager; }
  const TsSkinTables& Tables() { return manager->Tables(); }

  std::unique_ptr<TsSkinManager> manager;
  TForm* form = nullptr;
};

// A plain form (no frame provider: the manager is not the default one, so no hook skins it)
// and the internal skin, for window adapters attached by hand. Shown topmost and in front.
class AdapterForm : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TsSkinManager& Manager() { return skin; }
  const TsSkinTables& Tables() { return skin.Tables(); }
  // A visible child window in the default GUI font, on the form unless a parent is given.
  HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, TRect r, HWND parent = nullptr);
  // A section in a state over the form's colour into r of the image, as the paint engine
  // composes it.
  void Compose(TzkBitmap& into, const char* name, const TRect& r, int state, bool centre = true);
  // Invalidates, erases and paints the window with its frame, and pumps a little.
  static void Redraw(HWND w);

  TsSkinManager skin{nullptr};
  TForm* form = nullptr;
};

// A visible top-most popup of the given size at (50, 50) with the button-face background and
// its own class and procedure, made the foreground window with the pointer moved away to the
// screen's corner, so hover tests start from a pointer outside every control.
HWND MakeForegroundParent(const wchar_t* className, WNDPROC proc, int width, int height);

TColor PixelOf(const TzkBitmap& b, int x, int y);
// A 24-bit image with every channel keeping `keep` of its value and taking the rest from
// `towards`, rounded to the nearest (halves to even).
TzkBitmap Tinted(TzkBitmap image, TColor towards, double keep);
// The window printed with WM_PRINT (client area) into a 24-bit bitmap.
TzkBitmap PrintWindowBitmap(HWND wnd, int width, int height);
// The whole window (frame and client; by default its children too) printed with WM_PRINT into
// a 24-bit bitmap first filled with the marker colour 0x030201, so a part the window does not
// print stands out.
TzkBitmap PrintWhole(HWND wnd, UINT flags = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
// What the screen shows in a rectangle of screen coordinates, and of a whole window (the
// tests' display has no window manager: a shown form in front is on the screen as it painted
// itself).
TzkBitmap ScreenPixels(const TRect& onScreen);
TzkBitmap WindowOnScreen(HWND wnd);
// Number of pixels that differ between two bitmaps of the same size (-1 for other sizes).
int DifferentPixels(const TzkBitmap& a, const TzkBitmap& b);
// The largest difference of one colour channel between two bitmaps of the same size (256 for
// other sizes).
int ChannelDistance(const TzkBitmap& a, const TzkBitmap& b);
// The same inside r only, leaving out `skip`.
int DifferencesIn(const TzkBitmap& a, const TzkBitmap& b, const TRect& r, const TRect& skip = {});
