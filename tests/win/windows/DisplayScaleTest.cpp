// The skin at display scales through real windows: the manager's scaled tables and their
// cache, form and dialog frames laid out at 100, 125, 150 and 200 % with every title button
// hit where it is painted, scroll-bar parts hit where they are painted, frame images at 200 %
// as the 100 % ones replicated, menu items measured in the scaled font, the frame's and the
// dialog's notices of a new DPI, and the objects left after many scale changes.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SkinnedFormSupport.h"
#include "WinTestSupport.h"
#include "controls/SkinnedControlsSupport.h"
#include "skin/controls/zkScrollWnd.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkImageScale.h"
#include "skin/paint/zkMenuLayout.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/zkDialogWnd.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "toolkit/Messages.h"

namespace {

constexpr int kScales[] = {96, 120, 144, 192};
constexpr int kHitCodes[kTitleButtonCount] = {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP};

TPoint Centre(const TRect& r) { return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

LRESULT HitTest(HWND wnd, TPoint windowPoint) {
  RECT r;
  GetWindowRect(wnd, &r);
  return SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left + windowPoint.X, r.top + windowPoint.Y));
}

// A sizable form with every standard title button.
class TSizableForm : public TForm {
 public:
  explicit TSizableForm(TComponent* owner) : TForm(owner) {
    SetBorderStyle(TFormBorderStyle::bsSizeable);
    SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    SetCaption(L"Vornik Desktop at any scale");
  }
  const wchar_t* ClassName() const override { return L"TSizableForm"; }
};

// A dialog template in memory with no items.
std::vector<WORD> DialogTemplate(DWORD style, const wchar_t* caption) {
  std::vector<WORD> t = {LOWORD(style), HIWORD(style), 0, 0, 0, 10, 10, 200, 100, 0, 0};
  for (const wchar_t* c = caption; *c; ++c) t.push_back(WORD(*c));
  t.push_back(0);
  return t;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// What a window with skinned bars was told to scroll, by bar.
struct TScrolls {
  std::vector<int> vertical;
};
TScrolls g_scrolls;

LRESULT CALLBACK ScrolledProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_VSCROLL) g_scrolls.vertical.push_back(LOWORD(wParam));
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND NewScrolledWindow(int width, int height) {
  static const wchar_t kClass[] = L"VornikScaleScrolled";
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ScrolledProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    registered = RegisterClassW(&wc) != 0;
  }
  return CreateWindowExW(WS_EX_TOPMOST, kClass, L"scrolled", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL,
                         40, 40, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The bounding box of the pixels that differ between two images of one size.
TRect DiffBox(const TzkBitmap& a, const TzkBitmap& b) {
  TRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelOf(a, x, y) != PixelOf(b, x, y)) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box.Left == INT_MAX ? TRect() : box;
}

// Pixels of `big` that are not the pixel of `small` they replicate (n x n), counted over the
// pixels of `small` that `take` accepts.
template <typename Take>
int NotReplicated(const TzkBitmap& small, const TRect& from, const TzkBitmap& big, TPoint to, int n, Take take) {
  int wrong = 0;
  for (int y = 0; y < from.Height(); ++y)
    for (int x = 0; x < from.Width(); ++x) {
      if (!take(x, y)) continue;
      const TColor want = PixelOf(small, from.Left + x, from.Top + y);
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) wrong += PixelOf(big, to.X + n * x + i, to.Y + n * y + j) != want;
    }
  return wrong;
}

// The state frame of an image painted on its own over a solid colour.
TzkBitmap GlyphOn(const TsMaskData& m, int state, TColor under) {
  TzkBitmap out = NewDeviceBitmap24(std::max(1, FrameWidth(m)), std::max(1, FrameHeight(m)));
  FillSolid(out, TRect(0, 0, out.Width(), out.Height()), under);
  TsBackgroundInfo bg;
  bg.Color = under;
  PaintGlyphMask(out, TPoint{0, 0}, state, bg, m, true);
  return out;
}

// A nine-part border image painted over a solid colour at its frame size and n times that.
TzkBitmap BorderOn(const TsMaskData& m, int n, int state, TColor under) {
  const int w = n * std::max(2, FrameWidth(m)), h = n * std::max(2, FrameHeight(m));
  TzkBitmap out = NewDeviceBitmap24(w, h);
  FillSolid(out, TRect(0, 0, w, h), under);
  TsBackgroundInfo bg;
  bg.Color = under;
  PaintBorderMask(out, TRect(0, 0, w, h), true, true, state, m, bg);
  return out;
}

class DisplayScale : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    manager = MakeDefaultSkinManager();
    ASSERT_TRUE(manager->SkinData().Active);
    ASSERT_EQ(manager->PixelsPerInch(), kDesignDpi) << "the tests' display is at 100 %";
    SetCursorPos(0, 0);
  }
  void TearDown() override {
    for (HWND d : dialogs)
      if (IsWindow(d)) DestroyWindow(d);
    Pump();
    SkinnedFormsFixture::TearDown();
  }
  TSizableForm* ShowSizable(int dpi) {
    auto* f = Keep(Application->CreateForm<TSizableForm>());
    f->SetBounds(60, 60, ScaleForDpi(360, dpi), ScaleForDpi(220, dpi));
    ShowAndActivate(f);
    return f;
  }
  // A modeless sizable dialog with every title button, skinned by the hook when activated.
  HWND OpenDialog() {
    const std::vector<WORD> t = DialogTemplate(
        WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
        L"Dialog at any scale");
    HWND d = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(t.data()),
                                        nullptr, QuietDialog, 0);
    dialogs.push_back(d);
    SetWindowPos(d, HWND_TOP, 500, 80, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(d);
    SetActiveWindow(d);
    Pump();
    return d;
  }
  static TzkDialogWnd* DialogAdapterOf(HWND d) { return dynamic_cast<TzkDialogWnd*>(TzkMainWnd::FromWindow(d)); }
  int Percent() const { return ScalePercentOf(manager->PixelsPerInch()); }

  // The frame around the client area is the platform's frame at the scale.
  void ExpectFrameAt(HWND wnd, const TzkTitleGeometry& g, int dpi) {
    EXPECT_EQ(g.W0, MetricForDpi(SM_CXFRAME, dpi));
    EXPECT_EQ(g.H, MetricForDpi(SM_CYCAPTION, dpi));
    const TRect c = ClientRectInWindow(wnd);
    EXPECT_EQ(c.Left, g.W0);
    EXPECT_EQ(c.Top, g.TitleBand());
    EXPECT_EQ(g.Width - c.Right, g.W0);
    EXPECT_EQ(g.Height - c.Bottom, g.W0);
  }

  // Every shown standard button is as large as its glyph's frame at the scale, the cache
  // shows its glyph exactly there over the saved band, and the pointer hits it exactly
  // there: its corners and centre answer its code, the pixels beside it do not. Where a
  // skin's negative spacing makes neighbours overlap, the one painted later (to the left)
  // shows and is hit.
  template <typename ButtonOf>
  void ExpectButtonsHitWherePainted(HWND wnd, const TzkTitleGeometry& g, ButtonOf button, const TzkBitmap& cache,
                                    const TzkBitmap& band) {
    const TsSkinTables& t = manager->Tables();
    const TsSkinTables& loaded = manager->LoadedTables();
    TzkBitmap want = NewDeviceBitmap24(band.Width(), band.Height());
    CopyRect(want, 0, 0, band, TRect(0, 0, band.Width(), band.Height()));
    TsBackgroundInfo bg;
    bg.Bitmap = &want;
    bg.IsBitmap = true;
    std::vector<int> shown;
    for (int k = 0; k < kTitleButtonCount; ++k) {
      if (!g.ButtonShown[size_t(k)]) continue;
      shown.push_back(k);
      SCOPED_TRACE(k);
      const TRect r = g.Buttons[size_t(k)];
      const TzkTitleButton& b = button(k);
      ASSERT_TRUE(t.IsValidMask(b.GlyphIndex));
      EXPECT_EQ(r.Width(), ScaleLength(loaded.FrameWidth(b.GlyphIndex), Percent()));
      EXPECT_EQ(b.Rect, r) << "painted where it is laid out";
      EXPECT_EQ(b.State, kButtonNormal);
      PaintGlyphMask(want, TPoint{r.Left, r.Top}, b.State, bg, t.Masks[size_t(b.GlyphIndex)], true);
    }
    ASSERT_EQ(shown.size(), 3u);
    int wrong = 0;
    for (int k : shown) {
      const TRect& r = g.Buttons[size_t(k)];
      for (int y = r.Top; y < std::min(r.Bottom, band.Height()); ++y)
        for (int x = r.Left; x < r.Right; ++x) wrong += PixelOf(cache, x, y) != PixelOf(want, x, y);
    }
    EXPECT_EQ(wrong, 0);
    for (int k : shown) {
      SCOPED_TRACE(k);
      const TRect r = g.Buttons[size_t(k)];
      int ownLeft = r.Left;
      for (int later : shown)
        if (later > k && g.Buttons[size_t(later)].Right > r.Left && g.Buttons[size_t(later)].Left < r.Left)
          ownLeft = g.Buttons[size_t(later)].Right;
      for (TPoint p : {TPoint{ownLeft, r.Top}, Centre(r), TPoint{r.Right - 1, r.Bottom - 1}})
        EXPECT_EQ(HitTest(wnd, p), kHitCodes[k]) << p.X << "," << p.Y;
      EXPECT_NE(HitTest(wnd, TPoint{r.Right, r.Top + r.Height() / 2}), kHitCodes[k]);
      EXPECT_NE(HitTest(wnd, TPoint{ownLeft - 1, r.Top + r.Height() / 2}), kHitCodes[k]);
      EXPECT_NE(HitTest(wnd, TPoint{Centre(r).X, r.Bottom}), kHitCodes[k]);
    }
    HitTest(wnd, Centre(g.Caption));  // no button stays hot
  }

  // The caption rectangle holds the caption as the scaled caption font measures it.
  static void ExpectCaptionFits(const TzkTitleGeometry& g, const std::wstring& text, int dpi) {
    TWindowDc screen(nullptr);
    TFontHandle font(NewCaptionFont(dpi));
    TSelectObject selected(screen.Get(), font.Get());
    RECT m = {0, 0, 0, 0};
    DrawTextW(screen.Get(), text.c_str(), int(text.size()), &m, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_GE(g.Caption.Width(), m.right);
    EXPECT_GE(g.Caption.Bottom - std::max(0, g.Caption.Top), m.bottom);
  }

  std::vector<HWND> dialogs;
};

// [SECTION] The manager's scale

TEST_F(DisplayScale, TheManagerAnswersTheSkinScaledMadeOncePerSkinAndScale) {
  const TsSkinTables& loaded = manager->LoadedTables();
  EXPECT_EQ(&manager->Tables(), &loaded) << "100 %: no copy";
  EXPECT_EQ(manager->ScaledTableCount(), 0u);
  manager->SetPixelsPerInch(192);
  const TsSkinTables* at200 = &manager->Tables();
  EXPECT_NE(at200, &loaded);
  EXPECT_EQ(manager->SkinData().TitleHeight, 2 * loaded.SkinData.TitleHeight);
  EXPECT_TRUE(manager->SkinData().Active);
  EXPECT_EQ(manager->Tables().Sections.size(), loaded.Sections.size());
  const int close = loaded.IndexOfMask(loaded.CachedIndexes.GlobalInfo, "GLOBALINFO", "BICONCLOSE");
  ASSERT_GE(close, 0);
  EXPECT_EQ(manager->Tables().FrameWidth(close), 2 * loaded.FrameWidth(close));
  manager->SetPixelsPerInch(144);
  EXPECT_EQ(manager->ScaledTableCount(), 2u);
  manager->SetPixelsPerInch(192);
  EXPECT_EQ(&manager->Tables(), at200) << "kept since its first use";
  EXPECT_EQ(manager->ScaledTableCount(), 2u);
  manager->SetPixelsPerInch(96);
  EXPECT_EQ(&manager->Tables(), &loaded);
  // A new skin drops every scaled copy; the current scale is made again for it.
  manager->SetPixelsPerInch(120);
  manager->SetSkinName(kInternalSkinName);
  EXPECT_EQ(manager->ScaledTableCount(), 1u);
  EXPECT_EQ(manager->PixelsPerInch(), 120) << "a scale that was set stays through a new skin";
  // Scales outside what skins are made for are held to 100..400 %.
  manager->SetPixelsPerInch(48);
  EXPECT_EQ(manager->PixelsPerInch(), 96);
  manager->SetPixelsPerInch(960);
  EXPECT_EQ(manager->PixelsPerInch(), 384);
}

// [SECTION] Frames and title buttons at every scale

TEST_F(DisplayScale, FormFramesTakeTheScaledGeometryAndHitTheirButtonsWherePainted) {
  TSizableForm* f = nullptr;
  for (int dpi : kScales) {
    SCOPED_TRACE(dpi);
    manager->SetPixelsPerInch(dpi);
    if (!f) f = ShowSizable(dpi);
    f->SetBounds(60, 60, ScaleForDpi(360, dpi), ScaleForDpi(220, dpi));
    Pump();
    TsSkinProvider* p = ProviderOf(f);
    ASSERT_NE(p, nullptr);
    p->RenderCache();
    const TsFrameGeometry g = p->Geometry();
    ExpectFrameAt(f->WindowHandle(), g, dpi);
    ASSERT_NE(p->FrameCache(), nullptr);
    ASSERT_NE(p->TitleBand(), nullptr);
    EXPECT_EQ(p->FrameCache()->Width(), g.Width);
    EXPECT_EQ(p->TitleBand()->Height(), g.TitleBand());
    ExpectButtonsHitWherePainted(f->WindowHandle(), g, [&](int k) -> const TzkTitleButton& { return p->Button(k); },
                                 *p->FrameCache(), *p->TitleBand());
    const int icon = ScaleForDpi(16, dpi);
    EXPECT_EQ(g.Icon.Width(), icon);
    EXPECT_EQ(HitTest(f->WindowHandle(), Centre(g.Icon)), HTSYSMENU);
    ExpectCaptionFits(g, f->Caption(), dpi);
  }
}

TEST_F(DisplayScale, DialogFramesTakeTheScaledGeometryAndHitTheirButtonsWherePainted) {
  HWND d = OpenDialog();
  TzkDialogWnd* a = DialogAdapterOf(d);
  ASSERT_NE(a, nullptr);
  RECT at100;
  GetWindowRect(d, &at100);
  for (int dpi : kScales) {
    SCOPED_TRACE(dpi);
    manager->SetPixelsPerInch(dpi);
    // As large as the platform makes it at the scale.
    SetWindowPos(d, nullptr, 0, 0, ScaleForDpi(at100.right - at100.left, dpi),
                 ScaleForDpi(at100.bottom - at100.top, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    ASSERT_EQ(DialogAdapterOf(d), a);
    a->RenderCache();
    const TzkTitleGeometry g = a->Geometry();
    ExpectFrameAt(d, g, dpi);
    ASSERT_NE(a->FrameCache(), nullptr);
    ASSERT_NE(a->TitleBar().Band(), nullptr);
    ExpectButtonsHitWherePainted(d, g, [&](int k) -> const TzkTitleButton& { return a->TitleBar().Button(k); },
                                 *a->FrameCache(), *a->TitleBar().Band());
    EXPECT_EQ(g.Icon.Width(), MetricForDpi(SM_CXSMICON, dpi));
    EXPECT_EQ(HitTest(d, Centre(g.Icon)), HTSYSMENU);
    ExpectCaptionFits(g, L"Dialog at any scale", dpi);
  }
}

// [SECTION] Scroll bars at every scale

// Every part of a vertical bar: painted in its pressed or hot look exactly over the part's
// rectangle, and a press at the part's centre scrolls by the part's code.
TEST_F(DisplayScale, ScrollBarPartsAreHitWhereTheyArePainted) {
  for (int dpi : kScales) {
    SCOPED_TRACE(dpi);
    manager->SetPixelsPerInch(dpi);
    HWND wnd = NewScrolledWindow(ScaleForDpi(200, dpi), ScaleForDpi(240, dpi));
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 99, 20, 40, 0};
    SetScrollInfo(wnd, SB_VERT, &si, FALSE);
    auto a = TzkMainWnd::Attach<TzkScrollWnd>(wnd, true, "EDIT", manager.get());
    ASSERT_TRUE(a->VertBar().Shown);
    const int thick = MetricForDpi(SM_CXVSCROLL, dpi);
    EXPECT_EQ(a->VertBar().Thickness(), thick);
    RECT client;
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, ScaleForDpi(200, dpi) - 2 - thick);
    EXPECT_EQ(client.bottom, ScaleForDpi(240, dpi) - 2 - MetricForDpi(SM_CYHSCROLL, dpi));

    const TRect bar = a->BarRect(SB_VERT);
    const TzkBarMetrics m = a->VertBar().Metrics(bar, &manager->Tables());
    EXPECT_EQ(m.MinThumb, ScaleForDpi(10, dpi));
    const TzkThumb thumb = ThumbGeometry(m, a->VertBar().Info);
    ASSERT_TRUE(HasThumb(m, thumb));
    const int B = m.Button, L = m.Length;
    struct TPart {
      int code;
      int from, to;  // along the bar
    } parts[] = {{bpFirstArrow, 0, B},
                 {bpSecondArrow, L - B, L},
                 {bpTrackBefore, B, thumb.Start},
                 {bpTrackAfter, thumb.Start + thumb.Length, L - B},
                 {bpThumb, thumb.Start, thumb.Start + thumb.Length}};
    TzkBitmap plain;
    a->RenderBar(SB_VERT, plain, bpNone, bpNone, -1);
    for (const TPart& part : parts) {
      SCOPED_TRACE(part.code);
      ASSERT_LT(part.from, part.to);
      const TRect painted(0, part.from, bar.Width(), part.to);
      if (part.code == bpFirstArrow || part.code == bpSecondArrow || part.code == bpThumb) {
        TzkBitmap look;
        a->RenderBar(SB_VERT, look, part.code == bpThumb ? bpThumb : bpNone, part.code == bpThumb ? bpNone : part.code, -1);
        const TRect diff = DiffBox(plain, look);
        EXPECT_FALSE(diff.IsEmpty());
        EXPECT_GE(diff.Top, painted.Top);
        EXPECT_LE(diff.Bottom, painted.Bottom);
      }
      const TPoint at{bar.Left + bar.Width() / 2, bar.Top + (part.from + part.to) / 2};
      EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(at.X, at.Y)), HTVSCROLL);
      EXPECT_EQ(PartAt(m, thumb, at.Y - bar.Top), part.code);
      if (part.code == bpThumb) continue;
      g_scrolls = TScrolls();
      SendMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(at.X, at.Y));
      SendMessageW(wnd, WM_LBUTTONUP, 0, 0);
      ASSERT_FALSE(g_scrolls.vertical.empty());
      EXPECT_EQ(g_scrolls.vertical.front(), part.code);
    }
    a.reset();
    DestroyWindow(wnd);
  }
}

// [SECTION] Frame images at 200 %

// Everything the frame draws from an image is, at 200 %, the 100 % image replicated 2 x 2:
// the border images of the form, its title and dialogs, every title-button glyph in every
// state, the scroll-bar arrows' and thumb's borders and glyphs. Gradients and the stretched
// middles of a border longer than its image are computed anew at each scale instead; they
// are held to their geometry by the tests above.
TEST_F(DisplayScale, FrameImagesAtTwoHundredPercentAreTheirOwnReplication) {
  const TsSkinTables& loaded = manager->LoadedTables();
  manager->SetPixelsPerInch(192);
  const TsSkinTables& t = manager->Tables();
  const int global = loaded.CachedIndexes.GlobalInfo;
  std::vector<int> glyphs, borders;
  for (const char* key : {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONCLOSE", "SICONMAX",
                          "SICONMIN", "SICONNORM", "TITLEBUTTON"})
    if (const int i = loaded.IndexOfMask(global, "GLOBALINFO", key); i >= 0) glyphs.push_back(i);
  for (const char* section : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERV",
                              "SCROLLSLIDERH"})
    if (const int i = loaded.IndexOfMaskExact(section, "GLYPHMASK"); i >= 0) glyphs.push_back(i);
  for (const char* section : {"FORM", "FORMTITLE", "DIALOG", "SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT",
                              "SCROLLBTNRIGHT", "SCROLLSLIDERV", "SCROLLSLIDERH"})
    if (const int s = loaded.IndexOfSection(section); s >= 0 && loaded.IsValidMask(loaded.Sections[size_t(s)].BorderIndex))
      borders.push_back(loaded.Sections[size_t(s)].BorderIndex);
  EXPECT_GE(glyphs.size(), 8u);
  EXPECT_GE(borders.size(), 6u);
  auto all = [](int, int) { return true; };
  for (int i : glyphs) {
    const TsMaskData& small = loaded.Masks[size_t(i)];
    for (int state = 0; state < std::max<int>(1, small.ImageCount); ++state) {
      SCOPED_TRACE(small.SectionName + "/" + small.PropertyName + " state " + std::to_string(state));
      const TzkBitmap a = GlyphOn(small, state, 0x336699), b = GlyphOn(t.Masks[size_t(i)], state, 0x336699);
      ASSERT_EQ(b.Width(), 2 * a.Width());
      EXPECT_EQ(NotReplicated(a, TRect(0, 0, a.Width(), a.Height()), b, TPoint{0, 0}, 2, all), 0);
    }
  }
  for (int i : borders) {
    const TsMaskData& small = loaded.Masks[size_t(i)];
    for (int state = 0; state < 2; ++state) {
      SCOPED_TRACE(small.SectionName + "/" + small.PropertyName + " state " + std::to_string(state));
      const TzkBitmap a = BorderOn(small, 1, state, 0x336699), b = BorderOn(t.Masks[size_t(i)], 1, state, 0x336699);
      ASSERT_EQ(b.Width(), 2 * a.Width());
      EXPECT_EQ(NotReplicated(a, TRect(0, 0, a.Width(), a.Height()), b, TPoint{0, 0}, 2, all), 0);
    }
  }
}

// The same in a real frame: the title buttons' glyphs in the frame cache of a form at 200 %
// (twice as large) are those at 100 % replicated, wherever the glyph covers the band (the
// band under it is a gradient, computed anew for the larger window).
TEST_F(DisplayScale, TheTitleButtonsOfAFrameAtTwoHundredPercentAreThoseAtOneHundredReplicated) {
  TSizableForm* f = ShowSizable(96);
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  auto snapshot = [&] {
    p->InvalidateFrame(false);
    p->RenderCache();
    return std::make_pair(p->Geometry(), p->FrameCache()->Clone());
  };
  const auto [g1, cache1] = snapshot();
  manager->SetPixelsPerInch(192);
  f->SetBounds(60, 60, 2 * g1.Width, 2 * g1.Height);
  Pump();
  const auto [g2, cache2] = snapshot();
  const TsSkinTables& loaded = manager->LoadedTables();
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(g1.ButtonShown[size_t(k)] && g2.ButtonShown[size_t(k)]);
    const TRect r1 = g1.Buttons[size_t(k)], r2 = g2.Buttons[size_t(k)];
    EXPECT_EQ(r2.Width(), 2 * r1.Width());
    EXPECT_EQ(r2.Height(), 2 * r1.Height());
    // The glyph's own pixels: those that do not change with what lies under it.
    const TsMaskData& m = loaded.Masks[size_t(p->Button(k).GlyphIndex)];
    const TzkBitmap dark = GlyphOn(m, 0, 0x000000), light = GlyphOn(m, 0, 0xFFFFFF);
    int own = 0;
    auto opaque = [&](int x, int y) { return PixelOf(dark, x, y) == PixelOf(light, x, y); };
    for (int y = 0; y < dark.Height(); ++y)
      for (int x = 0; x < dark.Width(); ++x) own += opaque(x, y);
    EXPECT_GT(own, 0);
    EXPECT_EQ(NotReplicated(cache1, r1, cache2, TPoint{r2.Left, r2.Top}, 2, opaque), 0);
  }
}

// [SECTION] Menus

TEST_F(DisplayScale, MenuItemsAreMeasuredInTheScaledFontWithScaledSpacing) {
  TForm* f = Keep(Application->CreateForm<TFramedTestForm>());
  auto* menu = new TPopupMenu(f);
  auto* item = new TMenuItem(f);
  item->SetCaption(L"Приоритет задачи");
  menu->Items()->Add(item);
  TsSkinableMenus* painter = SkinableMenusOf(manager.get());
  ASSERT_NE(painter, nullptr);
  painter->SetActive(true);
  TSize at100;
  for (int dpi : kScales) {
    SCOPED_TRACE(dpi);
    manager->SetPixelsPerInch(dpi);
    TWindowDc screen(nullptr);
    TCanvas canvas(screen.Get());
    int w = 0, h = 0;
    TsSkinableMenus::MenuShown = false;  // a menu about to open reads the font again
    painter->MeasureItem(item, canvas, w, h);
    const LOGFONTW lf = TsSkinableMenus::MenuFontFor(item, dpi);
    EXPECT_EQ(lf.lfHeight, NonClientMetricsForDpi(dpi).lfMenuFont.lfHeight);
    TFontHandle font(CreateFontIndirectW(&lf));
    TSelectObject selected(screen.Get(), font.Get());
    RECT text = {0, 0, 0, 0};
    DrawTextW(screen.Get(), item->Caption().c_str(), int(item->Caption().size()), &text, DT_CALCRECT | DT_SINGLELINE);
    const TzkMenuSpacing s{ScaleForDpi(painter->Margin, dpi), ScaleForDpi(painter->Spacing, dpi)};
    EXPECT_EQ(painter->SpacingValues().Margin, s.Margin);
    EXPECT_EQ(painter->SpacingValues().Spacing, s.Spacing);
    const int image = ScaleForDpi(16, dpi);
    EXPECT_EQ(h, MenuItemHeight(smNormal, TsSkinableMenus::TextUnitOf(screen.Get()), image, s));
    EXPECT_EQ(w, MenuItemWidth(image, int(text.right), s, 0));
    if (dpi == 96) at100 = TSize(w, h);
    if (dpi == 192) {
      EXPECT_GE(h, 2 * at100.cy - 4);
      EXPECT_GE(w, 2 * at100.cx - 8);
    }
  }
  TsSkinableMenus::MenuShown = false;
  TsSkinableMenus::FreeAllCaches();
}

// [SECTION] Notices of a new DPI

TEST_F(DisplayScale, AFormThatTookANewDpiReskinsEveryWindowAtIt) {
  TSizableForm* f = ShowSizable(96);
  HWND d = OpenDialog();
  TzkDialogWnd* a = DialogAdapterOf(d);
  ASSERT_NE(a, nullptr);
  f->SetBounds(60, 60, ScaleForDpi(360, 144), ScaleForDpi(220, 144));
  f->Perform(CM_DPICHANGED, 96, 144);
  Pump();
  EXPECT_EQ(manager->PixelsPerInch(), 144);
  EXPECT_NE(&manager->Tables(), &manager->LoadedTables());
  TsSkinProvider* p = ProviderOf(f);
  ASSERT_NE(p, nullptr);
  ExpectFrameAt(f->WindowHandle(), p->Geometry(), 144);
  // The dialog heard of it too: its frame and bars are at the new scale.
  ExpectFrameAt(d, a->Geometry(), 144);
  EXPECT_EQ(a->BarDpi(), 144);
}

TEST_F(DisplayScale, ADialogMovedToAnotherScaleTakesTheSuggestedRectangleAndTheScale) {
  TSizableForm* f = ShowSizable(96);
  HWND d = OpenDialog();
  TzkDialogWnd* a = DialogAdapterOf(d);
  ASSERT_NE(a, nullptr);
  const RECT suggested = {300, 200, 300 + 480, 200 + 300};
  SendMessageW(d, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  Pump();
  RECT now;
  GetWindowRect(d, &now);
  EXPECT_EQ(now.left, suggested.left);
  EXPECT_EQ(now.top, suggested.top);
  EXPECT_EQ(now.right - now.left, suggested.right - suggested.left);
  EXPECT_EQ(now.bottom - now.top, suggested.bottom - suggested.top);
  EXPECT_EQ(manager->PixelsPerInch(), 192);
  ExpectFrameAt(d, a->Geometry(), 192);
  ExpectFrameAt(f->WindowHandle(), ProviderOf(f)->Geometry(), 192);
}

TEST_F(DisplayScale, TwoHundredScaleChangesLeaveNoObjectsBehind) {
  TSizableForm* f = ShowSizable(96);
  OpenDialog();
  const int cycle[] = {120, 144, 192, 96};
  for (int dpi : cycle) manager->SetPixelsPerInch(dpi);  // every scale's tables made once
  Pump();
  {
    TLeakCheck noLeaks(4);
    for (int i = 0; i < 200; ++i) {
      manager->SetPixelsPerInch(cycle[i % 4]);
      if (i % 20 == 0) Pump();
    }
    Pump();
  }
  EXPECT_EQ(manager->ScaledTableCount(), 3u);
  EXPECT_EQ(manager->PixelsPerInch(), 96);
  ExpectFrameAt(f->WindowHandle(), ProviderOf(f)->Geometry(), 96);
}

}  // namespace
