#include "skin/controls/zkSBUtils.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "skin/data/sSkinManager.h"
#include "skin/paint/sCommonData.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"
#include "toolkit/WinControl.h"

const wchar_t kAdapterProp[] = L"ZKSBSC";
bool TzkMainWnd::CreatingDialogAdapters = false;

// [SECTION] Entry procedures

namespace {

constexpr int kSlotCount = 512;

struct TSlot {
  bool Used = false;
  HWND Wnd = nullptr;
  WNDPROC Prev = nullptr;
  TzkMainWnd* Adapter = nullptr;  // null: the entry only passes messages on
};
std::array<TSlot, kSlotCount> g_slots;

}  // namespace

LRESULT DispatchToSlot(int slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

template <int N>
LRESULT CALLBACK SlotProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DispatchToSlot(N, wnd, msg, wParam, lParam);
}
template <size_t... I>
std::array<WNDPROC, sizeof...(I)> MakeSlotProcs(std::index_sequence<I...>) {
  return {{&SlotProc<int(I)>...}};
}
const std::array<WNDPROC, kSlotCount> g_slotProcs = MakeSlotProcs(std::make_index_sequence<kSlotCount>());

int TakeSlot() {
  for (int i = 0; i < kSlotCount; ++i)
    if (!g_slots[size_t(i)].Used) return i;
  return -1;
}

bool SlotOnTop(int slot, HWND wnd) {
  return GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(g_slotProcs[size_t(slot)]);
}

// Takes the entry out of the window's chain when it is on top; true when it was.
bool UnlinkSlot(int slot) {
  TSlot& s = g_slots[size_t(slot)];
  if (!SlotOnTop(slot, s.Wnd)) return false;
  SetWindowLongPtrW(s.Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s.Prev));
  s = TSlot();
  return true;
}

}  // namespace

LRESULT DispatchToSlot(int slot, HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TSlot& s = g_slots[size_t(slot)];
  if (!s.Used) return DefWindowProcW(wnd, msg, wParam, lParam);
  if (s.Adapter) return s.Adapter->Receive(msg, wParam, lParam);
  const WNDPROC prev = s.Prev;
  if (!UnlinkSlot(slot) && msg == WM_NCDESTROY) s = TSlot();
  return CallWindowProcW(prev, wnd, msg, wParam, lParam);
}

int TzkMainWnd::EntriesInUse() {
  return int(std::count_if(g_slots.begin(), g_slots.end(), [](const TSlot& s) { return s.Used; }));
}

// [SECTION] Skin state

const TsSkinTables* TzkAdapterSkin::Tables() const {
  return Manager && Manager->Active() && Manager->SkinData().Active ? &Manager->Tables() : nullptr;
}

bool TzkAdapterSkin::Skinned() const {
  const TsSkinTables* t = Tables();
  return t && t->IsValidSection(SkinIndex);
}

void TzkAdapterSkin::UpdateIndexes() {
  const TsSkinTables* t = Tables();
  SkinIndex = t ? t->IndexOfSection(Section) : -1;
}

// [SECTION] TzkMainWnd

TzkMainWnd::TzkMainWnd(HWND wnd, const std::string& section, TsSkinManager* manager) : wnd_(wnd) {
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
  if (skin_.Section != "DIALOG") {
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
  const int slot = TakeSlot();
  if (slot < 0) throw std::runtime_error("Window adapter: too many adapted windows");
  TSlot& s = g_slots[size_t(slot)];
  s.Used = true;
  s.Wnd = wnd_;
  s.Adapter = this;
  SetPropW(wnd_, kAdapterProp, this);
  s.Prev = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_slotProcs[size_t(slot)])));
  slot_ = slot;
}

void TzkMainWnd::Detach() {
  if (slot_ < 0 || detached_) return;
  TSlot& s = g_slots[size_t(slot_)];
  const bool gone = destroyed_;
  prevAfterDetach_ = s.Prev;
  if (!UnlinkSlot(slot_)) {
    if (finalMessage_) s = TSlot();  // the window sends nothing more
    else s.Adapter = nullptr;   // somebody subclassed over us: pass messages on until on top
  }
  slot_ = -1;
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
  WNDPROC prev = slot_ >= 0 ? g_slots[size_t(slot_)].Prev : prevAfterDetach_;
  return prev ? CallWindowProcW(prev, wnd_, msg, wParam, lParam) : 0;
}

LRESULT TzkMainWnd::Receive(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // Messages that arrive while the adapter lets go still reach the window.
  prevAfterDetach_ = g_slots[size_t(slot_)].Prev;
  ++receiving_;
  try {
    AdapterProc(m);
  } catch (const std::exception& e) {
    Application->HandleException(nullptr, &e);
  } catch (...) {
    Application->HandleException(nullptr, nullptr);
  }
  if (--receiving_ == 0 && freeWhenDone_) delete this;
  return m.Result;
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
      MarkDestroyed(m.Msg == WM_NCDESTROY);
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
  const bool own = reinterpret_cast<TsSkinManager*>(c.Param) == skin_.Manager;
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
    r.BgType = btColor;
    r.Color = EffectiveColor();
    if (r.PleaseDraw && r.DC) {
      TBrushHandle brush(CreateSolidBrush(COLORREF(r.Color)));
      const RECT rc{r.Rect.Left, r.Rect.Top, r.Rect.Right, r.Rect.Bottom};
      FillRect(r.DC, &rc, brush.Get());
    }
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
    r.BgType = btBitmap;
    const TPoint o = ClientOriginInCache();
    if (r.PleaseDraw && r.DC) {
      DrawBitmapToDC(r.DC, r.Rect.Left, r.Rect.Top, skin_.CacheBmp,
                     TRect(r.X + o.X, r.Y + o.Y, r.X + o.X + r.Rect.Width(), r.Y + o.Y + r.Rect.Height()));
    } else {
      r.Bitmap = &skin_.CacheBmp;
      r.X = o.X;
      r.Y = o.Y;
    }
  }
}

namespace {

// Fills a rectangle of a 24- or 32-bit bitmap with an opaque colour, cut to the bitmap.
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
  if (skin_.CacheBmp.Width() != w || skin_.CacheBmp.Height() != h) skin_.CacheBmp = NewDeviceBitmap24(w, h);
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

// [SECTION] TzkScrollBar

TzkScrollPointerState& ScrollPointer() {
  static TzkScrollPointerState state;
  return state;
}

void TzkScrollBar::ReadInfo(HWND wnd) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(wnd, kind_, &si)) si = SCROLLINFO{};
  Info.Min = si.nMin;
  Info.Max = si.nMax;
  Info.Page = si.nPage;
  Info.Pos = si.nPos;
  Info.TrackPos = si.nTrackPos;
}

int TzkScrollBar::Thickness() const {
  if (ThicknessOverride >= 0) return ThicknessOverride;
  return GetSystemMetrics(kind_ == SB_HORZ ? SM_CYHSCROLL : SM_CXVSCROLL);
}

int TzkScrollBar::ButtonLength(const TsSkinTables* tables) const {
  if (ButtonOverride >= 0) return ButtonOverride;
  int length = GetSystemMetrics(SM_CXHSCROLL);
  if (!tables) return length;
  const TsCachedIndexes& ci = tables->CachedIndexes;
  const TsCachedSection& first = kind_ == SB_HORZ ? ci.ScrollLeft : ci.ScrollTop;
  if (tables->IsValidSection(ci.ScrollLeft.SkinIndex) &&
      tables->Sections[size_t(ci.ScrollLeft.SkinIndex)].ReservedBoolean &&
      tables->IsValidMask(first.BorderIndex)) {
    const int own = kind_ == SB_HORZ ? tables->FrameWidth(first.BorderIndex)
                                     : tables->FrameHeight(first.BorderIndex);
    length = std::max(length, own);
  }
  return length;
}

TzkBarMetrics TzkScrollBar::Metrics(const TRect& barRect, const TsSkinTables* tables) const {
  TzkBarMetrics m;
  m.Length = kind_ == SB_HORZ ? barRect.Width() : barRect.Height();
  m.Button = ButtonLength(tables);
  m.MinThumb = MinThumb;
  return m;
}

bool TzkScrollBar::Enabled(HWND wnd) const {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  if (GetScrollBarInfo(wnd, kind_ == SB_HORZ ? OBJID_HSCROLL : OBJID_VSCROLL, &sbi))
    // Some platforms mark only the two arrows when the whole bar is switched off.
    return (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0 &&
           !((sbi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) && (sbi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE));
  return (GetWindowLongW(wnd, GWL_STYLE) & (kind_ == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

// [SECTION] TzkScrollWnd

TzkScrollWnd::TzkScrollWnd(HWND wnd, const std::string& section, TsSkinManager* manager)
    : TzkMainWnd(wnd, section, manager) {}

void TzkScrollWnd::BeforeHook() {
  bars_[0] = std::make_unique<TzkScrollBar>(this, SB_HORZ);
  bars_[1] = std::make_unique<TzkScrollBar>(this, SB_VERT);
  const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
  leftScroll_ = (GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  bars_[0]->StyleFlag = (style & WS_HSCROLL) != 0;
  bars_[1]->StyleFlag = (style & WS_VSCROLL) != 0;
  for (auto& b : bars_) b->ReadInfo(Handle());
}

void TzkScrollWnd::AfterHook(bool repaint) {
  if (repaint)
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TzkScrollWnd::OnDetached() {
  TzkScrollPointerState& p = ScrollPointer();
  if (p.WindowUnder == Handle()) {
    if (!Destroyed()) {
      KillTimer(Handle(), kHoverTimer);
      KillTimer(Handle(), kFirstRepeatTimer);
      KillTimer(Handle(), kRepeatTimer);
      if (GetCapture() == Handle() && p.PressedBar >= 0) ReleaseCapture();
    }
    p = TzkScrollPointerState();
  }
  dragging_ = false;
  bars_[0].reset();
  bars_[1].reset();
}

TzkFrameLayout TzkScrollWnd::Layout() const {
  TzkFrameLayout f;
  RECT wr;
  GetWindowRect(Handle(), &wr);
  f.Window = Rect(wr.left, wr.top, wr.right, wr.bottom);
  f.Borders = borders_;
  f.LeftScroll = leftScroll_;
  if (bars_[0]) {
    f.HorzShown = bars_[0]->Shown;
    f.HorzThickness = bars_[0]->Thickness();
  }
  if (bars_[1]) {
    f.VertShown = bars_[1]->Shown;
    f.VertThickness = bars_[1]->Thickness();
  }
  return f;
}

TRect TzkScrollWnd::BarRect(int kind) const {
  const TzkFrameLayout f = Layout();
  return kind == SB_HORZ ? HorzBarRect(f) : VertBarRect(f);
}

int TzkScrollWnd::Along(int kind, TPoint screen) const {
  const TRect r = BarRect(kind);
  return kind == SB_HORZ ? screen.X - r.Left : screen.Y - r.Top;
}

void TzkScrollWnd::AdapterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      MarkDestroyed(m.Msg == WM_NCDESTROY);
      Detach();
      PassOn(m);
      return;
    case WM_UPDATEUISTATE:
      return;
    case WM_CAPTURECHANGED:
      if (Pressing() && HWND(m.LParam) != Handle()) EndPress(false);
      break;
    case WM_CANCELMODE:
      if (Pressing()) EndPress(true);
      break;
  }
  if (!Skin().Skinned()) {
    if (m.Msg == SM_ORVEXCMD && SkinCommandOf(m).Code == zcSkinNew) Skin().UpdateIndexes();
    TzkMainWnd::AdapterProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_STYLECHANGED:
      if (preventStyleChange_) return;
      if (m.WParam == WPARAM(GWL_EXSTYLE))
        leftScroll_ = (reinterpret_cast<STYLESTRUCT*>(m.LParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
      PassOn(m);
      return;
    case WM_STYLECHANGING:
      if (preventStyleChange_) return;
      break;
    case WM_NCCALCSIZE:
      CalcSize(m);
      return;
    case WM_NCHITTEST: {
      const LRESULT hit = HitTest({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (hit >= 0) {
        m.Result = hit;
        return;
      }
      break;
    }
    case WM_NCPAINT:
      if (IsWindowVisible(Handle()) && !Skin().Updating && !ownScroll_) {
        PassOn(m);
        PaintBars();
        return;
      }
      break;
    case WM_NCMOUSEMOVE:
      NcMouseMove(m);
      return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
      NcButtonDown(m);
      return;
    case WM_MOUSEMOVE:
      if (Pressing()) {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        ClientToScreen(Handle(), &p);
        MouseMove({p.x, p.y});
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (Pressing()) {
        EndPress(true);
        PassOn(m);
        return;
      }
      break;
    case WM_TIMER:
      Timer(m);
      return;
    case WM_SYSCOMMAND:
      if (m.WParam == 0xF077) return;  // a system command the bars answer themselves
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      PassOn(m);
      if (!ownScroll_) RefreshBars(true);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      PassOn(m);
      RefreshBars(true);
      return;
  }
  if (m.Msg == SM_ORVEXCMD && ScrollCommand(m)) return;
  TzkMainWnd::AdapterProc(m);
}

// The skin commands a window with bars answers before (or after) the window itself: the skin
// changes reach the window's own handling as well, and a child's background request is the
// window's to answer first.
bool TzkScrollWnd::ScrollCommand(TMessage& m) {
  const TsSkinCommand c = SkinCommandOf(m);
  const bool own = reinterpret_cast<TsSkinManager*>(c.Param) == Skin().Manager;
  switch (c.Code) {
    case zcSkinNew:
    case zcSkinRefresh:
      if (own) {
        Skin().UpdateIndexes();
        Skin().BGChanged = true;
        if (c.Code == zcSkinNew) BroadcastToChildWindows(Handle(), TMessage{m.Msg, m.WParam, m.LParam, 0});
        else Skin().Updating = false;
      }
      PassOn(m);
      if (own && c.Code == zcSkinRefresh && !Destroyed())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return true;
    case zcSkinRemove:
      if (own) RestoreControlColors();
      PassOn(m);
      return true;
    case zcParentUpdateEnd:
      if (Skin().Updating) {
        Skin().Updating = ParentUpdating();
        if (!Skin().Updating)
          RedrawWindow(Handle(), nullptr, nullptr,
                       RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      }
      PassOn(m);
      return true;
    case zcSetUpdating:
      Skin().Updating = c.Lo == 1;
      PassOn(m);
      return true;
    case zcGetBackground: {
      auto* r = reinterpret_cast<TsBackgroundRequest*>(c.Param);
      PassOn(m);
      if (r && r->BgType == btNotAnswered && !Destroyed()) AnswerBackground(*r);
      return true;
    }
    default:
      return false;
  }
}

void TzkScrollWnd::CalcSize(TMessage& m) {
  RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                     : reinterpret_cast<RECT*>(m.LParam);
  const RECT proposed = *r;
  const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
  const LONG bits = style & (WS_HSCROLL | WS_VSCROLL);
  if (bits) {
    preventStyleChange_ = true;
    SetWindowLongW(Handle(), GWL_STYLE, style & ~bits);
    PassOn(m);
    SetWindowLongW(Handle(), GWL_STYLE, style);
    preventStyleChange_ = false;
  } else {
    PassOn(m);
  }
  borders_ = Rect(r->left - proposed.left, r->top - proposed.top, proposed.right - r->right,
                  proposed.bottom - r->bottom);
  bars_[0]->StyleFlag = (style & WS_HSCROLL) != 0;
  bars_[1]->StyleFlag = (style & WS_VSCROLL) != 0;
  const TRect client = ClientWithBars(Rect(r->left, r->top, r->right, r->bottom), bars_[0]->StyleFlag,
                                      bars_[1]->StyleFlag, leftScroll_, bars_[0]->Thickness(),
                                      bars_[1]->Thickness(), bars_[0]->Shown, bars_[1]->Shown);
  *r = RECT{client.Left, client.Top, client.Right, client.Bottom};
}

bool TzkScrollWnd::SizeBoxIsGrip() const {
  const TRect box = SizeBoxRect(Layout());
  HWND parent = GetParent(Handle());
  if (box.IsEmpty() || !parent || GetParent(parent)) return false;
  RECT pc;
  GetClientRect(parent, &pc);
  POINT corner{leftScroll_ ? pc.left : pc.right, pc.bottom};
  ClientToScreen(parent, &corner);
  const int x = leftScroll_ ? box.Left - borders_.Left : box.Right + borders_.Right;
  return x == corner.x && box.Bottom + borders_.Bottom == corner.y;
}

LRESULT TzkScrollWnd::HitTest(TPoint screen) {
  for (int kind : {SB_HORZ, SB_VERT}) {
    if (BarRect(kind).Contains(screen))
      return bars_[size_t(kind)]->Enabled(Handle()) ? (kind == SB_HORZ ? HTHSCROLL : HTVSCROLL)
                                                    : HTNOWHERE;
  }
  if (SizeBoxRect(Layout()).Contains(screen) && SizeBoxIsGrip()) return HTBOTTOMRIGHT;
  return -1;
}

void TzkScrollWnd::NcMouseMove(TMessage& m) {
  if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
    TzkScrollPointerState& p = ScrollPointer();
    const int kind = m.WParam == HTHSCROLL ? SB_HORZ : SB_VERT;
    p.WindowUnder = Handle();
    if (p.HoverBar != kind) {
      p.PrevHoverPart = p.HoverPart = bpNone;
      p.HoverRect = BarRect(kind);
      p.HoverBar = kind;
      SetTimer(Handle(), kHoverTimer, kHoverInterval, nullptr);
      PaintBars();
    }
  }
  PassOn(m);
}

void TzkScrollWnd::NcButtonDown(TMessage& m) {
  const bool onBar = m.WParam == HTHSCROLL || m.WParam == HTVSCROLL;
  if (!onBar) {
    PassOn(m);
    return;
  }
  if (m.Msg != WM_NCLBUTTONDOWN && m.Msg != WM_NCLBUTTONDBLCLK) return;
  PressPart(m.WParam == HTHSCROLL ? SB_HORZ : SB_VERT,
            {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  if (ScrollPointer().PressedPart == bpNone) PassOn(m);
}

void TzkScrollWnd::PressPart(int kind, TPoint screen) {
  TzkScrollPointerState& p = ScrollPointer();
  TzkScrollBar& bar = *bars_[size_t(kind)];
  bar.ReadInfo(Handle());
  const TzkBarMetrics metrics = bar.Metrics(BarRect(kind), Skin().Tables());
  const TzkThumb thumb = ThumbGeometry(metrics, bar.Info);
  p.WindowUnder = Handle();
  p.PressedBar = kind;
  p.ScrollMsg = kind == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
  p.PressedPart = PartAt(metrics, thumb, Along(kind, screen));
  if (p.PressedPart == bpNone) {
    p.PressedBar = -1;
    return;
  }
  if (bar.Enabled(Handle())) {
    if (p.PressedPart == bpThumb) {
      p.ThumbLength = thumb.Length;
      p.ThumbStart = thumb.Start;
      p.BarRect = BarRect(kind);
      p.Grab = Along(kind, screen) - thumb.Start;
      dragging_ = true;
      p.LastPos = bar.Info.Pos;
      PaintBar(kind, nullptr);
    } else {
      p.DrawnPressed = p.PressedPart;
      PaintBar(kind, nullptr);
      SendScroll(p.PressedPart, 0);
      SetTimer(Handle(), kFirstRepeatTimer, kFirstRepeatDelay, nullptr);
    }
  }
  SetCapture(Handle());
}

void TzkScrollWnd::MouseMove(TPoint screen) {
  if (dragging_)
    DragTo(screen);
  else
    CheckPressedPart(screen);
}

void TzkScrollWnd::CheckPressedPart(TPoint screen) {
  TzkScrollPointerState& p = ScrollPointer();
  if (p.PressedBar < 0) return;
  TzkScrollBar& bar = *bars_[size_t(p.PressedBar)];
  const TRect r = BarRect(p.PressedBar);
  const TzkBarMetrics metrics = bar.Metrics(r, Skin().Tables());
  const TzkThumb thumb = ThumbGeometry(metrics, bar.Info);
  const bool inside = p.PressedBar == SB_HORZ ? screen.Y >= r.Top && screen.Y < r.Bottom
                                              : screen.X >= r.Left && screen.X < r.Right;
  const int under = inside ? PartAt(metrics, thumb, Along(p.PressedBar, screen)) : bpNone;
  const int drawn = under == p.PressedPart ? p.PressedPart : bpNone;
  if (drawn != p.DrawnPressed) {
    p.DrawnPressed = drawn;
    PaintBar(p.PressedBar, nullptr);
  }
}

void TzkScrollWnd::DragTo(TPoint screen) {
  TzkScrollPointerState& p = ScrollPointer();
  TzkScrollBar& bar = *bars_[size_t(p.PressedBar)];
  const TzkBarMetrics metrics = bar.Metrics(p.BarRect, Skin().Tables());
  TzkThumb thumb;
  thumb.Length = p.ThumbLength;
  thumb.Start = p.ThumbStart;
  const int along = p.PressedBar == SB_HORZ ? screen.X - p.BarRect.Left : screen.Y - p.BarRect.Top;
  p.ThumbStart = DraggedThumbStart(metrics, thumb, along, p.Grab);
  PaintBar(p.PressedBar, nullptr);
  const int32_t pos = PositionOfThumb(metrics, thumb, bar.Info, p.ThumbStart);
  if (pos != p.LastPos) {
    bar.Info.TrackPos = pos;
    p.LastPos = pos;
    SendScroll(kScrollThumbTrack, pos);
  }
}

bool TzkScrollWnd::Pressing() const {
  const TzkScrollPointerState& p = ScrollPointer();
  return p.PressedBar >= 0 && p.WindowUnder == Handle();
}

// The press ends with the button going up, or with the capture taken away (another window
// took it, the window lost activation, a modal window came up): either way the repeat stops,
// a drag ends where the thumb was last, and mouse moves go to the window again.
void TzkScrollWnd::EndPress(bool releaseCapture) {
  TzkScrollPointerState& p = ScrollPointer();
  const bool wasDragging = dragging_;
  const int bar = p.PressedBar;
  // Cleared first: releasing the capture tells this window of the change at once.
  p.PressedBar = -1;
  p.PressedPart = p.DrawnPressed = bpNone;
  if (releaseCapture && GetCapture() == Handle()) ReleaseCapture();
  KillTimer(Handle(), kFirstRepeatTimer);
  KillTimer(Handle(), kRepeatTimer);
  if (wasDragging) SendScroll(kScrollThumbPosition, p.LastPos);
  dragging_ = false;
  SendScroll(kScrollEnd, wasDragging ? p.LastPos : 0);
  ownScroll_ = false;
  if (bar >= 0 && bars_[size_t(bar)]) {
    bars_[size_t(bar)]->ReadInfo(Handle());
    PaintBars();
  }
}

void TzkScrollWnd::Timer(TMessage& m) {
  TzkScrollPointerState& p = ScrollPointer();
  POINT cursor;
  GetCursorPos(&cursor);
  switch (m.WParam) {
    case kHoverTimer:
      if (dragging_) return;
      if (p.HoverBar >= 0 && p.HoverRect.Contains({cursor.x, cursor.y})) {
        TzkScrollBar& bar = *bars_[size_t(p.HoverBar)];
        const TzkThumb thumb = ThumbGeometry(bar.Metrics(p.HoverRect, Skin().Tables()), bar.Info);
        p.HoverPart = PartAt(bar.Metrics(p.HoverRect, Skin().Tables()), thumb,
                             Along(p.HoverBar, {cursor.x, cursor.y}));
        if (p.HoverPart != p.PrevHoverPart) PaintBar(p.HoverBar, nullptr);
        p.PrevHoverPart = p.HoverPart;
      } else {
        KillTimer(Handle(), kHoverTimer);
        p.HoverBar = -1;
        p.HoverPart = p.PrevHoverPart = bpNone;
        PaintBars();
      }
      return;
    case kFirstRepeatTimer:
      KillTimer(Handle(), kFirstRepeatTimer);
      SetTimer(Handle(), kRepeatTimer, kRepeatInterval, nullptr);
      return;
    case kRepeatTimer:
      CheckPressedPart({cursor.x, cursor.y});
      if (p.DrawnPressed != bpNone) SendScroll(p.DrawnPressed, 0);
      return;
    default:
      PassOn(m);
      if (!ownScroll_ && !dragging_) RefreshBars(true);
  }
}

void TzkScrollWnd::SendScroll(int code, int32_t pos) {
  const TzkScrollPointerState& p = ScrollPointer();
  const UINT msg = p.ScrollMsg;
  const LPARAM info = LPARAM(uint32_t(code & 0xFFFF) | (uint32_t(msg) << 16));
  ownScroll_ = true;
  const bool full = SendCommandToWindow(Handle(), zcBeforeScroll, info) == 1;
  if (full) {
    SendMessageW(Handle(), msg, MAKEWPARAM(code, pos & 0xFFFF), LPARAM(pos));
  } else {
    const int32_t limited = std::clamp<int32_t>(pos, 0, 65535);
    if (code == kScrollThumbTrack)
      SetScrollPos(Handle(), msg == WM_HSCROLL ? SB_HORZ : SB_VERT, pos, FALSE);
    SendMessageW(Handle(), msg, MAKEWPARAM(code, limited), 0);
  }
  SendCommandToWindow(Handle(), zcAfterScroll, info);
  if (code != kScrollThumbTrack) ownScroll_ = false;
  const int kind = msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
  if (bars_[size_t(kind)]) bars_[size_t(kind)]->ReadInfo(Handle());
  if (!dragging_) PaintBar(kind, nullptr);
}

void TzkScrollWnd::WithoutPlatformPainting(const std::function<void()>& action) {
  HWND wnd = Handle();
  if (preventStyleChange_ || !(GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE)) {
    action();
    return;
  }
  // The style is changed behind the window's back; the platform may change the scroll bits
  // meanwhile, so only the visible bit is put back.
  struct TShowAgain {
    TzkScrollWnd& self;
    ~TShowAgain() {
      SetWindowLongW(self.Handle(), GWL_STYLE, GetWindowLongW(self.Handle(), GWL_STYLE) | WS_VISIBLE);
      self.preventStyleChange_ = false;
    }
  } showAgain{*this};
  preventStyleChange_ = true;
  SetWindowLongW(wnd, GWL_STYLE, GetWindowLongW(wnd, GWL_STYLE) & ~WS_VISIBLE);
  action();
}

void TzkScrollWnd::RefreshBars(bool repaint) {
  if (Skin().Updating || !bars_[0]) return;
  for (auto& b : bars_) b->ReadInfo(Handle());
  if (repaint) PaintBars();
}

void TzkScrollWnd::RefreshChangedBars() {
  if (Skin().Updating || !bars_[0]) return;
  bool changed = false;
  for (auto& b : bars_) {
    const TzkScrollInfo before = b->Info;
    b->ReadInfo(Handle());
    changed |= before.Min != b->Info.Min || before.Max != b->Info.Max ||
               before.Page != b->Info.Page || before.Pos != b->Info.Pos;
  }
  if (changed) PaintBars();
}

void TzkScrollWnd::PaintBars(HDC windowDc) {
  if (!bars_[0] || !Skin().Skinned() || !IsWindowVisible(Handle())) return;
  if (bars_[0]->Shown) PaintBar(SB_HORZ, windowDc);
  if (bars_[1]->Shown) PaintBar(SB_VERT, windowDc);
  if (bars_[0]->Shown && bars_[1]->Shown) PaintSizeBox(windowDc);
}

TsBackgroundInfo TzkScrollWnd::BarBackground(TPoint /*at*/) {
  TsBackgroundInfo bg;
  const TsSkinTables* t = Skin().Tables();
  bg.Color = t && Skin().Skinned() ? t->Sections[size_t(Skin().SkinIndex)].Color
                                   : TColor(GetSysColor(COLOR_WINDOW));
  return bg;
}

namespace {

// A window context released on scope exit, unless the caller gave one.
class TBarWindowDc {
 public:
  TBarWindowDc(HWND wnd, HDC given) : wnd_(wnd), dc_(given ? given : GetWindowDC(wnd)), own_(!given) {}
  ~TBarWindowDc() {
    if (own_ && dc_) ReleaseDC(wnd_, dc_);
  }
  TBarWindowDc(const TBarWindowDc&) = delete;
  TBarWindowDc& operator=(const TBarWindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
  bool own_;
};

}  // namespace

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

void TzkScrollWnd::RenderBar(int kind, TzkBitmap& out, int hotPart, int pressedPart,
                             int dragThumbStart) {
  const TsSkinTables* t = Skin().Tables();
  TzkScrollBar& bar = *bars_[size_t(kind)];
  const TRect rect = BarRect(kind);
  if (!t || rect.IsEmpty()) return;
  const bool horz = kind == SB_HORZ;
  const TsCachedIndexes& ci = t->CachedIndexes;
  const TsCachedSection& bar1 = horz ? ci.Bar1H : ci.Bar1V;
  const TsCachedSection& bar2 = horz ? ci.Bar2H : ci.Bar2V;
  const TsCachedSection& first = horz ? ci.ScrollLeft : ci.ScrollTop;
  const TsCachedSection& second = horz ? ci.ScrollRight : ci.ScrollBottom;
  const TsCachedSection& slider = horz ? ci.SliderHorz : ci.SliderVert;
  if (!t->IsValidSection(bar1.SkinIndex)) return;
  const TzkBarMetrics metrics = bar.Metrics(rect, t);
  if (metrics.Length <= 1) return;
  out = NewDeviceBitmap24(rect.Width(), rect.Height());
  RECT wr;
  GetWindowRect(Handle(), &wr);
  const TsBackgroundInfo bg = BarBackground({rect.Left - wr.left, rect.Top - wr.top});
  // Along the bar from a to b, across the whole thickness.
  auto span = [&](int a, int b) {
    return horz ? Rect(a, 0, b, rect.Height()) : Rect(0, a, rect.Width(), b);
  };
  const bool enabled = bar.Enabled(Handle());
  const int L = metrics.Length;
  if (HasThumb(metrics, ThumbGeometry(metrics, bar.Info)) || 2 * metrics.Button < L) {
    TzkThumb thumb = ThumbGeometry(metrics, bar.Info);
    if (dragThumbStart >= 0) thumb.Start = dragThumbStart;
    const bool thumbShown = enabled && thumb.Length > 0 && HasThumb(metrics, thumb);
    const int split = thumbShown ? thumb.Start + thumb.Length / 2 : L / 2;
    const int B = metrics.Button;
    PaintBarPart(*t, bar1, bg, out, span(0, split), pressedPart == bpTrackBefore ? 2 : 0, nullptr);
    PaintBarPart(*t, bar2, bg, out, span(split, L), pressedPart == bpTrackAfter ? 2 : 0, nullptr);
    const int sys = std::min(GetSystemMetrics(SM_CXHSCROLL), B);
    const TRect g1 = span(0, sys), g2 = span(L - sys, L);
    auto arrowState = [&](int part) { return pressedPart == part ? 2 : hotPart == part ? 1 : 0; };
    PaintBarPart(*t, first, bg, out, span(0, B), arrowState(bpFirstArrow), &g1);
    PaintBarPart(*t, second, bg, out, span(L - B, L), arrowState(bpSecondArrow), &g2);
    if (thumbShown) {
      const TRect tr = span(thumb.Start, thumb.Start + thumb.Length);
      const int state = dragThumbStart >= 0 ? 2 : hotPart == bpThumb ? 1 : 0;
      PaintBarPart(*t, slider, bg, out, tr, state, &tr);
    }
  } else {
    const int half = L / 2;
    PaintBarPart(*t, bar1, bg, out, span(0, half), 0, nullptr);
    PaintBarPart(*t, bar2, bg, out, span(half, L), 0, nullptr);
    const TRect a = span(0, half), b = span(half, L);
    PaintBarPart(*t, first, bg, out, a, pressedPart == bpFirstArrow ? 2 : hotPart == bpFirstArrow, &a);
    PaintBarPart(*t, second, bg, out, b, pressedPart == bpSecondArrow ? 2 : hotPart == bpSecondArrow, &b);
  }
  if (!enabled) TintRect(out, Rect(0, 0, out.Width() - 1, out.Height() - 1), 40, bg.Color);
}

void TzkScrollWnd::PaintBar(int kind, HDC windowDc) {
  TzkScrollBar* bar = bars_[size_t(kind)].get();
  if (!bar || !bar->Shown || !Skin().Skinned()) return;
  const TzkScrollPointerState& p = ScrollPointer();
  const bool mine = p.WindowUnder == Handle();
  if (dragging_ && !(mine && p.PressedBar == kind)) return;
  if (!dragging_) bar->ReadInfo(Handle());
  const bool enabled = bar->Enabled(Handle());
  const int hot = mine && enabled && p.HoverBar == kind ? p.HoverPart : bpNone;
  const int pressed = mine && p.PressedBar == kind ? p.DrawnPressed : bpNone;
  const int dragStart = dragging_ && mine && p.PressedBar == kind ? p.ThumbStart : -1;
  TzkBitmap out;
  RenderBar(kind, out, hot, pressed, dragStart);
  if (out.Empty()) return;
  const TRect r = BarRect(kind);
  RECT wr;
  GetWindowRect(Handle(), &wr);
  TBarWindowDc dc(Handle(), windowDc);
  DrawBitmapToDC(dc.Get(), r.Left - wr.left, r.Top - wr.top, out, Rect(0, 0, out.Width(), out.Height()));
}

void TzkScrollWnd::PaintSizeBox(HDC windowDc) {
  const TRect box = SizeBoxRect(Layout());
  if (box.IsEmpty()) return;
  TzkBitmap out = NewDeviceBitmap24(box.Width(), box.Height());
  FillRectOf(out, Rect(0, 0, box.Width(), box.Height()), BarBackground({0, 0}).Color);
  RECT wr;
  GetWindowRect(Handle(), &wr);
  TBarWindowDc dc(Handle(), windowDc);
  DrawBitmapToDC(dc.Get(), box.Left - wr.left, box.Top - wr.top, out, Rect(0, 0, out.Width(), out.Height()));
}

void TzkMainWnd::PaintMessage(TMessage& m, const std::function<void(HDC)>& paint) {
  const TPaintScope scope(Handle(), m.WParam);
  if (!Skin().Updating) paint(scope.Dc());
}

bool TzkMainWnd::AnswerOwnPainting(TMessage& m, const std::function<void(HDC)>& paint) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      PaintMessage(m, paint);
      return true;
    case WM_PRINTCLIENT:
      paint(HDC(m.WParam));
      return true;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_UPDATEUISTATE:
      m.Result = 1;
      return true;
    default:
      return false;
  }
}

bool TzkMainWnd::SizeCacheToWindow(int& w, int& h) {
  TzkAdapterSkin& s = Skin();
  RECT wr;
  GetWindowRect(Handle(), &wr);
  w = wr.right - wr.left;
  h = wr.bottom - wr.top;
  if (!s.Tables() || !s.Skinned() || w <= 0 || h <= 0) return false;
  if (s.CacheBmp.Width() != w || s.CacheBmp.Height() != h) s.CacheBmp = NewDeviceBitmap24(w, h);
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
  TsSkinManager* manager = skin_.Manager;
  if (!manager || manager->HotWindow() != wnd_) return;
  if (gone) manager->ForgetHotWindow(wnd_);
  else manager->SetHotWindow(nullptr);
}

void TzkMainWnd::GiveUpHotWindow() {
  TsSkinManager* manager = Skin().Manager;
  if (manager && manager->HotWindow() == Handle() && !PointerInside()) manager->SetHotWindow(nullptr);
}
