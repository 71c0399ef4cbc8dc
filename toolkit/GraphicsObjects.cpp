#include "toolkit/GraphicsObjects.h"

namespace {

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

TFont::TFont() = default;

TFont::TFont(const TFont& other)
    : name_(other.name_), height_(other.height_), style_(other.style_), color_(other.color_),
      charset_(other.charset_) {}

TFont& TFont::operator=(const TFont& other) {
  if (this == &other) return *this;
  const bool handleChanges = name_ != other.name_ || height_ != other.height_ ||
                             style_ != other.style_ || charset_ != other.charset_;
  const bool anyChange = handleChanges || color_ != other.color_;
  if (handleChanges && OnChanging) OnChanging();
  name_ = other.name_;
  height_ = other.height_;
  style_ = other.style_;
  color_ = other.color_;
  charset_ = other.charset_;
  if (handleChanges) handle_.Reset();
  if (anyChange && OnChange) OnChange();
  return *this;
}

bool TFont::operator==(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && style_ == o.style_ && color_ == o.color_ &&
         charset_ == o.charset_;
}

void TFont::Changed(bool handleChanges) {
  if (handleChanges) {
    if (OnChanging) OnChanging();
    handle_.Reset();
  }
  if (OnChange) OnChange();
}

void TFont::SetName(const std::wstring& name) {
  if (name == name_) return;
  name_ = name;
  Changed(true);
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed(true);
}

int TFont::Size() const { return -MulDiv(height_, 72, ScreenDpi()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenDpi(), 72)); }

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed(true);
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed(false);
}

void TFont::SetCharset(BYTE charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed(true);
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf = {};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = charset_;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.Reset(CreateFontIndirectW(&lf));
  }
  return handle_.Get();
}

void TBrush::SetColor(TColor color) {
  if (color == color_ && style_ == TBrushStyle::bsSolid) return;
  if (OnChanging) OnChanging();
  color_ = color;
  style_ = TBrushStyle::bsSolid;
  handle_.Reset();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  if (OnChanging) OnChanging();
  style_ = style;
  handle_.Reset();
}

HBRUSH TBrush::Handle() const {
  if (style_ == TBrushStyle::bsClear) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!handle_) handle_.Reset(CreateSolidBrush(ToColorRef(color_)));
  return handle_.Get();
}

void TPen::Changed() {
  if (OnChanging) OnChanging();
  handle_.Reset();
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width == width_) return;
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

HPEN TPen::Handle() const {
  if (!handle_) {
    const int style = style_ == TPenStyle::psClear ? PS_NULL
                      : style_ == TPenStyle::psDot ? PS_DOT
                                                   : PS_SOLID;
    handle_.Reset(CreatePen(style, width_, ToColorRef(color_)));
  }
  return handle_.Get();
}
