#include "skin/data/zkJpegImage.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <new>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

// Progressive files may hold any number of scans, each a full pass over the coefficients;
// real encoders write a dozen or so.
constexpr int kMaxScans = 500;

struct TJpegErrors {
  jpeg_error_mgr Manager;  // first member: libjpeg hands back this address
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Abort(j_common_ptr c, const char* message) {
  auto* errors = reinterpret_cast<TJpegErrors*>(c->err);
  std::snprintf(errors->Message, sizeof errors->Message, "%s", message);
  std::longjmp(errors->Jump, 1);
}

void ErrorExit(j_common_ptr c) {
  char text[JMSG_LENGTH_MAX];
  c->err->format_message(c, text);
  Abort(c, text);
}

void IgnoreMessage(j_common_ptr) {}

void CountScans(j_common_ptr c) {
  if (c->is_decompressor && reinterpret_cast<j_decompress_ptr>(c)->input_scan_number > kMaxScans)
    Abort(c, "the file holds too many scans");
}

// One libjpeg decompression. Every step that calls libjpeg sets the jump target first and
// keeps no automatic objects with destructors, so the jump back from libjpeg's error exit
// is well defined; the state lives in the object.
class TJpegDecoder {
 public:
  TJpegDecoder() {
    cinfo_.err = jpeg_std_error(&errors_.Manager);
    errors_.Manager.error_exit = ErrorExit;
    errors_.Manager.output_message = IgnoreMessage;  // warnings: the picture is used anyway
    progress_.progress_monitor = CountScans;
  }
  ~TJpegDecoder() { jpeg_destroy_decompress(&cinfo_); }  // safe on a never-created struct
  TJpegDecoder(const TJpegDecoder&) = delete;
  TJpegDecoder& operator=(const TJpegDecoder&) = delete;

  const char* Message() const { return errors_.Message; }
  int Width() const { return int(cinfo_.image_width); }
  int Height() const { return int(cinfo_.image_height); }

  bool ReadHeader(const uint8_t* data, size_t size, size_t memoryCap) {
    if (setjmp(errors_.Jump)) return false;
    jpeg_create_decompress(&cinfo_);
    cinfo_.progress = &progress_;
    cinfo_.mem->max_memory_to_use = long(std::min<size_t>(memoryCap, LONG_MAX));
    jpeg_mem_src(&cinfo_, data, static_cast<unsigned long>(std::min<size_t>(size, ULONG_MAX)));
    jpeg_read_header(&cinfo_, TRUE);
    return true;
  }

  bool ReadPixels(TzkBitmap& out) {
    const bool cmyk = cinfo_.jpeg_color_space == JCS_CMYK || cinfo_.jpeg_color_space == JCS_YCCK;
    if (cmyk) cmykRow_.resize(size_t(cinfo_.image_width) * 4);
    if (setjmp(errors_.Jump)) return false;
    cinfo_.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo_);
    if (int(cinfo_.output_width) != out.Width() || int(cinfo_.output_height) != out.Height())
      Abort(reinterpret_cast<j_common_ptr>(&cinfo_), "unexpected output size");
    while (cinfo_.output_scanline < cinfo_.output_height) {
      uint8_t* target = out.ScanLine(int(cinfo_.output_scanline));
      JSAMPROW row = cmyk ? cmykRow_.data() : target;
      if (jpeg_read_scanlines(&cinfo_, &row, 1) != 1)
        Abort(reinterpret_cast<j_common_ptr>(&cinfo_), "the decoder stopped early");
      if (cmyk) CmykToBgr(cmykRow_.data(), target, out.Width());
    }
    jpeg_finish_decompress(&cinfo_);
    return true;
  }

 private:
  // Files with the Adobe marker store CMYK inverted, as their writers do.
  void CmykToBgr(const uint8_t* s, uint8_t* d, int width) const {
    const bool inverted = cinfo_.saw_Adobe_marker;
    for (int x = 0; x < width; ++x, s += 4, d += 3) {
      const unsigned k = inverted ? s[3] : 255u - s[3];
      for (int c = 0; c < 3; ++c) {
        const unsigned v = inverted ? s[2 - c] : 255u - s[2 - c];
        d[c] = uint8_t((v * k + 127) / 255);
      }
    }
  }

  jpeg_decompress_struct cinfo_{};
  TJpegErrors errors_{};
  jpeg_progress_mgr progress_{};
  std::vector<uint8_t> cmykRow_;
};

[[noreturn]] void Fail(const std::string& reason) { throw EzkJpegError("Cannot load JPEG image: " + reason + "."); }

}  // namespace

TzkBitmap DecodeJpegImage(const uint8_t* data, size_t size, const TzkImageLimits& limits) {
  TJpegDecoder decoder;
  // Coefficient buffers of multi-scan files take about twice the decoded bitmap's bytes.
  const size_t memoryCap = limits.MaxBytes * 2 + (size_t(16) << 20);
  if (!decoder.ReadHeader(data, size, memoryCap)) Fail(decoder.Message());
  if (!limits.Allow(decoder.Width(), decoder.Height(), TPixelFormat::pf24bit))
    Fail("the image of " + std::to_string(decoder.Width()) + " x " +
         std::to_string(decoder.Height()) + " pixels is too large");
  TzkBitmap out(decoder.Width(), decoder.Height(), TPixelFormat::pf24bit);
  if (!decoder.ReadPixels(out)) Fail(decoder.Message());
  return out;
}

bool ReadJpegImage(const uint8_t* data, size_t size, TzkBitmap& out, std::string& error) {
  try {
    out = DecodeJpegImage(data, size);
    return true;
  } catch (const EzkJpegError& e) {
    error = e.what();
  } catch (const std::bad_alloc&) {
    error = "Cannot load JPEG image: out of memory.";
  }
  return false;
}
