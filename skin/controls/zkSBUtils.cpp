#include "skin/controls/zkSBUtils.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "skin/data/sSkinView.h"
#include "skin/data/sWindowSkinning.h"
#include "skin/paint/sCommonData.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Menu.h"
#include "toolkit/WideText.h"
#include "toolkit/WinControl.h"

const wchar_t kAdapterProp[] = L"ZKSBSC";
bool TzkMainWnd::CreatingDialogAdapters = false;

// [SECTION] Skin state

const TsSkinTables* TzkAdapterSkin::Tables() const {
  return Manager && Manager->Active() && Manager->SkinData().Active ? &Manager->Tables() : nullptr;
}

bool TzkAdapterSkin::Skinned() const {
  const TsSkinTables* t = Tables();
  return t && t->IsValidSection(SkinIndex);
}

void TzkAdapterSkin::UpdateIndexes() {
  // The manager announces a new skin (command 1) with its tables loaded but not yet marked
  // active; the section is looked up in them then, as every adapter is told only once.
  SkinIndex = Manager && Manager->Active() ? Manager->Tables().IndexOfSection(Section) : -1;
}

// [SECTION] TzkMainWnd

TzkMainWnd::TzkMainWnd(HWND wnd, const std::string& section, TsSkinView* manager) : wnd_(wnd) {
  if (!IsWindow(wnd)) throw std::invalid_argument("Window adapter: not a window");
  if (GetPropW(wnd, kAdapterProp)) throw std::logic_error("Window adapter: the window already has one");
  skin_.Manager = manager ? manager : DefaultManager();
  skin_.Section = section;
  skin_.UpdateIndexes();
}

namespace {
int g_destroyedWhileReceiving = 0;
}  // namespace

int TzkMainWnd::DestroyedWhileReceiving() { return g_destroyedWhileReceiving; }

TzkMainWnd::~TzkMainWnd() {
  if (receiving_ > 0) ++g_destroyedWhileReceiving;
  Detach();
  if (themeOff_ && IsWindow(wnd_) && !destroyed_) {
    if (auto setTheme = SetWindowThemeProc()) setTheme(wnd_, nullptr, nullptr);
  }
}

TzkMainWnd* TzkMainWnd::FromWindow(HWND wnd) {
  return wnd ? static_cast<TzkMainWnd*>(GetPropW(wnd, kAdapterProp)) : nullptr;
}

void TzkMainWnd::Start(bool repaint) {
  if (TurnsThemeOff()) {
    if (auto setTheme = SetWindowThemeProc()) themeOff_ = SUCCEEDED(setTheme(wnd_, L"", L""));
  }
  dlgMode_ = CreatingDialogAdapters;
  SaveControlColors();
  skinColorsApplied_ = false;
  RefreshText();
  BeforeHook();
  Hook();
  AfterHook(repaint);
  // The skin paints the whole control now: the toolkit need not draw what lies behind it.
  TWinControl* control = TWinControl::FindControl(wnd_);
  if (control && MarksControlOpaque() && !(control->ControlStyle() & csOpaque)) {
    control->SetControlStyle(control->ControlStyle() | csOpaque);
    madeOpaque_ = true;
  }
}

void TzkMainWnd::Hook() {
  if (!subclass_.Install<TzkMainWnd, &TzkMainWnd::Receive>(wnd_, this))
    throw std::runtime_error("Window adapter: too many adapted windows");
  SetPropW(wnd_, kAdapterProp, this);
}

void TzkMainWnd::Detach() {
  if (!subclass_.Installed() || detached_) return;
  const bool gone = destroyed_;
  prevAfterDetach_ = subclass_.Previous();
  subclass_.Remove();
  detached_ = true;
  if (GetPropW(wnd_, kAdapterProp) == this) RemovePropW(wnd_, kAdapterProp);
  if (madeOpaque_ && !gone) {
    if (TWinControl* control = TWinControl::FindControl(wnd_))
      control->SetControlStyle(control->ControlStyle() & ~unsigned(csOpaque));
  }
  madeOpaque_ = false;
  RestoreControlColors();
  ReleaseHotWindow(gone);
  OnDetached();
  if (!gone && IsWindowVisible(wnd_))
    SetWindowPos(wnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TzkMainWnd::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  const WNDPROC prev = subclass_.Installed() ? subclass_.Previous() : prevAfterDetach_;
  return prev ? CallWindowProcW(prev, wnd_, msg, wParam, lParam) : 0;
}

LRESULT TzkMainWnd::Receive(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // Messages that arrive while the adapter lets go still reach the window.
  prevAfterDetach_ = subclass_.Previous();
  ++receiving_;
  try {
    if (!AnswerOwnedMenu(m)) AdapterProc(m);
  } catch (const std::exception& e) {
    Application->HandleException(nullptr, &e);
  } catch (...) {
    Application->HandleException(nullptr, nullptr);
  }
  if (--receiving_ == 0 && freeWhenDone_) delete this;
  return m.Result;
}

bool TzkMainWnd::AnswerOwnedMenu(TMessage& m) {
  switch (m.Msg) {
    case WM_INITMENUPOPUP:
      // A menu the platform built for this window (an edit's own context menu) is drawn by
      // the skin's menu painter like the application's menus; the window still opens it.
      if (!HIWORD(m.LParam) && skin_.Manager && skin_.Manager->Active())
        if (IzkMenuPainter* menus = skin_.Manager->MenuPainter())
          menus->AdoptPlatformMenu(reinterpret_cast<HMENU>(m.WParam));
      return false;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      return AnswerMenuOwnerDraw(m);
    default:
      return false;
  }
}

void TzkMainWnd::DisposeNowOrLater() {
  if (receiving_ == 0) {
    delete this;
    return;
  }
  // The window is given back now; the object outlives the procedure that is running.
  Detach();
  freeWhenDone_ = true;
}

void TzkMainWnd::RefreshText() {
  const int n = GetWindowTextLengthW(wnd_);
  std::wstring w(size_t(std::max(n, 0)) + 1, L'\0');
  w.resize(size_t(GetWindowTextW(wnd_, w.data(), n + 1)));
  text_ = WideToUtf8(w);
}

void TzkMainWnd::AdapterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      MarkDestroyed();
      PassOn(m);
      Detach();
      return;
    case WM_UPDATEUISTATE:
      return;
    case WM_SIZE:
      skin_.BGChanged = true;
      break;
    case WM_SETTEXT:
      PassOn(m);
      RefreshText();
      return;
    case WM_MOUSEMOVE:
      if (skin_.Manager && IsWindowEnabled(wnd_) && skin_.Manager->HotWindow() != wnd_)
        skin_.Manager->SetHotWindow(wnd_);
      break;
    case WM_PRINT:
      m.Result = SendMessageW(wnd_, WM_PAINT, m.WParam, m.LParam);
      return;
    default:
      if (m.Msg == SM_ORVEXCMD && MainCommand(m)) return;
  }
  PassOn(m);
}

bool TzkMainWnd::MainCommand(TMessage& m) {
  if (!skin_.Manager || !skin_.Manager->Active()) return false;
  const TsSkinCommand c = SkinCommandOf(m);
  const bool own = reinterpret_cast<TsSkinView*>(c.Param) == skin_.Manager;
  switch (c.Code) {
    case zcSkinNew:
      if (!own) return false;
      skin_.UpdateIndexes();
      skin_.BGChanged = true;
      BroadcastToChildWindows(wnd_, TMessage{m.Msg, m.WParam, m.LParam, 0});
      return false;
    case zcSkinRemove:
      if (own) RestoreControlColors();
      return false;
    case zcSkinRefresh:
      // The window's own handling hears of the refresh too (a skinned control takes its
      // colours then).
      if (!own) return false;
      skin_.UpdateIndexes();
      skin_.BGChanged = true;
      skin_.Updating = false;
      RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return false;
    case zcParentUpdateEnd:
      if (!skin_.Updating) return false;
      // The parent may still be busy with a change of its own: painting waits for it.
      skin_.Updating = ParentUpdating();
      if (!skin_.Updating)
        RedrawWindow(wnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      return true;
    case zcIsSkinned:
      m.Result = 1;
      return true;
    case zcQueryUpdating:
      m.Result = skin_.Updating ? 1 : 0;
      return true;
    case zcHasOwnBackground:
      PassOn(m);
      if (m.Result == 0) m.Result = AnswerHasOwnBackground();
      return true;
    case zcGetBackgroundColor:
      PassOn(m);
      if (m.Result == 0 && skin_.Skinned()) m.Result = LRESULT(uint32_t(EffectiveColor()));
      return true;
    case zcPrepareCache:
      PrepareWindowCache(false);
      return false;
    case zcGetBackground:
      if (auto* r = reinterpret_cast<TsBackgroundRequest*>(c.Param)) AnswerBackground(*r);
      return true;
    case zcGetApplication:
      m.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    default:
      return false;
  }
}

bool TzkMainWnd::ParentUpdating() const {
  HWND parent = GetParent(wnd_);
  return parent && SendCommandToWindow(parent, zcQueryUpdating) == 1;
}

namespace {

// The colour of a window's parent: a toolkit parent's own colour (a skinned one answers for
// itself), else the parent window's answer to the colour query, else the button face.
TColor ParentColorOf(HWND wnd) {
  HWND parent = GetParent(wnd);
  if (!parent) return ColorToRGB(clBtnFace);
  if (TWinControl* control = TWinControl::FindControl(parent)) {
    const TColor c = ControlColor(control);
    if (c != clFuchsia) return c;
  }
  const TColor answer = TColor(SendCommandToWindow(parent, zcGetBackgroundColor, clFuchsia));
  return answer == 0 || answer == clFuchsia ? ColorToRGB(clBtnFace) : ColorToRGB(answer);
}

// A window's own colour without a skin: its toolkit control's, else the window colour.
TColor OwnColorOf(HWND wnd) {
  TWinControl* control = TWinControl::FindControl(wnd);
  return control ? ColorToRGB(control->Color()) : ColorToRGB(clWindow);
}

}  // namespace

TColor TzkMainWnd::EffectiveColor() const {
  if (!skin_.Skinned()) return OwnColorOf(wnd_);
  const TsGeneralData& s = skin_.Tables()->Sections[size_t(skin_.SkinIndex)];
  const int t = s.Transparency;
  const TColor k = ColorToRGB(s.Color);
  if (t <= 0) return k;
  if (t >= 100) return ParentColorOf(wnd_);
  return LerpColor(ParentColorOf(wnd_), k, t / 100.0);
}

LRESULT TzkMainWnd::AnswerHasOwnBackground() const {
  if (!skin_.Skinned()) return 0;
  const TsGeneralData& s = skin_.Tables()->Sections[size_t(skin_.SkinIndex)];
  HWND parent = GetParent(wnd_);
  const bool parentHasOwn = parent && (SendCommandToWindow(parent, zcHasOwnBackground) & 0x7F) == 1;
  if (s.Transparency >= 100) return parentHasOwn ? 1 : 0;
  return s.GradientPercent + s.ImagePercent > 0 || (s.Transparency > 0 && parentHasOwn) ? 1 : 0;
}

TPoint TzkMainWnd::ClientOriginInCache() const {
  RECT wr;
  POINT origin{0, 0};
  if (!GetWindowRect(wnd_, &wr) || !ClientToScreen(wnd_, &origin)) return {0, 0};
  const TzkBitmap& cache = skin_.CacheBmp;
  if (cache.Width() != wr.right - wr.left || cache.Height() != wr.bottom - wr.top) return {0, 0};
  return {origin.x - wr.left, origin.y - wr.top};
}

void TzkMainWnd::AnswerBackground(TsBackgroundRequest& r) {
  if (!skin_.Skinned()) {
    r.BgType = btColor;
    r.Color = OwnColorOf(wnd_);
    return;
  }
  const TsSkinTables& tables = *skin_.Tables();
  const TsGeneralData& s = tables.Sections[size_t(skin_.SkinIndex)];
  const int t = s.Transparency;
  const bool flat = s.GradientPercent <= 0 && s.ImagePercent <= 0;
  const bool hasCache = !skin_.CacheBmp.Empty();
  const TsMaskData* border = tables.IsValidMask(s.BorderIndex) ? &tables.Masks[size_t(s.BorderIndex)] : nullptr;
  const bool thinBorder = !border || (border->WL + border->WR <= 24 && border->WT + border->WB < 25);
  if (t <= 0 && flat) {
    AnswerWithColor(r, EffectiveColor());
  } else if (t <= 0 && !hasCache) {
    r.BgType = btColor;
    r.Color = clFuchsia;
  } else if (t >= 100 && thinBorder) {
    // See-through: what lies behind this window in its parent, seen from the asker.
    HWND parent = GetParent(wnd_);
    if (!parent) {
      r.BgType = btColor;
      r.Color = tables.GlobalColor();
      return;
    }
    RECT wr;
    GetWindowRect(wnd_, &wr);
    POINT at{wr.left, wr.top};
    ScreenToClient(parent, &at);
    const bool draw = r.PleaseDraw != 0;
    if (draw) {
      r.X += at.x;
      r.Y += at.y;
    }
    AskBackgroundOfWindow(r, parent, draw);
    if (!draw && r.BgType == btBitmap) {
      r.X += at.x;
      r.Y += at.y;
    }
  } else if (!hasCache) {
    r.BgType = btColor;
    r.Color = t >= 100 ? ParentColorOf(wnd_) : clFuchsia;
  } else {
    AnswerWithBitmap(r, skin_.CacheBmp, ClientOriginInCache());
  }
}

void FillRectOf(TzkBitmap& bmp, TRect r, TColor color) {
  const TColor c = ColorToRGB(color);
  r = Rect(std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, bmp.Width()),
           std::min(r.Bottom, bmp.Height()));
  const int bpp = bmp.BytesPerPixel();
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint8_t* p = bmp.ScanLine(y) + r.Left * bpp;
    for (int x = r.Left; x < r.Right; ++x, p += bpp) {
      p[0] = uint8_t(c >> 16);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c);
      if (bpp == 4) p[3] = 255;
    }
  }
}

namespace {

// What lies behind a child window in its parent, as the parent describes it; the parent's
// colour when it does not answer.
TsBackgroundRequest ParentBackground(HWND wnd, TPoint& at) {
  TsBackgroundRequest r;
  HWND parent = GetParent(wnd);
  RECT wr;
  GetWindowRect(wnd, &wr);
  POINT p{wr.left, wr.top};
  if (!parent || !ScreenToClient(parent, &p)) return r;
  at = {p.x, p.y};
  r.Rect = Rect(p.x, p.y, p.x + wr.right - wr.left, p.y + wr.bottom - wr.top);
  SendCommandToWindow(parent, zcGetBackground, LPARAM(&r));
  if (r.BgType == btBitmap && r.Bitmap && !r.Bitmap->Empty()) return r;
  r.BgType = btColor;
  TWinControl* control = TWinControl::FindControl(parent);
  if (r.Color == clFuchsia || r.BgType == btNotAnswered)
    r.Color = control ? ControlColor(control) : TColor(GetSysColor(COLOR_BTNFACE));
  return r;
}

}  // namespace

TsBackgroundInfo TzkMainWnd::ParentBackground() const {
  TPoint at;
  const TsBackgroundRequest parent = ::ParentBackground(wnd_, at);
  TsBackgroundInfo bg;
  bg.IsBitmap = parent.BgType == btBitmap;
  bg.Bitmap = parent.Bitmap;
  bg.X = parent.X + at.X;
  bg.Y = parent.Y + at.Y;
  bg.Color = parent.Color;
  return bg;
}

void TzkMainWnd::PrepareWindowCache(bool dialogMode) {
  if (!skin_.BGChanged || !wnd_) return;
  const TsSkinTables* tables = skin_.Tables();
  RECT wr;
  GetWindowRect(wnd_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  skin_.FitCache(w, h);
  if (dialogMode && tables && tables->SkinData.BorderColor != clFuchsia) {
    FillRectOf(skin_.CacheBmp, Rect(0, 0, w, h), ColorToRGB(clWindow));
    const TColor frame = tables->SkinData.BorderColor;
    FillRectOf(skin_.CacheBmp, Rect(0, 0, w, 1), frame);
    FillRectOf(skin_.CacheBmp, Rect(0, h - 1, w, h), frame);
    FillRectOf(skin_.CacheBmp, Rect(0, 0, 1, h), frame);
    FillRectOf(skin_.CacheBmp, Rect(w - 1, 0, w, h), frame);
    skin_.BGChanged = false;
    return;
  }
  if (!GetParent(wnd_)) return;
  if (tables && skin_.Skinned()) {
    const TsBackgroundInfo bg = ParentBackground();
    const TsItemLook look = SectionLook(*tables, skin_.SkinIndex);
    const int state = skin_.Focused || skin_.MouseAbove ? 1 : 0;
    PaintSkinnedItem(tables, look, bg, clFuchsia, false, !dialogMode, &skin_.CacheBmp, {0, 0},
                     Rect(0, 0, w, h), state);
    PaintDisabledControl(bg);
  }
  skin_.BGChanged = false;
}

TsDisabledKind TzkMainWnd::DisabledKindForPaint = dkBlended;

void TzkMainWnd::PaintDisabledControl(const TsBackgroundInfo& bg) {
  TWinControl* control = TWinControl::FindControl(wnd_);
  if (!control || control->IsDestroying() || IsWindowEnabled(wnd_)) return;
  // The control may pick another disabled look while it is asked.
  DisabledKindForPaint = dkBlended;
  SendCommandToWindow(wnd_, zcBeforePaint);
  PaintDisabledLook(skin_.CacheBmp, DisabledKindForPaint, bg.Color, {0, 0}, bg);
}


void FillFromBackground(TzkBitmap& dst, const TRect& r, const TsBackgroundInfo& bg) {
  if (r.IsEmpty()) return;
  if (bg.HasBitmap())
    CopyRect(dst, r.Left, r.Top, *bg.Bitmap, Rect(bg.X + r.Left, bg.Y + r.Top, bg.X + r.Right, bg.Y + r.Bottom));
  else
    FillSolid(dst, r, bg.Color == clFuchsia ? clBtnFace : bg.Color);
}

// One part of a bar: the section, its border mask over what is painted so far, and the glyph
// centred in `glyphArea`.
void PaintBarPart(const TsSkinTables& t, const TsCachedSection& cs, const TsBackgroundInfo& bg,
                  TzkBitmap& out, const TRect& r, int state, const TRect* glyphArea) {
  if (r.IsEmpty() || !t.IsValidSection(cs.SkinIndex)) return;
  const std::string& name = t.Sections[size_t(cs.SkinIndex)].SectionName;
  PaintSection(cs.SkinIndex, name, bg, clFuchsia, cs.HotTextureIndex, cs.TextureIndex, &t, out,
               {0, 0}, r, state);
  TsBackgroundInfo self;
  self.Bitmap = &out;
  self.IsBitmap = true;
  if (t.IsValidMask(cs.BorderIndex))
    PaintBorderMask(out, r, true, true, state, t.Masks[size_t(cs.BorderIndex)], self);
  if (glyphArea && t.IsValidMask(cs.GlyphIndex)) {
    const TsMaskData& g = t.Masks[size_t(cs.GlyphIndex)];
    const int gw = FrameWidth(g), gh = FrameHeight(g);
    PaintGlyphMask(out, {glyphArea->Left + (glyphArea->Width() - gw) / 2,
                         glyphArea->Top + (glyphArea->Height() - gh) / 2},
                   state, self, g, false);
  }
}


bool TzkMainWnd::AnswerPaint(TMessage& m) {
  const TzkPaintRules rules = PaintRules();
  switch (m.Msg) {
    case WM_PAINT: {
      const TPaintScope scope(Handle(), m.WParam);
      if (!Skin().Updating) PaintLook(scope.Dc());
      return true;
    }
    case WM_PRINTCLIENT:
      PaintLook(HDC(m.WParam));
      return true;
    case WM_ERASEBKGND: {
      const bool show = rules.Erase == TzkEraseRule::Paint ||
                        (rules.Erase == TzkEraseRule::PaintWhenVisible && IsWindowVisible(Handle()));
      if (show && !Skin().Updating) {
        Skin().BGChanged = true;
        PaintLook(HDC(m.WParam));
      }
      m.Result = 1;
      return true;
    }
    case WM_NCPAINT:
      return rules.OwnFrame;
    default:
      return false;
  }
}

void TzkMainWnd::PaintLook(HDC dc) {
  if (PaintRules().RenderEachPaint) PrepareCache();
  else PrepareStaleCache();
  if (Skin().CacheBmp.Empty()) return;
  TSaveDc saved(dc);
  LeaveOutOfPaint(dc);
  CopyCache(dc);
}

void TzkMainWnd::PrepareStaleCache() {
  if (skin_.BGChanged || skin_.CacheBmp.Empty()) PrepareCache();
}

void TzkMainWnd::CopyCache(HDC dc) const {
  const TzkBitmap& cache = skin_.CacheBmp;
  if (!cache.Empty()) DrawBitmapToDC(dc, 0, 0, cache, Rect(0, 0, cache.Width(), cache.Height()));
}

void TzkAdapterSkin::FitCache(int w, int h) {
  if (CacheBmp.Width() != w || CacheBmp.Height() != h) CacheBmp = NewDeviceBitmap24(w, h);
}

bool TzkMainWnd::SizeCacheToWindow(int& w, int& h) {
  RECT wr;
  GetWindowRect(Handle(), &wr);
  w = wr.right - wr.left;
  h = wr.bottom - wr.top;
  if (!CanRender(w, h)) return false;
  skin_.FitCache(w, h);
  return true;
}

bool TzkMainWnd::SizeCacheToClient(RECT& client) {
  GetClientRect(Handle(), &client);
  if (!CanRender(client.right, client.bottom)) return false;
  skin_.FitCache(client.right, client.bottom);
  return true;
}

void TzkMainWnd::RedrawNow() {
  if (!Destroyed()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TzkMainWnd::HandleQuietly(TMessage& m) {
  const bool visible = IsWindowVisible(Handle()) != FALSE;
  if (visible) CallPrevious(WM_SETREDRAW, FALSE, 0);
  TzkMainWnd::AdapterProc(m);
  if (!visible || Destroyed()) return;
  CallPrevious(WM_SETREDRAW, TRUE, 0);
  RedrawNow();
}

bool TzkMainWnd::PointerInside() const {
  POINT p;
  RECT r;
  return GetCursorPos(&p) && GetWindowRect(Handle(), &r) && PtInRect(&r, p);
}

// An adapter that lets go leaves no hot window behind: the manager would tell a window it
// no longer draws, or one that is gone (whose handle may come back for another window).
void TzkMainWnd::ReleaseHotWindow(bool gone) {
  TsSkinView* manager = skin_.Manager;
  if (!manager || manager->HotWindow() != wnd_) return;
  if (gone) manager->ForgetHotWindow(wnd_);
  else manager->SetHotWindow(nullptr);
}

void TzkMainWnd::GiveUpHotWindow() {
  TsSkinView* manager = Skin().Manager;
  if (manager && manager->HotWindow() == Handle() && !PointerInside()) manager->SetHotWindow(nullptr);
}
