// The main window driven through real window messages: keys posted to the edit box, button
// clicks, menu commands through the popup list window, custom draw through WM_NOTIFY.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "app/Unit1.h"
#include "app/WinTaskStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Handles.h"
#include "toolkit/WideText.h"

namespace {

class MainWindowTest : public ::testing::Test, protected TMainWindowParts {
 protected:
  void TearDown() override {
    delete form;
    Pump();
  }

  TForm1* Open() {
    TForm1Setup setup = FormSetup();
    setup.Storage = storage;
    setup.OpenUrl = [this](const std::wstring& url) { openedUrls.push_back(url); };
    form = CreateMainForm(setup);
    return form;
  }

  std::wstring SavePath() const { return folder.Path() + L"save.txt"; }
  std::string SavedFile() const { return ReadBytes(SavePath()); }
  std::string Now() const { return locale.DateTimeToText(locale.now); }

  void Type(const std::wstring& text) { SetWindowTextW(form->sEdit1->Handle(), text.c_str()); }
  void PressEnter(HWND target) {
    PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(target, WM_KEYUP, VK_RETURN, 0xC01C0001);
    Pump();
  }
  void AddWithButton(const std::wstring& text) {
    Type(text);
    SendMessageW(form->sButton1->Handle(), BM_CLICK, 0, 0);
    Pump();
  }
  void Select(int row) { SelectListRow(form->sListView1->Handle(), row); }
  void Command(TMenuItem* item) {
    PostMessageW(PopupListWindow(), WM_COMMAND, item->Command(), 0);
    Pump();
  }
  std::string Text(int row, TTaskField field) { return form->Rows().Text(row, field); }
  int Icon(int row) { return form->Rows().ImageIndex(row); }
  bool EditFocused() { return GetFocus() == form->sEdit1->WindowHandle(); }

  // The background the list view's item custom draw picks for a row.
  COLORREF RowColour(int row) {
    NMLVCUSTOMDRAW cd = {};
    cd.nmcd.hdr.hwndFrom = form->sListView1->Handle();
    cd.nmcd.hdr.idFrom = 0;
    cd.nmcd.hdr.code = NM_CUSTOMDRAW;
    cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    cd.nmcd.dwItemSpec = DWORD_PTR(row);
    TMemoryDcHandle dc(CreateCompatibleDC(nullptr));
    cd.nmcd.hdc = dc.Get();
    cd.clrTextBk = CLR_NONE;
    SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd));
    return cd.clrTextBk;
  }

  ITaskStorage* storage = nullptr;  // null: the disk in the system's code page
  std::vector<std::wstring> openedUrls;
  TForm1* form = nullptr;
};

TEST_F(MainWindowTest, StartsWithQuotationClockAndSixColumnsAndFocusInTheEdit) {
  Open();
  const std::wstring caption = form->sGroupBox1->Caption();
  bool known = false;
  for (const wchar_t* q : TForm1::kQuotations) known = known || caption == q;
  EXPECT_TRUE(known) << WideToUtf8(caption);
  EXPECT_EQ(form->sLabel1->Caption(), L"00:00:00");
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(form->sListView1->Handle())), 6);
  EXPECT_EQ(form->ClientWidth(), 657);
  EXPECT_EQ(form->ClientHeight(), 451);
  EXPECT_TRUE(EditFocused());
  EXPECT_EQ(form->ImageList1->Count(), 4);
  EXPECT_EQ(form->ListStart(), "no");
  EXPECT_FALSE(FileExistsW(SavePath()));  // nothing is written before the first change
  const LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(MainWindowTest, TheClockFitsItsLabelWhateverFaceTheSystemSubstitutes) {
  Open();
  TWindowDc screen(nullptr);
  TSelectObject font(screen.Get(), form->sLabel1->Font().Handle());
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32W(screen.Get(), L"00:00:00", 8, &size));
  EXPECT_LE(size.cx, form->sLabel1->Width());
  EXPECT_LE(size.cy, form->sLabel1->Height());
  EXPECT_GE(size.cx, form->sLabel1->Width() * 3 / 4);  // shrunk to fit, not to a speck
  EXPECT_TRUE(form->sLabel1->Font().Style() & fsBold);
}

TEST_F(MainWindowTest, AddWithTheButtonToAnEmptyList) {
  TWinTaskStorage cyrillic(1251);
  storage = &cyrillic;
  Open();
  AddWithButton(L"Написать письмо");
  ASSERT_EQ(form->Rows().Count(), 1);
  EXPECT_EQ(Text(0, tfCaption), "Написать письмо");
  EXPECT_EQ(Text(0, tfStart), Now());
  EXPECT_EQ(Text(0, tfElapsed), "");
  EXPECT_EQ(Text(0, tfFinished), "false");
  EXPECT_EQ(Text(0, tfLimit), "notime");
  EXPECT_EQ(Text(0, tfPriority), "0");
  EXPECT_EQ(Icon(0), 0);
  EXPECT_EQ(form->ListStart(), Now());
  EXPECT_EQ(form->sEdit1->Text(), L"");
  EXPECT_TRUE(EditFocused());
  // In the ANSI code page when the caption converts ("Написать письмо" in Windows-1251) ...
  const std::string row = "<#>" + Now() + "<#>notend<#>false<#>notime<#>0\r\n";
  EXPECT_EQ(SavedFile(), Now() + "\r\n" +
                             "\xCD\xE0\xEF\xE8\xF1\xE0\xF2\xFC \xEF\xE8\xF1\xFC\xEC\xEE" + row);
  // ... else as UTF-8 with its byte-order mark.
  AddWithButton(L"Чай 茶");
  EXPECT_EQ(SavedFile(), "\xEF\xBB\xBF" + Now() + "\r\n" + "\xD0\xA7\xD0\xB0\xD0\xB9 \xE8\x8C\xB6" + row +
                             "\xD0\x9D\xD0\xB0\xD0\xBF\xD0\xB8\xD1\x81\xD0\xB0\xD1\x82\xD1\x8C "
                             "\xD0\xBF\xD0\xB8\xD1\x81\xD1\x8C\xD0\xBC\xD0\xBE" + row);
}

TEST_F(MainWindowTest, EnterInTheEditAddsExactlyOnceAndEnterOnTheSecondButtonStartsOver) {
  Open();
  Type(L"one");
  PressEnter(form->sEdit1->Handle());
  ASSERT_EQ(form->Rows().Count(), 1);
  EXPECT_EQ(Text(0, tfCaption), "one");
  EXPECT_TRUE(EditFocused());

  // Enter with the focus on the list view goes to the default button.
  Type(L"two");
  SetFocus(form->sListView1->Handle());
  PressEnter(form->sListView1->Handle());
  ASSERT_EQ(form->Rows().Count(), 2);
  EXPECT_EQ(Text(0, tfCaption), "two");

  SetFocus(form->sButton2->Handle());
  Pump();
  PressEnter(form->sButton2->Handle());
  EXPECT_EQ(form->Rows().Count(), 0);
  EXPECT_EQ(form->ListStart(), "no");
  EXPECT_TRUE(EditFocused());
}

TEST_F(MainWindowTest, AddPutsTheNewTaskOnTopAndShiftsTheRowsWithTheirTexts) {
  Open();
  AddWithButton(L"first");
  locale.now += 1.0 / 24;
  AddWithButton(L"second");
  Select(0);
  Command(form->N1);  // finish "second"
  form->Rows().SetText(1, tfLimit, "1:30:00#");
  form->Rows().SetImageIndex(1, 3);
  const std::string secondStart = Text(0, tfStart);
  locale.now += 1.0 / 24;
  Select(1);
  AddWithButton(L"third");
  ASSERT_EQ(form->Rows().Count(), 3);
  EXPECT_EQ(Text(0, tfCaption), "third");
  EXPECT_EQ(Text(1, tfCaption), "second");
  EXPECT_EQ(Text(1, tfStart), secondStart);
  EXPECT_EQ(Text(1, tfFinished), "true");
  EXPECT_EQ(Text(2, tfCaption), "first");
  EXPECT_EQ(Text(2, tfLimit), "1:30:00#");
  EXPECT_EQ(Icon(0), 0);
  EXPECT_EQ(Icon(1), 1);  // finished rows keep their check
  EXPECT_EQ(Icon(2), 0);  // a fired alarm's red does not move with the row
  // The selection stays at the position, which now shows the task that was above it.
  EXPECT_EQ(form->sListView1->ItemIndex(), 1);
  // ListStart is the moment of the first add.
  EXPECT_EQ(form->ListStart(), Text(2, tfStart));
}

TEST_F(MainWindowTest, StartOverEmptiesTheListAndWritesOneLine) {
  Open();
  AddWithButton(L"a");
  AddWithButton(L"b");
  form->sLabel1->SetCaption(L"01:02:03");
  SendMessageW(form->sButton2->Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(form->Rows().Count(), 0);
  EXPECT_EQ(form->sLabel1->Caption(), L"00:00:00");
  EXPECT_EQ(SavedFile(), "no\r\n");
  EXPECT_TRUE(EditFocused());
  form->Timer1->Tick();  // the clock stays at zero until the next add
  EXPECT_EQ(form->sLabel1->Caption(), L"00:00:00");
}

TEST_F(MainWindowTest, MenuCommandsOnTheSelectedRowSaveAndRefocus) {
  Open();
  AddWithButton(L"a");
  AddWithButton(L"b");
  AddWithButton(L"c");

  Select(1);
  Command(form->N8);
  EXPECT_EQ(Text(1, tfPriority), "2");
  Command(form->N7);
  EXPECT_EQ(Text(1, tfPriority), "1");
  EXPECT_NE(SavedFile().find("b<#>" + Now() + "<#>notend<#>false<#>notime<#>1\r\n"), std::string::npos);
  Command(form->N5);
  EXPECT_EQ(Text(1, tfPriority), "0");
  EXPECT_TRUE(EditFocused());

  form->Rows().SetText(1, tfElapsed, "00:05:00");
  Command(form->N1);
  EXPECT_EQ(Text(1, tfFinished), "true");
  EXPECT_EQ(Icon(1), 1);
  EXPECT_NE(SavedFile().find("b<#>" + Now() + "<#>00:05:00<#>true<#>notime<#>0\r\n"), std::string::npos);
  EXPECT_TRUE(EditFocused());

  Command(form->N2);
  ASSERT_EQ(form->Rows().Count(), 2);
  EXPECT_EQ(Text(0, tfCaption), "c");
  EXPECT_EQ(Text(1, tfCaption), "a");
  EXPECT_EQ(SavedFile().find("b<#>"), std::string::npos);
  EXPECT_TRUE(EditFocused());
}

TEST_F(MainWindowTest, MenuCommandsWithoutASelectionChangeNothingButStillSave) {
  Open();
  AddWithButton(L"a");
  Select(-1);
  for (TMenuItem* item : {form->N1, form->N2, form->N5, form->N7, form->N8}) {
    DeleteFileW(SavePath().c_str());
    SetFocus(form->sListView1->Handle());
    Command(item);
    ASSERT_EQ(form->Rows().Count(), 1) << WideToUtf8(item->Name());
    EXPECT_EQ(Text(0, tfFinished), "false");
    EXPECT_EQ(Text(0, tfPriority), "0");
    EXPECT_TRUE(FileExistsW(SavePath())) << WideToUtf8(item->Name());
    EXPECT_TRUE(EditFocused()) << WideToUtf8(item->Name());
  }
}

TEST_F(MainWindowTest, RowColoursAlternateAndFollowThePriority) {
  Open();
  for (int i = 0; i < 5; ++i) AddWithButton(L"t" + std::to_wstring(i));
  form->Rows().SetText(1, tfPriority, "1");
  form->Rows().SetText(2, tfPriority, "2");
  form->Rows().SetText(4, tfPriority, "x");
  const COLORREF light = GetSysColor(COLOR_3DLIGHT);
  EXPECT_EQ(RowColour(0), RGB(255, 255, 255));
  EXPECT_EQ(RowColour(1), RGB(255, 255, 0));
  EXPECT_EQ(RowColour(2), RGB(255, 0, 0));
  EXPECT_EQ(RowColour(3), light);
  EXPECT_EQ(RowColour(4), RGB(255, 255, 255));  // an unreadable priority counts as normal
  // A delete moves the rows below up, and their colours with the index.
  Select(0);
  Command(form->N2);
  EXPECT_EQ(RowColour(0), RGB(255, 255, 0));
  EXPECT_EQ(RowColour(2), RGB(255, 255, 255));
  EXPECT_EQ(RowColour(3), light);
}

TEST_F(MainWindowTest, ThePlatformPaintsTheRowsInTheirColours) {
  Open();
  for (int i = 0; i < 3; ++i) AddWithButton(L"t");
  Select(1);
  Command(form->N7);
  Select(-1);
  Pump();
  HWND lv = form->sListView1->Handle();
  RECT client;
  GetClientRect(lv, &client);
  TBitmap bitmap(client.right, client.bottom);
  SendMessageW(lv, WM_PRINTCLIENT, WPARAM(bitmap.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
  GdiFlush();
  const auto colourAt = [&](int row) {
    RECT r = {};
    ListView_GetItemRect(lv, row, &r, LVIR_BOUNDS);
    const uint32_t p = bitmap.ScanLine((r.top + r.bottom) / 2)[300];  // right of the text
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  EXPECT_EQ(colourAt(0), RGB(255, 255, 255));
  EXPECT_EQ(colourAt(1), RGB(255, 255, 0));
  EXPECT_EQ(colourAt(2), RGB(255, 255, 255));
}

TEST_F(MainWindowTest, TickUpdatesTheClockAndFiresALimitOnceWithASave) {
  Open();
  AddWithButton(L"a");
  form->Rows().SetText(0, tfLimit, "0:2:00");
  locale.now += 61.0 / 86400;
  form->Timer1->Tick();
  EXPECT_EQ(form->sLabel1->Caption(), L"00:01:01");
  EXPECT_EQ(Text(0, tfElapsed), "00:01:01");
  EXPECT_EQ(Icon(0), 2);
  EXPECT_EQ(alarm.plays, 0);
  locale.now += 60.0 / 86400;
  form->Timer1->Tick();
  EXPECT_EQ(Icon(0), 3);
  EXPECT_EQ(alarm.plays, 1);
  EXPECT_NE(SavedFile().find("<#>0:2:00#<#>"), std::string::npos);
  form->Timer1->Tick();
  EXPECT_EQ(alarm.plays, 1);
}

TEST_F(MainWindowTest, LoadsTheTaskFileAtStartWithFinishedAndFiredRows) {
  const std::string start = locale.DateTimeToText(locale.now - 1);
  WriteBytes(SavePath(), "\xEF\xBB\xBF" + start + "\r\n" + "Задача 你好<#>" + start +
                             "<#>notend<#>false<#>0:5:00<#>1\r\n" + "done<#>" + start +
                             "<#>00:10:00<#>true<#>notime<#>0\r\n" + "fired<#>" + start +
                             "<#>notend<#>false<#>0:1:00#<#>2");
  Open();
  ASSERT_EQ(form->Rows().Count(), 3);
  EXPECT_EQ(Text(0, tfCaption), "Задача 你好");
  EXPECT_EQ(Icon(0), 3);  // the start-up check fires the overdue limit
  EXPECT_EQ(Text(0, tfLimit), "0:5:00#");
  EXPECT_EQ(alarm.plays, 1);
  // ... and the list is saved once after loading, so the limit does not fire at the next start.
  EXPECT_NE(SavedFile().find("<#>0:5:00#<#>1\r\n"), std::string::npos);
  EXPECT_EQ(Text(0, tfElapsed), "notend");
  EXPECT_EQ(Icon(1), 1);
  EXPECT_EQ(Text(1, tfElapsed), "00:10:00");
  EXPECT_EQ(Icon(2), 0);
  EXPECT_EQ(form->ListStart(), start);
  form->Timer1->Tick();
  EXPECT_EQ(form->sLabel1->Caption(), L"24:00:00");
  EXPECT_EQ(Text(0, tfElapsed), "24:00:00");
  // Characters without an ANSI equivalent keep the file in UTF-8 with its mark.
  AddWithButton(L"x");
  EXPECT_EQ(SavedFile().compare(0, 3, "\xEF\xBB\xBF"), 0);
}

TEST_F(MainWindowTest, ALimitFiredWhileLoadingFiresAtOneStartOnly) {
  const std::string start = locale.DateTimeToText(locale.now - 1.0 / 24);
  const std::string file = start + "\r\n" + "due<#>" + start + "<#>notend<#>false<#>0:30:00<#>0\r\n" +
                           "later<#>" + start + "<#>notend<#>false<#>2:0:00<#>0\r\n";
  WriteBytes(SavePath(), file);
  Open();
  EXPECT_EQ(alarm.plays, 1);
  delete form;
  form = nullptr;
  Open();
  EXPECT_EQ(alarm.plays, 1);  // fired before the restart: not again
  EXPECT_EQ(Text(0, tfLimit), "0:30:00#");
  EXPECT_EQ(Icon(1), 2);
  // A load that fires nothing writes nothing: the file is as the first start left it.
  const std::string after = SavedFile();
  delete form;
  form = nullptr;
  Open();
  EXPECT_EQ(SavedFile(), after);
  EXPECT_EQ(ReadBytes(folder.Path() + L"save.bak"), file);  // the one save kept the original
}

TEST_F(MainWindowTest, ACaptionWithTheSeparatorOrLineBreaksLoadsBackWhole) {
  Open();
  AddWithButton(L"pay rent <#> bank transfer");
  AddWithButton(L"line one\r\nline two\nthree");
  form->Rows().SetText(1, tfLimit, "1:0:00");
  Select(1);
  Command(form->N7);
  const std::string start = Text(1, tfStart);
  EXPECT_EQ(Text(1, tfCaption), "pay rent < #> bank transfer");  // shown as it is saved
  EXPECT_EQ(Text(0, tfCaption), "line one line two three");
  delete form;
  form = nullptr;
  Open();
  ASSERT_EQ(form->Rows().Count(), 2);
  EXPECT_EQ(Text(1, tfCaption), "pay rent < #> bank transfer");
  EXPECT_EQ(Text(1, tfStart), start);
  EXPECT_EQ(Text(1, tfElapsed), "notend");
  EXPECT_EQ(Text(1, tfLimit), "1:0:00");
  EXPECT_EQ(Text(1, tfPriority), "1");
  EXPECT_EQ(Text(0, tfCaption), "line one line two three");
  // The next save keeps the real start time.
  AddWithButton(L"x");
  EXPECT_NE(SavedFile().find("pay rent < #> bank transfer<#>" + start + "<#>notend<#>"), std::string::npos);
}

TEST_F(MainWindowTest, EveryReplaceKeepsThePreviousFileAsSaveBak) {
  Open();
  AddWithButton(L"a");
  EXPECT_FALSE(FileExistsW(folder.Path() + L"save.bak"));  // nothing to keep before the first save
  const std::string one = SavedFile();
  AddWithButton(L"b");
  const std::string two = SavedFile();
  EXPECT_EQ(ReadBytes(folder.Path() + L"save.bak"), one);
  SendMessageW(form->sButton2->Handle(), BM_CLICK, 0, 0);  // start over, without confirmation
  Pump();
  EXPECT_EQ(SavedFile(), "no\r\n");
  EXPECT_EQ(ReadBytes(folder.Path() + L"save.bak"), two);  // the whole list, to copy back by hand
}

TEST_F(MainWindowTest, SavesUseOneTemporaryFileAndStartRemovesOldOnes) {
  // Left by earlier versions killed during a save, and files that only look alike.
  for (const wchar_t* name : {L"sav1A2B.tmp", L"sav3.tmp", L"savFFFF.TMP"}) WriteBytes(folder.Path() + name, "x");
  for (const wchar_t* name : {L"savings.tmp", L"sav12345.tmp", L"sav1A2B.txt"}) WriteBytes(folder.Path() + name, "x");
  WriteBytes(folder.Path() + L"save.tmp", "half a save");  // a save killed before its move
  Open();
  for (int i = 0; i < 5; ++i) AddWithButton(L"t");
  std::vector<std::wstring> files = FilesIn(folder.Path());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::wstring>{L"notok.ico", L"ok.ico", L"red.ico", L"sav12345.tmp",
                                              L"sav1A2B.txt", L"save.bak", L"save.txt", L"savings.tmp",
                                              L"sound.wav", L"yellow.ico"}));
}

TEST_F(MainWindowTest, ASaveErrorIsReportedAndKeepsTheListAndTheOldFile) {
  Open();
  AddWithButton(L"first");
  const std::string before = SavedFile();
  // Another program holds the file open without sharing: the replacement must fail.
  TFileHandle lock(CreateFileW(SavePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_NE(lock.Get(), INVALID_HANDLE_VALUE);
  TErrorCatcher errors;
  AddWithButton(L"second");
  ASSERT_EQ(errors.messages.size(), 1u);
  EXPECT_NE(errors.messages[0].find("save.txt"), std::string::npos) << errors.messages[0];
  EXPECT_EQ(form->Rows().Count(), 2);             // the list in memory stays
  EXPECT_EQ(Text(0, tfCaption), "second");
  // The edit is cleared as after any add, so trying again cannot add the task twice.
  EXPECT_EQ(form->sEdit1->Text(), L"");
  lock.Reset();
  EXPECT_EQ(SavedFile(), before);                  // the previous file is intact
  EXPECT_EQ(FilesIn(folder.Path()).size(), 6u);    // and no temporary file is left
  AddWithButton(L"third");                         // the next save writes everything
  const std::string saved = SavedFile();
  EXPECT_NE(saved.find("second<#>"), std::string::npos);
  EXPECT_EQ(saved.find("second<#>"), saved.rfind("second<#>"));
  EXPECT_EQ(form->Rows().Count(), 3);
}

TEST_F(MainWindowTest, AnUnreadableTaskFileIsNeverOverwritten) {
  WriteBytes(SavePath(), "no\r\nkept<#>x<#>notend<#>false<#>notime<#>0\r\n");
  TFileHandle lock(CreateFileW(SavePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  TErrorCatcher errors;
  Open();
  lock.Reset();
  ASSERT_FALSE(errors.messages.empty());
  AddWithButton(L"new");
  EXPECT_EQ(errors.messages.size(), 2u);
  EXPECT_EQ(SavedFile(), "no\r\nkept<#>x<#>notend<#>false<#>notime<#>0\r\n");
}

TEST_F(MainWindowTest, DamagedEmptyOrFolderIconsNeverKeepTheTasksFromLoading) {
  const std::string file = "no\r\nkept<#>s<#>notend<#>false<#>notime<#>0\r\n";
  WriteBytes(SavePath(), file);
  const std::string real = ReadBytes(folder.Path() + L"notok.ico");
  ASSERT_GT(real.size(), 100u);
  WriteBytes(folder.Path() + L"notok.ico", real.substr(0, 100));  // cut short
  WriteBytes(folder.Path() + L"ok.ico", "");
  const std::wstring yellow = folder.Path() + L"yellow.ico";
  DeleteFileW(yellow.c_str());
  ASSERT_TRUE(CreateDirectoryW(yellow.c_str(), nullptr));
  std::string notImage = real;
  notImage.replace(size_t(uint8_t(real[18]) | uint8_t(real[19]) << 8), 4, "JUNK");  // first image's data
  WriteBytes(folder.Path() + L"red.ico", notImage);
  TErrorCatcher errors;
  Open();
  RemoveDirectoryW(yellow.c_str());
  ASSERT_EQ(errors.messages.size(), 1u);
  const std::string& message = errors.messages[0];
  EXPECT_NE(message.find("notok.ico\": image 1 (16 x 16) lies beyond the end of the file"), std::string::npos)
      << message;
  EXPECT_NE(message.find("ok.ico\": the file is empty."), std::string::npos) << message;
  EXPECT_NE(message.find("yellow.ico\": this is a folder, not an icon file."), std::string::npos) << message;
  EXPECT_NE(message.find("red.ico\": image 1 (16 x 16) holds neither a bitmap nor a PNG picture."),
            std::string::npos) << message;
  EXPECT_EQ(message.find("Success"), std::string::npos) << message;
  EXPECT_EQ(form->ImageList1->Count(), 4);
  ASSERT_EQ(form->Rows().Count(), 1);
  EXPECT_EQ(Text(0, tfCaption), "kept");
  AddWithButton(L"new");
  EXPECT_EQ(SavedFile(), Now() + "\r\nnew<#>" + Now() + "<#>notend<#>false<#>notime<#>0\r\n" +
                             "kept<#>s<#>notend<#>false<#>notime<#>0\r\n");
}

// Reads the disk, but reading the task file fails with something that is not even a
// std::exception.
class TBrokenReadStorage : public TWinTaskStorage {
 public:
  std::string ReadFile(const std::string& path) const override {
    if (path.size() >= 8 && path.compare(path.size() - 8, 8, "save.txt") == 0) throw 42;
    return TWinTaskStorage::ReadFile(path);
  }
};

TEST_F(MainWindowTest, WhateverFailsBeforeTheFileIsReadSavesStayRefused) {
  const std::string file = "no\r\nkept<#>x<#>notend<#>false<#>notime<#>0\r\n";
  WriteBytes(SavePath(), file);
  TBrokenReadStorage broken;
  storage = &broken;
  TErrorCatcher errors;
  Open();
  ASSERT_EQ(errors.messages.size(), 1u);
  AddWithButton(L"new");
  SendMessageW(form->sButton2->Handle(), BM_CLICK, 0, 0);
  Pump();
  ASSERT_EQ(errors.messages.size(), 3u);
  EXPECT_NE(errors.messages[1].find("changes are not saved"), std::string::npos) << errors.messages[1];
  EXPECT_EQ(SavedFile(), file);
  EXPECT_FALSE(FileExistsW(folder.Path() + L"save.bak"));
}

TEST_F(MainWindowTest, AMissingStatusIconIsNamedAndTheListStillWorks) {
  DeleteFileW((folder.Path() + L"yellow.ico").c_str());
  TErrorCatcher errors;
  Open();
  ASSERT_EQ(errors.messages.size(), 1u);
  EXPECT_NE(errors.messages[0].find("yellow.ico"), std::string::npos) << errors.messages[0];
  EXPECT_EQ(form->ImageList1->Count(), 4);
  AddWithButton(L"a");
  EXPECT_EQ(form->Rows().Count(), 1);
}

TEST_F(MainWindowTest, WebLabelsOpenTheirAddressesOnALeftClick) {
  Open();
  HWND box = form->sGroupBox1->Handle();
  const TRect r = form->sWebLabel2->BoundsRect();
  const LPARAM at = MAKELPARAM(r.Left + 3, r.Top + 3);
  SendMessageW(box, WM_MOUSEMOVE, 0, at);
  EXPECT_TRUE(form->sWebLabel2->MouseOver());
  EXPECT_EQ(form->sWebLabel2->CurrentFont()->Color(), RGBColor(190, 30, 30));  // the skin's TCTOP
  SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(box, WM_LBUTTONUP, 0, at);
  ASSERT_EQ(openedUrls.size(), 1u);
  EXPECT_EQ(openedUrls[0], TForm1::kUrlIdea);
  SendMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(300, 5));
  EXPECT_EQ(form->sWebLabel2->CurrentFont()->Color(), clBlue);
}

TEST_F(MainWindowTest, CommandsAndPaintingDoNotLeakGdiObjects) {
  Open();
  AddWithButton(L"warm-up");
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  TLeakCheck noLeaks(TLeakCheck::kHandlesOnly);
  for (int i = 0; i < 30; ++i) {
    AddWithButton(L"t");
    Select(0);
    Command(i % 2 ? form->N7 : form->N1);
    RowColour(0);
    form->Timer1->Tick();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
  }
  SendMessageW(form->sButton2->Handle(), BM_CLICK, 0, 0);
  Pump();
}

}  // namespace
