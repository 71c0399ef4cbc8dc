// The skin manager with the main window open: applying the internal skin (load, broadcast,
// repaint) and switching SkinName from the stored skin to a folder skin and back.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "WinBenchUtil.h"
#include "app/Unit1.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sStoredSkinResource.h"
#include "skin/data/zkSkinPack.h"
#include "toolkit/Application.h"
#include "toolkit/WideText.h"

namespace {

// Unpacks the internal skin into folder\Quarn Folder\ as a folder skin.
bool WriteFolderSkin(const std::wstring& folder) {
  const TsStoredSkin stored = InternalStoredSkin();
  if (!stored.Data) return false;
  TzkSkinConvertor reader;
  reader.SetSource(stored.Data, stored.Size);
  reader.Parse();
  const std::wstring skin = folder + L"Quarn Folder\\";
  CreateDirectoryW(skin.c_str(), nullptr);
  std::ofstream(std::filesystem::path(skin + L"Options.dat"), std::ios::binary)
      .write(reinterpret_cast<const char*>(reader.Options().data()),
             std::streamsize(reader.Options().size()));
  for (const TzkImageItem& image : reader.Images())
    std::ofstream(std::filesystem::path(skin + Utf8ToWide(image.EntryName)), std::ios::binary)
        .write(reinterpret_cast<const char*>(image.Content.data()),
               std::streamsize(image.Content.size()));
  return true;
}

}  // namespace

void RunSkinManagerBench(TForm1* form) {
  TsSkinManager* m = form->sSkinManager1;
  std::printf("Skin manager, main window open (Wine)\n");
  BenchReport("ApplyNewSkin: load, broadcast, repaint", TimeRuns(20, [&] {
           m->SetSkinName(kInternalSkinName);
           Application->ProcessMessages();
         }));
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"vornik-bench-skins\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  if (!WriteFolderSkin(folder)) return;
  const std::string oldDirectory = m->SkinDirectory();
  m->SetSkinDirectory(WideToUtf8(folder));
  BenchReport("SkinName stored -> folder -> stored", TimeRuns(10, [&] {
           m->SetSkinName("Quarn Folder");
           Application->ProcessMessages();
           m->SetSkinName(kInternalSkinName);
           Application->ProcessMessages();
         }));
  m->SetSkinDirectory(oldDirectory);
  const std::wstring skin = folder + L"Quarn Folder\\";
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((skin + L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do DeleteFileW((skin + found.cFileName).c_str());
    while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(skin.c_str());
  RemoveDirectoryW(folder.c_str());
}
