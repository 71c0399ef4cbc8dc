// TsEdit: the single-line edit box drawn by the skin. The platform edit keeps editing and
// drawing its client area; the skin gives it its colours (normal and hot: focused or under
// the pointer) and its border, which is copied from the control's cached image into the
// non-client area. A disabled edit is painted wholly from the cached image, text included
// (a password edit shows one password character per character). The edit can carry a bound
// caption label that follows its position, visibility, enabled state and reading direction.
//
//   cached image (width x height)          window
//   +--------------------------------+     +---------------------------+
//   | b-wide ring  -> non-client     |     | frame: ring from cache    |
//   |   +------------------------+   |     |   +-------------------+   |
//   |   | text at (a+1, a+1)     |   |     |   | platform client   |   |
//   |   +------------------------+   |     |   +-------------------+   |
//   +--------------------------------+     +---------------------------+
#pragma once

#include <memory>

#include "skin/paint/sCommonData.h"
#include "skin/paint/sSectionPainter.h"
#include "toolkit/Edit.h"

enum class TsEditBorderStyle { bsNone, bsSingle };

class TsEdit : public TEdit {
 public:
  explicit TsEdit(TComponent* owner);
  ~TsEdit() override;
  const wchar_t* ClassName() const override { return L"TsEdit"; }

  TsCommonData& SkinData() { return *skinData_; }
  TsBoundLabel& BoundLabel() { return *boundLabel_; }
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  TsEditBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TsEditBorderStyle value);
  // A single border is the sunken 3-D edge (2 pixels) with Ctl3D, a 1-pixel line without.
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);

  // Width of the skinned ring copied into the frame: Ctl3D + 1 when bordered, else 0.
  int BorderWidth() const;
  // Composes the cached image: the section in the hot or normal state, the text, and for a
  // disabled edit the disabled look.
  void PrepareCache();

 protected:
  void WndProc(TMessage& m) override;
  void CreateParams(TCreateParams& params) override;
  void Loaded() override;
  void BoundsChanged() override;
  void PrintClient(HDC dc, LPARAM flags) override;
  // Paints what a derived control shows over the text into the cached image before the
  // disabled look is applied (the spin edit's arrow buttons).
  virtual void PaintOverCache(TzkBitmap& /*cache*/) {}
  // Skin commands after the edit's own handling (true: answered).
  virtual bool SkinCommandExtra(TMessage& /*m*/) { return false; }
  bool Printing() const { return printing_; }
  // Redraws the non-client frame (the skinned ring).
  void RedrawFrame();

 private:
  bool SkinCommandMessage(TMessage& m);
  bool SkinnedMessage(TMessage& m);
  void AfterDefault(TMessage& m);
  void FollowBoundLabel(const TMessage& m);
  void PaintFrame();
  void PaintClient(TMessage& m);
  void Print(TMessage& m);
  void CopyRing(HDC dc, int b);
  void SyncColors();
  void PaintTextToCache(int state);

  std::unique_ptr<TsCommonData> skinData_;
  std::unique_ptr<TsBoundLabel> boundLabel_;
  TsDisabledKind disabledKind_ = kDefaultDisabledKind;
  TsEditBorderStyle borderStyle_ = TsEditBorderStyle::bsSingle;
  bool ctl3D_ = true;
  bool printing_ = false;
};
