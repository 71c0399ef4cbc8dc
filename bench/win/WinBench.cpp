#include "bench/win/WinBench.h"

#include <algorithm>
#include <cstdio>

#include "toolkit/WideText.h"

double BenchSeconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

LARGE_INTEGER BenchNow() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

double BenchReport(const std::string& name, std::vector<double> samples, double baseline) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const double median = samples[samples.size() / 2];
  std::printf("%-52s median %9.3f ms   min %9.3f ms   max %9.3f ms  (%zu runs)", name.c_str(),
              median * 1e3, samples.front() * 1e3, samples.back() * 1e3, samples.size());
  if (baseline > 0) std::printf("   %5.2fx", median / baseline);
  std::printf("\n");
  std::fflush(stdout);
  return median;
}

std::string BenchTaskFile(const ITaskLocale& locale, TDateTime now, int rows, bool dueLimits) {
  std::string text = locale.DateTimeToText(now - 2.0) + "\r\n";
  text.reserve(size_t(rows) * 100);
  for (int i = 0; i < rows; ++i) {
    const bool finished = i % 10 == 9;
    const std::string limit = dueLimits && i % 5 == 0 ? "0:1:00" : i % 7 == 3 ? "900:0:00" : "notime";
    text += "Task number " + std::to_string(rows - i) + " with a caption of common length<#>" +
            locale.DateTimeToText(now - (i + 2) / 1440.0) + "<#>" +
            (finished ? "00:12:34" : "notend") + "<#>" + (finished ? "true" : "false") + "<#>" +
            limit + "<#>" + std::to_string(i % 11 == 0 ? 2 : i % 6 == 0 ? 1 : 0) + "\r\n";
  }
  return text;
}

TBenchFolder::TBenchFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + name + L"\\";
  CreateDirectoryW(path_.c_str(), nullptr);
  for (const wchar_t* f :
       {L"VornikDesktop.exe", L"notok.ico", L"ok.ico", L"yellow.ico", L"red.ico", L"sound.wav"})
    CopyFileW((ExeFolder() + f).c_str(), (path_ + f).c_str(), FALSE);
}

TBenchFolder::~TBenchFolder() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW((path_ + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path_.c_str());
}

void TBenchFolder::Write(const std::wstring& file, const std::string& bytes) const {
  HANDLE h = CreateFileW((path_ + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(h);
}
