// Controls: the visual components. A control has a parent window control, bounds in its
// parent's client coordinates, visibility, enabled state, text, font and colour, and one
// replaceable message method, WindowProc, through which every message and toolkit
// notification reaches it (Perform sends one directly). WindowProc starts out as the
// virtual WndProc; derived controls override WndProc, and outside objects (skin adapters)
// may replace WindowProc and call the previous one.
//
// Windowless controls (TGraphicControl) are painted by their parent into the parent's
// device context and get their mouse messages from the parent.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "skin/paint/zkTypes.h"
#include "toolkit/Component.h"
#include "toolkit/DpiLength.h"
#include "toolkit/GraphicsObjects.h"
#include "toolkit/Messages.h"

class TWinControl;
class TPopupMenu;
class TCustomForm;
class TCanvas;

enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1,
  csCaptureMouse = 2,
  csClickEvents = 4,
  csOpaque = 8,
  csSetCaption = 16,
  csDoubleClicks = 32,
  csParentBackground = 64,
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TShiftState = unsigned;

enum class TCursor { crDefault, crArrow, crHandPoint, crIBeam };

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The side of its parent a control sticks to: stacked along that side at full length, or
// filling what the sides leave (alClient).
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TMouseEvent = std::function<void(TObject*, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject*, TShiftState, int x, int y)>;
using TKeyEvent = std::function<void(TObject*, WORD& key, TShiftState)>;
using TKeyPressEvent = std::function<void(TObject*, wchar_t& key)>;

// The shift state of a mouse message's key flags, or of the keyboard right now.
TShiftState ShiftStateFromKeys(WPARAM mouseKeys);
TShiftState KeyboardShiftState();

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  const wchar_t* ClassName() const override { return L"TControl"; }

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  virtual void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual TRect ClientRect() const { return TRect(0, 0, width_, height_); }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientSize(int width, int height) { SetBounds(left_, top_, width, height); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent up to a top-level window visible.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::wstring Caption() const { return GetText(); }
  void SetCaption(const std::wstring& text) { SetText(text); }
  std::wstring Text() const { return GetText(); }
  void SetText(const std::wstring& text);

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_.Assign(font); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool on);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool on);
  // Colour properties a class publishes beyond Color ("FocusColor" ...), looked up by name:
  // false when the class has no property of that name. Lets outside code (skin adapters)
  // keep and give back such colours without knowing the class.
  virtual bool GetPublishedColor(const std::wstring& /*name*/, TColor& /*value*/) const {
    return false;
  }
  virtual bool SetPublishedColor(const std::wstring& /*name*/, TColor /*value*/) { return false; }

  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  unsigned ControlStyle() const { return controlStyle_; }
  void SetControlStyle(unsigned style) { controlStyle_ = style; }
  bool MouseInControl() const { return mouseInControl_; }

  // The message method. Replaceable; the default calls WndProc.
  std::function<void(TMessage&)> WindowProc;
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  virtual bool IsWindowed() const { return false; }
  virtual void Invalidate();
  virtual void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  virtual void Click();

  TPoint ClientOrigin() const;  // screen position of the client area's top-left
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // The form this control is on (or is), or nullptr.
  TCustomForm* ParentForm() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // Paints a windowless control into its parent's device context; the context's origin is
  // at the control's top-left and clipped to it.
  virtual void PaintTo(HDC dc);

  // Lays the control out for another display scale: its bounds (each edge scaled, so
  // neighbours that touched still touch) and its font's pixel height unless it follows its
  // parent's font. A way back to an earlier DPI gives exactly the earlier layout, as long as
  // nobody moved the control in between (see TDpiBounds).
  virtual void ChangeScale(int fromDpi, int toDpi);

 protected:
  virtual void WndProc(TMessage& m);
  // What happens to a message nobody handled: nothing for windowless controls, the
  // window's own procedure for windowed ones.
  virtual void DefaultHandler(TMessage& m);
  virtual std::wstring GetText() const { return text_; }
  virtual void TextChanged() {}
  virtual void VisibleChanged() {}
  virtual void EnabledChanged() {}
  virtual void FontChanged() {}
  virtual void ColorChanged() {}
  virtual void BoundsChanged() {}
  void RealignAfterChange();
  void Loaded() override;
  void Notification(TComponent* c, TOperation op) override;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // Shows the popup menu at a screen point (-1, -1: below the control); true when shown.
  bool DoContextPopup(TPoint screen);
  void ParentFontChanged();
  void ParentColorChanged();
  // Stores the bounds without moving anything (the window moved itself).
  void UpdateBoundsRect(const TRect& r);
  // The two halves of ChangeScale.
  void ScaleFont(int fromDpi, int toDpi);
  void ScaleBounds(int fromDpi, int toDpi);

  std::wstring text_;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool mouseInControl_ = false;
  bool clicking_ = false;
  unsigned controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;

 private:
  void HandleMouse(TMessage& m);

  TWinControl* parent_ = nullptr;
  TFont font_;
  TColor color_ = clWindow;
  bool parentFont_ = true;
  bool parentColor_ = false;
  bool settingParentFont_ = false;
  TPopupMenu* popupMenu_ = nullptr;
  TCursor cursor_ = TCursor::crDefault;
  TDpiBounds scaledBounds_;
  TDpiLength scaledFontHeight_;
  friend class TWinControl;
};

// A windowless control: it draws itself in Paint() on a canvas over its parent's context.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  const wchar_t* ClassName() const override { return L"TGraphicControl"; }
  void PaintTo(HDC dc) override;
  TCanvas& Canvas() { return *canvas_; }

 protected:
  void WndProc(TMessage& m) override;
  virtual void Paint() {}

 private:
  TCanvas* canvas_;
};
