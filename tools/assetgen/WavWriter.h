// Writing 16-bit PCM mono .wav files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::string WavFileBytes(const std::vector<int16_t>& samples, int sampleRate);
