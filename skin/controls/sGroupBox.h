// TsGroupBox: the group box drawn from the skin. Its cached image holds, from the top:
//
//   +--caption strip: the parent's background, caption-rectangle high---------------+
//   |  [ caption ]  <- CaptionSkin section, or the parent's background, then the text |
//   +--frame: the GROUPBOX section from half the caption's height down---------------+
//   |                                                                                |
//   +--------------------------------------------------------------------------------+
#pragma once

#include <memory>
#include <string>

#include "skin/paint/sCommonData.h"
#include "toolkit/GroupBox.h"

enum class TsGroupCaptionLayout { clTopLeft, clTopCenter, clTopRight };

class TsGroupBox : public TGroupBox {
 public:
  explicit TsGroupBox(TComponent* owner);
  ~TsGroupBox() override;
  const wchar_t* ClassName() const override { return L"TsGroupBox"; }

  TsCommonData& SkinData() { return *skinData_; }
  TsGroupCaptionLayout CaptionLayout() const { return captionLayout_; }
  void SetCaptionLayout(TsGroupCaptionLayout value);
  int CaptionYOffset() const { return captionYOffset_; }
  void SetCaptionYOffset(int value);
  const std::string& CaptionSkin() const { return captionSkin_; }
  void SetCaptionSkin(const std::string& value);

  TRect ClientRect() const override;
  int CaptionHeight();
  TRect CaptionRect();
  // Composes the cached image.
  void PrepareCache();

 protected:
  void WndProc(TMessage& m) override;
  void Loaded() override;

 private:
  bool SkinCommandMessage(TMessage& m);
  bool SkinnedMessage(TMessage& m);
  void PaintHandler(HDC dc);
  // The cached image must be rebuilt before it is copied: marked stale or of another size.
  bool CacheStale() const;
  void ForwardToChildren(const TMessage& m);
  void PaintCaption(const TRect& caption, const TsBackgroundInfo& bg);
  TSize MeasureText(const std::wstring& text);

  std::unique_ptr<TsCommonData> skinData_;
  TsGroupCaptionLayout captionLayout_ = TsGroupCaptionLayout::clTopLeft;
  int captionYOffset_ = 0;
  std::string captionSkin_;
};
