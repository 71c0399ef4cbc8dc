#include "toolkit/Control.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"
#include "toolkit/WinControl.h"

TShiftState ShiftStateFromKeys(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_.OnChange = [this] {
    if (!settingParentFont_) parentFont_ = false;
    FontChanged();
    Perform(CM_FONTCHANGED);
  };
}

TControl::~TControl() {
  Destroying();
  Application->ControlDestroyed(this);
  if (parent_) parent_->RemoveControl(this);
  parent_ = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    if (parentFont_) ParentFontChanged();
    if (parentColor_) ParentColorChanged();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  if (!IsWindowed() && parent_) parent_->Invalidate();  // the old place
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  if (!IsWindowed()) Invalidate();
  BoundsChanged();
  RealignAfterChange();
}

void TControl::UpdateBoundsRect(const TRect& r) {
  left_ = r.Left;
  top_ = r.Top;
  width_ = r.Width();
  height_ = r.Height();
  BoundsChanged();
  RealignAfterChange();
}

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->AlignControls();
}

// An aligned child that changed its size or visibility moves its aligned siblings; a
// container that changed its size lays its aligned children out again.
void TControl::RealignAfterChange() {
  if (align_ != TAlign::alNone && parent_) parent_->AlignControls();
  if (IsWindowed()) static_cast<TWinControl*>(this)->AlignControls();
}

bool TControl::Showing() const {
  return visible_ && parent_ && parent_->Showing();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
  if (align_ != TAlign::alNone && parent_) parent_->AlignControls();
  if (!IsWindowed() && parent_) parent_->Invalidate();
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
  Invalidate();
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::wstring& text) {
  if (text == GetText() && text == text_) return;
  text_ = text;
  TextChanged();
  Invalidate();
  Perform(CM_TEXTCHANGED);
}

void TControl::SetParentFont(bool on) {
  parentFont_ = on;
  if (on) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  settingParentFont_ = true;
  font_.Assign(parent_->Font());
  settingParentFont_ = false;
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
  Invalidate();
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool on) {
  parentColor_ = on;
  if (on) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_ || parent_->Color() == color_) return;
  color_ = parent_->Color();
  ColorChanged();
  Invalidate();
  Perform(CM_COLORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Loaded() { TComponent::Loaded(); }

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
  RECT r = {left_, top_, left_ + width_, top_ + height_};
  InvalidateRect(parent_->WindowHandle(), &r, (controlStyle_ & csOpaque) ? FALSE : TRUE);
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return TPoint(left_, top_);
  const TPoint p = parent_->ClientOrigin();
  return TPoint(p.X + left_, p.Y + top_);
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TPoint o = ClientOrigin();
  return TPoint(p.X + o.X, p.Y + o.Y);
}

TPoint TControl::ScreenToClient(TPoint p) const {
  const TPoint o = ClientOrigin();
  return TPoint(p.X - o.X, p.Y - o.Y);
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::PaintTo(HDC) {}

void TControl::ChangeScale(int fromDpi, int toDpi) {
  if (fromDpi == toDpi) return;
  ScaleFont(fromDpi, toDpi);
  ScaleBounds(fromDpi, toDpi);
}

void TControl::ScaleFont(int fromDpi, int toDpi) {
  if (!parentFont_) font_.SetHeight(scaledFontHeight_.Rescale(font_.Height(), fromDpi, toDpi));
}

void TControl::ScaleBounds(int fromDpi, int toDpi) {
  const TDpiBounds::TBox b = scaledBounds_.Rescale({left_, top_, width_, height_}, fromDpi, toDpi);
  SetBounds(b.Left, b.Top, b.Width, b.Height);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

bool TControl::DoContextPopup(TPoint screen) {
  if (!popupMenu_ || !popupMenu_->AutoPopup() || !enabled_) return false;
  if (screen.X == -1 && screen.Y == -1) screen = ClientToScreen(TPoint(0, 0));
  popupMenu_->SetPopupComponent(this);
  popupMenu_->Popup(screen.X, screen.Y);
  return true;
}

void TControl::HandleMouse(TMessage& m) {
  const int x = short(LOWORD(m.LParam));
  const int y = short(HIWORD(m.LParam));
  const TShiftState shift = ShiftStateFromKeys(m.WParam);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (m.Msg == WM_LBUTTONDBLCLK && (controlStyle_ & csDoubleClicks) && OnDblClick)
        OnDblClick(this);
      clicking_ = (controlStyle_ & csClickEvents) != 0;
      MouseDown(TMouseButton::mbLeft, shift, x, y);
      break;
    case WM_LBUTTONUP: {
      const bool click = clicking_ && x >= 0 && y >= 0 && x < width_ && y < height_;
      clicking_ = false;
      MouseUp(TMouseButton::mbLeft, shift, x, y);
      if (click) Click();
      break;
    }
    case WM_RBUTTONDOWN:
      MouseDown(TMouseButton::mbRight, shift, x, y);
      break;
    case WM_RBUTTONUP:
      MouseUp(TMouseButton::mbRight, shift, x, y);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(TMouseButton::mbMiddle, shift, x, y);
      break;
    case WM_MBUTTONUP:
      MouseUp(TMouseButton::mbMiddle, shift, x, y);
      break;
    case WM_MOUSEMOVE:
      MouseMove(shift, x, y);
      break;
  }
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      if (enabled_) HandleMouse(m);
      break;
    case WM_CONTEXTMENU:
      if (DoContextPopup(TPoint(short(LOWORD(m.LParam)), short(HIWORD(m.LParam))))) {
        m.Result = 1;
        return;
      }
      break;
    case CM_MOUSEENTER:
      if (reinterpret_cast<TControl*>(m.LParam) == this) {
        mouseInControl_ = true;
        if (OnMouseEnter) OnMouseEnter(this);
      }
      if (parent_) parent_->Perform(CM_MOUSEENTER, 0, m.LParam);
      return;
    case CM_MOUSELEAVE:
      if (reinterpret_cast<TControl*>(m.LParam) == this) {
        mouseInControl_ = false;
        if (OnMouseLeave) OnMouseLeave(this);
      }
      if (parent_) parent_->Perform(CM_MOUSELEAVE, 0, m.LParam);
      return;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(new TCanvas) {}

TGraphicControl::~TGraphicControl() { delete canvas_; }

void TGraphicControl::PaintTo(HDC dc) {
  canvas_->SetHandle(dc);
  try {
    Perform(WM_PAINT, WPARAM(dc));
  } catch (...) {
    canvas_->SetHandle(nullptr);
    throw;
  }
  canvas_->SetHandle(nullptr);
}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    if (canvas_->HandleAllocated()) {
      Paint();
    } else if (m.WParam) {
      canvas_->SetHandle(HDC(m.WParam));
      Paint();
      canvas_->SetHandle(nullptr);
    }
    return;
  }
  TControl::WndProc(m);
}
