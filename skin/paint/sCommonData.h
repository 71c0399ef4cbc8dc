// TsCommonData: the skin state every skinned control owns. It binds the control to a skin
// manager and a section, caches the section's record indexes, owns the cached image the
// control is painted from, tracks focus and mouse-over, decides when the image is stale
// (BGChanged), answers the children's requests for the background behind them, and reacts to
// the skin commands and a few window messages on the control's behalf (CommonMessage).
//
// [SECTION] Kinds            control-kind codes, kind sets, default sections
// [SECTION] TsCommonData     fields, indexes, background, hot/updating, cache, glow, messages
// [SECTION] Asking parents   the background request sent up the control tree
// [SECTION] TsBoundLabel     the caption label an edit-like control can carry (sLabel.cpp)
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "skin/data/sSkinCommands.h"
#include "skin/paint/sBackgroundInfo.h"
#include "skin/paint/sSectionPainter.h"
#include "skin/paint/zkBitmap.h"
#include "toolkit/Control.h"
#include "toolkit/GraphicsObjects.h"
#include "toolkit/WinControl.h"

class TsSkinView;
class TsEditLabel;

// [SECTION] Kinds

// Kind codes of the controls this engine has.
constexpr int ckEdit = 3;
constexpr int ckSpinButton = 10;
constexpr int ckGroupBox = 74;
constexpr int ckSpeedButton = 92;
constexpr int ckButton = 93;

// Mouse-over neither makes a container hot nor sets its MouseAbove.
bool IsContainerKind(int kind);
// No glow on mouse-over.
bool IsNoGlowKind(int kind);
// Focus and mouse-over repaint the window frame.
bool IsEditLikeKind(int kind);
// The section a kind uses when none is named; empty for kinds the table does not list.
std::string DefaultSectionOfKind(int kind);

// Windowless text controls that set their own colour when the skin is removed (the skinned
// labels): a container leaves them alone then.
class IzkSkinTextColor {
 protected:
  ~IzkSkinTextColor() = default;
};

// [SECTION] TsCommonData

constexpr uint16_t kPlainBackgroundBit = 1;
constexpr uint16_t kFillHasTexture = 4;

class TsCommonData : public TPersistent {
 public:
  // owner: the control (or other object) the data belongs to; withCache: make CacheBmp.
  TsCommonData(TComponent* owner, bool withCache);
  ~TsCommonData() override;
  TsCommonData(const TsCommonData&) = delete;
  TsCommonData& operator=(const TsCommonData&) = delete;
  const wchar_t* ClassName() const override { return L"TsCommonData"; }

  // Published.
  const std::string& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::string& value);  // upper-cased; "UNKNOWN" for empty
  // The explicit manager, or the default one.
  TsSkinView* SkinManager() const;
  void SetSkinManager(TsSkinView* manager);
  bool CustomFont() const { return customFont_; }
  void SetCustomFont(bool value);
  bool CustomColor() const { return customColor_; }
  void SetCustomColor(bool value);

  // Fields (see the comments for who writes them).
  int GlowId = -1;            // glow shown around the control (ShowGlow), -1 none
  bool Updating = false;      // painting is postponed
  int BorderIndex = -1;       // "BORDERSMASK" of the section
  int SkinIndex = -1;         // the section in the manager's table
  int TextureIndex = -1;      // "PATTERN"
  int HotTextureIndex = -1;   // "HOTPATTERN"
  bool SkipPaint = false;     // command 9
  bool BGChanged = true;      // CacheBmp is stale
  bool PartlyHidden = true;   // the bounds are not wholly inside the parent's client area
  TControl* OwnerControl = nullptr;
  TComponent* OwnerObject = nullptr;
  std::unique_ptr<TzkBitmap> CacheBmp;  // 24-bit, sized to the control
  int ControlKind = 0;
  bool Focused = false;
  bool MouseAbove = false;
  uint16_t PlainBackground = 0;  // kPlainBackgroundBit: children may take a colour
  uint16_t FillKinds = 0;        // kFillHasTexture | gradient mode (1, 2, 3)

  // A manager, a valid section, neither owner nor manager being destroyed, and (with
  // requireActive) the skin active.
  bool Skinned(bool requireActive = false) const;
  // The manager's tables when skinned, else null.
  const TsSkinTables* Tables() const;
  // The section record when skinned, else null.
  const TsGeneralData* Section() const;
  // The look the section painter draws the control with.
  TsItemLook Look() const;
  // The section's transparency in a state (0 normal, else hot).
  int Transparency(int state) const;
  // The control shows its parent's background: see-through in its current state, or disabled.
  bool ShowsParentBackground() const;

  void UpdateIndexes();
  void ApplyDefaultSection();
  void UpdatePlainFlag(bool tellChildren);
  bool IsHot() const;
  bool IsUpdating();
  void BeginUpdate();
  void EndUpdate();
  void Invalidate();
  void PrepareCacheBitmap();
  TColor EffectiveColor(int state) const;
  TsBackgroundInfo GetBackground();
  void AnswerBackground(TsBackgroundRequest& request, int state);
  void UpdateCorners(int state);
  void ShowGlow(bool repeat);
  void HideGlow();
  // The reactions every skinned control shares; true when the message was answered and must
  // not go on (the control calls it first from its message method).
  bool CommonMessage(TMessage& m);
  // Copies the cached image (from src's top-left) into dc within clip, leaving out the
  // visible windowed children (and, with graphics, the opaque windowless ones).
  void CopyCacheExcludingChildren(TWinControl* parent, const TRect& src, int dy, int dx,
                                  bool refreshCorners, HDC dc, const TRect& clip, bool graphics);
  // The same for a bare window: leaves out the visible child windows; a child group box
  // leaves out only its frame (caption strip and the GROUPBOX border widths).
  void CopyCacheExcludingWindows(HWND wnd, const TRect& src, int dy, int dx, bool refreshCorners,
                                 HDC dc, const TRect& clip);

 private:
  bool SkinCommand(const TsSkinCommand& c, LRESULT& result);
  bool HandleStandardMessage(TMessage& m);
  void ForgetSkin(TsSkinView* manager);
  void ApplyEditColors(bool fromSkin);
  TColor ParentColor() const;
  TColor AnswerColor() const;
  LRESULT AnswerNeedsBitmap() const;
  void InvalidateIfNeeded(bool redraw);
  void MouseEnterNotification(TMessage& m);
  void MouseLeaveNotification();
  TWinControl* OwnerWindow() const;

  std::string skinSection_;
  bool customFont_ = false;
  bool customColor_ = false;
  TsSkinView* manager_ = nullptr;  // explicit manager; null means the default
};

// [SECTION] Asking parents

// Asks the control's parent (or, for a top control, nobody) what lies behind the control
// (Algorithm of command 34): sets BgType 0 and PleaseDraw, sends the request; when nobody
// answered, draws the parent into request.DC (pleaseDraw) or answers with the parent's colour.
void AskBackgroundOfControl(TsBackgroundRequest& request, TControl* control, bool pleaseDraw);
// The same for a window handle and plain messages.
void AskBackgroundOfWindow(TsBackgroundRequest& request, HWND wnd, bool pleaseDraw);
// The answer as painters take it: type 2 gives the bitmap with its offsets, anything else a
// colour converted to RGB.
TsBackgroundInfo BackgroundInfoOf(const TsBackgroundRequest& request);

// [SECTION] TsBoundLabel

enum class TsCaptionLayout { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

class TsBoundLabel : public TPersistent {
 public:
  TsBoundLabel(TsCommonData* commonData);
  ~TsBoundLabel() override;
  const wchar_t* ClassName() const override { return L"TsBoundLabel"; }

  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int value);
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& value);
  TsCaptionLayout Layout() const { return layout_; }
  void SetLayout(TsCaptionLayout value);
  // The label's font; kept here while no label exists.
  TFont& Font();
  void SetFont(const TFont& font);
  int Indent() const { return indent_; }
  void SetIndent(int value);
  bool Active() const { return active_; }
  void SetActive(bool value);
  bool UseSkinColor() const;
  void SetUseSkinColor(bool value);
  TsEditLabel* Label() const { return label_; }

  // Places the label beside its control by Layout.
  void Reposition();
  // Keeps the label with its control after the control has handled a message: moved or
  // resized, it is placed again; shown or hidden, it shows or hides too; enabled or disabled,
  // it looks as the control does, so a control that stays readable while disabled
  // (dimsWhenDisabled false) keeps its label enabled.
  void FollowOwner(const TMessage& m, bool dimsWhenDisabled);
  // The label tells its creator it is gone (it is not freed again).
  void LabelDestroyed();

 private:
  int maxWidth_ = 0;
  std::wstring caption_;
  TsCaptionLayout layout_ = TsCaptionLayout::sclLeft;
  TFont font_;
  int indent_ = 0;
  bool active_ = false;
  TsEditLabel* label_ = nullptr;
  TsCommonData* commonData_;
};
