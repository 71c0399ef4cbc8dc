// The main window's rows live in the program and the list view only shows them. These
// tests check what such a row store can get wrong: selection and focus after commands
// compared with an ordinary list view, commands acting on the selected row after the list
// scrolled, the colours, texts and icons of rows scrolled into view, and type-ahead.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "MainWindowParts.h"
#include "app/TaskFile.h"
#include "app/Unit1.h"
#include "app/WinTaskStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Menu.h"
#include "toolkit/WideText.h"

namespace {

class TaskListRowsTest : public ::testing::Test, protected TMainWindowParts {
 protected:
  void TearDown() override {
    delete form;
    Pump();
  }

  // Opens the window on a task file of `count` running rows named "task 0" (row 0) on;
  // row i has priority priority(i).
  void Open(int count, int (*priority)(int) = nullptr) {
    std::string file = locale.DateTimeToText(locale.now - 1) + "\r\n";
    for (int i = 0; i < count; ++i)
      file += "task " + std::to_string(i) + "<#>" + locale.DateTimeToText(locale.now - 1) +
              "<#>notend<#>false<#>notime<#>" + std::to_string(priority ? priority(i) : 0) + "\r\n";
    WriteBytes(folder.Path() + L"save.txt", file);
    form = CreateMainForm();
    list = form->sListView1->Handle();
  }

  void Command(TMenuItem* item) {
    PostMessageW(PopupListWindow(), WM_COMMAND, item->Command(), 0);
    Pump();
  }
  void Add(const std::wstring& text) {
    SetWindowTextW(form->sEdit1->Handle(), text.c_str());
    SendMessageW(form->sButton1->Handle(), BM_CLICK, 0, 0);
    Pump();
  }
  std::string Caption(int row) { return form->Rows().Text(row, tfCaption); }

  // Clicks a row with the mouse where the list view shows it.
  void Click(int row) {
    RECT r = {};
    ASSERT_TRUE(ListView_GetItemRect(list, row, &r, LVIR_LABEL));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    // The list view looks for a drag before it selects: the release waiting in the queue
    // makes the press a click; the second release ends the press for the list view.
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    Pump();
  }

  // A key pressed in the list view (the commands move the focus to the edit box).
  void Key(WORD key) {
    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, key, 1);
    SendMessageW(list, WM_KEYUP, key, 0xC0000001);
    Pump();
  }

  // The background colours the platform paints the rows in, right of their captions.
  std::vector<COLORREF> PaintedColours(int first, int last) {
    RECT client;
    GetClientRect(list, &client);
    TBitmap bitmap(client.right, client.bottom);
    SendMessageW(list, WM_PRINTCLIENT, WPARAM(bitmap.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    std::vector<COLORREF> colours;
    for (int row = first; row <= last; ++row) {
      RECT r = {};
      ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
      const uint32_t p = bitmap.ScanLine((r.top + r.bottom) / 2)[300];
      colours.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    return colours;
  }

  TForm1* form = nullptr;
  HWND list = nullptr;
};

// Rows in plain vectors that make room at the top the generic way, copying every row's
// texts one place down.
class TCopyingRows : public TTaskRows {
 public:
  int Count() const override { return int(texts_.size()); }
  std::string Text(int row, TTaskField field) const override { return texts_.at(size_t(row)).at(size_t(field)); }
  void SetText(int row, TTaskField field, const std::string& text) override {
    texts_.at(size_t(row)).at(size_t(field)) = text;
  }
  int AddRow() override {
    texts_.emplace_back(kTaskFieldCount);
    images_.push_back(tiRunning);
    return Count() - 1;
  }
  void DeleteRow(int row) override {
    texts_.erase(texts_.begin() + row);
    images_.erase(images_.begin() + row);
  }
  void Clear() override {
    texts_.clear();
    images_.clear();
  }
  int ImageIndex(int row) const override { return images_.at(size_t(row)); }
  void SetImageIndex(int row, int index) override { images_.at(size_t(row)) = index; }

 private:
  std::vector<std::vector<std::string>> texts_;
  std::vector<int> images_;
};

int Selected(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }
int Focused(HWND list) { return ListView_GetNextItem(list, -1, LVNI_FOCUSED); }

void SelectAndFocus(HWND list, int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

TEST_F(TaskListRowsTest, MakingRoomAtTheTopGivesWhatCopyingEveryRowDownGives) {
  Open(0);
  TTaskRows& store = form->Rows();
  TCopyingRows copying;
  const char* const finished[] = {"false", "true", "false", "true", "false"};
  const int images[] = {tiPending, tiFinished, tiFired, tiFinished, tiRunning};
  for (TTaskRows* rows : {&store, static_cast<TTaskRows*>(&copying)}) {
    rows->MoveRowsDown();  // an empty list just gets a row
    ASSERT_EQ(rows->Count(), 1);
    rows->Clear();
    for (int i = 0; i < 5; ++i) {
      const int r = rows->AddRow();
      for (int f = 0; f < kTaskFieldCount; ++f) rows->SetText(r, TTaskField(f), "r" + std::to_string(i) + "f" + std::to_string(f));
      rows->SetText(r, tfFinished, finished[i]);
      rows->SetImageIndex(r, images[i]);
    }
    rows->MoveRowsDown();
  }
  ASSERT_EQ(store.Count(), 6);
  ASSERT_EQ(copying.Count(), 6);
  for (int row = 0; row < 6; ++row) {
    SCOPED_TRACE(row);
    for (int f = 0; f < kTaskFieldCount; ++f) EXPECT_EQ(store.Text(row, TTaskField(f)), copying.Text(row, TTaskField(f)));
    EXPECT_EQ(store.ImageIndex(row), copying.ImageIndex(row));
  }
  EXPECT_EQ(store.Text(0, tfCaption), "r0f0") << "row 0 keeps its texts until the add writes them";
  EXPECT_EQ(store.ImageIndex(2), tiFinished);
  EXPECT_EQ(store.ImageIndex(1), tiRunning) << "a pending limit's yellow comes back with the next tick";
  EXPECT_EQ(ListView_GetItemCount(list), 6);
}

TEST_F(TaskListRowsTest, ManyLimitsFiringInOneLoadOrOneTickStartTheSoundOnce) {
  const std::string start = locale.DateTimeToText(locale.now - 1.0 / 24);
  std::string file = start + "\r\n";
  for (int i = 0; i < 6; ++i)
    file += "t" + std::to_string(i) + "<#>" + start + "<#>notend<#>false<#>" +
            (i % 2 == 0 ? "0:30:00" : "1:30:00") + "<#>0\r\n";
  WriteBytes(folder.Path() + L"save.txt", file);
  form = CreateMainForm(false);
  EXPECT_EQ(alarm.plays, 1) << "three limits were due at the load";
  for (int i = 0; i < 6; ++i) EXPECT_EQ(form->Rows().ImageIndex(i), i % 2 == 0 ? tiFired : tiPending);
  locale.now += 1.0 / 24;
  form->Timer1->Tick();
  EXPECT_EQ(alarm.plays, 2) << "three more fired in one tick";
  for (int i = 0; i < 6; ++i) EXPECT_EQ(form->Rows().ImageIndex(i), tiFired);
  EXPECT_EQ(ReadBytes(folder.Path() + L"save.txt").find(":30:00<#>"), std::string::npos)
      << "every fired limit was saved with its mark";
  form->Timer1->Tick();
  EXPECT_EQ(alarm.plays, 2);
}

TEST_F(TaskListRowsTest, SelectionAndFocusAfterAddAndDeleteMatchAnOrdinaryListView) {
  constexpr int kRows = 40;
  Open(kRows);
  // The same rows in a list view that holds its items itself: the add command appends a
  // row there and copies the texts down, the delete command deletes the item.
  TListView* ordinary = new TListView(form);
  ordinary->SetParent(form);
  ordinary->SetBounds(0, 0, 200, 100);
  ordinary->SetVisible(false);
  ordinary->AddColumn(L"c", 50);
  for (int i = 0; i < kRows; ++i) ordinary->AddItem();
  HWND reference = ordinary->Handle();
  int added = 0;
  for (const int row : {0, kRows / 2, kRows - 1}) {
    for (const bool del : {false, true}) {
      SCOPED_TRACE(std::string(del ? "delete" : "add") + " with row " + std::to_string(row) + " selected");
      const int count = form->Rows().Count();
      const int at = std::min(row, count - 1);
      SelectAndFocus(list, at);
      SelectAndFocus(reference, at);
      if (del) {
        const std::string below = at + 1 < count ? Caption(at + 1) : "";
        Command(form->N2);
        ordinary->DeleteItem(at);
        ASSERT_EQ(form->Rows().Count(), count - 1);
        if (!below.empty()) {
          EXPECT_EQ(Caption(at), below) << "the rows below move up";
        }
      } else {
        Add(L"added " + std::to_wstring(++added));
        ordinary->AddItem();
        ASSERT_EQ(form->Rows().Count(), count + 1);
        EXPECT_EQ(Caption(0), "added " + std::to_string(added));
      }
      EXPECT_EQ(ListView_GetItemCount(list), form->Rows().Count());
      EXPECT_EQ(Selected(list), Selected(reference));
      EXPECT_EQ(Focused(list), Focused(reference));
      EXPECT_EQ(form->sListView1->ItemIndex(), Selected(reference));
    }
  }
  // The selection stays at its position through an add, so it shows the task that was above.
  SelectAndFocus(list, 3);
  const std::string above = Caption(2);
  Add(L"top");
  EXPECT_EQ(Selected(list), 3);
  EXPECT_EQ(Caption(3), above);
}

TEST_F(TaskListRowsTest, CommandsActOnTheSelectedRowAfterTheListScrolled) {
  Open(300);
  ListView_EnsureVisible(list, 250, FALSE);
  Pump();
  ASSERT_GT(ListView_GetTopIndex(list), 200);
  Click(250);
  ASSERT_EQ(Selected(list), 250);
  Command(form->N1);
  EXPECT_EQ(form->Rows().Text(250, tfFinished), "true");
  EXPECT_EQ(form->Rows().ImageIndex(250), tiFinished);
  EXPECT_EQ(form->Rows().Text(0, tfFinished), "false");
  Key(VK_DOWN);
  ASSERT_EQ(Selected(list), 251);
  Command(form->N8);
  EXPECT_EQ(form->Rows().Text(251, tfPriority), "2");
  Key(VK_UP);
  Key(VK_UP);
  ASSERT_EQ(Selected(list), 249);
  Command(form->N2);
  EXPECT_EQ(form->Rows().Count(), 299);
  EXPECT_EQ(Caption(248), "task 248");
  EXPECT_EQ(Caption(249), "task 250");
  EXPECT_NE(ReadBytes(folder.Path() + L"save.txt").find("task 248<#>"), std::string::npos);
  EXPECT_EQ(ReadBytes(folder.Path() + L"save.txt").find("task 249<#>"), std::string::npos);
}

int ScrollTestPriority(int task) { return task % 7 == 3 ? 1 : task % 11 == 5 ? 2 : 0; }

// The colour of row `row` showing task `task` of the scroll test.
COLORREF ExpectedColour(int row, int task) {
  switch (ScrollTestPriority(task)) {
    case 1:
      return RGB(255, 255, 0);
    case 2:
      return RGB(255, 0, 0);
  }
  return row % 2 == 1 ? GetSysColor(COLOR_3DLIGHT) : RGB(255, 255, 255);
}

TEST_F(TaskListRowsTest, RowsScrolledIntoViewShowTheirColoursTextsAndIcons) {
  Open(500, ScrollTestPriority);
  form->Rows().SetImageIndex(497, tiFired);
  ListView_EnsureVisible(list, 499, FALSE);
  Pump();
  const int top = ListView_GetTopIndex(list);
  ASSERT_GT(top, 400);
  std::vector<COLORREF> colours = PaintedColours(top, 499);
  for (int row = top; row < 500; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(colours[size_t(row - top)], ExpectedColour(row, row));
    wchar_t text[64] = {};
    ListView_GetItemText(list, row, 0, text, 64);
    EXPECT_EQ(std::wstring(text), L"task " + std::to_wstring(row));
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    ASSERT_TRUE(ListView_GetItem(list, &item));
    EXPECT_EQ(item.iImage, row == 497 ? tiFired : tiRunning);
  }
  // An add moves every row one place down; the view stays where it was and each row's
  // colour follows its new index.
  Add(L"new");
  ASSERT_EQ(ListView_GetTopIndex(list), top);
  colours = PaintedColours(top, 499);
  for (int row = top; row < 500; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(colours[size_t(row - top)], ExpectedColour(row, row - 1));
    wchar_t text[64] = {};
    ListView_GetItemText(list, row, 0, text, 64);
    EXPECT_EQ(std::wstring(text), L"task " + std::to_wstring(row - 1));
  }
}

TEST_F(TaskListRowsTest, ATickRepaintsOnlyTheElapsedCells) {
  Open(30);
  UpdateWindow(list);
  locale.now += 1.0 / 86400;
  form->Timer1->Tick();
  form->sListView1->FlushItemRedraw();
  RECT dirty = {}, elapsed = {};
  ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
  ListView_GetSubItemRect(list, 0, tfElapsed, LVIR_BOUNDS, &elapsed);
  RECT client;
  GetClientRect(list, &client);
  EXPECT_EQ(dirty.left, elapsed.left);
  EXPECT_EQ(dirty.right, std::min(elapsed.right, client.right));
  // A finished row's icon changes too: the whole row is repainted.
  form->Rows().SetImageIndex(3, tiFinished);
  form->sListView1->FlushItemRedraw();
  ASSERT_TRUE(GetUpdateRect(list, &dirty, FALSE));
  RECT icon = {};
  ListView_GetItemRect(list, 3, &icon, LVIR_ICON);
  EXPECT_LE(dirty.left, icon.left);
}

TEST_F(TaskListRowsTest, TypingALetterSelectsTheNextRowStartingWithIt) {
  Open(3);
  form->Rows().SetText(1, tfCaption, "Beta");
  form->Rows().SetText(2, tfCaption, "bravo");
  SetFocus(list);
  SelectAndFocus(list, 0);
  SendMessageW(list, WM_CHAR, L'b', 1);
  Pump();
  EXPECT_EQ(Selected(list), 1);
}

// The list view's client area as the screen shows it.
std::vector<uint32_t> ScreenRows(HWND list) {
  RECT client;
  GetClientRect(list, &client);
  TBitmap bitmap(client.right, client.bottom);
  HDC dc = GetDC(list);
  BitBlt(bitmap.Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(list, dc);
  GdiFlush();
  std::vector<uint32_t> pixels;
  for (int y = 0; y < client.bottom; ++y)
    pixels.insert(pixels.end(), bitmap.ScanLine(y), bitmap.ScanLine(y) + client.right);
  return pixels;
}

// Row count changes repaint only the rows that moved; what the screen shows afterwards must be
// what a repaint of the whole list shows, also when the change scrolled the list.
TEST_F(TaskListRowsTest, AfterAddAndDeleteTheScreenShowsWhatAFullRepaintShows) {
  Open(40, [](int i) { return i % 3; });
  // The ticker would rewrite the elapsed times between two looks at the screen (the first
  // tick after loading replaces "notend"): one tick now, then none.
  form->Timer1->SetEnabled(false);
  form->Timer1->Tick();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_NE(form->sListView1->ScrollAdapter(), nullptr);
  const auto check = [&](const char* what) {
    UpdateWindow(list);
    LetPaintReachScreen();
    const std::vector<uint32_t> shown = ScreenRows(list);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    LetPaintReachScreen();
    EXPECT_TRUE(shown == ScreenRows(list)) << what;
  };
  Add(L"new on top");
  check("add");
  SelectAndFocus(list, 5);
  Command(form->N2);
  check("delete in the middle");
  ListView_EnsureVisible(list, form->Rows().Count() - 1, FALSE);
  UpdateWindow(list);
  SelectAndFocus(list, form->Rows().Count() - 1);
  Command(form->N2);
  check("delete the last row while scrolled to the end");
  SelectAndFocus(list, ListView_GetTopIndex(list));
  Command(form->N2);
  check("delete the top row shown");
  while (form->Rows().Count() > 3) form->Rows().DeleteRow(1);
  check("fewer rows than the list shows");
}

// The saved file is kept from cached lines of the rows that did not change; it must always
// be the list written afresh, in the encoding the whole list needs.
TEST_F(TaskListRowsTest, TheTaskFileIsAlwaysTheListWrittenAfresh) {
  Open(12);
  const auto afresh = [&] {
    TWinTaskStorage other;  // another storage: nothing cached is used
    TTaskFile file(other, "unused");
    return file.Format(form->Rows(), form->ListStart());
  };
  const auto check = [&](const char* what) { EXPECT_EQ(ReadBytes(form->TaskFilePath()), afresh()) << what; };
  Add(L"caf\u00e9 first");
  check("add");
  SelectAndFocus(list, 2);
  Command(form->N1);
  check("finish: the elapsed time is written now");
  locale.now += 5.0 / 86400;
  form->Timer1->Tick();
  form->SaveTasks();
  check("tick: only finished rows' elapsed times are written");
  SelectAndFocus(list, 4);
  Command(form->N8);
  check("priority");
  Add(L"\u65e5\u672c");
  const std::string utf8 = ReadBytes(form->TaskFilePath());
  check("a caption outside the code page");
  EXPECT_EQ(utf8.compare(0, 3, "\xEF\xBB\xBF"), 0) << "the whole file turns UTF-8";
  SelectAndFocus(list, 0);
  Command(form->N2);
  check("deleting that row");
  EXPECT_NE(ReadBytes(form->TaskFilePath()).compare(0, 3, "\xEF\xBB\xBF"), 0) << "ANSI again";
}

}  // namespace
