// The skin manager: the skin name chain, applying, removing and repainting as the windows
// see them, the order of its broadcast, the window hook, and the program's own manager.
#include <windows.h>

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "SkinRecorders.h"
#include "MainWindowParts.h"
#include "app/Unit1.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/windows/zkDials.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Screen.h"
#include "toolkit/WideText.h"

namespace {

// A manager with the internal skin stored twice, under its own name and as "Second".
std::unique_ptr<TsSkinManager> StoredSkinManager() {
  auto m = std::make_unique<TsSkinManager>(nullptr);
  TsStoredSkin second = InternalStoredSkin();
  second.Name = "Second";
  m->InternalSkins() = {InternalStoredSkin(), second};
  return m;
}

TEST(SkinManager, DefaultsAfterConstruction) {
  TsSkinManager m(nullptr);
  EXPECT_TRUE(m.Active());
  EXPECT_TRUE(m.IsDefault());
  EXPECT_EQ(DefaultManager(), &m);
  EXPECT_EQ(m.SkinDirectory(), "c:\\Skins");
  EXPECT_STREQ(m.Version(), "6.48");
  EXPECT_EQ(m.SkinInfo(), "N/A");
  EXPECT_EQ(m.SkinningRules(), unsigned(srStdForms | srStdDialogs | srThirdParty));
  EXPECT_EQ(m.AnimEffects().SkinChanging.Time, 100);
  EXPECT_EQ(m.AnimEffects().FormShow.Time, 0);
  EXPECT_EQ(m.AnimEffects().Buttons.Manager, &m);
  EXPECT_EQ(m.ThirdParty().ThirdButtons, "TButton");
  EXPECT_EQ(m.ThirdParty()[17], " ");
  EXPECT_EQ(m.ThirdLists(1), (std::vector<std::string>{"TButton"}));
  TsSkinManager second(nullptr);
  EXPECT_FALSE(second.IsDefault());
  second.SetIsDefault(false);
  EXPECT_FALSE(second.IsDefault());
}

TEST(SkinManager, ThirdPartyListsFollowTheirPropertiesAndReset) {
  TsSkinManager m(nullptr);
  m.ThirdParty().ThirdEdits = "TMyEdit\r\nTOtherEdit";
  m.ThirdParty().ThirdPanels = "";
  m.InitThirdParty(false);
  EXPECT_EQ(m.ThirdLists(0), (std::vector<std::string>{"TMyEdit", "TOtherEdit"}));
  EXPECT_EQ(m.ThirdParty().ThirdPanels, " ");
  m.InitThirdParty(true);
  EXPECT_EQ(m.ThirdParty().ThirdEdits, " ");
  m.StoreThirdParty();
  EXPECT_EQ(m.ThirdParty().ThirdButtons, "TButton");
}

TEST(SkinManager, TheProgramsConfigurationLoadsTheStoredSkin) {
  auto m = StoredSkinManager();
  m->SetSkinDirectory("D:\\NoSuchDesignFolder\\Skins");
  m->SetSkinName("Quarn (internal)");
  EXPECT_TRUE(m->SkinData().Active);
  EXPECT_FALSE(m->Packed() && m->SkinData().SkinPath.size());
  EXPECT_EQ(m->SkinInfo(), "6.6");
  EXPECT_GE(m->CachedIndexes().GlobalInfo, 0);
  EXPECT_EQ(m->IndexOfSection("BUTTON"), m->Tables().IndexOfSection("BUTTON"));
  EXPECT_EQ(m->GlobalColor(), m->Tables().GlobalColor());
}

TEST(SkinManager, AnUnknownNameFallsBackToTheFirstStoredSkin) {
  auto m = StoredSkinManager();
  std::vector<std::string> seen;
  m->OnBeforeChange = [&](TObject*) { seen.push_back("before"); };
  m->OnAfterChange = [&](TObject*) { seen.push_back("after " + m->SkinName()); };
  m->SetSkinName("Nowhere");
  EXPECT_EQ(m->SkinName(), "Quarn (internal)");
  EXPECT_TRUE(m->Active());
  EXPECT_TRUE(m->SkinData().Active);
  EXPECT_EQ(seen, (std::vector<std::string>{"before", "after Quarn (internal)"}));
  m->SetSkinName("Second");
  EXPECT_EQ(m->SkinName(), "Second");

  TsSkinManager empty(nullptr);
  empty.SetSkinName("Nowhere");
  EXPECT_FALSE(empty.Active());
  EXPECT_FALSE(empty.SkinData().Active);
  EXPECT_EQ(empty.SkinInfo(), "N/A");
  EXPECT_FALSE(empty.HookInstalled());
}

TEST(SkinManager, AStoredSkinWithoutDataLoadsFromItsCollections) {
  TsSkinManager m(nullptr);
  TsStoredSkin older;
  older.Name = "Older";
  older.Collections.Version = 3;
  older.Collections.GeneralData.resize(1);
  older.Collections.GeneralData[0].SectionName = "GLOBALINFO";
  m.InternalSkins().push_back(older);
  m.SetSkinName("Older");
  EXPECT_FALSE(m.Packed());
  EXPECT_EQ(m.SkinInfo(), "3");
  EXPECT_EQ(m.CachedIndexes().GlobalInfo, 0);
}

TEST(SkinManager, APackedFileWinsOverAFolderOfTheSameName) {
  TScratchFolder scratch;
  const std::string dir = WideToUtf8(scratch.Path());
  std::filesystem::create_directories(std::filesystem::u8path(dir + "Duo"));
  WriteBytes(scratch.Path() + L"Duo\\Options.dat", "[GLOBALINFO]\r\nVERSION=5\r\n[ONLY]\r\n");
  auto m = StoredSkinManager();
  m->SetSkinDirectory(dir);
  m->SetSkinName("Duo");
  EXPECT_FALSE(m->Packed());
  EXPECT_EQ(m->SkinInfo(), "5");
  EXPECT_EQ(m->Tables().Sections.size(), 2u);
  EXPECT_EQ(m->SkinData().SkinPath, dir + "Duo\\");

  const TsStoredSkin internal = InternalStoredSkin();
  WriteBytes(scratch.Path() + L"Duo.qvz",
             std::string(reinterpret_cast<const char*>(internal.Data), internal.Size));
  m->SetSkinName("Duo");
  EXPECT_TRUE(m->Packed());
  EXPECT_EQ(m->SkinName(), "Duo");
  EXPECT_EQ(m->SkinInfo(), "6.6");
  std::string first;
  EXPECT_EQ(m->ListSkinNames(2, first),
            (std::vector<std::string>{"Duo", "Duo", "Quarn (internal)", "Second"}));
}

TEST(SkinManager, SettingsThatReloadOnlyDoSoForANewValueWithASkinActive) {
  auto m = StoredSkinManager();
  int changes = 0;
  m->OnAfterChange = [&](TObject*) { ++changes; };
  m->SetHueOffset(40);  // no skin yet: stored for the next load
  EXPECT_EQ(changes, 0);
  m->SetSkinName("Quarn (internal)");
  EXPECT_EQ(changes, 1);
  m->SetHueOffset(40);
  EXPECT_EQ(changes, 1);
  m->SetSaturation(-20);
  EXPECT_EQ(changes, 2);
  m->SetCommonSections({"[MY PANEL]", "PARENT CLASS = EDIT", "; keep  this"});
  EXPECT_EQ(m->CommonSections(),
            (std::vector<std::string>{"[MYPANEL]", "PARENTCLASS=EDIT", "; keep  this"}));
  EXPECT_EQ(changes, 3);
  EXPECT_GE(m->IndexOfSection("MYPANEL"), 0);
}

class SkinBroadcast : public ::testing::Test {
 protected:
  void SetUp() override {
    CommandLog().clear();
    form = Application->CreateForm<TRecordingForm>(L"form");
    form->SetBounds(10, 10, 200, 150);
    panel = new TWindowedRecorder(form, L"panel", false);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 100, 100);
    inner = new TWindowedRecorder(form, L"inner");
    inner->SetParent(panel);
    inner->SetBounds(5, 5, 20, 20);
    label = new TWindowlessRecorder(form, L"label");
    label->SetParent(form);
    label->SetBounds(110, 5, 40, 15);
    form->HandleNeeded();
    inner->HandleNeeded();
  }
  void TearDown() override {
    delete form;
    Pump();
  }
  TRecordingForm* form;
  TWindowedRecorder* panel;
  TWindowedRecorder* inner;
  TWindowlessRecorder* label;
};

TEST_F(SkinBroadcast, ApplyRemoveAndRepaintReachEveryControlWithTheManager) {
  auto m = StoredSkinManager();
  m->SetSkinName("Quarn (internal)");
  const LPARAM self = LPARAM(m.get());
  // Apply: new skin, then RepaintAll's stop-animation and refresh.
  EXPECT_EQ(CodesOf(L"inner"), (std::vector<int>{zcSkinNew, zcStopAnimation, zcSkinRefresh}));
  EXPECT_EQ(CodesOf(L"label"), (std::vector<int>{zcSkinNew, zcStopAnimation, zcSkinRefresh}));
  EXPECT_EQ(CodesOf(L"form"), (std::vector<int>{zcSkinNew, zcStopAnimation, zcSkinRefresh}));
  EXPECT_TRUE(CodesOf(L"panel").empty());  // not skinned: passed over, children told
  for (const TRecordedCommand& c : CommandLog()) EXPECT_EQ(c.Param, self);
  EXPECT_FALSE(zkSkinApplying);
  EXPECT_FALSE(zkSkinChanging);

  CommandLog().clear();
  m->RepaintAll();
  EXPECT_EQ(CodesOf(L"inner"), (std::vector<int>{zcStopAnimation, zcSkinRefresh}));
  CommandLog().clear();
  m->SetActive(false);
  EXPECT_EQ(CodesOf(L"inner"), (std::vector<int>{zcSkinRemove}));
  EXPECT_EQ(CodesOf(L"label"), (std::vector<int>{zcSkinRemove}));
  EXPECT_TRUE(m->Tables().Sections.empty());
  EXPECT_EQ(m->CachedIndexes().GlobalInfo, -1);
  EXPECT_FALSE(zkSkinRemoving);
}

TEST_F(SkinBroadcast, FormsAreToldFromTheLastToTheFirst) {
  auto* second = Application->CreateForm<TRecordingForm>(L"second");
  auto* third = Application->CreateForm<TRecordingForm>(L"third");
  TsSkinManager m(nullptr);
  TMessage message{SM_ORVEXCMD, WPARAM(MakeCommandWParam(zcSkinRefresh)), 7, 0};
  CommandLog().clear();
  m.Broadcast(message);
  const std::vector<std::wstring> order = ReceiversOf(zcSkinRefresh);
  delete third;
  delete second;
  ASSERT_GE(order.size(), 5u);
  // third, second, then this fixture's form and its controls.
  EXPECT_EQ(std::vector<std::wstring>(order.begin(), order.begin() + 5),
            (std::vector<std::wstring>{L"third", L"second", L"form", L"inner", L"label"}));
}

TEST_F(SkinBroadcast, HookedWindowsAreToldAfterTheForms) {
  // Dialogs under the hook's control are records without an owner, for a window of their own.
  const auto hookDialog = [](HWND wnd) {
    auto* record = new TzkProvider(nullptr);
    record->DialogWnd = wnd;
    ProviderList()->push_back(record);
  };
  TsSkinManager m(nullptr);
  m.InternalSkins().push_back(InternalStoredSkin());
  m.SetSkinName(kInternalSkinName);
  ASSERT_NE(ProviderList(), nullptr);
  auto* other = new TWindowedRecorder(form, L"hooked");
  other->SetParent(panel);  // unskinned panel, so the form broadcast does not reach it ...
  other->HandleNeeded();
  auto* skinnedSwitch = new TWindowedRecorder(form, L"hidden");
  skinnedSwitch->SetParent(panel);
  skinnedSwitch->HandleNeeded();
  ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
  ShowWindow(skinnedSwitch->Handle(), SW_HIDE);
  hookDialog(other->Handle());
  hookDialog(skinnedSwitch->Handle());
  CommandLog().clear();
  TMessage message{SM_ORVEXCMD, WPARAM(MakeCommandWParam(zcSkinRefresh)), 0, 0};
  m.Broadcast(message);
  // ... it is reached as a visible hooked window, after the forms; the hidden one is not.
  const std::vector<std::wstring> order = ReceiversOf(zcSkinRefresh);
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(std::count(order.begin(), order.end(), L"hooked"), 2);  // as a skinned child too
  EXPECT_EQ(order.back(), L"hooked");
  EXPECT_EQ(std::count(order.begin(), order.end(), L"hidden"), 1);
}

TEST(SkinHook, InstalledOnceForTheDefaultManagerAndRemovedWithTheSkin) {
  ASSERT_FALSE(SkinHookInstalled());
  auto first = StoredSkinManager();
  auto second = StoredSkinManager();
  ASSERT_TRUE(first->IsDefault());
  second->SetSkinName("Second");
  EXPECT_TRUE(second->SkinData().Active);
  EXPECT_FALSE(second->HookInstalled());
  EXPECT_FALSE(SkinHookInstalled());
  first->SetSkinName("Quarn (internal)");
  EXPECT_TRUE(first->HookInstalled());
  EXPECT_TRUE(SkinHookInstalled());
  ASSERT_NE(ProviderList(), nullptr);
  first->ApplyNewSkin(false);  // once: applying again keeps the one hook
  EXPECT_TRUE(SkinHookInstalled());
  // The hook passes every window on: windows are still created and destroyed as usual.
  HWND w = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           nullptr, nullptr);
  EXPECT_NE(w, nullptr);
  DestroyWindow(w);
  first->SetActive(false);
  EXPECT_FALSE(first->HookInstalled());
  EXPECT_FALSE(SkinHookInstalled());
  EXPECT_EQ(ProviderList(), nullptr);
  first->SetActive(true);
  EXPECT_TRUE(SkinHookInstalled());
  first.reset();
  EXPECT_FALSE(SkinHookInstalled());
  EXPECT_EQ(DefaultManager(), nullptr);
}

TEST(SkinManager, HotWindowGetsMouseEnterAndThePreviousOneMouseLeave) {
  CommandLog().clear();
  auto* form = Application->CreateForm<TRecordingForm>(L"form");
  auto* a = new TWindowedRecorder(form, L"a");
  a->SetParent(form);
  auto* b = new TWindowedRecorder(form, L"b");
  b->SetParent(form);
  TsSkinManager m(nullptr);
  m.SetHotWindow(a->Handle());
  m.SetHotWindow(a->Handle());
  m.SetHotWindow(b->Handle());
  const LPARAM self = LPARAM(&m);
  EXPECT_EQ(CommandLog(), (std::vector<TRecordedCommand>{{L"a", zcMouseEnter, 0, self},
                                                          {L"a", zcMouseLeave, 0, self},
                                                          {L"b", zcMouseEnter, 0, self}}));
  delete form;
}

TEST(SkinManager, TheApplicationWindowFilterOfTheDefaultManager) {
  CommandLog().clear();
  auto* form = Application->CreateForm<TRecordingForm>(L"form");
  form->HandleNeeded();
  std::vector<UINT> passed;
  auto m = std::make_unique<TsSkinManager>(nullptr);
  const int probe = Application->HookMainWindow([&](TMessage& msg) {
    passed.push_back(msg.Msg);
    return false;
  });
  HWND app = Application->Handle();
  SendMessageW(app, WM_THEMECHANGED, 0, 0);
  SendMessageW(app, CM_MENUBORDER_WINDOW, 0, 0);
  SendMessageW(app, CM_ACTIVATE, 0, 0);
  EXPECT_EQ(passed, (std::vector<UINT>{CM_ACTIVATE}));
  EXPECT_EQ(ReceiversOf(zcRepaintFrame), (std::vector<std::wstring>{L"form"}));
  // Without skinned popups everything passes.
  m->SetSkinnedPopups(false);
  passed.clear();
  SendMessageW(app, WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(passed, (std::vector<UINT>{WM_THEMECHANGED}));
  // The filter goes with its manager, even when another manager became the default.
  m->SetSkinnedPopups(true);
  TsSkinManager other(nullptr);
  other.SetIsDefault(true);
  EXPECT_TRUE(other.IsDefault());
  m.reset();
  EXPECT_EQ(DefaultManager(), &other);
  passed.clear();
  SendMessageW(app, WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(passed, (std::vector<UINT>{WM_THEMECHANGED}));
  Application->UnhookMainWindow(probe);
  delete form;
}

TEST(SkinManager, TwoHundredLoadRemoveCyclesLeaveNoObjects) {
  auto m = StoredSkinManager();
  m->SetSkinName(kInternalSkinName);
  m->SetActive(false);
  {
    TLeakCheck noLeaks;
    for (int i = 0; i < 200; ++i) {
      m->SetActive(true);
      ASSERT_TRUE(m->SkinData().Active);
      m->SetActive(false);
    }
  }
}

TEST(SkinManager, VersionSwitchIsRecognisedInAnyLetterCase) {
  EXPECT_TRUE(HasVersionSwitch({L"/zkver"}));
  EXPECT_TRUE(HasVersionSwitch({L"other", L"/ZkVer"}));
  EXPECT_FALSE(HasVersionSwitch({L"-zkver", L"/zkver2", L"zkver"}));
  EXPECT_FALSE(HasVersionSwitch({}));
  EXPECT_STREQ(kVersionNotice, "OrvexControls v6.48");
}

TEST(SkinManager, BuiltInShadowsComeFromTheResources) {
  ASSERT_FALSE(BuiltinActiveShadow().Empty());
  EXPECT_EQ(BuiltinActiveShadow().Width(), 32);
  EXPECT_EQ(BuiltinInactiveShadow().Width(), 31);
  EXPECT_EQ(BuiltinActiveShadow().PixelFormat(), TPixelFormat::pf32bit);
  auto m = StoredSkinManager();
  m->SetExtendedBorders(true);
  m->SetSkinName(kInternalSkinName);
  // The internal skin has no EXBORDER image: the built-in shadows are used.
  if (m->CachedIndexes().ExBorder < 0) {
    EXPECT_EQ(m->ShadowImages().Active.Width(), 32);
    EXPECT_GE(m->ShadowImages().Margins.Left, 11);
  }
  m->SetExtendedBorders(false);
  EXPECT_TRUE(m->ShadowImages().Active.Empty());
}

TEST(SkinManager, TheMainWindowOwnsTheDefaultManagerWithTheInternalSkin) {
  TMainWindowParts parts;
  TForm1* form = parts.CreateMainForm(false);
  TsSkinManager* m = form->sSkinManager1;
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Owner(), form);
  EXPECT_TRUE(m->IsDefault());
  EXPECT_EQ(m->SkinName(), "Quarn (internal)");
  EXPECT_EQ(m->SkinInfo(), "6.6");
  EXPECT_STREQ(m->Version(), "6.48");
  EXPECT_EQ(m->MenuSupport().IcoLineSkin, "ICOLINE");
  EXPECT_EQ(m->ThirdParty().ThirdButtons, "TButton");
  EXPECT_EQ(m->ThirdParty().ThirdEdits, " ");
  EXPECT_TRUE(m->HookInstalled());
  delete form;
  Pump();
  EXPECT_FALSE(SkinHookInstalled());
  EXPECT_EQ(DefaultManager(), nullptr);
}

}  // namespace
