#include "skin/controls/zkScrollWnd.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "skin/data/sSkinView.h"
#include "skin/paint/sCommonData.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/sMaskPainter.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBlend.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/WinControl.h"

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
  return MetricForDpi(kind_ == SB_HORZ ? SM_CYHSCROLL : SM_CXVSCROLL, owner_->BarDpi());
}

int TzkScrollBar::ButtonLength(const TsSkinTables* tables) const {
  if (ButtonOverride >= 0) return ButtonOverride;
  int length = MetricForDpi(SM_CXHSCROLL, owner_->BarDpi());
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
  m.MinThumb = ScaleForDpi(MinThumb, owner_->BarDpi());
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

TzkScrollWnd::TzkScrollWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkMainWnd(wnd, section, manager) {}

int TzkScrollWnd::SkinDpi() const {
  return Skin().Manager ? Skin().Manager->PixelsPerInch() : WindowDpi(Handle());
}

void TzkScrollWnd::BeforeHook() {
  bars_[0] = std::make_unique<TzkScrollBar>(this, SB_HORZ);
  bars_[1] = std::make_unique<TzkScrollBar>(this, SB_VERT);
  const LONG style = GetWindowLongW(Handle(), GWL_STYLE);
  barDpi_ = SkinDpi();
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
      MarkDestroyed();
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
  const bool own = reinterpret_cast<TsSkinView*>(c.Param) == Skin().Manager;
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
      // The bars were given their space for another scale: the frame is calculated again,
      // once the skin is active again (a window that draws its own frame moves it then too).
      if (own && c.Code == zcSkinRefresh && !Destroyed()) {
        if (barDpi_ != SkinDpi())
          SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
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
  barDpi_ = SkinDpi();
  MoveClientToScale(*r);
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
    const int sys = std::min(MetricForDpi(SM_CXHSCROLL, BarDpi()), B);
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
