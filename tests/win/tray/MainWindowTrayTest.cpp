// The main window's own tray icon: in the tray from the start, minimizing hides the window
// and its taskbar button, and a double click on the icon brings the window back in front. Its
// hint counts the tasks; a limit reached while the window is away shows a balloon whose click
// brings the row back. Its right button opens the skinned tray menu with the skins and hues;
// a choice is kept in settings.ini beside the task file, and a damaged settings file gives
// the default look.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "MainWindowParts.h"
#include "app/Unit1.h"
#include "skin/data/sStoredSkinResource.h"
#include "toolkit/Application.h"
#include "toolkit/WideText.h"

namespace {

TEST(MainWindowTray, MinimizeHidesIntoTheTrayAndADoubleClickRestores) {
  TMainWindowParts parts;
  TForm1* form = parts.CreateMainForm();
  TCoolTrayIcon* tray = form->CoolTrayIcon1;
  EXPECT_TRUE(tray->IconVisible());
  EXPECT_TRUE(tray->MinimizeToTray());
  EXPECT_FALSE(tray->CycleIcons());
  EXPECT_EQ(tray->CycleInterval(), 0u);
  EXPECT_EQ(tray->IconIndex(), 0);
  EXPECT_EQ(tray->Hint(), L"Vornik Desktop\nЗадач в работе нет");

  HWND app = Application->Handle();
  HWND wnd = form->Handle();
  PostMessageW(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_FALSE(IsWindowVisible(app)) << "no taskbar button while in the tray";

  for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    PostMessageW(TCoolTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, tray->IconId(), m);
  Pump();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_TRUE(IsWindowVisible(app));
  EXPECT_FALSE(IsIconic(app));
  EXPECT_EQ(GetForegroundWindow(), wnd);
  EXPECT_EQ(GetFocus(), form->sEdit1->WindowHandle()) << "the focus is back in the edit box";
  EXPECT_TRUE(tray->IconVisible());
  delete form;
  Pump();
  EXPECT_EQ(TCoolTrayIcon::HandlerWindow(), nullptr);
}

// What the tray menu showed while it was open.
struct TShownMenu {
  bool Shown = false;
  bool Skinned = false;
  int Items = 0;
};

TShownMenu& Shown() {
  static TShownMenu shown;
  return shown;
}

void CALLBACK LookAtMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  Shown().Shown = true;
  Shown().Skinned = SendMessageW(menu, 0xA100, WPARAM(7) << 16, 0) == 1;
  Shown().Items = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)));
  EndMenu();
}

std::vector<std::wstring> Captions(TMenuItem* parent) {
  std::vector<std::wstring> out;
  for (int i = 0; i < parent->Count(); ++i)
    out.push_back((parent->Items(i)->Checked() ? L"*" : L"") + parent->Items(i)->Caption());
  return out;
}

TEST(MainWindowTray, TheRightButtonOpensTheSkinnedMenuWithSkinsAndHues) {
  TMainWindowParts parts;
  const std::wstring skins = parts.folder.Path() + L"Skins\\";
  std::filesystem::create_directories(std::filesystem::path(skins + L"Folder Skin"));
  WriteBytes(skins + L"Folder Skin\\Options.dat", "[GLOBALINFO]\r\n");
  const TsStoredSkin night = NightStoredSkin();
  WriteBytes(skins + L"Amber.qvz", std::string(reinterpret_cast<const char*>(night.Data), night.Size));
  WriteBytes(skins + L"readme.txt", "not a skin");
  TForm1* form = parts.CreateMainForm();
  EXPECT_EQ(form->CoolTrayIcon1->PopupMenu(), form->PopupMenu2);
  Shown() = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 80, &LookAtMenu);
  PostMessageW(TCoolTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, form->CoolTrayIcon1->IconId(), WM_RBUTTONDOWN);
  PostMessageW(TCoolTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, form->CoolTrayIcon1->IconId(), WM_RBUTTONUP);
  WaitUntil([] { return Shown().Shown; });
  KillTimer(nullptr, timer);
  Pump();
  EXPECT_TRUE(Shown().Shown);
  EXPECT_TRUE(Shown().Skinned);
  EXPECT_EQ(Shown().Items, 6);
  EXPECT_EQ(Captions(form->PopupMenu2->Items()),
            (std::vector<std::wstring>{L"Открыть", L"Скин", L"Оттенок", L"Экспорт в CSV\u2026", L"-", L"Выход"}));
  EXPECT_TRUE(form->N9->Default());
  EXPECT_EQ(Captions(form->N10), (std::vector<std::wstring>{L"*Quarn (internal)", L"Quarn Night (internal)",
                                                            L"Amber", L"Folder Skin", L"-", L"Как в Windows"}));
  EXPECT_EQ(Captions(form->N11),
            (std::vector<std::wstring>{L"*0\u00B0", L"60\u00B0", L"120\u00B0", L"180\u00B0", L"240\u00B0", L"300\u00B0"}));
  // A skin that appeared since is offered the next time the menu opens.
  WriteBytes(skins + L"Zinc.qvz", std::string(reinterpret_cast<const char*>(night.Data), night.Size));
  form->N11->Items(2)->Click();
  form->PopupMenu2Popup(nullptr);
  EXPECT_EQ(Captions(form->N10).size(), 7u);
  EXPECT_EQ(Captions(form->N10)[4], L"Zinc");
  EXPECT_EQ(Captions(form->N11)[2], L"*120\u00B0");
  EXPECT_EQ(form->sSkinManager1->HueOffset(), 120);
  delete form;
  Pump();
}

// The requests the tray icon sends to the shell while a test runs.
class TShellRecorder {
 public:
  struct TCall {
    DWORD Message;
    UINT Flags;
    std::wstring Tip, InfoTitle, Info;
  };
  TShellRecorder() {
    previous_ = TCoolTrayIcon::SetShellNotify([this](DWORD message, NOTIFYICONDATAW* d) {
      calls.push_back({message, d->uFlags, d->szTip, d->szInfoTitle, d->szInfo});
      return TRUE;
    });
  }
  ~TShellRecorder() { TCoolTrayIcon::SetShellNotify(previous_); }
  std::vector<TCall> Balloons() const {
    std::vector<TCall> out;
    for (const TCall& c : calls)
      if (c.Flags & NIF_INFO) out.push_back(c);
    return out;
  }
  std::vector<TCall> calls;

 private:
  TCoolTrayIcon::TShellNotify previous_;
};

// A task added through the edit box and the add button, with a limit of `limit` minutes.
void AddTask(TForm1* form, const wchar_t* caption, const char* limit) {
  form->sEdit1->SetText(caption);
  form->sButton1->Click();
  form->Rows().SetText(0, tfLimit, limit);
}

TEST(MainWindowTray, TheHintCountsTheTasksInProgressAndThoseOverTheirLimit) {
  TMainWindowParts parts;
  TShellRecorder shell;
  TForm1* form = parts.CreateMainForm();
  AddTask(form, L"first", "0:1:00");
  AddTask(form, L"second", "notime");
  EXPECT_EQ(form->CoolTrayIcon1->Hint(), L"Vornik Desktop\nВ работе: 2");
  EXPECT_EQ(shell.calls.back().Tip, L"Vornik Desktop\nВ работе: 2");
  parts.locale.now += 61.0 / 86400;
  form->Timer1->Tick();
  EXPECT_EQ(form->CoolTrayIcon1->Hint(), L"Vornik Desktop\nВ работе: 2, из них время вышло: 1");
  // A tick that changes nothing sends the shell nothing.
  const size_t calls = shell.calls.size();
  form->Timer1->Tick();
  EXPECT_EQ(shell.calls.size(), calls);
  delete form;
  Pump();
}

TEST(MainWindowTray, ABalloonTellsOfALimitOnlyWhileTheWindowIsAwayAndItsClickShowsTheRow) {
  TMainWindowParts parts;
  TShellRecorder shell;
  TForm1* form = parts.CreateMainForm();
  AddTask(form, L"seen in the window", "0:1:00");
  parts.locale.now += 61.0 / 86400;
  form->Timer1->Tick();
  EXPECT_EQ(parts.alarm.plays, 1);
  EXPECT_TRUE(shell.Balloons().empty()) << "the window shows the red row itself";

  AddTask(form, L"Отчёт за квартал", "0:1:00");
  for (int i = 0; i < 30; ++i) AddTask(form, (L"later " + std::to_wstring(i)).c_str(), "notime");
  PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  ASSERT_FALSE(IsWindowVisible(form->Handle()));
  parts.locale.now += 61.0 / 86400;
  form->Timer1->Tick();
  ASSERT_EQ(shell.Balloons().size(), 1u);
  EXPECT_EQ(shell.Balloons()[0].InfoTitle, L"Время вышло");
  EXPECT_EQ(shell.Balloons()[0].Info, L"Отчёт за квартал");
  // Rows move while the balloon shows; its click finds the row by its caption and start.
  AddTask(form, L"one more", "notime");
  PostMessageW(TCoolTrayIcon::HandlerWindow(), WM_TRAYNOTIFY, form->CoolTrayIcon1->IconId(), WM_USER + 5);
  Pump();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  TListItem* selected = form->sListView1->Selected();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->Index(), 31);  // under "one more" and the thirty later ones
  EXPECT_EQ(form->Rows().Text(31, tfCaption), "Отчёт за квартал");
  EXPECT_EQ(GetFocus(), form->sListView1->Handle());
  RECT item = {}, client = {};
  item.left = LVIR_BOUNDS;
  SendMessageW(form->sListView1->Handle(), LVM_GETITEMRECT, 31, reinterpret_cast<LPARAM>(&item));
  GetClientRect(form->sListView1->Handle(), &client);
  EXPECT_TRUE(item.top >= client.top && item.bottom <= client.bottom) << "the row is scrolled into view";
  delete form;
  Pump();
}

TEST(MainWindowTray, TheChoiceIsKeptBesideTheTaskFileAndReadAtTheNextStart) {
  TMainWindowParts parts;
  const std::wstring settings = parts.folder.Path() + L"settings.ini";
  TForm1* form = parts.CreateMainForm();
  EXPECT_FALSE(FileExistsW(settings)) << "nothing is written without a choice";
  form->PopupMenu2Popup(nullptr);
  form->N10->Items(1)->Click();  // Quarn Night
  form->N11->Items(5)->Click();  // 300 degrees
  Pump();
  EXPECT_EQ(ReadBytes(settings),
            "; Vornik Desktop: the look chosen in the tray menu\r\nSkin=Quarn Night (internal)\r\n"
            "FollowWindows=0\r\nHue=300\r\n");
  const std::vector<std::wstring> files = FilesIn(parts.folder.Path());
  for (const std::wstring& f : files) EXPECT_EQ(f.find(L".tmp"), std::wstring::npos) << WideToUtf8(f);
  form->N9->Click();  // "Открыть" on a shown window changes nothing
  delete form;
  Pump();
  form = parts.CreateMainForm();
  EXPECT_EQ(form->sSkinManager1->SkinName(), kNightSkinName);
  EXPECT_EQ(form->sSkinManager1->HueOffset(), 300);
  delete form;
  Pump();
}

TEST(MainWindowTray, ADamagedSettingsFileGivesTheDefaultLookAndLeavesTheTasksAlone) {
  std::string huge = "Skin=Quarn Night (internal)\r\n";
  huge.resize(200000, 'x');
  std::string noise;
  for (int i = 0; i < 3000; ++i) noise += char((i * 131) & 0xFF);
  const std::string files[] = {noise, huge, "Skin=No Such Skin\r\nHue=999\r\n",
                               std::string("\xFF\xFES\0k\0i\0n\0=\0X\0", 14)};
  for (const std::string& bytes : files) {
    TMainWindowParts parts;
    const std::string tasks = "no\r\nA<#>1/1/2026 9:00:00 AM<#>notend<#>false<#>notime<#>0\r\n";
    WriteBytes(parts.folder.Path() + L"save.txt", tasks);
    WriteBytes(parts.folder.Path() + L"settings.ini", bytes);
    TForm1* form = parts.CreateMainForm();
    EXPECT_EQ(form->sSkinManager1->SkinName(), kInternalSkinName);
    EXPECT_EQ(form->sSkinManager1->HueOffset(), 0);
    EXPECT_TRUE(form->sSkinManager1->SkinData().Active);
    EXPECT_EQ(form->Rows().Count(), 1);
    delete form;
    Pump();
    EXPECT_EQ(ReadBytes(parts.folder.Path() + L"save.txt"), tasks);
    EXPECT_EQ(ReadBytes(parts.folder.Path() + L"settings.ini"), bytes);
  }
}

}  // namespace
