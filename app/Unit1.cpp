#include "app/Unit1.h"

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <stdexcept>

#include "app/IconFileCheck.h"
#include "app/IconSizeChoice.h"
#include "app/SkinChoices.h"
#include "app/TrayHint.h"
#include "app/Unit2.h"
#include "app/WinTaskAlarm.h"
#include "app/WinTaskLocale.h"
#include "app/WinTaskStorage.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"
#include "toolkit/Icon.h"
#include "skin/data/sWindowSkinning.h"
#include "toolkit/WideText.h"

TForm1* Form1 = nullptr;

namespace {

// Lowers the font's height until `text` fits `width` pixels. The clock's face is not installed
// everywhere; the system's substitute is wider and would cut the last digits off.
void FitFontToWidth(TFont& font, const std::wstring& text, int width) {
  TWindowDc screen(nullptr);
  TCanvas canvas(screen.Get());
  for (int attempt = 0; attempt < 8; ++attempt) {
    canvas.Font() = font;
    const int measured = canvas.TextWidth(text);
    if (measured <= width || measured <= 0 || std::abs(font.Height()) <= 8) return;
    // Text width scales with the height; the extra pixel guards against rounding up again.
    const int height = std::abs(font.Height()) * width / measured - 1;
    font.SetHeight(font.Height() < 0 ? -height : height);
  }
}

// The web labels' text height at the design DPI.
constexpr int kWebLabelFontHeight = -11;

}  // namespace

const wchar_t* const TForm1::kQuotations[12] = {
    L"Если ты хочешь перемену в будущем - стань этой переменой в настоящем.  (Махатма Ганди)",
    L"Я никогда не думаю о будущем. Оно наступает достаточно быстро. (Альберт Эйнштейн)",
    L"Мы не знаем, как поступить с нашей коротенькой жизнью, но все-таки желаем жить вечно. "
    L"(Анатоль Франс)",
    L"Глупо строить планы на всю жизнь, не будучи господином даже завтрашнего дня. (Сенека)",
    L"Жизнь - это очень короткое время между двумя вечностями. (Томас Карлейль)",
    L"Все течет, все меняется. (Гераклит)",
    L"Во времени исчезает все, и исчезает без следа, и в этом-то и состоит подлинная сущность "
    L"времени. (Артур Шопенгауэр)",
    L"Будущее есть только воля, а содержание воли есть только будущее. (автор неизвестен)",
    L"Не плачь, потому что это закончилось. Улыбнись потому что это было. (Доктор Сьюз)",
    L"Время - лучший учитель, но,к сожалению, оно убивает своих учеников... (Гектор Берлиоз)",
    L"Лишь очень немногие живут сегодняшним днем, большинство готовится жить позднее. "
    L"(Джонатан Свифт)",
    L"Знать прошлое достаточно неприятно: знать ещё и будущее было бы просто невыносимо. "
    L"(Сомерсет Моэм)",
};

const wchar_t* const TForm1::kUrlAuthor = L"https://vornik-desktop.example.org/author";
const wchar_t* const TForm1::kUrlIdea = L"https://vornik-desktop.example.org/idea";

namespace {

const char kTrue[] = "true";
const char kFalse[] = "false";
const char kNoTime[] = "notime";

TColor FontColor(uint8_t r, uint8_t g, uint8_t b) { return RGBColor(r, g, b); }

// The whole text as an integer, or fallback.
int PriorityOf(const std::wstring& text, int fallback) {
  if (text.empty() || text.size() > 9) return fallback;
  size_t i = (text[0] == L'-' || text[0] == L'+') ? 1 : 0;
  if (i == text.size()) return fallback;
  int value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return fallback;
    value = value * 10 + (text[i] - L'0');
  }
  return text[0] == L'-' ? -value : value;
}

}  // namespace

TForm1::TForm1(TComponent* owner, TForm1Setup setup) : TForm(owner), setup_(std::move(setup)) {
  if (setup_.Folder.empty()) setup_.Folder = ExeFolder();
  if (!setup_.Locale) ownLocale_ = std::make_unique<TWinTaskLocale>();
  if (!setup_.Storage) ownStorage_ = std::make_unique<TWinTaskStorage>();
  if (!setup_.Alarm) ownAlarm_ = std::make_unique<TWinTaskAlarm>(setup_.Folder + L"sound.wav");
  if (!setup_.OpenUrl)
    setup_.OpenUrl = [this](const std::wstring& url) {
      ShellExecuteW(Application->Handle(), L"open", url.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    };
  // The web labels open their addresses through the window's opener.
  TsWebLabel::SetUrlOpener([this](const std::wstring& url, int) { setup_.OpenUrl(url); });
  locale_ = setup_.Locale ? setup_.Locale : ownLocale_.get();
  storage_ = setup_.Storage ? setup_.Storage : ownStorage_.get();
  alarm_ = setup_.Alarm ? setup_.Alarm : ownAlarm_.get();
  taskFilePath_ = setup_.Folder + L"save.txt";

  SetName(L"Form1");
  SetCaption(L"Vornik Desktop");
  SetBorderStyle(TFormBorderStyle::bsSingle);
  SetBorderIcons(biSystemMenu | biMinimize);
  SetPosition(TPosition::poScreenCenter);
  SetColor(clBtnFace);
  TFont font;
  font.SetName(L"MS Sans Serif");
  font.SetHeight(-11);
  font.SetColor(clWindowText);
  SetFont(font);
  SetClientSize(657, 451);
  SetAlphaBlend(true);
  SetAlphaBlendValue(255);

  BuildControls();
  BuildSkinManager();
  BuildMenu();
  BuildTrayIcon();
  BuildTrayMenu();
  alarmBatch_ = std::make_unique<TAlarmBatch>(*alarm_);
  clock_ = std::make_unique<TTaskClock>(*rows_, *locale_, *alarmBatch_);
  auto* csvLocale = dynamic_cast<ITaskCsvLocale*>(locale_);
  if (!csvLocale) csvLocale = (ownCsvLocale_ = std::make_unique<TWinTaskLocale>()).get();
  auto* csvFile = dynamic_cast<ITaskCsvFile*>(storage_);
  if (!csvFile) csvFile = (ownCsvFile_ = std::make_unique<TWinTaskStorage>()).get();
  csvExport_ = std::make_unique<TCsvExportDialog>(*csvLocale, *csvFile);
  SetKeyPreview(true);
  OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { FormKeyDown(s, key, shift); };

  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
}

TForm1::~TForm1() {
  if (appHookId_) Application->UnhookMainWindow(appHookId_);
  // The skin goes first, with its hook, while every window it told about it still exists.
  delete sSkinManager1;
  sSkinManager1 = nullptr;
  TsWebLabel::SetUrlOpener(nullptr);
  if (Form1 == this) Form1 = nullptr;
  // The list view asks rows_ for its rows as long as its window lives, so it goes first.
  delete sListView1;
  sListView1 = nullptr;
}

// The skin manager and its stored skins, Quarn and its dark sibling. The program starts with
// the skin kept in the settings file, Quarn when there is none. Setting SkinName loads the
// skin at once; it is applied when the form has been built. The program works without a skin,
// so a skin that cannot be loaded is reported and the program goes on with Quarn, or
// unskinned when even Quarn cannot be loaded.
void TForm1::BuildSkinManager() {
  sSkinManager1 = new TsSkinManager(this);
  sSkinManager1->SetName(L"sSkinManager1");
  sSkinManager1->InternalSkins().push_back(InternalStoredSkin());
  sSkinManager1->InternalSkins().push_back(NightStoredSkin());
  sSkinManager1->MenuSupport().IcoLineSkin = "ICOLINE";
  // Where skins were kept when the program was designed; not present on users' machines, so
  // the skin comes from the stored collection unless one is chosen from a "Skins" folder.
  sSkinManager1->SetSkinDirectory("D:\\VornikDesign\\Skins");
  ThirdPartyList& third = sSkinManager1->ThirdParty();
  for (int i = 0; i < ThirdPartyList::kCount; ++i) third[i] = " ";
  third.ThirdButtons = "TButton";
  if (!setup_.SkinActive) sSkinManager1->SetActive(false);
  const std::string storedDirectory = sSkinManager1->SkinDirectory();
  sSkinManager1->OnAfterChange = [this](TObject*) {
    if (auto* dialog = dynamic_cast<TForm2*>(TimeLimitDialog)) dialog->FitLabelColors();
  };
  skins_ = std::make_unique<TSkinSwitcher>(*sSkinManager1, setup_.Folder);
  std::string skin = kInternalSkinName;
  const std::string problem = skins_->PrepareStartChoice(skin);
  if (!problem.empty()) {
    const std::runtime_error error(problem);
    Application->HandleException(this, &error);
  }
  try {
    sSkinManager1->SetSkinName(skin);
    return;
  } catch (const std::exception& e) {
    Application->HandleException(this, &e);
  }
  if (skin != kInternalSkinName) {
    try {
      sSkinManager1->SetSkinDirectory(storedDirectory);
      sSkinManager1->SetSkinName(kInternalSkinName);
      return;
    } catch (const std::exception& e) {
      Application->HandleException(this, &e);
    }
  }
  sSkinManager1->SetActive(false);
}

void TForm1::BuildControls() {
  sGroupBox1 = new TsGroupBox(this);
  sGroupBox1->SetName(L"sGroupBox1");
  sGroupBox1->SetParent(this);
  sGroupBox1->SetBounds(8, 8, 641, 129);
  sGroupBox1->SetCaption(L"Time");
  sGroupBox1->SkinData().SetSkinSection("GROUPBOX");

  // The clock takes the size of its text, so no digit is ever cut; its face is fitted so the
  // usual time takes the clock's place and the longest one (99,999 hours) still fits the group.
  sLabel1 = new TsLabel(this);
  sLabel1->SetName(L"sLabel1");
  sLabel1->SetParent(sGroupBox1);
  sLabel1->SetTransparent(true);
  sLabel1->SetBounds(186, 24, 270, 82);
  clockFont_.SetName(L"Rockwell");
  clockFont_.SetHeight(-67);
  clockFont_.SetStyle(fsBold);
  clockFont_.SetColor(FontColor(36, 44, 53));
  clockFont_.SetCharset(ANSI_CHARSET);
  FitClockFont();
  sLabel1->SetAutoSize(true);
  sLabel1->SetCaption(L"00:00:00");

  const auto makeWebLabel = [this](const wchar_t* name, int left, int width, const wchar_t* caption,
                                    const wchar_t* url) {
    TsWebLabel* label = new TsWebLabel(this);
    label->SetName(name);
    label->SetParent(sGroupBox1);
    label->SetBounds(left, 112, width, 13);
    label->SetCaption(caption);
    TFont normal = Font();
    normal.SetName(L"MS Sans Serif");
    normal.SetHeight(ScaleForDpi(kWebLabelFontHeight, Dpi()));
    normal.SetColor(clBlue);
    label->SetNormalFont(normal);
    TFont hover = normal;
    hover.SetColor(clWindowText);
    label->SetHoverFont(hover);
    label->SetURL(url);
    return label;
  };
  sWebLabel1 = makeWebLabel(L"sWebLabel1", 8, 139, L"Автор программы (Orlund)", kUrlAuthor);
  sWebLabel2 = makeWebLabel(L"sWebLabel2", 504, 128, L"Автор идеи (Feskel)", kUrlIdea);

  ImageList1 = new TImageList(this, StatusIconSizeForDpi(Dpi()), StatusIconSizeForDpi(Dpi()));
  ImageList1->SetName(L"ImageList1");
  PopupMenu1 = new TPopupMenu(this);
  PopupMenu1->SetName(L"PopupMenu1");

  sListView1 = new TsListView(this);
  sListView1->SkinData().SetSkinSection("EDIT");
  rows_ = std::make_unique<TListViewRows>(*sListView1);
  sListView1->SetName(L"sListView1");
  sListView1->SetParent(this);
  sListView1->SetBounds(8, 192, 641, 249);
  sListView1->SetRowSelect(true);
  sListView1->SetColumnClick(false);
  sListView1->SetColor(clWhite);
  TFont listFont = Font();
  listFont.SetColor(clBlack);
  sListView1->SetFont(listFont);
  sListView1->SetSmallImages(ImageList1);
  sListView1->SetPopupMenu(PopupMenu1);
  sListView1->AddColumn(L"Событие", 400);
  sListView1->AddColumn(L"Старт в", 118);
  sListView1->AddColumn(L"Времени прошло", 118);
  sListView1->AddColumn(L"Статус", 0);
  sListView1->AddColumn(L"Сделать за", 0);
  sListView1->AddColumn(L"Приоритет", 0);
  sListView1->OnCustomDrawItem = [this](TObject* s, TListItem* item, TCustomDrawState state,
                                        bool& defaultDraw) {
    sListView1CustomDrawItem(s, item, state, defaultDraw);
  };

  sEdit1 = new TsEdit(this);
  sEdit1->SetName(L"sEdit1");
  sEdit1->SkinData().SetSkinSection("EDIT");
  sEdit1->SetParent(this);
  sEdit1->SetBounds(8, 152, 441, 21);
  sEdit1->SetColor(clWhite);
  TFont editFont = Font();
  editFont.SetColor(clBlack);
  sEdit1->SetFont(editFont);
  sEdit1->OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { sEdit1KeyDown(s, key, shift); };

  sButton1 = new TsButton(this);
  sButton1->SetName(L"sButton1");
  sButton1->SetParent(this);
  sButton1->SetBounds(456, 152, 113, 22);
  sButton1->SetCaption(L"Добавить");
  sButton1->SetDefault(true);
  sButton1->SkinData().SetSkinSection("BUTTON");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };

  sButton2 = new TsButton(this);
  sButton2->SetName(L"sButton2");
  sButton2->SetParent(this);
  sButton2->SetBounds(576, 152, 75, 22);
  sButton2->SetCaption(L"Всё сначала");
  sButton2->SkinData().SetSkinSection("BUTTON");
  sButton2->OnClick = [this](TObject* s) { sButton2Click(s); };

  sGroupBox1->SetTabOrder(0);
  sListView1->SetTabOrder(1);
  sEdit1->SetTabOrder(2);
  sButton1->SetTabOrder(3);
  sButton2->SetTabOrder(4);

  Timer1 = new TTimer(this);
  Timer1->SetName(L"Timer1");
  Timer1->SetInterval(1000);
}

TMenuItem* TForm1::AddMenuItem(const wchar_t* name, const wchar_t* caption, TMenuItem* parent,
                               void (TForm1::*handler)(TObject*)) {
  TMenuItem* m = new TMenuItem(this);
  m->SetName(name);
  m->SetCaption(caption);
  parent->Add(m);
  if (handler) m->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
  return m;
}

void TForm1::BuildMenu() {
  TMenuItem* root = PopupMenu1->Items();
  N4 = AddMenuItem(L"N4", L"Приоритет", root, nullptr);
  N5 = AddMenuItem(L"N5", L"Обычный", N4, &TForm1::N5Click);
  N7 = AddMenuItem(L"N7", L"Средний", N4, &TForm1::N7Click);
  N8 = AddMenuItem(L"N8", L"Высокий", N4, &TForm1::N8Click);
  // The form's spare separator; kept hidden so the menu shows exactly its commands.
  N6 = AddMenuItem(L"N6", L"-", root, nullptr);
  N6->SetVisible(false);
  N3 = AddMenuItem(L"N3", L"Установить время", root, &TForm1::N3Click);
  N1 = AddMenuItem(L"N1", L"Завершить", root, &TForm1::N1Click);
  N2 = AddMenuItem(L"N2", L"Удалить", root, &TForm1::N2Click);
}

void TForm1::BuildTrayIcon() {
  CoolTrayIcon1 = new TCoolTrayIcon(this);
  CoolTrayIcon1->SetName(L"CoolTrayIcon1");
  // The application icon drawn at the notification area's size (the icon holds one for each
  // usual display scale), made again when that size changes.
  CoolTrayIcon1->SetIconSource([](int size) {
    TIcon icon;
    if (!icon.LoadFromResource(GetModuleHandleW(nullptr), L"MAINICON", size, size))
      icon = Application->Icon().Clone();
    return icon;
  });
  CoolTrayIcon1->SetCycleInterval(0);
  CoolTrayIcon1->SetIconIndex(0);
  CoolTrayIcon1->SetMinimizeToTray(true);
  CoolTrayIcon1->SetIconVisible(true);
  CoolTrayIcon1->OnDblClick = [this](TObject* s) { CoolTrayIcon1DblClick(s); };
  CoolTrayIcon1->OnBalloonHintClick = [this](TObject* s) { CoolTrayIcon1BalloonHintClick(s); };
}

void TForm1::BuildTrayMenu() {
  PopupMenu2 = new TPopupMenu(this);
  PopupMenu2->SetName(L"PopupMenu2");
  const auto item = [this](const wchar_t* name, const wchar_t* caption, void (TForm1::*handler)(TObject*)) {
    return AddMenuItem(name, caption, PopupMenu2->Items(), handler);
  };
  N9 = item(L"N9", L"Открыть", &TForm1::N9Click);
  N9->SetDefault(true);
  N10 = item(L"N10", L"Скин", nullptr);
  N11 = item(L"N11", L"Оттенок", nullptr);
  N14 = item(L"N14", L"Экспорт в CSV\u2026", &TForm1::N14Click);
  N12 = item(L"N12", L"-", nullptr);
  N13 = item(L"N13", L"Выход", &TForm1::N13Click);
  for (const int degrees : kHuePresets) {
    TMenuItem* hue = new TMenuItem(N11);
    hue->SetCaption(std::to_wstring(degrees) + L"\u00B0");
    hue->SetRadioItem(true);
    hue->OnClick = [this, degrees](TObject*) { RunReported([this, degrees] { skins_->ChooseHue(degrees); }); };
    N11->Add(hue);
  }
  PopupMenu2->OnPopup = [this](TObject* s) { PopupMenu2Popup(s); };
  CoolTrayIcon1->SetPopupMenu(PopupMenu2);
  // The platform says on the application window when its light or dark app mode changes.
  if (Application->HandleAllocated())
    appHookId_ = Application->HookMainWindow([this](TMessage& m) {
      if (m.Msg == WM_SETTINGCHANGE && skins_)
        RunReported([this, &m] { skins_->SettingChanged(reinterpret_cast<const wchar_t*>(m.LParam)); });
      return false;
    });
}

void TForm1::FillSkinMenu() {
  while (N10->Count() > 0) delete N10->Items(N10->Count() - 1);
  const std::vector<TSkinChoice> choices = skins_->Choices();
  const int active = skins_->ActiveIndex(choices);
  const auto add = [this](const std::wstring& caption, bool checked, std::function<void()> command) {
    TMenuItem* m = new TMenuItem(N10);
    m->SetCaption(caption);
    m->SetRadioItem(true);
    m->SetChecked(checked);
    if (command) m->OnClick = [this, command](TObject*) { RunReported(command); };
    N10->Add(m);
  };
  for (size_t i = 0; i < choices.size(); ++i) {
    // "&" would underline the next letter instead of showing itself.
    std::wstring caption;
    for (const wchar_t c : Utf8ToWide(choices[i].Name)) caption += c == L'&' ? L"&&" : std::wstring(1, c);
    const TSkinChoice choice = choices[i];
    add(caption, int(i) == active, [this, choice] { skins_->ChooseSkin(choice); });
  }
  add(L"-", false, nullptr);
  add(L"Как в Windows", skins_->FollowsWindows(), [this] { skins_->FollowWindows(); });
}

void TForm1::PopupMenu2Popup(TObject*) {
  FillSkinMenu();
  for (int i = 0; i < N11->Count(); ++i) N11->Items(i)->SetChecked(kHuePresets[i] == skins_->HueOffset());
  // The items made just now are drawn by the skin like the rest of the menu.
  if (sSkinManager1->SkinData().Active)
    if (IzkMenuPainter* painter = sSkinManager1->MenuPainter()) painter->SetActive(true);
}

void TForm1::RunReported(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    Application->HandleException(this, &e);
  }
}

void TForm1::N9Click(TObject*) { BringBack(); }

// Ends the program as closing the main window does.
void TForm1::N13Click(TObject*) { Close(); }

void TForm1::N14Click(TObject*) {
  RunReported([this] { ExportCsv(); });
}

void TForm1::FormKeyDown(TObject*, WORD& key, TShiftState shift) {
  if (key != 'E' || !(shift & ssCtrl) || (shift & (ssAlt | ssShift))) return;
  key = 0;
  ExportCsv();
}

bool TForm1::ExportCsv() {
  HWND owner = HandleAllocated() && IsWindowVisible(WindowHandle()) ? WindowHandle() : Application->Handle();
  return csvExport_->Run(owner, *rows_);
}

void TForm1::FormCreate(TObject*) {
  // 1. The line buffer lives in the task file object.
  taskFile_ = std::make_unique<TTaskFile>(*storage_, WideToUtf8(taskFilePath_));
  // 2. A quotation, drawn anew at each start.
  std::mt19937 random(unsigned(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                      unsigned(GetTickCount()));
  sGroupBox1->SetCaption(kQuotations[std::uniform_int_distribution<int>(0, 11)(random)]);
  // 3. The status icons: whatever goes wrong with them is reported and never keeps the tasks
  // from loading.
  try {
    LoadStatusIcons();
  } catch (const std::exception& e) {
    Application->HandleException(this, &e);
  } catch (...) {
    Application->HandleException(this, nullptr);
  }
  // 4. The task file.
  LoadTaskFile();
  UpdateTrayHint();
}

void TForm1::LoadTaskFile() {
  TWinTaskStorage::RemoveOldTemporaryFiles(WideToUtf8(setup_.Folder));
  bool fired = false;
  try {
    // One alarm at most for the whole load, started when the rows are done; the list view
    // hears of the new row count once.
    TAlarmBatch::TScope oneSound(*alarmBatch_);
    sListView1->BeginUpdate();
    struct TEndUpdate {
      TListView* view;
      ~TEndUpdate() { view->EndUpdate(); }
    } endUpdate{sListView1};
    listStart_ = taskFile_->LoadTasks(*rows_, [this, &fired](int row) {
      fired = clock_->CheckLimit(row, locale_->Now()) == TLimitCheck::Fired || fired;
    });
  } catch (const std::exception& e) {
    // The file exists but cannot be read: keep it as it is and refuse to overwrite it.
    loadError_ = e.what();
    throw;
  }
  tasksLoaded_ = true;
  // A limit that fired while loading has its "#" in memory only; written now, it does not
  // fire again at the next start. A load that fires nothing writes nothing.
  if (fired) SaveTasks();
}

void TForm1::LoadStatusIcons() {
  static const wchar_t* const files[] = {L"notok.ico", L"ok.ico", L"yellow.ico", L"red.ico"};
  const int size = StatusIconSizeForDpi(Dpi());
  ImageList1->SetSize(size, size);
  statusIconsLoaded_ = true;
  // The list lets go of the old images when it is given the new ones, whatever goes wrong.
  struct TGiveList {
    TForm1* form;
    ~TGiveList() { form->sListView1->SetSmallImages(form->ImageList1); }
  } giveList{this};
  std::string problems;
  for (const wchar_t* file : files) {
    const std::wstring path = setup_.Folder + file;
    TIcon icon;
    std::string problem = LoadStatusIcon(path, icon);
    if (problem.empty()) {
      try {
        ImageList1->AddIcon(icon);
      } catch (const std::exception& e) {
        problem = e.what();
      }
    }
    if (!problem.empty()) {
      // A blank image keeps the indexes of the other icons; the user is told which file.
      ImageList1->AddIcon(TIcon::Blank(ImageList1->Width(), ImageList1->Height()));
      problems += "\n\"" + WideToUtf8(path) + "\": " + problem + ".";
    }
  }
  if (!problems.empty()) {
    const std::runtime_error error("Some status icons cannot be shown; the list works without them." +
                                   problems);
    Application->HandleException(this, &error);
  }
}

std::string TForm1::LoadStatusIcon(const std::wstring& path, TIcon& icon) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return "the file is missing";
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "this is a folder, not an icon file";
  // Read once: the sizes the file holds, and what is wrong with it when it does not load.
  std::string bytes, unreadable;
  try {
    bytes = storage_->ReadFile(WideToUtf8(path));
  } catch (const std::exception& e) {
    unreadable = e.what();
  }
  try {
    // The image drawn for this size, or the one closest above it (the list scales it down).
    const int wanted = ImageList1->Width();
    const int size = ChooseIconSize(IconFileSizes(bytes), wanted);
    icon.LoadFromFile(path, size > 0 ? size : wanted, size > 0 ? size : wanted);
    return {};
  } catch (const EPictureError&) {
    // The platform only says that it failed; the file's bytes tell what is wrong with it.
  }
  if (!unreadable.empty()) return unreadable;
  const std::string damage = IconFileDamage(bytes);
  return damage.empty() ? "the platform cannot decode its images" : damage;
}

void TForm1::FormShow(TObject*) { sEdit1->SetFocus(); }

// The clock's face at the form's scale, fitted so the usual time takes the clock's place and
// the longest one (99,999 hours) still fits the group.
void TForm1::FitClockFont() {
  const int dpi = Dpi();
  TFont font = clockFont_;
  font.SetHeight(ScaleForDpi(clockFont_.Height(), dpi));
  FitFontToWidth(font, L"00:00:00", ScaleForDpi(270, dpi));
  FitFontToWidth(font, L"99999:59:59", sGroupBox1->Width() - sLabel1->Left() - ScaleForDpi(8, dpi));
  sLabel1->SetFont(font);
  sLabel1->AdjustBounds();
}

// The toolkit scales the controls and their own fonts; the fonts the web labels switch
// between, the clock's fitted face and the status icons are the window's own.
void TForm1::ChangeScale(int fromDpi, int toDpi) {
  TForm::ChangeScale(fromDpi, toDpi);
  // A window made while the controls are still being built finds some of them missing.
  if (fromDpi == toDpi || !sListView1 || !ImageList1) return;
  FitClockFont();
  for (TsWebLabel* label : {sWebLabel1, sWebLabel2}) {
    TFont normal = label->NormalFont();
    normal.SetHeight(ScaleForDpi(kWebLabelFontHeight, toDpi));
    TFont hover = label->HoverFont();
    hover.SetHeight(normal.Height());
    label->SetHoverFont(hover);
    label->SetNormalFont(normal);
  }
  if (statusIconsLoaded_) {
    try {
      LoadStatusIcons();
    } catch (const std::exception& e) {
      Application->HandleException(this, &e);
    }
  } else {
    ImageList1->SetSize(StatusIconSizeForDpi(toDpi), StatusIconSizeForDpi(toDpi));
    sListView1->SetSmallImages(ImageList1);
  }
}

void TForm1::SaveTasks() {
  // Until the file has been read, writing the list would replace the user's tasks.
  if (!tasksLoaded_) {
    const std::string reason = loadError_.empty() ? "The task file has not been read." : loadError_;
    throw TTaskFileError(reason + "\nThe task file is left untouched; changes are not saved.");
  }
  taskFile_->SaveTasks(*rows_, listStart_);
  UpdateTrayHint();
}

void TForm1::UpdateTrayHint() {
  const std::wstring hint = Utf8ToWide(TrayHintText(CountForTray(*rows_)));
  if (hint != CoolTrayIcon1->Hint()) CoolTrayIcon1->SetHint(hint);
}

void TForm1::LimitReached(int row) {
  if (!HandleAllocated()) return;
  HWND wnd = WindowHandle();
  if (IsWindowVisible(wnd) && !IsIconic(wnd) && !Application->Minimized()) return;
  balloonCaption_ = rows_->Text(row, tfCaption);
  balloonStart_ = rows_->Text(row, tfStart);
  CoolTrayIcon1->ShowBalloonHint(L"Время вышло", Utf8ToWide(balloonCaption_), TBalloonHintIcon::bitWarning);
}

void TForm1::CoolTrayIcon1BalloonHintClick(TObject*) {
  BringBack();
  for (int row = 0; row < rows_->Count(); ++row) {
    if (rows_->Text(row, tfCaption) != balloonCaption_ || rows_->Text(row, tfStart) != balloonStart_)
      continue;
    ShowRow(row);
    return;
  }
}

void TForm1::ShowRow(int row) {
  HWND list = sListView1->Handle();
  LVITEMW none = {};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&none));
  LVITEMW chosen = none;
  chosen.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&chosen));
  SendMessageW(list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
  sListView1->SetFocus();
}

void TForm1::sButton1Click(TObject*) {
  TTaskRows& rows = *rows_;
  const std::string caption = CaptionForTaskFile(WideToUtf8(sEdit1->Text()));
  const std::string now = locale_->DateTimeToText(locale_->Now());
  rows.MoveRowsDown();
  rows.SetText(0, tfCaption, caption);
  rows.SetText(0, tfStart, now);
  rows.SetText(0, tfElapsed, "");
  rows.SetText(0, tfFinished, kFalse);
  rows.SetText(0, tfLimit, kNoTime);
  rows.SetText(0, tfPriority, "0");
  if (listStart_ == kListNotStarted) listStart_ = now;
  // The row holds the text now: cleared before the save, so a retry after a failed save does
  // not add the task twice (the row is written by the next save that succeeds).
  sEdit1->Clear();
  SaveTasks();
  sEdit1->SetFocus();
}

void TForm1::sEdit1KeyDown(TObject*, WORD& key, TShiftState) {
  if (key == VK_RETURN) {
    key = 0;  // handled here, so the default button does not add the task a second time
    sButton1->Click();
  }
}

void TForm1::sButton2Click(TObject*) {
  rows_->Clear();
  listStart_ = kListNotStarted;
  sLabel1->SetCaption(L"00:00:00");
  SaveTasks();
  sEdit1->SetFocus();
}

void TForm1::N1Click(TObject*) {
  if (TListItem* item = sListView1->Selected()) {
    rows_->SetText(item->Index(), tfFinished, kTrue);
    rows_->SetImageIndex(item->Index(), tiFinished);
  }
  SaveTasks();
  sEdit1->SetFocus();
}

void TForm1::N2Click(TObject*) {
  if (TListItem* item = sListView1->Selected()) rows_->DeleteRow(item->Index());
  SaveTasks();
  sEdit1->SetFocus();
}

void TForm1::N3Click(TObject*) {
  if (!TimeLimitDialog) return;
  TimeLimitDialog->Show();
  // Already open: bring it in front of the main window.
  if (TimeLimitDialog->HandleAllocated()) SetForegroundWindow(TimeLimitDialog->WindowHandle());
}

void TForm1::CoolTrayIcon1DblClick(TObject*) { CoolTrayIcon1->RestoreMainWindow(); }

void TForm1::BringBack() { CoolTrayIcon1->RestoreMainWindow(); }

void TForm1::SetPriority(const char* priority) {
  if (TListItem* item = sListView1->Selected()) rows_->SetText(item->Index(), tfPriority, priority);
  SaveTasks();
  sEdit1->SetFocus();
}

void TForm1::N5Click(TObject*) { SetPriority("0"); }
void TForm1::N7Click(TObject*) { SetPriority("1"); }
void TForm1::N8Click(TObject*) { SetPriority("2"); }

void TForm1::Timer1Timer(TObject*) {
  std::string caption = WideToUtf8(sLabel1->Caption());
  const std::string before = caption;
  {
    TAlarmBatch::TScope oneSound(*alarmBatch_);
    clock_->Tick(listStart_, caption, [this] { SaveTasks(); }, [this](int row) { LimitReached(row); });
  }
  if (caption != before) sLabel1->SetCaption(Utf8ToWide(caption));
  UpdateTrayHint();
}

// Normal rows alternate between the list's own colour (white, or the skin's list colour) and
// a shade of it: the platform's 3-D light colour beside white, else the list colour with a
// tenth of its text colour, so a dark skin gets dark rows its light text reads on. Priority
// rows are yellow and red whatever the skin, with black text.
void TForm1::sListView1CustomDrawItem(TObject*, TListItem* item, TCustomDrawState, bool&) {
  const TColor base = ColorToRGB(sListView1->Color());
  TColor color = base;
  if (item->Index() % 2 == 1) {
    const TColor text = ColorToRGB(sListView1->Font().Color());
    const auto mix = [](int b, int t) { return uint8_t((b * 9 + t + 5) / 10); };
    color = base == clWhite ? ColorToRGB(cl3DLight)
                            : RGBColor(mix(GetRValue(base), GetRValue(text)), mix(GetGValue(base), GetGValue(text)),
                                       mix(GetBValue(base), GetBValue(text)));
  }
  switch (PriorityOf(item->SubItem(tfPriority - 1), 0)) {
    case 1:
      color = RGBColor(255, 255, 0);
      sListView1->Canvas().Font().SetColor(clBlack);
      break;
    case 2:
      color = RGBColor(255, 0, 0);
      sListView1->Canvas().Font().SetColor(clBlack);
      break;
  }
  sListView1->Canvas().Brush().SetColor(color);
}
