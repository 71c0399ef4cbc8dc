#include "WavWriter.h"

namespace {

void Put16(std::string& out, unsigned v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::string WavFileBytes(const std::vector<int16_t>& samples, int sampleRate) {
  const uint32_t dataBytes = uint32_t(samples.size() * 2);
  std::string out = "RIFF";
  Put32(out, 36 + dataBytes);
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, uint32_t(sampleRate));
  Put32(out, uint32_t(sampleRate * 2));
  Put16(out, 2);
  Put16(out, 16);
  out += "data";
  Put32(out, dataBytes);
  for (int16_t s : samples) Put16(out, uint16_t(s));
  return out;
}
