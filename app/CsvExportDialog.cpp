#include "app/CsvExportDialog.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "toolkit/WideText.h"

namespace {

// Two filters, each a name and a pattern, the list ended by an empty pair.
const wchar_t kFilter[] = L"CSV (*.csv)\0*.csv\0Все файлы (*.*)\0*.*\0";

}  // namespace

std::wstring TCsvExportDialog::InitialFolder() const {
  if (!lastPath_.empty()) return lastPath_.substr(0, lastPath_.find_last_of(L"\\/"));
  wchar_t documents[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)))
    return documents;
  return {};
}

std::wstring TCsvExportDialog::AskForPath(HWND owner) const {
  std::vector<wchar_t> path(32768, L'\0');
  const std::wstring proposed = Utf8ToWide(TaskCsvFileName(locale_.Now()));
  proposed.copy(path.data(), std::min(proposed.size(), path.size() - 1));
  const std::wstring folder = InitialFolder();
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = kFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = DWORD(path.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = L"csv";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetSaveFileNameW(&ofn)) return {};
  return path.data();
}

bool TCsvExportDialog::Run(HWND owner, const TTaskRows& rows) {
  const std::wstring path = AskForPath(owner);
  if (path.empty()) return false;
  lastPath_ = path;
  ExportTasksCsv(rows, locale_, file_, WideToUtf8(path));
  return true;
}
