// The task file and the ticker over a 10,000-row list: SaveTasks and LoadTasks against one
// plain file call moving the same bytes, and one tick.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/TaskClock.h"
#include "app/TaskFile.h"
#include "support/TaskFakes.h"

namespace {

constexpr int kRows = 10000;

// Real files, replaced the way the program does it: temporary file, flush to disk, rename.
class FileStorage : public FakeStorage {
 public:
  bool FileExists(const std::string& path) const override { return access(path.c_str(), F_OK) == 0; }
  std::string ReadFile(const std::string& path) const override {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void ReplaceFile(const std::string& path, const std::string& bytes) override {
    const std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) throw TTaskFileError("cannot create " + temp);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fflush(f);
    fsync(fileno(f));
    std::fclose(f);
    if (std::rename(temp.c_str(), path.c_str()) != 0) throw TTaskFileError("cannot replace " + path);
  }
};

std::string TempPath(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir ? dir : "/tmp") + "/vornik-bench-" + name;
}

void FillRows(FakeRows& rows, const FakeLocale& locale) {
  const TDateTime start = MakeDateTime(2026, 12, 1, 9, 0, 0);
  for (int i = 0; i < kRows; ++i) {
    const bool finished = i % 3 == 0;
    rows.Add({"\xD0\x97\xD0\xB0\xD0\xB4\xD0\xB0\xD1\x87\xD0\xB0 number " + std::to_string(i),
              locale.DateTimeToText(start + i * 37 * kSecond), finished ? "01:02:03" : "",
              finished ? "true" : "false", i % 5 == 0 ? "900:0:00" : "notime",
              std::to_string(i % 3)});
  }
}

struct Fixture {
  FakeLocale locale;
  FakeRows rows;
  FileStorage storage;
  TTaskFile file{storage, TempPath("save.txt")};
  Fixture() { FillRows(rows, locale); }
};

void BM_SaveTasks(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) f.file.SaveTasks(f.rows, "01.12.2026 09:00:00");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.storage.ReadFile(f.file.Path()).size()));
}
BENCHMARK(BM_SaveTasks)->Unit(benchmark::kMillisecond);

// The same bytes in one plain write, no temporary file and no flush to disk.
void BM_PlainWriteSameBytes(benchmark::State& state) {
  Fixture f;
  const std::string bytes = f.file.Format(f.rows, "01.12.2026 09:00:00");
  const std::string path = TempPath("plain.txt");
  for (auto _ : state) {
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_PlainWriteSameBytes)->Unit(benchmark::kMillisecond);

void BM_FormatOnly(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.file.Format(f.rows, "01.12.2026 09:00:00"));
}
BENCHMARK(BM_FormatOnly)->Unit(benchmark::kMillisecond);

void BM_LoadTasks(benchmark::State& state) {
  Fixture f;
  f.file.SaveTasks(f.rows, "01.12.2026 09:00:00");
  for (auto _ : state) {
    FakeRows loaded;
    loaded.rows.reserve(kRows);
    benchmark::DoNotOptimize(f.file.LoadTasks(loaded, nullptr));
  }
}
BENCHMARK(BM_LoadTasks)->Unit(benchmark::kMillisecond);

void BM_PlainReadSameBytes(benchmark::State& state) {
  Fixture f;
  f.file.SaveTasks(f.rows, "01.12.2026 09:00:00");
  for (auto _ : state) benchmark::DoNotOptimize(f.storage.ReadFile(f.file.Path()));
}
BENCHMARK(BM_PlainReadSameBytes)->Unit(benchmark::kMillisecond);

void BM_TickTenThousandRows(benchmark::State& state) {
  Fixture f;
  CountingAlarm alarm;
  TTaskClock clock(f.rows, f.locale, alarm);
  f.locale.now = MakeDateTime(2026, 12, 9, 12, 0, 0);
  std::string caption;
  for (auto _ : state) {
    f.locale.now += kSecond;
    clock.Tick("01.12.2026 09:00:00", caption, [] {});
  }
}
BENCHMARK(BM_TickTenThousandRows)->Unit(benchmark::kMillisecond);

}  // namespace
