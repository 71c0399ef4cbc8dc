// What the tray icon tells about the list when the pointer rests on it: the program's name,
// then how many tasks are in progress and how many of those are over their time limit.
//
//   Vornik Desktop
//   В работе: 5, из них время вышло: 2
//
// Portable; the tray cuts a hint at 127 UTF-16 units, which this text never reaches.
#pragma once

#include <string>

#include "app/TaskRows.h"

struct TTrayCounts {
  int Running = 0;  // not finished
  int TimeUp = 0;   // running, and the limit's alarm has fired
};

TTrayCounts CountForTray(const TTaskRows& rows);
std::string TrayHintText(const TTrayCounts& counts);
