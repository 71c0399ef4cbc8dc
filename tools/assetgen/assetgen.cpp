// assetgen OUTDIR: draws the program's files that are not code into OUTDIR:
//   notok.ico, ok.ico, yellow.ico, red.ico   status icons at 16, 20, 24 and 32 pixels (100, 125,
//                                             150 and 200 % display scale), 32-bit with alpha
//   VornikDesktop.ico                         the application icon at 48 pixels, then 16, 20, 24
//                                             and 32 for the tray at those scales, 32-bit
//   sound.wav                                 the alarm, a short two-tone chime
//   zkSHDA.png, zkSHDI.png                    the skin engine's built-in window shadows
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "IconWriter.h"
#include "Painter.h"
#include "WavWriter.h"
#include "skin/data/sShadowImages.h"
#include "skin/paint/zkPngWriter.h"

namespace {

const double kPi = 3.14159265358979323846;

std::vector<TLayer> NeutralDot() {
  return {{Circle(0.5, 0.5, 0.30), Rgb(96, 104, 116)},
          {Circle(0.5, 0.5, 0.24), Rgb(168, 176, 188)},
          {Circle(0.43, 0.42, 0.08), Rgb(230, 234, 240, 0.85)}};
}

std::vector<TLayer> GreenCheck() {
  return {{Circle(0.5, 0.5, 0.46), Rgb(30, 120, 50)},
          {Circle(0.5, 0.5, 0.40), Rgb(56, 170, 80)},
          {Segment(0.28, 0.52, 0.44, 0.68, 0.065), Rgb(255, 255, 255)},
          {Segment(0.44, 0.68, 0.73, 0.34, 0.065), Rgb(255, 255, 255)}};
}

std::vector<TLayer> YellowClock() {
  return {{Circle(0.5, 0.5, 0.46), Rgb(150, 110, 0)},
          {Circle(0.5, 0.5, 0.40), Rgb(250, 204, 40)},
          {Circle(0.5, 0.5, 0.30), Rgb(255, 246, 200)},
          {Segment(0.5, 0.5, 0.5, 0.28, 0.045), Rgb(70, 50, 0)},
          {Segment(0.5, 0.5, 0.66, 0.58, 0.045), Rgb(70, 50, 0)},
          {Circle(0.5, 0.5, 0.05), Rgb(70, 50, 0)}};
}

std::vector<TLayer> RedAlarm() {
  return {{Circle(0.22, 0.2, 0.13), Rgb(150, 20, 20)},
          {Circle(0.78, 0.2, 0.13), Rgb(150, 20, 20)},
          {Circle(0.5, 0.55, 0.42), Rgb(140, 16, 16)},
          {Circle(0.5, 0.55, 0.36), Rgb(220, 40, 40)},
          {Segment(0.5, 0.36, 0.5, 0.6, 0.06), Rgb(255, 255, 255)},
          {Circle(0.5, 0.75, 0.065), Rgb(255, 255, 255)}};
}

std::vector<TLayer> AppIcon() {
  return {{RoundedRect(0.04, 0.04, 0.96, 0.96, 0.18), Rgb(24, 52, 100)},
          {RoundedRect(0.07, 0.07, 0.93, 0.93, 0.15), Rgb(44, 92, 160)},
          {Circle(0.47, 0.5, 0.33), Rgb(250, 250, 252)},
          {Ring(0.47, 0.5, 0.33, 0.04), Rgb(20, 40, 80)},
          {Segment(0.47, 0.5, 0.47, 0.28, 0.035), Rgb(20, 40, 80)},
          {Segment(0.47, 0.5, 0.63, 0.5, 0.035), Rgb(20, 40, 80)},
          {Circle(0.74, 0.74, 0.18), Rgb(30, 120, 50)},
          {Circle(0.74, 0.74, 0.15), Rgb(56, 170, 80)},
          {Segment(0.66, 0.75, 0.72, 0.81, 0.03), Rgb(255, 255, 255)},
          {Segment(0.72, 0.81, 0.83, 0.67, 0.03), Rgb(255, 255, 255)}};
}

// Two bell-like tones (E6 then C6), each with a soft attack, an overtone and a decay.
std::vector<int16_t> Chime(int rate) {
  const double length = 1.0;
  std::vector<double> mix(size_t(rate * length), 0.0);
  const auto bell = [&](double start, double freq, double gain) {
    for (size_t i = size_t(start * rate); i < mix.size(); ++i) {
      const double t = double(i) / rate - start;
      const double attack = std::min(1.0, t / 0.005);
      const double env = attack * std::exp(-t * 5.5);
      mix[i] += gain * env *
                (std::sin(2 * kPi * freq * t) + 0.35 * std::sin(2 * kPi * freq * 2.0 * t) * std::exp(-t * 6));
    }
  };
  bell(0.0, 1318.51, 0.45);
  bell(0.22, 1046.50, 0.45);
  std::vector<int16_t> out(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) {
    const double fade = i + size_t(rate * 0.02) > mix.size() ? double(mix.size() - i) / (rate * 0.02) : 1.0;
    out[i] = int16_t(std::lround(std::max(-1.0, std::min(1.0, mix[i] * fade)) * 30000));
  }
  return out;
}

bool Write(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), std::streamsize(bytes.size()));
  f.close();
  if (!f) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

std::string PngBytes(const TzkBitmap& image) {
  const std::vector<uint8_t> png = EncodePng(image);
  return std::string(png.begin(), png.end());
}

// Each size is drawn from the shapes, not scaled from another, so every one is sharp.
std::string IconAtSizes(const std::vector<TLayer>& layers, const std::vector<int>& sizes) {
  std::vector<TIconImage> images;
  for (int size : sizes) images.push_back(Paint(size, layers));
  return IconFileBytes(images);
}

std::string StatusIcon(const std::vector<TLayer>& layers) { return IconAtSizes(layers, {16, 20, 24, 32}); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen OUTDIR\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  bool ok = Write(dir + "notok.ico", StatusIcon(NeutralDot()));
  ok = Write(dir + "ok.ico", StatusIcon(GreenCheck())) && ok;
  ok = Write(dir + "yellow.ico", StatusIcon(YellowClock())) && ok;
  ok = Write(dir + "red.ico", StatusIcon(RedAlarm())) && ok;
  ok = Write(dir + "VornikDesktop.ico", IconAtSizes(AppIcon(), {48, 16, 20, 24, 32})) && ok;
  ok = Write(dir + "sound.wav", WavFileBytes(Chime(44100), 44100)) && ok;
  ok = Write(dir + "zkSHDA.png", PngBytes(DrawActiveShadow())) && ok;
  ok = Write(dir + "zkSHDI.png", PngBytes(DrawInactiveShadow())) && ok;
  return ok ? 0 : 1;
}
