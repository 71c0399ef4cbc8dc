// One running program per folder. The task file lives beside the executable and every
// instance rewrites it whole after each change, so two instances on one folder would each
// overwrite the other's tasks. The first start in a folder takes a named lock for that folder
// and opens a small window the next starts can find; a later start in the same folder asks
// that window to bring the running program back and ends without touching the task file.
// Copies of the program in other folders keep their own lists and run side by side.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Handles.h"

class TUtilWindow;

class TSingleInstance {
 public:
  // folder: the folder whose task file this program keeps (any spelling of it: case,
  // separators and a trailing separator do not matter).
  explicit TSingleInstance(const std::wstring& folder);
  ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  // True when no other program holds the folder's lock.
  bool First() const { return first_; }
  // The name shared by the lock and the window of a folder.
  const std::wstring& Name() const { return name_; }

  // (First instance.) Opens the window later starts find; bringBack runs on each request.
  void Listen(std::function<void()> bringBack);
  // Closes that window: requests are no longer answered (later starts then find nothing to
  // bring back and simply end).
  void StopListening();

  // (Later instance.) Asks the running program to bring its window back, waiting up to
  // waitMs for it to open its window (it may still be starting). False when it never did.
  bool BringBackFirst(DWORD waitMs = 10000) const;

  // The folder as the lock compares it: full path, lower case, backslashes, one at the end.
  static std::wstring FoldFolder(const std::wstring& folder);
  // "VornikDesktop-" and a hash of the folded folder in hexadecimal.
  static std::wstring NameFor(const std::wstring& folder);

 private:
  std::wstring name_;
  TFileHandle lock_;
  bool first_ = false;
  std::function<void()> bringBack_;
  std::unique_ptr<TUtilWindow> window_;
};
