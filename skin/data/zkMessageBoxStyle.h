// What a message box of the skin engine looks like before the platform shows it: the caption
// given by its kind when none is given, and the platform's style word (the kind's icon, the
// button set, help, set-foreground and topmost). Portable: the style values are the
// platform's message-box flags written out as numbers.
#pragma once

#include <string>

// The kind of a message.
enum TzkMessageKind : int {
  mkWarning = 0,
  mkError = 1,
  mkInformation = 2,
  mkConfirmation = 3,
};

// The buttons a message asks for (any combination).
enum TzkMessageButton : unsigned {
  mbtYes = 1,
  mbtNo = 2,
  mbtOK = 4,
  mbtCancel = 8,
  mbtAbort = 16,
  mbtRetry = 32,
  mbtIgnore = 64,
  mbtHelp = 1024,
};

// "Warning", "Error", "Information", "Confirm"; a kind out of range is a warning.
std::string MessageBoxCaptionOf(int kind);

// The platform's style word: the icon of the kind (warning 0x30, error 0x10, information
// 0x40, question 0x20), set-foreground and topmost (0x50000), the button set and, with Help,
// the help button (0x4000).
//
//   buttons asked for                         platform set
//   OK and Cancel                             OK, Cancel          (1)
//   OK (without Cancel)                       OK                  (0)
//   no OK; Abort or Ignore                    Abort, Retry, Ignore (2)
//   no OK, Abort, Ignore; Yes or No, Cancel   Yes, No, Cancel     (3)
//   no OK, Abort, Ignore; Yes or No           Yes, No             (4)
//   only Retry (and perhaps Cancel)           Retry, Cancel       (5)
//   nothing of the above                      OK                  (0)
unsigned MessageBoxStyleOf(int kind, unsigned buttons);
