// The engine's own PNG decoder.
//
// [SECTION] Errors and texts      EzkInvalidGraphic, EzkCompressionError, the messages
// [SECTION] TLZ77Decoder          a thin wrapper of zlib's inflate
// [SECTION] TColorManager         gamma table and sample conversion into bitmap rows
// [SECTION] TPNGGraphic           chunk walk, filters, interlacing, image properties
//
// The decoded picture is the engine's bitmap type: 32-bit B, G, R, A (straight alpha) for
// RGB with alpha, 24-bit B, G, R for every other colour type. Grey and paletted images are
// expanded through their palette; their own nature stays readable as properties (bit depth,
// colour type, palette, transparent colour). Portable: the platform's picture class wraps
// this one for drawing and icons.
//
// A file is read from memory. Every chunk length is checked against the bytes left before
// anything is read, the image size against TzkImageLimits before the bitmap is made, and
// the image data is inflated in bounded pieces straight into the rows, so no hostile length
// reaches the allocator.
//
// Rows the image data never delivers (the IDAT chunks end before the last row) keep the
// background the bitmap was filled with: the bKGD colour, or white; in a 32-bit bitmap with
// alpha 0. An image without any IDAT chunk is all background.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/data/zkImageReaders.h"
#include "skin/paint/zkTypes.h"

struct z_stream_s;

// [SECTION] Errors and texts

// The picture is not a valid image of its format.
class EzkInvalidGraphic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The inflater could not be started or finished.
class EzkCompressionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace zkPngText {
// Format strings; each "%s" takes the next argument.
extern const char* const kInvalidImage;          // "... Invalid or unexpected %s image format."
extern const char* const kUnsupportedFeature;    // "... %s not supported for %s files."
extern const char* const kCompressionScheme;     // "The compression scheme is"
extern const char* const kInvalidPalette;
extern const char* const kInvalidCrc;
extern const char* const kCompression;
extern const char* const kExtraCompressedData;
extern const char* const kInvalidColorFormat;
extern const char* const kUnknownCriticalChunk;  // no arguments
extern const char* const kLZ77Error;             // no arguments
extern const char* const kPreparing;             // progress stage texts
extern const char* const kTransfering;

std::string Format(const char* pattern, const std::vector<std::string>& args);
}  // namespace zkPngText

// CRC-32 of the format (reflected polynomial 0xEDB88320), continued from `crc`.
uint32_t zkCrc32(uint32_t crc, const uint8_t* data, size_t size);

// In a 32-bit bitmap every pixel that is exactly white with alpha 0 becomes 0 (transparent
// black), so that stretching and blending do not bleed white into the picture's edges.
void ClearTransparentWhite(TzkBitmap& bitmap);

// [SECTION] TLZ77Decoder

// Memory of the inflater; zlib's own allocator when both are null.
struct TzkInflaterAllocator {
  void* (*Alloc)(void* opaque, unsigned items, unsigned size) = nullptr;
  void (*Free)(void* opaque, void* address) = nullptr;
  void* Opaque = nullptr;
};

class TLZ77Decoder {
 public:
  using TAllocator = TzkInflaterAllocator;

  explicit TLZ77Decoder(int flushMode, bool autoReset = false, TAllocator allocator = {});
  ~TLZ77Decoder();  // ends the inflater if it is still running, quietly
  TLZ77Decoder(const TLZ77Decoder&) = delete;
  TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

  void DecodeInit();  // throws EzkCompressionError
  // Inflates up to outSize bytes into dest from inSize bytes at source (a null source goes
  // on with the input left from the previous call). The zlib result is kept in ZLibResult;
  // at the stream's end an auto-resetting decoder starts over for a following stream.
  void Decode(const uint8_t* source, uint8_t* dest, size_t outSize, size_t inSize);
  void DecodeEnd();  // throws EzkCompressionError

  size_t AvailableInput() const;
  size_t AvailableOutput() const;
  const uint8_t* NextInput() const;
  int ZLibResult() const { return result_; }
  bool AutoReset() const { return autoReset_; }

 private:
  std::unique_ptr<z_stream_s> stream_;
  int flushMode_;
  bool autoReset_;
  bool running_ = false;
  int result_ = 0;
};

// [SECTION] TColorManager

// Turns unfiltered PNG rows into bitmap pixels: 16-bit samples scaled to 8 bits
// (v × 255 ÷ 65535), colour samples through the gamma table, grey and palette indexes
// through a colour table. Alpha samples are never gamma-converted.
class TColorManager {
 public:
  TColorManager();

  // Gamma conversion from a file gamma: table[i] = round((i / 255) ^ (1 / (gamma × 2.2)) × 255).
  void SetGamma(double fileGamma);
  void ResetGamma();
  bool GammaOn() const { return gammaOn_; }
  uint8_t Gamma(uint8_t v) const { return gammaTable_[v]; }
  const uint8_t* GammaTable() const { return gammaTable_; }

  // The source format and, for indexed colour, the palette (R, G, B bytes). Grey images get
  // a grey table of 2^depth levels (256 for 16 bits). Call after the gamma is settled.
  void SetSourceFormat(int colorType, int bitDepth, const uint8_t* paletteRgb = nullptr,
                       size_t paletteEntries = 0);
  // The colours indexes map to, as colour values (after gamma).
  std::vector<TColor> IndexColors() const;

  // Converts `count` pixels of an unfiltered row into the scan line (4 bytes a pixel for
  // RGB with alpha, else 3), pixel i going to column x0 + i × dx.
  void ConvertRow(const uint8_t* source, uint8_t* scanLine, int count, int x0, int dx) const;

  // A sample of the source depth (1 to 16 bits) as an 8-bit level, before gamma.
  uint8_t ScaleSample(uint32_t value) const;

 private:
  template <class TPixel>
  void EachPixel(uint8_t* scanLine, int count, int x0, int dx, int bytes, TPixel pixel) const;
  void ConvertIndexed(const uint8_t* source, uint8_t* scanLine, int count, int x0, int dx) const;
  void ConvertRgb(const uint8_t* source, uint8_t* scanLine, int count, int x0, int dx) const;
  void ConvertRgba(const uint8_t* source, uint8_t* scanLine, int count, int x0, int dx) const;

  bool gammaOn_ = false;
  bool gammaIdentity_ = true;  // the table changes nothing: conversions skip it
  uint8_t gammaTable_[256];
  int colorType_ = 6;
  int bitDepth_ = 8;
  size_t indexCount_ = 0;
  uint8_t indexBgr_[256][3];  // colour table for grey and paletted images
};

// [SECTION] TPNGGraphic

enum class TzkProgressStage : uint8_t { psStarting, psRunning, psEnding };
// Stage, percentage done, stage text ("Preparing...", "Transfering...", "").
using TzkProgressEvent = std::function<void(TzkProgressStage, int, const std::string&)>;

class TPNGGraphic {
 public:
  enum : uint8_t { ctGrey = 0, ctRGB = 2, ctIndexed = 3, ctGreyAlpha = 4, ctRGBAlpha = 6 };

  // Decodes the PNG at data; throws EzkInvalidGraphic or EzkCompressionError with the
  // format's messages. Returns the bytes read (the file up to its IEND chunk).
  size_t LoadFromMemory(const uint8_t* data, size_t size);
  void Assign(const TPNGGraphic& source);

  const TzkBitmap& Bitmap() const { return bitmap_; }
  TzkBitmap& Bitmap() { return bitmap_; }

  // From "IHDR".
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitDepth() const { return bitDepth_; }
  int ColorType() const { return colorType_; }
  bool Interlaced() const { return interlaced_; }
  int FilterMethod() const { return filterMethod_; }
  // From "gAMA" (1.0 without one).
  double FileGamma() const { return fileGamma_; }

  // The colours grey levels and palette indexes were expanded through (empty for RGB).
  const std::vector<TColor>& Palette() const { return palette_; }
  // The "tRNS" alpha table of a paletted image; read, not applied.
  const std::vector<uint8_t>& PaletteAlpha() const { return paletteAlpha_; }
  // "tRNS" of grey and RGB images: that colour is the transparent one.
  bool Transparent() const { return transparent_; }
  TColor TransparentColor() const { return transparentColor_; }
  // "bKGD", the colour the bitmap was filled with before decoding (white without one).
  TColor BackgroundColor() const { return backgroundColor_; }

  // Drawing hint for the platform side: also draw the mirror image below.
  bool Reflected = false;
  TzkImageLimits Limits;
  TLZ77Decoder::TAllocator InflaterAllocator;
  TzkProgressEvent OnProgress;

 private:
  class TLoader;
  friend class TLoader;
  void Clear();

  TzkBitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
  int bitDepth_ = 0;
  int colorType_ = 0;
  bool interlaced_ = false;
  int filterMethod_ = 0;
  double fileGamma_ = 1.0;
  std::vector<TColor> palette_;
  std::vector<uint8_t> paletteAlpha_;
  bool transparent_ = false;
  TColor transparentColor_ = clBlack;
  TColor backgroundColor_ = clWhite;
};
