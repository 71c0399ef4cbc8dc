#include "skin/data/zkPNG.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif


// [SECTION] Errors and texts

namespace zkPngText {
const char* const kInvalidImage = "Cannot load image. Invalid or unexpected %s image format.";
const char* const kUnsupportedFeature = "Cannot load image. %s not supported for %s files.";
const char* const kCompressionScheme = "The compression scheme is";
const char* const kInvalidPalette = "Cannot load image. Palette in %s file is invalid.";
const char* const kInvalidCrc = "Cannot load image. CRC error found in %s file.";
const char* const kCompression = "Cannot load image. Compression error found in %s file.";
const char* const kExtraCompressedData = "Cannot load image. Extra compressed data found in %s file.";
const char* const kInvalidColorFormat = "Invalid color format in %s file.";
const char* const kUnknownCriticalChunk = "Cannot load PNG image. Unexpected but critical chunk detected.";
const char* const kLZ77Error = "LZ77 decompression error.";
const char* const kPreparing = "Preparing...";
const char* const kTransfering = "Transfering...";

std::string Format(const char* pattern, const std::vector<std::string>& args) {
  std::string out;
  size_t next = 0;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's' && next < args.size()) {
      out += args[next++];
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}
}  // namespace zkPngText

namespace {

using namespace zkPngText;

[[noreturn]] void RaisePng(const char* pattern) { throw EzkInvalidGraphic(Format(pattern, {"PNG"})); }

struct TCrcTables {
  uint32_t t[8][256];
  TCrcTables() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][i] = c;
    }
    for (int k = 1; k < 8; ++k)
      for (int i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  }
};

const TCrcTables& CrcTables() {
  static const TCrcTables tables;
  return tables;
}

uint32_t Be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint32_t Be16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

uint32_t zkCrc32(uint32_t crc, const uint8_t* p, size_t n) {
  const auto& t = CrcTables().t;
  crc = ~crc;
  for (; n >= 8; n -= 8, p += 8) {
    const uint32_t lo = Le32(p) ^ crc, hi = Le32(p + 4);
    crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
          t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
  }
  for (; n; --n) crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void ClearTransparentWhite(TzkBitmap& bitmap) {
  if (bitmap.Empty() || bitmap.PixelFormat() != TPixelFormat::pf32bit) return;
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 4)
      if (Le32(p) == 0x00FFFFFFu) std::memset(p, 0, 4);
  }
}

// [SECTION] TLZ77Decoder

TLZ77Decoder::TLZ77Decoder(int flushMode, bool autoReset, TAllocator allocator)
    : stream_(new z_stream{}), flushMode_(flushMode), autoReset_(autoReset) {
  stream_->zalloc = allocator.Alloc;
  stream_->zfree = allocator.Free;
  stream_->opaque = allocator.Opaque;
}

TLZ77Decoder::~TLZ77Decoder() {
  if (running_) inflateEnd(stream_.get());
}

void TLZ77Decoder::DecodeInit() {
  if (running_) DecodeEnd();
  stream_->next_in = nullptr;
  stream_->avail_in = 0;
  if (inflateInit(stream_.get()) != Z_OK) throw EzkCompressionError(kLZ77Error);
  running_ = true;
}

void TLZ77Decoder::Decode(const uint8_t* source, uint8_t* dest, size_t outSize, size_t inSize) {
  if (source) {
    stream_->next_in = const_cast<Bytef*>(source);
    stream_->avail_in = uInt(std::min<size_t>(inSize, UINT_MAX));
  }
  stream_->next_out = dest;
  stream_->avail_out = uInt(std::min<size_t>(outSize, UINT_MAX));
  result_ = inflate(stream_.get(), flushMode_);
  if (result_ == Z_STREAM_END && autoReset_) inflateReset(stream_.get());
}

void TLZ77Decoder::DecodeEnd() {
  if (!running_) return;
  running_ = false;
  if (inflateEnd(stream_.get()) != Z_OK) throw EzkCompressionError(kLZ77Error);
}

size_t TLZ77Decoder::AvailableInput() const { return stream_->avail_in; }
size_t TLZ77Decoder::AvailableOutput() const { return stream_->avail_out; }
const uint8_t* TLZ77Decoder::NextInput() const { return stream_->next_in; }

// [SECTION] TColorManager

TColorManager::TColorManager() {
  ResetGamma();
  std::memset(indexBgr_, 0, sizeof indexBgr_);
}

void TColorManager::ResetGamma() {
  for (int i = 0; i < 256; ++i) gammaTable_[i] = uint8_t(i);
  gammaOn_ = false;
  gammaIdentity_ = true;
}

void TColorManager::SetGamma(double fileGamma) {
  // A gamma of 0 (or a damaged value) has no meaningful table; such files stay unconverted.
  if (!(fileGamma > 0) || !std::isfinite(fileGamma)) return ResetGamma();
  const double exponent = 1.0 / (fileGamma * 2.2);
  gammaIdentity_ = true;
  for (int i = 0; i < 256; ++i) {
    const double v = std::round(std::pow(i / 255.0, exponent) * 255.0);
    gammaTable_[i] = uint8_t(std::clamp(v, 0.0, 255.0));
    gammaIdentity_ = gammaIdentity_ && gammaTable_[i] == i;
  }
  gammaOn_ = true;
}

uint8_t TColorManager::ScaleSample(uint32_t value) const {
  if (bitDepth_ == 16) return uint8_t(std::min<uint32_t>(value, 65535) * 255 / 65535);
  if (bitDepth_ == 8) return uint8_t(std::min<uint32_t>(value, 255));
  const uint32_t max = (1u << bitDepth_) - 1;
  return uint8_t(std::min(value, max) * 255 / max);
}

void TColorManager::SetSourceFormat(int colorType, int bitDepth, const uint8_t* paletteRgb,
                                    size_t paletteEntries) {
  colorType_ = colorType;
  bitDepth_ = bitDepth;
  indexCount_ = 0;
  std::memset(indexBgr_, 0, sizeof indexBgr_);
  if (colorType == TPNGGraphic::ctIndexed) {
    indexCount_ = std::min<size_t>(paletteEntries, 256);
    for (size_t i = 0; i < indexCount_; ++i) {
      indexBgr_[i][0] = gammaTable_[paletteRgb[3 * i + 2]];
      indexBgr_[i][1] = gammaTable_[paletteRgb[3 * i + 1]];
      indexBgr_[i][2] = gammaTable_[paletteRgb[3 * i]];
    }
  } else if (colorType == TPNGGraphic::ctGrey || colorType == TPNGGraphic::ctGreyAlpha) {
    indexCount_ = bitDepth >= 8 ? 256 : size_t(1) << bitDepth;
    for (size_t i = 0; i < indexCount_; ++i) {
      const uint8_t level = bitDepth >= 8 ? uint8_t(i) : ScaleSample(uint32_t(i));
      std::memset(indexBgr_[i], gammaTable_[level], 3);
    }
  }
}

std::vector<TColor> TColorManager::IndexColors() const {
  std::vector<TColor> colors;
  for (size_t i = 0; i < indexCount_; ++i)
    colors.push_back(RGBColor(indexBgr_[i][2], indexBgr_[i][1], indexBgr_[i][0]));
  return colors;
}

template <class TPixel>
void TColorManager::EachPixel(uint8_t* scanLine, int count, int x0, int dx, int bytes,
                              TPixel pixel) const {
  uint8_t* out = scanLine + ptrdiff_t(x0) * bytes;
  const ptrdiff_t step = ptrdiff_t(dx) * bytes;
  for (int i = 0; i < count; ++i, out += step) pixel(i, out);
}

void TColorManager::ConvertIndexed(const uint8_t* s, uint8_t* scanLine, int count, int x0,
                                   int dx) const {
  const auto put = [this](uint8_t* out, unsigned index) { std::memcpy(out, indexBgr_[index], 3); };
  const bool withAlpha = colorType_ == TPNGGraphic::ctGreyAlpha;
  if (bitDepth_ == 16) {
    const int step = withAlpha ? 4 : 2;
    return EachPixel(scanLine, count, x0, dx, 3, [&](int i, uint8_t* out) {
      put(out, Be16(s + i * step) * 255 / 65535);
    });
  }
  if (bitDepth_ == 8) {
    const int step = withAlpha ? 2 : 1;
    return EachPixel(scanLine, count, x0, dx, 3, [&](int i, uint8_t* out) { put(out, s[i * step]); });
  }
  const int bits = bitDepth_, perByte = 8 / bits;
  const unsigned mask = (1u << bits) - 1;
  EachPixel(scanLine, count, x0, dx, 3, [&](int i, uint8_t* out) {
    put(out, (s[i / perByte] >> (8 - bits * (i % perByte + 1))) & mask);
  });
}

void TColorManager::ConvertRgb(const uint8_t* s, uint8_t* scanLine, int count, int x0,
                               int dx) const {
  const uint8_t* g = gammaTable_;
  if (bitDepth_ == 16) {
    return EachPixel(scanLine, count, x0, dx, 3, [&](int i, uint8_t* out) {
      const uint8_t* p = s + 6 * i;
      out[0] = g[Be16(p + 4) * 255 / 65535];
      out[1] = g[Be16(p + 2) * 255 / 65535];
      out[2] = g[Be16(p) * 255 / 65535];
    });
  }
  if (gammaIdentity_ && dx == 1) {
    uint8_t* out = scanLine + ptrdiff_t(x0) * 3;
    for (int i = 0; i < count; ++i, s += 3, out += 3) {
      out[0] = s[2];
      out[1] = s[1];
      out[2] = s[0];
    }
    return;
  }
  EachPixel(scanLine, count, x0, dx, 3, [&](int i, uint8_t* out) {
    const uint8_t* p = s + 3 * i;
    out[0] = g[p[2]];
    out[1] = g[p[1]];
    out[2] = g[p[0]];
  });
}

void TColorManager::ConvertRgba(const uint8_t* s, uint8_t* scanLine, int count, int x0,
                                int dx) const {
  const uint8_t* g = gammaTable_;
  if (bitDepth_ == 16) {
    return EachPixel(scanLine, count, x0, dx, 4, [&](int i, uint8_t* out) {
      const uint8_t* p = s + 8 * i;
      out[0] = g[Be16(p + 4) * 255 / 65535];
      out[1] = g[Be16(p + 2) * 255 / 65535];
      out[2] = g[Be16(p) * 255 / 65535];
      out[3] = uint8_t(Be16(p + 6) * 255 / 65535);
    });
  }
  if (gammaIdentity_) {
    // R, G, B, A read as a little-endian word is 0xAABBGGRR; the bitmap wants 0xAARRGGBB.
    return EachPixel(scanLine, count, x0, dx, 4, [&](int i, uint8_t* out) {
      const uint32_t v = Le32(s + 4 * i);
      const uint32_t w = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
      std::memcpy(out, &w, 4);  // the engine's bitmaps are little-endian words
    });
  }
  EachPixel(scanLine, count, x0, dx, 4, [&](int i, uint8_t* out) {
    const uint8_t* p = s + 4 * i;
    out[0] = g[p[2]];
    out[1] = g[p[1]];
    out[2] = g[p[0]];
    out[3] = p[3];
  });
}

void TColorManager::ConvertRow(const uint8_t* source, uint8_t* scanLine, int count, int x0,
                               int dx) const {
  switch (colorType_) {
    case TPNGGraphic::ctRGB: return ConvertRgb(source, scanLine, count, x0, dx);
    case TPNGGraphic::ctRGBAlpha: return ConvertRgba(source, scanLine, count, x0, dx);
    default: return ConvertIndexed(source, scanLine, count, x0, dx);
  }
}

// [SECTION] TPNGGraphic

namespace {

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct TChunkHeader {
  uint32_t Length = 0;
  char Type[4] = {};
  size_t DataPos = 0;

  bool Is(const char* type) const { return std::memcmp(Type, type, 4) == 0; }
  bool Ancillary() const { return Type[0] >= 'a' && Type[0] <= 'z'; }
};

// Walks the chunks of a file in memory. A chunk whose header, data or CRC would run past
// the end of the file is never read.
class TChunkWalker {
 public:
  TChunkWalker(const uint8_t* data, size_t size, size_t pos) : data_(data), size_(size), pos_(pos) {}

  // The chunk at the current position, when it lies wholly inside the file.
  bool Peek(TChunkHeader& h) const {
    if (size_ - pos_ < 12) return false;
    h.Length = Be32(data_ + pos_);
    std::memcpy(h.Type, data_ + pos_ + 4, 4);
    h.DataPos = pos_ + 8;
    return h.Length <= size_ - pos_ - 12;
  }
  TChunkHeader Next() const {
    TChunkHeader h;
    if (!Peek(h)) RaisePng(kInvalidImage);
    return h;
  }
  // The chunk's data after checking its CRC; moves past the chunk.
  const uint8_t* Read(const TChunkHeader& h) {
    const uint8_t* type = data_ + h.DataPos - 4;
    if (zkCrc32(0, type, size_t(h.Length) + 4) != Be32(data_ + h.DataPos + h.Length))
      RaisePng(kInvalidCrc);
    Skip(h);
    return data_ + h.DataPos;
  }
  void Skip(const TChunkHeader& h) { pos_ = h.DataPos + h.Length + 4; }
  size_t Position() const { return pos_; }
  const uint8_t* Data() const { return data_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_;
};

// The image data stream: consecutive IDAT chunks inflated in bounded pieces. Hands out the
// stream a row at a time and never inflates past the image's last row.
class TImageStream {
 public:
  TImageStream(TChunkWalker& walker, TLZ77Decoder& inflater, uint64_t total, size_t longestRow)
      : walker_(walker), inflater_(inflater), remaining_(total) {
    constexpr uint64_t kPiece = 256 * 1024;
    buffer_.resize(size_t(std::max<uint64_t>(longestRow, std::min(total, kPiece))));
  }

  void Begin(const TChunkHeader& firstIdat) {
    input_ = walker_.Read(firstIdat);
    inputLeft_ = firstIdat.Length;
  }

  // The next `length` bytes of the stream, or null when the IDAT chunks end first.
  const uint8_t* Take(size_t length) {
    if (end_ - begin_ < length) Fill(length);
    if (end_ - begin_ < length) return nullptr;
    const uint8_t* p = buffer_.data() + begin_;
    begin_ += length;
    return p;
  }

 private:
  bool NextChunk() {
    TChunkHeader h;
    if (!walker_.Peek(h) || !h.Is("IDAT")) return false;
    input_ = walker_.Read(h);
    inputLeft_ = h.Length;
    return true;
  }

  void Fill(size_t length) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ < length) {
      if (ended_) RaisePng(kExtraCompressedData);  // the stream ended inside a row
      if (inputLeft_ == 0) {
        if (NextChunk()) continue;
        return;  // the rows left are missing
      }
      const size_t want = size_t(std::min<uint64_t>(buffer_.size() - end_, remaining_));
      inflater_.Decode(input_, buffer_.data() + end_, want, inputLeft_);
      const size_t produced = want - inflater_.AvailableOutput();
      const size_t consumed = inputLeft_ - inflater_.AvailableInput();
      input_ += consumed;
      inputLeft_ -= consumed;
      end_ += produced;
      remaining_ -= produced;
      switch (inflater_.ZLibResult()) {
        case Z_STREAM_END:
          ended_ = true;
          if (inputLeft_ > 0) RaisePng(kExtraCompressedData);
          break;
        case Z_OK:
        case Z_BUF_ERROR:  // needs more input
          // zlib always moves on while it has input and room; anything else would loop.
          if (produced == 0 && consumed == 0 && inputLeft_ > 0) RaisePng(kCompression);
          break;
        default:
          RaisePng(kCompression);
      }
    }
  }

  TChunkWalker& walker_;
  TLZ77Decoder& inflater_;
  const uint8_t* input_ = nullptr;
  size_t inputLeft_ = 0;
  uint64_t remaining_;  // bytes of the stream not inflated yet
  bool ended_ = false;
  std::vector<uint8_t> buffer_;
  size_t begin_ = 0, end_ = 0;
};

// [SECTION] Filters
// Each row is unfiltered from the stored bytes into a separate buffer, with the previous
// (unfiltered) row of the same pass as `prior` (zeros for a pass's first row).

uint8_t PaethPredictor(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return uint8_t(a);
  if (pb <= pc) return uint8_t(b);
  return uint8_t(c);
}

#if defined(__SSE2__) || defined(_M_X64)
#define ZK_PNG_SSE2 1

// Filters 1, 3 and 4 depend on the pixel to the left, so they run one pixel at a time; the
// pixel's bytes (3, 4, 6 or 8) sit in one register, widened to 16 bits where Paeth needs it.
template <size_t Bpp>
__m128i LoadPixel(const uint8_t* p) {
  uint64_t v = 0;
  std::memcpy(&v, p, Bpp);
  return _mm_cvtsi64_si128(int64_t(v));
}

template <size_t Bpp>
void StorePixel(uint8_t* p, __m128i v) {
  const uint64_t bits = uint64_t(_mm_cvtsi128_si64(v));
  std::memcpy(p, &bits, Bpp);
}

template <size_t Bpp>
void UnfilterSub(const uint8_t* src, uint8_t* out, size_t n) {
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i < n; i += Bpp) {
    a = _mm_add_epi8(a, LoadPixel<Bpp>(src + i));
    StorePixel<Bpp>(out + i, a);
  }
}

template <size_t Bpp>
void UnfilterAverage(const uint8_t* src, const uint8_t* prior, uint8_t* out, size_t n) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i < n; i += Bpp) {
    const __m128i b = LoadPixel<Bpp>(prior + i);
    // floor((a + b) / 2): the rounded-up average minus the lost low bit
    const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
    a = _mm_add_epi8(LoadPixel<Bpp>(src + i), mean);
    StorePixel<Bpp>(out + i, a);
  }
}

inline __m128i Abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }
inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
  return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

template <size_t Bpp>
void UnfilterPaeth(const uint8_t* src, const uint8_t* prior, uint8_t* out, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero, c = zero;  // left and upper-left, 16 bits a byte
  for (size_t i = 0; i < n; i += Bpp) {
    const __m128i b = _mm_unpacklo_epi8(LoadPixel<Bpp>(prior + i), zero);
    // With p = a + b - c: |p - a| = |b - c|, |p - b| = |a - c|, |p - c| = |(b - c) + (a - c)|.
    __m128i pa = _mm_sub_epi16(b, c), pb = _mm_sub_epi16(a, c);
    __m128i pc = Abs16(_mm_add_epi16(pa, pb));
    pa = Abs16(pa);
    pb = Abs16(pb);
    const __m128i least = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    const __m128i nearest =
        Select(_mm_cmpeq_epi16(pa, least), a, Select(_mm_cmpeq_epi16(pb, least), b, c));
    const __m128i x = _mm_add_epi8(LoadPixel<Bpp>(src + i), _mm_packus_epi16(nearest, nearest));
    StorePixel<Bpp>(out + i, x);
    a = _mm_unpacklo_epi8(x, zero);
    c = b;
  }
}

template <size_t Bpp>
bool UnfilterPixels(uint8_t type, const uint8_t* src, const uint8_t* prior, uint8_t* out, size_t n) {
  switch (type) {
    case 1: UnfilterSub<Bpp>(src, out, n); return true;
    case 3: UnfilterAverage<Bpp>(src, prior, out, n); return true;
    case 4: UnfilterPaeth<Bpp>(src, prior, out, n); return true;
    default: return false;
  }
}

// The row length is a whole number of pixels for these sizes.
bool UnfilterVector(uint8_t type, const uint8_t* src, const uint8_t* prior, uint8_t* out,
                    size_t n, size_t bpp) {
  switch (bpp) {
    case 3: return UnfilterPixels<3>(type, src, prior, out, n);
    case 4: return UnfilterPixels<4>(type, src, prior, out, n);
    case 6: return UnfilterPixels<6>(type, src, prior, out, n);
    case 8: return UnfilterPixels<8>(type, src, prior, out, n);
    default: return false;
  }
}
#endif

void UnfilterRow(uint8_t type, const uint8_t* src, const uint8_t* prior, uint8_t* out,
                 size_t n, size_t bpp) {
#ifdef ZK_PNG_SSE2
  if (UnfilterVector(type, src, prior, out, n, bpp)) return;
#endif
  const size_t lead = std::min(bpp, n);  // the first pixel has no left neighbour
  switch (type) {
    case 1:  // sub
      std::memcpy(out, src, lead);
      for (size_t i = lead; i < n; ++i) out[i] = uint8_t(src[i] + out[i - bpp]);
      break;
    case 2:  // up
      for (size_t i = 0; i < n; ++i) out[i] = uint8_t(src[i] + prior[i]);
      break;
    case 3:  // average
      for (size_t i = 0; i < lead; ++i) out[i] = uint8_t(src[i] + prior[i] / 2);
      for (size_t i = lead; i < n; ++i) out[i] = uint8_t(src[i] + (out[i - bpp] + prior[i]) / 2);
      break;
    case 4:  // Paeth
      for (size_t i = 0; i < lead; ++i) out[i] = uint8_t(src[i] + prior[i]);
      for (size_t i = lead; i < n; ++i)
        out[i] = uint8_t(src[i] + PaethPredictor(out[i - bpp], prior[i], prior[i - bpp]));
      break;
    default:  // none; unknown filter types leave the row as stored
      std::memcpy(out, src, n);
  }
}

// [SECTION] Decoding

struct TPass {
  int X0, Y0, Dx, Dy;
};
constexpr TPass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                             {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr TPass kWholeImage = {0, 0, 1, 1};

int PassExtent(int size, int start, int step) { return size > start ? (size - start + step - 1) / step : 0; }

bool ValidColorFormat(int colorType, int depth) {
  switch (colorType) {
    case TPNGGraphic::ctGrey: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case TPNGGraphic::ctIndexed: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case TPNGGraphic::ctRGB:
    case TPNGGraphic::ctGreyAlpha:
    case TPNGGraphic::ctRGBAlpha: return depth == 8 || depth == 16;
    default: return false;
  }
}

int Channels(int colorType) {
  switch (colorType) {
    case TPNGGraphic::ctRGB: return 3;
    case TPNGGraphic::ctGreyAlpha: return 2;
    case TPNGGraphic::ctRGBAlpha: return 4;
    default: return 1;
  }
}

}  // namespace

// One load: the chunk walk and the decoding, writing into the graphic's fields.
class TPNGGraphic::TLoader {
 public:
  TLoader(TPNGGraphic& g, const uint8_t* data, size_t size)
      : g_(g), data_(data), size_(size), walker_(data, size, sizeof kSignature) {}

  size_t Run() {
    Notify(TzkProgressStage::psStarting, 0, kPreparing);
    if (size_ < sizeof kSignature || std::memcmp(data_, kSignature, sizeof kSignature) != 0)
      RaisePng(kInvalidImage);
    PreScan();
    for (bool done = false; !done;) done = WalkChunk();
    if (!imageStarted_) {  // no image data: all background
      PrepareBitmap();
      FillBackground(0, g_.height_);
    }
    FinishProperties();
    Notify(TzkProgressStage::psEnding, 100, "");
    return walker_.Position();
  }

  void Notify(TzkProgressStage stage, int percent, const char* text) {
    if (g_.OnProgress) g_.OnProgress(stage, percent, text);
  }

 private:
  // IHDR must come first with a non-empty size; a gAMA anywhere before IEND sets the
  // file gamma. Damage beyond IHDR is left to the walk to report.
  void PreScan() {
    TChunkWalker scan(data_, size_, sizeof kSignature);
    TChunkHeader h;
    if (!scan.Peek(h) || !h.Is("IHDR") || h.Length < 13) RaisePng(kInvalidImage);
    if (Be32(data_ + h.DataPos) == 0 || Be32(data_ + h.DataPos + 4) == 0) RaisePng(kInvalidImage);
    scan.Skip(h);
    while (scan.Peek(h) && !h.Is("IEND")) {
      if (h.Is("gAMA") && h.Length >= 4) g_.fileGamma_ = Be32(data_ + h.DataPos) / 100000.0;
      scan.Skip(h);
    }
  }

  // Handles the chunk at the walker's position; true after IEND.
  bool WalkChunk() {
    const TChunkHeader h = walker_.Next();
    if (h.Is("IHDR")) {
      if (headerSeen_) RaisePng(kInvalidImage);
      ReadHeader(walker_.Read(h));
    } else if (h.Is("IDAT")) {
      if (imageStarted_) walker_.Read(h);  // data after the image's rows: checked, skipped
      else DecodeImage(h);
    } else if (h.Is("PLTE")) {
      const uint8_t* d = walker_.Read(h);
      if (h.Length % 3 != 0) RaisePng(kInvalidPalette);
      if (g_.colorType_ == ctIndexed) palette_.assign(d, d + std::min<uint32_t>(h.Length, 768));
    } else if (h.Is("gAMA")) {
      const uint8_t* d = walker_.Read(h);
      if (h.Length >= 4) colors_.SetGamma(Be32(d) / 100000.0);
    } else if (h.Is("bKGD")) {
      const uint8_t* d = walker_.Read(h);
      background_.assign(d, d + std::min<uint32_t>(h.Length, 6));
    } else if (h.Is("tRNS")) {
      const uint8_t* d = walker_.Read(h);
      transparency_.assign(d, d + std::min<uint32_t>(h.Length, 256));
    } else if (h.Is("IEND")) {
      walker_.Read(h);
      return true;
    } else if (h.Ancillary()) {
      walker_.Skip(h);
    } else {
      throw EzkInvalidGraphic(kUnknownCriticalChunk);
    }
    return false;
  }

  void ReadHeader(const uint8_t* d) {
    headerSeen_ = true;
    g_.width_ = int(std::min<uint32_t>(Be32(d), INT_MAX));
    g_.height_ = int(std::min<uint32_t>(Be32(d + 4), INT_MAX));
    g_.bitDepth_ = d[8];
    g_.colorType_ = d[9];
    g_.filterMethod_ = d[11];
    g_.interlaced_ = d[12] != 0;
    if (d[10] != 0)
      throw EzkInvalidGraphic(Format(kUnsupportedFeature, {kCompressionScheme, "PNG"}));
    if (!ValidColorFormat(g_.colorType_, g_.bitDepth_)) RaisePng(kInvalidColorFormat);
    if (!g_.Limits.Allow(Be32(d), Be32(d + 4), OutputFormat())) RaisePng(kInvalidImage);
  }

  TPixelFormat OutputFormat() const {
    return g_.colorType_ == ctRGBAlpha ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
  }

  // The colour manager as the pixels use it: gamma as far as the file has set it, the
  // source format and palette.
  void SettleColors() {
    pixelColors_ = colors_;
    pixelColors_.SetSourceFormat(g_.colorType_, g_.bitDepth_, palette_.data(), palette_.size() / 3);
  }

  // An 8-bit RGB colour from samples of the file's depth, through the pixels' gamma.
  TColor SampleColor(uint32_t r, uint32_t gr, uint32_t b) const {
    const TColorManager& c = pixelColors_;
    return RGBColor(c.Gamma(c.ScaleSample(r)), c.Gamma(c.ScaleSample(gr)), c.Gamma(c.ScaleSample(b)));
  }

  // The colour a bKGD or tRNS value of this colour type stands for; false when the data
  // does not fit the colour type.
  bool ColorOfSamples(const std::vector<uint8_t>& d, TColor& color) const {
    const int ct = g_.colorType_;
    if ((ct == ctGrey || ct == ctGreyAlpha) && d.size() >= 2) {
      const uint32_t v = Be16(d.data());
      color = SampleColor(v, v, v);
      return true;
    }
    if ((ct == ctRGB || ct == ctRGBAlpha) && d.size() >= 6) {
      color = SampleColor(Be16(d.data()), Be16(d.data() + 2), Be16(d.data() + 4));
      return true;
    }
    return false;
  }

  void PrepareBitmap() {
    imageStarted_ = true;
    SettleColors();
    TColor bg = clWhite;
    if (g_.colorType_ == ctIndexed) {
      const std::vector<TColor> colors = pixelColors_.IndexColors();
      if (!background_.empty() && background_[0] < colors.size()) bg = colors[background_[0]];
    } else {
      ColorOfSamples(background_, bg);
    }
    g_.backgroundColor_ = bg;
    g_.bitmap_ = TzkBitmap(g_.width_, g_.height_, OutputFormat());
  }

  // Rows from..to-1 in the background colour; a 32-bit bitmap gets it with alpha 0.
  void FillBackground(int from, int to) {
    if (from >= to) return;
    TzkBitmap& b = g_.bitmap_;
    const TColor bg = g_.backgroundColor_;
    const uint8_t pixel[4] = {GetBValue(bg), GetGValue(bg), GetRValue(bg), 0};
    const size_t bytes = size_t(b.BytesPerPixel());
    uint8_t* first = b.ScanLine(from);
    for (int x = 0; x < b.Width(); ++x) std::memcpy(first + size_t(x) * bytes, pixel, bytes);
    for (int y = from + 1; y < to; ++y) std::memcpy(b.ScanLine(y), first, size_t(b.Width()) * bytes);
  }

  // Fills the bitmap from the image data. Rows the data never delivers show the background:
  // an interlaced image is filled first, as any pass may stop early; otherwise only the
  // rows after the last complete one are filled.
  void DecodeImage(const TChunkHeader& firstIdat) {
    PrepareBitmap();
    if (g_.interlaced_) FillBackground(0, g_.height_);
    const int bitsPerPixel = Channels(g_.colorType_) * g_.bitDepth_;
    const size_t bpp = size_t(std::max(1, bitsPerPixel / 8));
    const int passes = g_.interlaced_ ? 7 : 1;
    uint64_t totalBytes = 0;
    int totalRows = 0;
    size_t longestRow = 0;
    for (int p = 0; p < passes; ++p) {
      const TPass pass = g_.interlaced_ ? kAdam7[p] : kWholeImage;
      const int w = PassExtent(g_.width_, pass.X0, pass.Dx), h = PassExtent(g_.height_, pass.Y0, pass.Dy);
      if (w == 0 || h == 0) continue;
      const size_t rowBytes = (size_t(w) * size_t(bitsPerPixel) + 7) / 8;
      totalBytes += uint64_t(h) * (rowBytes + 1);
      totalRows += h;
      longestRow = std::max(longestRow, rowBytes + 1);
    }

    TLZ77Decoder inflater(Z_PARTIAL_FLUSH, false, g_.InflaterAllocator);
    inflater.DecodeInit();
    TImageStream stream(walker_, inflater, totalBytes, longestRow);
    stream.Begin(firstIdat);
    // Two row buffers: the previous row of the pass and the row being unfiltered.
    std::vector<uint8_t> prior(longestRow), row(longestRow);
    int rowsDone = 0;
    for (int p = 0; p < passes; ++p) {
      const TPass pass = g_.interlaced_ ? kAdam7[p] : kWholeImage;
      const int w = PassExtent(g_.width_, pass.X0, pass.Dx), h = PassExtent(g_.height_, pass.Y0, pass.Dy);
      if (w == 0 || h == 0) continue;
      const size_t rowBytes = (size_t(w) * size_t(bitsPerPixel) + 7) / 8;
      std::fill(prior.begin(), prior.end(), 0);
      for (int r = 0; r < h; ++r) {
        const uint8_t* raw = stream.Take(rowBytes + 1);
        if (!raw) {
          p = passes;  // the IDAT chunks ended: the remaining rows keep the background
          break;
        }
        UnfilterRow(raw[0], raw + 1, prior.data(), row.data(), rowBytes, bpp);
        pixelColors_.ConvertRow(row.data(), g_.bitmap_.ScanLine(pass.Y0 + r * pass.Dy), w, pass.X0, pass.Dx);
        std::swap(prior, row);
        ++rowsDone;
        Notify(TzkProgressStage::psRunning, int(int64_t(rowsDone) * 100 / totalRows), kTransfering);
      }
    }
    if (!g_.interlaced_) FillBackground(rowsDone, g_.height_);
    inflater.DecodeEnd();
  }

  void FinishProperties() {
    const int ct = g_.colorType_;
    if (ct == ctGrey || ct == ctIndexed || ct == ctGreyAlpha) g_.palette_ = pixelColors_.IndexColors();
    if (ct == ctIndexed) g_.paletteAlpha_ = transparency_;
    if (ct == ctGrey || ct == ctRGB) g_.transparent_ = ColorOfSamples(transparency_, g_.transparentColor_);
  }

  TPNGGraphic& g_;
  const uint8_t* data_;
  size_t size_;
  TChunkWalker walker_;
  bool headerSeen_ = false;
  bool imageStarted_ = false;
  TColorManager colors_;       // as the chunks set it
  TColorManager pixelColors_;  // as the pixels were converted
  std::vector<uint8_t> palette_;       // PLTE, R, G, B
  std::vector<uint8_t> background_;    // bKGD as stored
  std::vector<uint8_t> transparency_;  // tRNS as stored
};

void TPNGGraphic::Clear() {
  bitmap_ = TzkBitmap();
  width_ = height_ = bitDepth_ = colorType_ = filterMethod_ = 0;
  interlaced_ = false;
  fileGamma_ = 1.0;
  palette_.clear();
  paletteAlpha_.clear();
  transparent_ = false;
  transparentColor_ = clBlack;
  backgroundColor_ = clWhite;
}

size_t TPNGGraphic::LoadFromMemory(const uint8_t* data, size_t size) {
  Clear();
  TLoader loader(*this, data, size);
  try {
    return loader.Run();
  } catch (...) {
    Clear();
    loader.Notify(TzkProgressStage::psEnding, 0, "");
    throw;
  }
}

void TPNGGraphic::Assign(const TPNGGraphic& s) {
  if (&s == this) return;
  bitmap_ = s.bitmap_.Clone();
  width_ = s.width_;
  height_ = s.height_;
  bitDepth_ = s.bitDepth_;
  colorType_ = s.colorType_;
  interlaced_ = s.interlaced_;
  filterMethod_ = s.filterMethod_;
  fileGamma_ = s.fileGamma_;
  palette_ = s.palette_;
  paletteAlpha_ = s.paletteAlpha_;
  transparent_ = s.transparent_;
  transparentColor_ = s.transparentColor_;
  backgroundColor_ = s.backgroundColor_;
  Reflected = s.Reflected;
}

bool ReadPngImage(const uint8_t* data, size_t size, TzkBitmap& out, std::string& error) {
  try {
    TPNGGraphic png;
    png.LoadFromMemory(data, size);
    out = std::move(png.Bitmap());
    return true;
  } catch (const std::exception& e) {
    error = e.what();
  }
  return false;
}
