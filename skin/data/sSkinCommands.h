// The receiving side of SM_ORVEXCMD and the background request record of command 34.
//
// Every receiver answers commands in one place: it implements IzkSkinCommandTarget and
// starts its message method with
//
//   void TsSomething::WndProc(TMessage& m) {
//     if (DispatchSkinCommand(*this, m)) return;   // a command it knows: answered
//     TInherited::WndProc(m);                      // everything else, unknown codes included
//   }
//
// An unknown code leaves the result 0 and goes on to the default handling, so adding a
// reaction later means adding one case to SkinCommand, nothing else.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/data/sMessages.h"
#include "skin/paint/zkBitmap.h"
#include "skin/paint/zkTypes.h"
#include "toolkit/Messages.h"

// lParam of command 34: what lies behind the asking child, asked of its parent.
struct TsBackgroundRequest {
  TzkBitmap* Bitmap = nullptr;  // the parent's cached image (BgType 2), or null
  TColor Color = clFuchsia;     // the colour behind the child (BgType 1)
  int32_t X = 0;                // the asker's position inside the parent's image
  int32_t Y = 0;
  TRect Rect;                     // the area to draw
  uint8_t BgType = btNotAnswered; // 0 not answered, 1 Color, 2 Bitmap
  uint8_t PleaseDraw = 0;         // draw the background into DC instead of describing it
  HDC DC = nullptr;               // the asker's device context
};

// Answers a background request with a flat colour, drawing it into the asker's context when
// the request asks for that.
void AnswerWithColor(TsBackgroundRequest& r, TColor color);

// One command as a receiver sees it.
struct TsSkinCommand {
  TzkCommandCode Code;
  uint16_t Lo;
  LPARAM Param;
};

class IzkSkinCommandTarget {
 public:
  // Answers one command: returns false for a code this receiver does not handle (its default
  // handling then runs), else true with the answer in result (0 unless the command has one).
  virtual bool SkinCommand(const TsSkinCommand& command, LRESULT& result) = 0;

 protected:
  ~IzkSkinCommandTarget() = default;
};

inline bool IsSkinCommand(const TMessage& m) { return m.Msg == SM_ORVEXCMD; }
inline TsSkinCommand SkinCommandOf(const TMessage& m) {
  return TsSkinCommand{TzkCommandCode(CommandCodeOf(m.WParam)), CommandLoOf(m.WParam), m.LParam};
}

// Routes a SM_ORVEXCMD message to target.SkinCommand. True when the target answered it (the
// result is in m.Result); false for any other message and for codes the target does not know
// (m.Result is then 0 for a command), so the caller goes on with its default handling.
bool DispatchSkinCommand(IzkSkinCommandTarget& target, TMessage& m);
