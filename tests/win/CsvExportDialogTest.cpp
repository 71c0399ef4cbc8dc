// The export command through the platform's real save dialog: the proposed name, a path typed
// into the dialog and confirmed, cancelling, and a target that cannot be written.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "app/CsvExportDialog.h"
#include "app/TaskCsv.h"
#include "app/WinTaskStorage.h"
#include "toolkit/WideText.h"

namespace {

// Rows kept in memory.
class TMemoryRows : public TTaskRows {
 public:
  std::vector<std::array<std::string, kTaskFieldCount>> rows;
  int Count() const override { return int(rows.size()); }
  std::string Text(int row, TTaskField f) const override { return rows.at(size_t(row))[size_t(f)]; }
  void SetText(int row, TTaskField f, const std::string& t) override { rows.at(size_t(row))[size_t(f)] = t; }
  int AddRow() override {
    rows.emplace_back();
    return Count() - 1;
  }
  void DeleteRow(int row) override { rows.erase(rows.begin() + row); }
  void Clear() override { rows.clear(); }
  int ImageIndex(int) const override { return 0; }
  void SetImageIndex(int, int) override {}
};

HWND SaveDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM l) {
        char name[16] = {};
        GetClassNameA(w, name, sizeof(name));
        if (std::string(name) == "#32770" && IsWindowVisible(w)) *reinterpret_cast<HWND*>(l) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The file-name box of the save dialog: an edit, or the edit inside its combo box (which may
// sit inside an extended combo box).
HWND FileNameBox(HWND dialog) {
  if (HWND edit = GetDlgItem(dialog, edt1)) return edit;
  HWND combo = GetDlgItem(dialog, cmb13);
  HWND edit = nullptr;
  if (combo)
    EnumChildWindows(
        combo,
        [](HWND c, LPARAM l) {
          wchar_t name[8] = {};
          GetClassNameW(c, name, 8);
          if (std::wstring(name) != L"Edit") return TRUE;
          *reinterpret_cast<HWND*>(l) = c;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&edit));
  return edit;
}

std::wstring TextOf(HWND w) {
  wchar_t text[MAX_PATH] = {};
  if (w) GetWindowTextW(w, text, MAX_PATH);
  return text;
}

class CsvExportDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rows.AddRow();
    rows.rows[0] = {"Отчёт; \"квартал\"", locale.DateTimeToText(locale.now - 1.0 / 24), "notend", "false",
                    "0:30:00#", "2"};
  }
  TTestLocale locale;
  TWinTaskStorage storage;
  TMemoryRows rows;
  TScratchFolder folder;
};

TEST_F(CsvExportDialogTest, ProposesTheDaysNameAndWritesWhereTheUserSays) {
  TCsvExportDialog command(locale, storage);
  const std::wstring target = folder.Path() + L"список.csv";
  std::wstring proposed;
  bool done = false;
  TModalScript::Run([&] { done = command.Run(nullptr, rows); },
                    {[&] {
                       HWND d = SaveDialog();
                       proposed = TextOf(FileNameBox(d));
                       SetWindowTextW(FileNameBox(d), target.c_str());
                     },
                     [&] { PostMessageW(SaveDialog(), WM_COMMAND, IDOK, 0); }},
                    [] {
                      if (HWND d = SaveDialog()) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                    });
  EXPECT_EQ(proposed, L"Vornik Desktop 2025-12-09.csv");
  EXPECT_TRUE(done);
  EXPECT_EQ(command.LastPath(), target);
  const std::string separator = CsvSeparator(locale.ListSeparator(), locale.DecimalSeparator());
  EXPECT_EQ(ReadBytes(target), TaskCsvBytes(rows, locale, separator, locale.now));
}

TEST_F(CsvExportDialogTest, CancellingWritesNothing) {
  TCsvExportDialog command(locale, storage);
  bool done = true;
  TModalScript::Run([&] { done = command.Run(nullptr, rows); }, {},
                    [] {
                      if (HWND d = SaveDialog()) PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                    });
  EXPECT_FALSE(done);
  EXPECT_TRUE(command.LastPath().empty());
}

}  // namespace
