// The main window: the clock in a group box under a quotation, the task entry with its two
// buttons, and the task list with its popup menu. All task state is the text of the rows the
// list view shows.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/CsvExportDialog.h"
#include "app/ListViewRows.h"
#include "app/SkinSwitcher.h"
#include "app/TaskClock.h"
#include "app/TaskFile.h"
#include "app/TaskPlatform.h"
#include "app/WinTaskStorage.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sListView.h"
#include "skin/data/sSkinManager.h"
#include "toolkit/Button.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Icon.h"
#include "toolkit/ImageList.h"
#include "toolkit/Label.h"
#include "toolkit/ListView.h"
#include "toolkit/Menu.h"
#include "toolkit/Timer.h"
#include "tray/CoolTrayIcon.h"

// Where the main window finds its files and what it talks to. Empty or null members get
// the defaults: the executable's folder, the user's locale, the disk, sound.wav, the shell.
struct TForm1Setup {
  std::wstring Folder;  // with a trailing backslash
  ITaskLocale* Locale = nullptr;
  ITaskStorage* Storage = nullptr;
  ITaskAlarm* Alarm = nullptr;
  std::function<void(const std::wstring& url)> OpenUrl;
  // False starts the skin manager inactive: the same window in the platform's look, so the
  // cost of the skin can be measured against it.
  bool SkinActive = true;
};

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* owner, TForm1Setup setup = {});
  ~TForm1() override;
  const wchar_t* ClassName() const override { return L"TForm1"; }

  TsGroupBox* sGroupBox1 = nullptr;
  TsLabel* sLabel1 = nullptr;
  TsWebLabel* sWebLabel1 = nullptr;
  TsWebLabel* sWebLabel2 = nullptr;
  TsListView* sListView1 = nullptr;
  TsEdit* sEdit1 = nullptr;
  TsButton* sButton1 = nullptr;
  TsButton* sButton2 = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;
  TTimer* Timer1 = nullptr;
  TImageList* ImageList1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* N2 = nullptr;
  TMenuItem* N3 = nullptr;
  TMenuItem* N4 = nullptr;
  TMenuItem* N5 = nullptr;
  TMenuItem* N6 = nullptr;
  TMenuItem* N7 = nullptr;
  TMenuItem* N8 = nullptr;
  // The tray icon's menu: "Открыть" (the default item), "Скин" (the skins, rebuilt each time
  // the menu opens, and "Как в Windows"), "Оттенок" (the hue presets), "Экспорт в CSV…",
  // "Выход".
  TPopupMenu* PopupMenu2 = nullptr;
  TMenuItem* N9 = nullptr;
  TMenuItem* N10 = nullptr;
  TMenuItem* N11 = nullptr;
  TMenuItem* N14 = nullptr;
  TMenuItem* N12 = nullptr;
  TMenuItem* N13 = nullptr;
  TCoolTrayIcon* CoolTrayIcon1 = nullptr;

  // The time-limit dialog N3 shows (set by the program once it has made it).
  TCustomForm* TimeLimitDialog = nullptr;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void sButton1Click(TObject* sender);
  void sButton2Click(TObject* sender);
  void sEdit1KeyDown(TObject* sender, WORD& key, TShiftState shift);
  void N1Click(TObject* sender);
  void N2Click(TObject* sender);
  void N3Click(TObject* sender);
  void N5Click(TObject* sender);
  void N7Click(TObject* sender);
  void N8Click(TObject* sender);
  void Timer1Timer(TObject* sender);
  void CoolTrayIcon1DblClick(TObject* sender);
  void PopupMenu2Popup(TObject* sender);
  void N9Click(TObject* sender);
  void N13Click(TObject* sender);
  void N14Click(TObject* sender);
  void FormKeyDown(TObject* sender, WORD& key, TShiftState shift);
  void CoolTrayIcon1BalloonHintClick(TObject* sender);
  void sListView1CustomDrawItem(TObject* sender, TListItem* item, TCustomDrawState state,
                                bool& defaultDraw);

  // Shows the window again, restored from the tray or the taskbar, in front.
  void BringBack();
  // Writes the list and ListStart to save.txt (and tells the tray icon's hint).
  void SaveTasks();
  // Asks for a file with the save dialog and writes the list there as CSV (Ctrl+E and the
  // tray menu's "Экспорт в CSV…"); false when the user cancelled.
  bool ExportCsv();
  const std::string& ListStart() const { return listStart_; }
  TTaskRows& Rows() { return *rows_; }
  const std::wstring& TaskFilePath() const { return taskFilePath_; }
  TTaskFile& TaskFile() { return *taskFile_; }
  // The skin chosen in the tray menu, and the settings file that keeps it.
  TSkinSwitcher& SkinSwitcher() { return *skins_; }

  // The controls, fonts and status icons at the new scale.
  void ChangeScale(int fromDpi, int toDpi) override;

  static const wchar_t* const kQuotations[12];
  static const wchar_t* const kUrlAuthor;
  static const wchar_t* const kUrlIdea;

 private:
  void BuildControls();
  void BuildSkinManager();
  // An item named and captioned under parent, calling handler (when given) on a click.
  TMenuItem* AddMenuItem(const wchar_t* name, const wchar_t* caption, TMenuItem* parent,
                         void (TForm1::*handler)(TObject*));
  void BuildMenu();
  void BuildTrayIcon();
  void BuildTrayMenu();
  // The skins offered now, the active one checked, then "Как в Windows".
  void FillSkinMenu();
  // Runs a tray-menu command; what goes wrong is shown to the user and the program goes on.
  void RunReported(const std::function<void()>& command);
  // The status icons at the size for the form's DPI, from the image drawn for it.
  void LoadStatusIcons();
  void FitClockFont();
  // Empty when the icon is loaded; otherwise what is wrong with its file.
  std::string LoadStatusIcon(const std::wstring& path, TIcon& icon);
  void LoadTaskFile();
  void SetPriority(const char* priority);
  // The tray hint follows the list: the tasks in progress and those over their limit.
  void UpdateTrayHint();
  // A limit was reached: while the window is hidden or minimized the tray says so in a
  // balloon, whose click brings the window back with that row shown.
  void LimitReached(int row);
  // Selects the row alone, scrolls it into view and gives the list the focus.
  void ShowRow(int row);

  TForm1Setup setup_;
  TFont clockFont_;  // the clock's face at the design DPI, before fitting
  bool statusIconsLoaded_ = false;
  std::unique_ptr<ITaskLocale> ownLocale_;
  std::unique_ptr<ITaskStorage> ownStorage_;
  std::unique_ptr<ITaskAlarm> ownAlarm_;
  ITaskLocale* locale_;
  ITaskStorage* storage_;
  ITaskAlarm* alarm_;
  std::wstring taskFilePath_;
  std::unique_ptr<TTaskFile> taskFile_;
  std::unique_ptr<TListViewRows> rows_;
  std::unique_ptr<TAlarmBatch> alarmBatch_;  // one sound per tick and per load
  std::unique_ptr<TTaskClock> clock_;
  std::unique_ptr<TSkinSwitcher> skins_;
  std::unique_ptr<ITaskCsvLocale> ownCsvLocale_;   // when the locale given cannot tell separators
  std::unique_ptr<TWinTaskStorage> ownCsvFile_;    // when the storage given cannot write files
  std::unique_ptr<TCsvExportDialog> csvExport_;
  // The row the last balloon told of, by its caption and start text (rows move as tasks
  // are added and deleted).
  std::string balloonCaption_;
  std::string balloonStart_;
  int appHookId_ = 0;  // the application window's hook that hears of the platform's app mode
  std::string listStart_ = kListNotStarted;
  bool tasksLoaded_ = false;  // saves are refused until the task file has been read
  std::string loadError_;  // set when an existing task file could not be read at start-up
};

extern TForm1* Form1;
