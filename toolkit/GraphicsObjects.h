// Font, brush and pen: descriptions of GDI objects whose handles are made when first asked
// for and remade after a change. Owners listen to OnChange.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "skin/paint/zkTypes.h"
#include "toolkit/Handles.h"

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont {
 public:
  TFont();
  TFont(const TFont& other);
  TFont& operator=(const TFont& other);
  void Assign(const TFont& other) { *this = other; }

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name);
  // Negative: character height in pixels; positive: cell height.
  int Height() const { return height_; }
  void SetHeight(int height);
  int Size() const;  // points at the screen's resolution
  void SetSize(int points);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE charset);

  HFONT Handle() const;
  bool operator==(const TFont& o) const;

  std::function<void()> OnChange;    // after any change
  std::function<void()> OnChanging;  // before the handle is dropped (users deselect it)

 private:
  void Changed(bool handleChanges);

  std::wstring name_ = L"MS Sans Serif";
  int height_ = -11;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  BYTE charset_ = DEFAULT_CHARSET;
  mutable TFontHandle handle_;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  HBRUSH Handle() const;

  std::function<void()> OnChanging;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
  mutable TBrushHandle handle_;
};

enum class TPenStyle { psSolid, psDot, psClear };

class TPen {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  HPEN Handle() const;

  std::function<void()> OnChanging;

 private:
  void Changed();
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  mutable TPenHandle handle_;
};

// The platform colour of a toolkit colour (system colours resolved).
inline COLORREF ToColorRef(TColor c) { return COLORREF(ColorToRGB(c)) & 0xFFFFFF; }
