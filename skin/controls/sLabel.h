// Labels that take their text colour from the active skin, so captions match the skinned
// surface under them: TsCustomLabel (the base, with an optional section painted behind the
// text), TsLabel (UseSkinColor), TsEditLabel (made by a TsBoundLabel) and TsWebLabel (a link
// with a hover font that opens its address).
//
// The colour comes from the section that paints the label's parent: the parent answers
// command 26 with its section index + 1; a see-through section (TRANSPARENCY > 50) passes the
// question one level up; a section with GIVEOWNFONT gives its FONTCOLOR; otherwise the skin's
// GLOBALINFO FONTCOLOR is used.
#pragma once

#include <functional>
#include <string>

#include "skin/paint/sCommonData.h"
#include "toolkit/Label.h"

// The section index whose font colour a label on `parent` takes, or -1 for none.
int LabelFontSection(TWinControl* parent);

class TsCustomLabel : public TLabel, public IzkSkinTextColor {
 public:
  explicit TsCustomLabel(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TsCustomLabel"; }

  const std::string& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::string& value);
  // The font to paint with, its colour adjusted to the skin.
  virtual TFont* CurrentFont();

 protected:
  void Paint() override;
  void DoDrawText(TRect& r, UINT flags) override;
  void WndProc(TMessage& m) override;
  // The skin's colour for the label's text, or 0xFF00FF when the skin gives none.
  TColor SkinFontColor() const;
  virtual void SkinRemoved();

 private:
  void PaintSectionBackground();
  std::string skinSection_;
};

class TsLabel : public TsCustomLabel {
 public:
  explicit TsLabel(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TsLabel"; }
  bool UseSkinColor() const { return useSkinColor_; }
  void SetUseSkinColor(bool value);
  TFont* CurrentFont() override;

 protected:
  void SkinRemoved() override;

 private:
  bool useSkinColor_ = true;
};

class TsEditLabel : public TsLabel {
 public:
  TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel);
  ~TsEditLabel() override;
  const wchar_t* ClassName() const override { return L"TsEditLabel"; }
  TsBoundLabel* BoundLabel() const { return boundLabel_; }

 private:
  TsBoundLabel* boundLabel_;
};

// Show commands of the opened program's window (the platform's numbers 0 to 10).
enum class TsWindowShowMode {
  soHide, soNormal, soShowMinimized, soMaximize, soShowNoActivate, soShow, soMinimize,
  soShowMinNoActive, soShowNA, soRestore, soDefault
};

class TsWebLabel : public TsLabel {
 public:
  explicit TsWebLabel(TComponent* owner);
  const wchar_t* ClassName() const override { return L"TsWebLabel"; }

  // The normal font: also copied into the label's own font.
  const TFont& NormalFont() const { return normalFont_; }
  void SetNormalFont(const TFont& font);
  const TFont& HoverFont() const { return hoverFont_; }
  void SetHoverFont(const TFont& font) { hoverFont_.Assign(font); }
  const std::wstring& URL() const { return url_; }
  void SetURL(const std::wstring& url) { url_ = url; }
  TsWindowShowMode ShowMode() const { return showMode_; }
  void SetShowMode(TsWindowShowMode mode) { showMode_ = mode; }
  bool MouseOver() const { return mouseOver_; }
  TFont* CurrentFont() override;

  // Opens an address; the shell's "open" verb unless the program supplies its own opener.
  using TUrlOpener = std::function<void(const std::wstring& url, int showCommand)>;
  static void SetUrlOpener(TUrlOpener opener);

 protected:
  void WndProc(TMessage& m) override;
  void Loaded() override;

 private:
  void HoverChanged(bool over);
  TFont normalFont_;
  TFont hoverFont_;
  std::wstring url_;
  TsWindowShowMode showMode_ = TsWindowShowMode::soDefault;
  bool mouseOver_ = false;
};
