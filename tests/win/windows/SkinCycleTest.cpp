// Skins changed on live forms: after the skin is removed, applied again and replaced by
// another one, every control and the frame of a form look exactly as on a form made fresh
// with that skin. The other skin is the internal one unpacked into a folder with its sections
// in reverse order (so every section index differs), other colours, a gradient "FORM" section
// and a TITLEBAR glyph. The program's main window goes through the skins its tray menu offers
// (Quarn, Quarn Night, a folder skin, Quarn again) and looks at each as a fresh start does.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sListView.h"
#include "skin/controls/sSpinEdit.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/data/zkSkinPack.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinProvider.h"
#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/Handles.h"
#include "toolkit/Label.h"
#include "toolkit/WideText.h"

namespace {

constexpr char kOtherSkin[] = "Quarn Turned";

// The internal skin's options with every section in reverse order and every colour value
// changed; "FORM" gets a vertical gradient and a TITLEBAR glyph.
std::string TurnedOptions(const std::string& options) {
  std::vector<std::vector<std::string>> sections;
  std::istringstream in(options);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') sections.emplace_back();
    if (sections.empty()) continue;
    const size_t eq = line.find('=');
    if (eq != std::string::npos) {
      const std::string key = line.substr(0, eq);
      const std::string value = line.substr(eq + 1);
      const bool colour = key.size() >= 5 && key.compare(key.size() - 5, 5, "COLOR") == 0;
      if (colour && !value.empty() && value.find_first_not_of("0123456789") == std::string::npos)
        line = key + "=" + std::to_string((std::stoul(value) ^ 0x305020u) & 0xFFFFFFu);
    }
    sections.back().push_back(line);
    if (line == "[FORM]") {
      sections.back().push_back("GRADIENTPERCENT=100");
      sections.back().push_back("GRADIENTDATA=16764057;10053171;100;0;0");
      sections.back().push_back("HOTGRADIENTPERCENT=100");
      sections.back().push_back("HOTGRADIENTDATA=15658734;6710937;100;0;0");
      sections.back().push_back("TITLEBAR=@0146@0048@0230@0088@3@1");
    }
  }
  std::string out;
  for (auto it = sections.rbegin(); it != sections.rend(); ++it)
    for (const std::string& l : *it) out += l + "\r\n";
  return out;
}

// Writes the turned skin as a folder skin under `root`.
void WriteTurnedSkin(const std::wstring& root) {
  const TsStoredSkin internal = InternalStoredSkin();
  std::unique_ptr<TzkSkinConvertor> reader;
  TzkSkinConvertor::ParseBuffer(internal.Data, internal.Size, reader);
  const std::wstring folder = root + Utf8ToWide(kOtherSkin) + L"\\";
  std::filesystem::create_directories(std::filesystem::path(folder));
  const std::string options(reader->Options().begin(), reader->Options().end());
  WriteBytes(folder + L"Options.dat", TurnedOptions(options));
  for (const TzkImageItem& image : reader->Images())
    WriteBytes(folder + Utf8ToWide(image.EntryName), std::string(image.Content.begin(), image.Content.end()));
}

// A form with a control of every kind the program uses, plus plain ones the provider adapts.
class TEveryControlForm : public TFramedTestForm {
 public:
  explicit TEveryControlForm(TComponent* owner) : TFramedTestForm(owner, L"Every control") {
    SetBounds(60, 60, 420, 330);
    button = Place(new TsButton(this), 10, 10, 110, 28);
    button->SetCaption(L"Skinned");
    edit = Place(new TsEdit(this), 10, 50, 110, 24);
    spin = Place(new TsDecimalSpinEdit(this), 10, 84, 110, 24);
    label = Place(new TsLabel(this), 10, 118, 110, 18);
    label->SetCaption(L"Skinned label");
    group = Place(new TsGroupBox(this), 140, 10, 120, 100);
    group->SetCaption(L"Group");
    list = Place(new TsListView(this), 140, 120, 250, 110);
    list->AddColumn(L"Task", 120);
    list->AddColumn(L"Time", 100);
    plainButton = Place(new TButton(this), 10, 150, 110, 28);
    plainButton->SetCaption(L"Plain");
    plainLabel = Place(new TLabel(this), 10, 190, 110, 18);
    plainLabel->SetCaption(L"Plain label");
  }
  const wchar_t* ClassName() const override { return L"TEveryControlForm"; }
  template <typename T>
  T* Place(T* c, int x, int y, int w, int h) {
    c->SetParent(this);
    c->SetBounds(x, y, w, h);
    return c;
  }
  std::vector<TControl*> Controls() const {
    return {button, edit, spin, label, group, list, plainButton, plainLabel};
  }
  TsButton* button;
  TsEdit* edit;
  TsDecimalSpinEdit* spin;
  TsLabel* label;
  TsGroupBox* group;
  TsListView* list;
  TButton* plainButton;
  TLabel* plainLabel;
};

TzkBitmap Part(const TzkBitmap& b, const TRect& r) {
  TzkBitmap out = NewBitmap24(r.Width(), r.Height());
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) {
      const uint8_t* s = b.ScanLine(r.Top + y) + (r.Left + x) * b.BytesPerPixel();
      std::copy_n(s, 3, out.ScanLine(y) + x * 3);
    }
  return out;
}

// What a form shows: each control (a windowed one printed, a windowless one as part of the
// printed client), the frame cache, its style and its region.
struct TFormLook {
  std::vector<TzkBitmap> Controls;
  TzkBitmap Frame;
  TzkBitmap Client;
  bool SystemMenuStyle = false;
  int RegionKind = ERROR;
  TColor Color = 0;
};

TFormLook LookOf(TCustomForm* form, const std::vector<TControl*>& controls) {
  TFormLook look;
  HWND wnd = form->WindowHandle();
  const TRect client = ClientRectInWindow(wnd);
  const TzkBitmap whole = WindowOnScreen(wnd);
  look.Client = Part(whole, client);
  for (TControl* c : controls) {
    if (auto* w = dynamic_cast<TWinControl*>(c))
      look.Controls.push_back(WindowOnScreen(w->WindowHandle()));
    else
      look.Controls.push_back(Part(look.Client, TRect(c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height())));
  }
  TsSkinProvider* p = ProviderOfWindow(wnd);
  if (p && p->Skinned()) {
    p->RenderCache();
    if (p->FrameCache()) look.Frame = Part(*p->FrameCache(), TRect(0, 0, p->FrameCache()->Width(), p->FrameCache()->Height()));
  }
  look.SystemMenuStyle = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU) != 0;
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  look.RegionKind = GetWindowRgn(wnd, rgn.Get());
  look.Color = ColorToRGB(form->Color());
  return look;
}

void ExpectSameLook(const TFormLook& cycled, const TFormLook& fresh, const char* what) {
  ASSERT_EQ(cycled.Controls.size(), fresh.Controls.size());
  for (size_t i = 0; i < fresh.Controls.size(); ++i) {
    const TzkBitmap& c = fresh.Controls[i];
    ASSERT_GE(DifferentPixels(cycled.Controls[i], c), 0) << what << ": sizes of control " << i;
    EXPECT_EQ(DifferentPixels(cycled.Controls[i], c), 0) << what << ": control " << i;
  }
  EXPECT_FALSE(fresh.Frame.Empty()) << what;
  EXPECT_EQ(DifferentPixels(cycled.Frame, fresh.Frame), 0) << what << ": frame";
  ASSERT_GE(DifferentPixels(cycled.Client, fresh.Client), 0) << what << ": client sizes";
  EXPECT_EQ(DifferentPixels(cycled.Client, fresh.Client), 0) << what << ": client";
  EXPECT_EQ(cycled.SystemMenuStyle, fresh.SystemMenuStyle) << what;
  EXPECT_FALSE(fresh.SystemMenuStyle) << what;
  EXPECT_EQ(cycled.RegionKind, fresh.RegionKind) << what;
  EXPECT_EQ(cycled.Color, fresh.Color) << what;
}

// Controls settle before they are compared: a fade or a timer started by a skin change must
// have run out, and nothing tells when the last one has, so time passes.
void SettleForm(TCustomForm* f) {
  RedrawWindow(f->WindowHandle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpFor(100);
}

class SkinCycle : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    WriteTurnedSkin(scratch.Path());
    manager = MakeDefaultSkinManager([&](TsSkinManager& m) { m.SetSkinDirectory(WideToUtf8(scratch.Path())); });
    ASSERT_TRUE(manager->SkinData().Active);
    SetCursorPos(0, 0);
  }
  // Remove, apply again, apply the other skin.
  void Cycle() {
    manager->SetActive(false);
    Pump();
    manager->SetActive(true);
    Pump();
    manager->SetSkinName(kOtherSkin);
    ASSERT_EQ(manager->SkinName(), kOtherSkin);
    Pump();
  }
  static void Settle(TCustomForm* f) { SettleForm(f); }

  TScratchFolder scratch;
};

TEST_F(SkinCycle, TheTurnedSkinReallyLooksDifferent) {
  auto* f = Application->CreateForm<TEveryControlForm>();
  ShowAndActivate(f);
  Settle(f);
  const TFormLook before = LookOf(f, f->Controls());
  const int formBefore = manager->IndexOfSection("FORM");
  manager->SetSkinName(kOtherSkin);
  Pump();
  Settle(f);
  const TFormLook after = LookOf(f, f->Controls());
  EXPECT_NE(manager->IndexOfSection("FORM"), formBefore);
  for (size_t i = 0; i < before.Controls.size(); ++i)
    EXPECT_GT(DifferentPixels(before.Controls[i], after.Controls[i]), 0) << "control " << i;
  delete f;
}

TEST_F(SkinCycle, EveryControlOfALiveFormLooksAsOnAFreshForm) {
  auto* f = Application->CreateForm<TEveryControlForm>();
  ShowAndActivate(f);
  Cycle();
  ShowAndActivate(f);
  Settle(f);
  const TFormLook cycled = LookOf(f, f->Controls());
  delete f;
  Pump();
  auto* fresh = Application->CreateForm<TEveryControlForm>();
  ShowAndActivate(fresh);
  Settle(fresh);
  ExpectSameLook(cycled, LookOf(fresh, fresh->Controls()), "every control");
  delete fresh;
}

std::vector<TControl*> DialogControls(TForm2* d) {
  return {d->sDecimalSpinEdit1, d->sDecimalSpinEdit2, d->sButton1};
}

TEST_F(SkinCycle, TheTimeLimitDialogLooksAsFreshWhetherHiddenOrShownDuringTheChange) {
  for (bool shownDuringChange : {false, true}) {
    SCOPED_TRACE(shownDuringChange ? "shown" : "hidden");
    manager->SetSkinName(kInternalSkinName);
    Pump();
    auto* d = Application->CreateForm<TForm2>(nullptr);
    // Skinned once, as the program does when it is first opened.
    ShowAndActivate(d);
    if (!shownDuringChange) {
      d->Hide();
      Pump();
    }
    Cycle();
    ShowAndActivate(d);
    Settle(d);
    const TFormLook cycled = LookOf(d, DialogControls(d));
    delete d;
    Pump();
    auto* fresh = Application->CreateForm<TForm2>(nullptr);
    ShowAndActivate(fresh);
    Settle(fresh);
    ExpectSameLook(cycled, LookOf(fresh, DialogControls(fresh)), "dialog");
    delete fresh;
    Pump();
  }
}

TEST_F(SkinCycle, AHiddenFormGetsItsRegionFromTheNewSkinAtOnce) {
  auto* f = Application->CreateForm<TEveryControlForm>();
  ShowAndActivate(f);
  f->Hide();
  Pump();
  manager->SetActive(false);
  Pump();
  TRegionHandle rgn(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(f->WindowHandle(), rgn.Get()), ERROR);
  manager->SetActive(true);
  Pump();
  EXPECT_EQ(GetWindowRgn(f->WindowHandle(), rgn.Get()), COMPLEXREGION);
  EXPECT_FALSE(GetWindowLongPtrW(f->WindowHandle(), GWL_STYLE) & WS_SYSMENU);
  delete f;
}

// A provider made by hand before its form has a window: it sets itself up when the window
// is made, and a press on the maximize code (the platform's own hit-test) is safe.
TEST_F(SkinCycle, AProviderMadeBeforeTheWindowIsSetUpWithIt) {
  auto* f = new TFramedTestForm(nullptr, L"Early provider");
  f->SetTag(-98);  // the hook leaves it to the provider made here
  f->SetBounds(100, 100, 300, 200);
  auto* p = new TsSkinProvider(f);
  ASSERT_FALSE(f->HandleAllocated());
  f->HandleNeeded();
  EXPECT_TRUE(p->Skinned());
  EXPECT_NE(p->SystemMenu(), nullptr);
  EXPECT_FALSE(GetWindowLongPtrW(f->WindowHandle(), GWL_STYLE) & WS_SYSMENU);
  RECT r;
  GetWindowRect(f->WindowHandle(), &r);
  SendMessageW(f->WindowHandle(), WM_NCLBUTTONDOWN, HTMAXBUTTON, MAKELPARAM(r.left + 5, r.top + 5));
  SendMessageW(f->WindowHandle(), WM_NCLBUTTONUP, HTMAXBUTTON, MAKELPARAM(r.left + 5, r.top + 5));
  Pump();
  delete f;
  Pump();
}

// [SECTION] The frame's parts

class FrameParts : public SkinCycle {
 protected:
  TFramedTestForm* ShowForm(TFormBorderStyle style = TFormBorderStyle::bsSingle, int icons = biSystemMenu | biMinimize) {
    auto* f = Application->CreateForm<TFramedTestForm>(L"Parts");
    f->SetBorderStyle(style);
    f->SetBorderIcons(icons);
    f->SetBounds(80, 80, 360, 220);
    ShowAndActivate(f);
    forms.push_back(f);
    return f;
  }
  static LPARAM ScreenPoint(HWND wnd, TPoint p) {
    RECT r;
    GetWindowRect(wnd, &r);
    return MAKELPARAM(r.left + p.X, r.top + p.Y);
  }
  // The visible top-level windows of this thread.
  static std::vector<HWND> VisibleWindows() {
    std::vector<HWND> out;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM l) {
          if (IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
          return TRUE;
        },
        LPARAM(&out));
    return out;
  }
};

TEST_F(FrameParts, MaximizedAndMinimizedFormsShowTheRestoreGlyph) {
  TFramedTestForm* f = ShowForm(TFormBorderStyle::bsSizeable, biSystemMenu | biMinimize | biMaximize);
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  const TsSkinTables& t = manager->Tables();
  const int norm = t.IndexOfMask(t.CachedIndexes.GlobalInfo, "GLOBALINFO", "BICONNORM");
  ASSERT_GE(norm, 0);
  ASSERT_FALSE(IsZoomed(f->WindowHandle()));
  p->RenderCache();
  EXPECT_EQ(p->Button(tbkMax).GlyphKey, "BICONMAX");
  ShowWindow(f->WindowHandle(), SW_MAXIMIZE);
  Pump();
  p->RenderCache();
  EXPECT_EQ(p->Button(tbkMax).GlyphKey, "BICONNORM");
  EXPECT_EQ(p->Button(tbkMax).GlyphIndex, norm);
  EXPECT_EQ(p->Button(tbkMin).GlyphKey, "BICONMIN");
  ShowWindow(f->WindowHandle(), SW_MINIMIZE);
  Pump();
  p->RenderCache();
  EXPECT_EQ(p->Button(tbkMin).GlyphKey, "BICONNORM");
  EXPECT_EQ(p->Button(tbkMax).GlyphKey, "BICONMAX");
  // Restoring a form minimized from maximized gives it back maximized; once more, normal.
  ShowWindow(f->WindowHandle(), SW_RESTORE);
  Pump();
  if (IsZoomed(f->WindowHandle())) {
    p->RenderCache();
    EXPECT_EQ(p->Button(tbkMax).GlyphKey, "BICONNORM");
    ShowWindow(f->WindowHandle(), SW_RESTORE);
    Pump();
  }
  ASSERT_FALSE(IsZoomed(f->WindowHandle()) || IsIconic(f->WindowHandle()));
  p->RenderCache();
  EXPECT_EQ(p->Button(tbkMax).GlyphKey, "BICONMAX");
  EXPECT_EQ(p->Button(tbkMin).GlyphKey, "BICONMIN");
}

TEST_F(FrameParts, AltSpaceOpensTheSkinnedSystemMenuBelowTheIcon) {
  TFramedTestForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  HWND wnd = f->WindowHandle();
  ASSERT_FALSE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
  static RECT shown;
  shown = RECT{-1, -1, -1, -1};
  // Inside the menu's own message loop: note where it is and close it.
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    GetWindowRect(menu, &shown);
    EndMenu();
  });
  // Alt+Space as the platform's default handling turns it into the keyboard menu command.
  SendMessageW(wnd, WM_SYSCHAR, ' ', LPARAM(1) << 29);
  KillTimer(nullptr, timer);
  const TsFrameGeometry g = p->Geometry();
  RECT wr;
  GetWindowRect(wnd, &wr);
  EXPECT_EQ(shown.left, wr.left + g.Icon.Left);
  EXPECT_EQ(shown.top, wr.top + g.Icon.Bottom);
}

TEST_F(FrameParts, MinimizingIntoTheTrayLeavesNoWindowOfTheFrameVisible) {
  ASSERT_TRUE(manager->AllowGlowing());
  const std::vector<HWND> before = VisibleWindows();
  // Minimizing hides the form at once, as the tray icon does.
  class TTrayForm : public TFramedTestForm {
   public:
    explicit TTrayForm(TComponent* owner) : TFramedTestForm(owner, L"Tray") {}
    std::vector<HWND> visibleAfterHide;
    bool hidden = false;

   protected:
    void WndProc(TMessage& m) override {
      if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(WindowHandle(), SW_HIDE);
        visibleAfterHide = VisibleWindows();
        hidden = true;
        return;
      }
      TFramedTestForm::WndProc(m);
    }
  };
  auto* f = Application->CreateForm<TTrayForm>();
  forms.push_back(f);
  f->SetBounds(80, 80, 360, 220);
  ShowAndActivate(f);
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  HWND wnd = f->WindowHandle();
  const TsFrameGeometry g = p->Geometry();
  ASSERT_TRUE(g.ButtonShown[tbkMin]);
  const TPoint at{(g.Buttons[tbkMin].Left + g.Buttons[tbkMin].Right) / 2, (g.Buttons[tbkMin].Top + g.Buttons[tbkMin].Bottom) / 2};
  const LPARAM sp = ScreenPoint(wnd, at);
  SetCursorPos(GET_X_LPARAM(sp), GET_Y_LPARAM(sp));
  ASSERT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, sp), HTMINBUTTON);
  WaitUntil([&] { return p->Button(tbkMin).Animation && p->Button(tbkMin).Animation->Overlay(); });
  ASSERT_TRUE(p->Button(tbkMin).Animation && IsWindowVisible(p->Button(tbkMin).Animation->Overlay()));
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTMINBUTTON, sp);
  SendMessageW(wnd, WM_NCLBUTTONUP, HTMINBUTTON, sp);
  WaitUntil([&] { return f->hidden; });
  ASSERT_TRUE(f->hidden);
  for (HWND w : f->visibleAfterHide)
    EXPECT_NE(std::find(before.begin(), before.end(), w), before.end()) << "left visible: " << w;
  SetCursorPos(0, 0);
}

TEST_F(FrameParts, TheOverlayGoesWithTheActivation) {
  ASSERT_TRUE(manager->AllowGlowing());
  TFramedTestForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  HWND wnd = f->WindowHandle();
  const TsFrameGeometry g = p->Geometry();
  const TPoint at{(g.Buttons[tbkClose].Left + g.Buttons[tbkClose].Right) / 2, (g.Buttons[tbkClose].Top + g.Buttons[tbkClose].Bottom) / 2};
  const LPARAM sp = ScreenPoint(wnd, at);
  SetCursorPos(GET_X_LPARAM(sp), GET_Y_LPARAM(sp));
  ASSERT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, sp), HTCLOSE);
  WaitUntil([&] { return p->Button(tbkClose).Animation && p->Button(tbkClose).Animation->Overlay(); });
  ASSERT_TRUE(p->Button(tbkClose).Animation);
  HWND overlay = p->Button(tbkClose).Animation->Overlay();
  ASSERT_TRUE(IsWindowVisible(overlay));
  SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(IsWindow(overlay) && IsWindowVisible(overlay));
  SetCursorPos(0, 0);
}

TEST_F(FrameParts, SystemColoursOfTheFormSectionAreConverted) {
  manager->SetSkinName(kOtherSkin);
  TFramedTestForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  // Options files give system colours as RGB already; a skin stored without one keeps the
  // system colour in its record.
  auto& t = const_cast<TsSkinTables&>(manager->Tables());
  t.Sections[size_t(t.IndexOfSection("FORM"))].Color = clBtnFace;
  SendMessageW(f->WindowHandle(), WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(p->FormColor() & 0xFF000000u);
  EXPECT_EQ(p->FormColor(), TColor(GetSysColor(COLOR_BTNFACE)));
}

// The client area and the background a child is given come from the "FORM" section composed
// over the whole window.
TEST_F(FrameParts, TheClientIsPaintedFromTheFormSection) {
  manager->SetSkinName(kOtherSkin);
  TFramedTestForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  HWND wnd = f->WindowHandle();
  const TsFrameGeometry g = p->Geometry();
  const TsSkinTables& t = manager->Tables();
  TzkBitmap expected(g.Width, g.Height);
  expected.Fill(0);
  TsBackgroundInfo bg;
  bg.Color = p->FormColor();
  PaintSectionByIndex(t.IndexOfSection("FORM"), "FORM", bg, -1, -1, &t, &expected, TPoint{0, 0},
                      TRect(0, 0, g.Width, g.Height), 1, true);
  const TzkBitmap client = Part(PrintWhole(wnd), g.Client);
  EXPECT_EQ(DifferencesIn(client, Part(expected, g.Client), TRect(0, 0, g.Client.Width(), g.Client.Height())), 0);
  // Really a gradient.
  EXPECT_TRUE(PixelOf(client, 5, 5) != PixelOf(client, 5, g.Client.Height() - 5) ||
              PixelOf(client, 5, 5) != PixelOf(client, g.Client.Width() - 5, 5));
  TsBackgroundRequest r;
  SendCommandToWindow(wnd, zcGetBackground, LPARAM(&r));
  ASSERT_EQ(r.BgType, btBitmap);
  EXPECT_EQ(r.Bitmap, p->FrameCache());
  EXPECT_EQ(r.X, g.Client.Left);
  EXPECT_EQ(r.Y, g.Client.Top);
  EXPECT_EQ(SendCommandToWindow(wnd, zcHasOwnBackground), 1);
}

TEST_F(FrameParts, TheTitleBarGlyphNeedsAnyTitleButtonNotTheCloseButton) {
  manager->SetSkinName(kOtherSkin);
  TFramedTestForm* f = ShowForm(TFormBorderStyle::bsSingle, 0);
  TsSkinProvider* p = ProviderOf(f);
  p->TitleButtons().Add();
  Pump();
  p->RenderCache();
  const TsFrameGeometry g = p->Geometry();
  ASSERT_FALSE(g.ButtonShown[tbkClose]);
  ASSERT_TRUE(g.CustomShown[0]);
  const TsSkinTables& t = manager->Tables();
  const int form = t.IndexOfSection("FORM");
  const TsMaskData& bar = t.Masks[size_t(t.IndexOfMask(form, "FORM", "TITLEBAR"))];
  const int w = bar.Rect.Width() / bar.ImageCount;
  TzkBitmap band(g.Width, g.TitleBand());
  band.Fill(0);
  PaintSectionByIndex(t.IndexOfSection("FORMTITLE"), "FORMTITLE", TsBackgroundInfo{}, -1, -1, &t, &band,
                      TPoint{0, 0}, TRect(0, 0, g.Width, g.TitleBand()), 1, true);
  TsBackgroundInfo bg;
  bg.Bitmap = &band;
  bg.IsBitmap = true;
  PaintGlyphMask(band, TPoint{g.Width - w, 0}, 1, bg, bar, true);
  const TRect strip(g.Width - w, 8, g.Width - 8, g.TitleBand() - 2);
  EXPECT_EQ(DifferencesIn(*p->FrameCache(), band, strip, g.Custom[0]), 0);
}

// [SECTION] Published properties

TEST_F(FrameParts, OnSkinItemOfTheProviderOutlivesTheSkin) {
  auto* f = Application->CreateForm<TEveryControlForm>();
  forms.push_back(f);
  ShowAndActivate(f);
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_TRUE(IsSkinnedWindow(f->plainButton->WindowHandle()));
  int asked = 0;
  p->OnSkinItem = [&](TControl* item, bool& canBeAdded, std::string&) {
    ++asked;
    if (item == f->plainButton) canBeAdded = false;
  };
  manager->SetActive(false);
  Pump();
  manager->SetActive(true);
  Pump();
  EXPECT_GT(asked, 0);
  EXPECT_FALSE(IsSkinnedWindow(f->plainButton->WindowHandle()));
}

TEST_F(FrameParts, ScreenSnapPutsTheFormOnTheWorkAreaEdge) {
  TFramedTestForm* f = ShowForm();
  TsSkinProvider* p = ProviderOf(f);
  HWND wnd = f->WindowHandle();
  MONITORINFO mi = {};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT a = mi.rcWork;
  auto placeAt = [&](int x, int y) {
    SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r;
    GetWindowRect(wnd, &r);
    return r;
  };
  RECT r = placeAt(a.left + 7, a.top + 9);
  EXPECT_EQ(r.left, a.left + 7);  // off: where it was put
  p->ScreenSnap = true;
  r = placeAt(a.left + 7, a.top + 9);
  EXPECT_EQ(r.left, a.left);
  EXPECT_EQ(r.top, a.top);
  r = placeAt(a.left + 40, a.top + 40);
  EXPECT_EQ(r.left, a.left + 40);  // beyond the buffer
  const int w = r.right - r.left, h = r.bottom - r.top;
  r = placeAt(a.right - w - 5, a.bottom - h - 3);
  EXPECT_EQ(r.right, a.right);
  EXPECT_EQ(r.bottom, a.bottom);
  p->SnapBuffer = 3;
  r = placeAt(a.left + 5, a.top + 60);
  EXPECT_EQ(r.left, a.left + 5);
}

TEST_F(FrameParts, AGripShowsAtTheBottomRightAndSizesTheForm) {
  TFramedTestForm* f = ShowForm(TFormBorderStyle::bsSizeable, biSystemMenu | biMinimize | biMaximize);
  TsSkinProvider* p = ProviderOf(f);
  HWND wnd = f->WindowHandle();
  TsFrameGeometry g = p->Geometry();
  const TPoint corner{g.Client.Right - 2, g.Client.Bottom - 2};
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, corner)), HTCLIENT);
  const TzkBitmap plain = Part(PrintWhole(wnd), g.Client);
  p->GripMode = TsGripMode::gmRightBottom;
  p->FrameChanged();
  Pump();
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, corner)), HTBOTTOMRIGHT);
  const TzkBitmap grip = Part(PrintWhole(wnd), g.Client);
  const TRect area(g.Client.Width() - 12, g.Client.Height() - 12, g.Client.Width(), g.Client.Height());
  EXPECT_GT(DifferencesIn(plain, grip, area), 0);
  EXPECT_EQ(DifferencesIn(plain, grip, TRect(0, 0, g.Client.Width() / 2, g.Client.Height() / 2)), 0);
  ShowWindow(wnd, SW_MAXIMIZE);
  Pump();
  g = p->Geometry();
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, TPoint{g.Client.Right - 2, g.Client.Bottom - 2})),
            HTCLIENT);
}

TEST_F(FrameParts, ResizeModeBorderMovesAndSizesByAnOutline) {
  TFramedTestForm* f = ShowForm(TFormBorderStyle::bsSizeable, biSystemMenu | biMinimize | biMaximize);
  TsSkinProvider* p = ProviderOf(f);
  p->ResizeMode = TsResizeMode::rmBorder;
  HWND wnd = f->WindowHandle();
  RECT before;
  GetWindowRect(wnd, &before);
  const TsFrameGeometry g = p->Geometry();
  // The drag: pointer messages wait in the queue for the outline's loop.
  auto drag = [&](WPARAM hit, TPoint from, int dx, int dy) {
    const LPARAM sp = ScreenPoint(wnd, from);
    POINT to = {GET_X_LPARAM(sp) + dx, GET_Y_LPARAM(sp) + dy};
    ScreenToClient(wnd, &to);
    PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    SendMessageW(wnd, WM_NCLBUTTONDOWN, hit, sp);
    Pump();
  };
  drag(HTCAPTION, TPoint{g.Width / 2, g.TitleBand() / 2}, 30, 20);
  RECT r;
  GetWindowRect(wnd, &r);
  EXPECT_EQ(r.left, before.left + 30);
  EXPECT_EQ(r.top, before.top + 20);
  EXPECT_EQ(r.right - r.left, before.right - before.left);
  drag(HTBOTTOMRIGHT, TPoint{g.Width - 1, g.Height - 1}, 25, 15);
  RECT s;
  GetWindowRect(wnd, &s);
  EXPECT_EQ(s.left, r.left);
  EXPECT_EQ(s.right - s.left, r.right - r.left + 25);
  EXPECT_EQ(s.bottom - s.top, r.bottom - r.top + 15);
  // Escape ends the drag where it began.
  const LPARAM sp = ScreenPoint(wnd, TPoint{g.Width / 2, g.TitleBand() / 2});
  PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(g.Width / 2, 10));
  PostMessageW(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, sp);
  Pump();
  RECT e;
  GetWindowRect(wnd, &e);
  EXPECT_EQ(e.left, s.left);
  EXPECT_EQ(e.top, s.top);
  EXPECT_NE(GetCapture(), wnd);
}

TEST_F(FrameParts, TitleIconAndAddedTitleAreDrawnInTheTitle) {
  TFramedTestForm* f = ShowForm();
  f->SetCaption(L"Short");
  Pump();
  TsSkinProvider* p = ProviderOf(f);
  p->RenderCache();
  const TzkBitmap before = Part(*p->FrameCache(), TRect(0, 0, p->FrameCache()->Width(), p->FrameCache()->Height()));
  p->TitleIcon.Glyph.SetSize(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) p->TitleIcon.Glyph.ScanLine(y)[x] = x < 8 ? 0x0000FF : 0xFF00FF;
  p->TitleIcon.Width = 12;
  p->TitleIcon.Height = 12;
  p->AddedTitle.Text = L"and more, and more, and more";
  p->AddedTitle.Font.SetColor(clNone);
  p->FrameChanged();
  p->RenderCache();
  const TsFrameGeometry g = p->Geometry();
  EXPECT_EQ(g.Icon.Width(), 12);
  EXPECT_EQ(g.Icon.Height(), 12);
  const TzkBitmap& now = *p->FrameCache();
  EXPECT_EQ(PixelOf(now, g.Icon.Left + 2, g.Icon.Top + 2), RGBColor(0, 0, 0xFF));
  // The magenta half shows the title behind it.
  EXPECT_NE(PixelOf(now, g.Icon.Left + 10, g.Icon.Top + 2), RGBColor(0xFF, 0, 0xFF));
  // The added text lies right of the caption.
  const int right = g.Caption.Left + 60;
  EXPECT_GT(DifferencesIn(before, now, TRect(right, g.Caption.Top, g.Caption.Right, g.Caption.Bottom)), 0);
}

}  // namespace

class ExtHitTest : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    manager = MakeDefaultSkinManager([](TsSkinManager& m) { m.SetExtendedBorders(true); });
  }
};

TEST_F(ExtHitTest, TheBorderWindowAsksTheFormsHandlerFirst) {
  ASSERT_TRUE(manager->ExtendedBorders());
  auto* form = Keep(Application->CreateForm<TFramedTestForm>(L"Bordered"));
  form->SetBounds(150, 120, 300, 200);
  form->Show();
  SetForegroundWindow(form->Handle());
  Pump();
  TsSkinProvider* p = ProviderOf(form);
  ASSERT_NE(p, nullptr);
  ASSERT_NE(p->ExtBorder(), nullptr);
  HWND border = p->ExtBorder()->Window();
  EXPECT_EQ(SendMessageW(border, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  int asked = 0;
  p->OnExtHitTest = [&](TMessage& m) {
    ++asked;
    m.Result = asked == 1 ? HTCAPTION : 0;
  };
  manager->SetSkinName(kInternalSkinName);  // set up again with the handler
  Pump();
  ASSERT_NE(p->ExtBorder(), nullptr);
  border = p->ExtBorder()->Window();
  EXPECT_FALSE(GetWindowLongW(border, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  EXPECT_EQ(SendMessageW(border, WM_NCHITTEST, 0, 0), HTCAPTION);
  EXPECT_EQ(SendMessageW(border, WM_NCHITTEST, 0, 0), HTTRANSPARENT);  // 0 lets it through
  EXPECT_EQ(asked, 2);
}

// [SECTION] The main window through the tray menu's skins

namespace {

// What the main window shows, with its time-limit dialog shown after the switch and the list's
// popup menu opened.
struct TMainLook {
  TFormLook Form;
  TFormLook Dialog;
  TzkBitmap Menu;
};

// The first popup menu window while `open` runs its menu loop.
TzkBitmap CaptureMenu(const std::function<void()>& open) {
  static TzkBitmap shot;
  shot = TzkBitmap();
  const UINT_PTR timer = SetTimer(nullptr, 0, 80, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    shot = WindowOnScreen(menu);
    EndMenu();
  });
  open();
  KillTimer(nullptr, timer);
  Pump();
  return std::move(shot);
}

class MainWindowSkins : public ::testing::Test, protected TMainWindowParts {
 protected:
  void SetUp() override {
    WriteTurnedSkin(folder.Path() + L"Skins\\");
    // Enough rows for the list's scroll bar; the test clock never moves, so no text changes.
    std::wstring text = L"12/9/2025 11:00:00 AM\r\n";
    for (int i = 0; i < 30; ++i)
      text += L"Task " + std::to_wstring(i) + L"<#>12/9/2025 11:00:00 AM<#>notend<#>false<#>notime<#>" +
              std::to_wstring(i % 3) + L"\r\n";
    WriteBytes(folder.Path() + L"save.txt", WideToUtf8(text));
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    delete dialog;
    delete form;
    Pump();
  }

  void Open() {
    form = CreateMainForm(false);
    dialog = Application->CreateForm<TForm2>(form);
    form->TimeLimitDialog = dialog;
    form->sGroupBox1->SetCaption(TForm1::kQuotations[0]);  // the same quotation on every start
    ShowAndActivate(form);
  }
  void Close() {
    delete dialog;
    dialog = nullptr;
    delete form;
    form = nullptr;
    Pump();
  }
  void Choose(const std::string& name) {
    const std::vector<TSkinChoice> choices = form->SkinSwitcher().Choices();
    const int i = IndexOfSkinChoice(choices, name);
    ASSERT_GE(i, 0) << name;
    form->SkinSwitcher().ChooseSkin(choices[size_t(i)]);
    ASSERT_EQ(form->sSkinManager1->SkinName(), name);
    Pump();
  }
  // The look after the controls settled, with the focus on the add button (an edit's caret
  // blinks) and the dialog shown for its picture and hidden again.
  TMainLook Look() {
    form->Timer1Timer(nullptr);  // the clock and the elapsed times as every later tick shows them
    form->sButton1->SetFocus();
    SettleForm(form);
    TMainLook look;
    look.Form = LookOf(form, {form->sGroupBox1, form->sListView1, form->sEdit1, form->sButton1, form->sButton2});
    look.Menu = CaptureMenu([&] { form->PopupMenu1->Popup(300, 300); });
    ShowAndActivate(dialog);
    SettleForm(dialog);
    look.Dialog = LookOf(dialog, {dialog->sDecimalSpinEdit1, dialog->sDecimalSpinEdit2, dialog->sButton1});
    dialog->Hide();
    ShowAndActivate(form);
    return look;
  }

  TForm1* form = nullptr;
  TForm2* dialog = nullptr;
};

TEST_F(MainWindowSkins, EachSkinLooksOnTheLiveWindowAsOnAFreshStart) {
  const std::string skins[] = {kNightSkinName, kOtherSkin, kInternalSkinName};
  std::vector<TMainLook> live;
  Open();
  ASSERT_EQ(form->sSkinManager1->SkinName(), kInternalSkinName);
  const TMainLook first = Look();
  for (const std::string& skin : skins) {
    Choose(skin);
    live.push_back(Look());
    // The dialog's captions keep their own dark colour only where it reads.
    EXPECT_EQ(dialog->sDecimalSpinEdit1->BoundLabel().UseSkinColor(), skin == kNightSkinName) << skin;
  }
  Close();
  for (size_t i = 0; i < live.size(); ++i) {
    SCOPED_TRACE(skins[i]);
    // The choice is kept in the settings file: the next start comes up with it.
    WriteBytes(folder.Path() + L"settings.ini", "Skin=" + skins[i] + "\r\n");
    Open();
    ASSERT_EQ(form->sSkinManager1->SkinName(), skins[i]);
    const TMainLook fresh = Look();
    ExpectSameLook(live[i].Form, fresh.Form, "main window");
    ExpectSameLook(live[i].Dialog, fresh.Dialog, "time-limit dialog");
    ASSERT_FALSE(fresh.Menu.Empty());
    EXPECT_EQ(DifferentPixels(live[i].Menu, fresh.Menu), 0) << "menu";
    if (i == 0) {
      EXPECT_GT(DifferentPixels(first.Form.Controls[1], fresh.Form.Controls[1]), 0) << "Night really differs";
      EXPECT_GT(DifferentPixels(first.Menu, fresh.Menu), 0) << "Night's menu really differs";
    }
    Close();
  }
}

// The skin menu's item of that caption, made as when the tray menu opens.
TMenuItem* SkinMenuItem(TForm1* form, const std::wstring& caption) {
  form->PopupMenu2Popup(nullptr);
  for (int i = 0; i < form->N10->Count(); ++i)
    if (form->N10->Items(i)->Caption() == caption) return form->N10->Items(i);
  return nullptr;
}

TEST_F(MainWindowSkins, ASkinThatCannotBeUsedIsReportedAndTheSkinShownStays) {
  const std::wstring skins = folder.Path() + L"Skins\\";
  WriteBytes(skins + L"Broken.qvz", "this is no skin archive");
  std::filesystem::create_directories(std::filesystem::path(skins + L"Bare"));
  WriteBytes(skins + L"Bare\\Options.dat", ReadBytes(skins + Utf8ToWide(kOtherSkin) + L"\\Options.dat"));
  std::filesystem::create_directories(std::filesystem::path(skins + L"Empty"));
  WriteBytes(skins + L"Empty\\Options.dat", "\x01\x02 garbage\r\n");
  Open();
  Choose(kNightSkinName);
  const std::string settings = ReadBytes(folder.Path() + L"settings.ini");
  const TMainLook before = Look();
  TErrorCatcher errors;
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"Broken", "not packed"}, {L"Bare", "MASTERBITMAP"}, {L"Empty", "GLOBALINFO"}};
  for (const auto& [name, why] : cases) {
    SCOPED_TRACE(WideToUtf8(name));
    TMenuItem* item = SkinMenuItem(form, name);
    ASSERT_NE(item, nullptr);
    const size_t told = errors.messages.size();
    item->Click();
    Pump();
    ASSERT_EQ(errors.messages.size(), told + 1);
    EXPECT_NE(errors.messages.back().find("\"" + WideToUtf8(name) + "\" cannot be used"), std::string::npos)
        << errors.messages.back();
    EXPECT_NE(errors.messages.back().find(why), std::string::npos) << errors.messages.back();
    EXPECT_EQ(form->sSkinManager1->SkinName(), kNightSkinName);
    EXPECT_TRUE(form->sSkinManager1->SkinData().Active);
  }
  ExpectSameLook(Look().Form, before.Form, "after the failures");
  EXPECT_EQ(ReadBytes(folder.Path() + L"settings.ini"), settings);
  // A skin file damaged after it was chosen: a hue change reloads it, fails and keeps it all.
  Choose(kOtherSkin);
  const int hue = form->sSkinManager1->HueOffset();
  std::filesystem::remove_all(std::filesystem::path(skins + Utf8ToWide(kOtherSkin)));
  WriteBytes(skins + Utf8ToWide(kOtherSkin) + L".qvz", "damaged since");
  EXPECT_THROW(form->SkinSwitcher().ChooseHue(120), std::exception);
  EXPECT_EQ(form->sSkinManager1->HueOffset(), hue);
  EXPECT_EQ(form->sSkinManager1->SkinName(), kOtherSkin);
  EXPECT_TRUE(form->sSkinManager1->SkinData().Active);
}

TEST_F(MainWindowSkins, AThousandSwitchesLeaveNoObjectsBehind) {
  Open();
  form->sSkinManager1->AnimEffects().SkinChanging.Active = false;
  Choose(kNightSkinName);
  Choose(kInternalSkinName);
  {
    TLeakCheck leaks(8);
    for (int i = 0; i < 500; ++i) {
      Choose(kNightSkinName);
      Choose(kInternalSkinName);
    }
  }
}

// The platform's app-mode value, set for a test and put back as it was.
class TAppMode {
 public:
  TAppMode() { had_ = Read(old_); }
  ~TAppMode() {
    if (had_)
      Set(old_ != 0);
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme");
  }
  static void Set(bool light) {
    const DWORD v = light ? 1 : 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme", REG_DWORD, &v, sizeof v);
  }

 private:
  static bool Read(DWORD& v) {
    DWORD size = sizeof v;
    return RegGetValueW(HKEY_CURRENT_USER, kKey, L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &v, &size) ==
           ERROR_SUCCESS;
  }
  static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
  DWORD old_ = 1;
  bool had_ = false;
};

TEST_F(MainWindowSkins, AsInWindowsFollowsThePlatformsAppMode) {
  TAppMode mode;
  TAppMode::Set(false);
  Open();
  SkinMenuItem(form, L"Как в Windows")->Click();
  Pump();
  EXPECT_EQ(form->sSkinManager1->SkinName(), kNightSkinName);
  EXPECT_TRUE(SkinMenuItem(form, L"Как в Windows")->Checked());
  EXPECT_FALSE(SkinMenuItem(form, Utf8ToWide(kNightSkinName))->Checked());
  TAppMode::Set(true);
  const auto tell = [](const wchar_t* area) {
    SendMessageW(Application->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(area));
    Pump();
  };
  tell(L"Policy");
  EXPECT_EQ(form->sSkinManager1->SkinName(), kNightSkinName) << "another setting changed";
  tell(L"ImmersiveColorSet");
  EXPECT_EQ(form->sSkinManager1->SkinName(), kInternalSkinName);
  // Kept: the next start follows the mode of that moment.
  Close();
  TAppMode::Set(false);
  Open();
  EXPECT_EQ(form->sSkinManager1->SkinName(), kNightSkinName);
  // A skin chosen by name ends the following.
  SkinMenuItem(form, Utf8ToWide(kInternalSkinName))->Click();
  Pump();
  tell(L"ImmersiveColorSet");
  EXPECT_EQ(form->sSkinManager1->SkinName(), kInternalSkinName);
}

}  // namespace
