#include "app/WinTaskAlarm.h"

#include <windows.h>
#include <mmsystem.h>

void TWinTaskAlarm::Play() {
  // A missing or unplayable file plays nothing (SND_NODEFAULT): the row still turns red.
  PlaySoundW(path_.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}
