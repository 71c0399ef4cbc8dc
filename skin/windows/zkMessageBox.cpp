#include "skin/windows/zkMessageBox.h"

#include <windows.h>

#include "skin/windows/zkDials.h"
#include "toolkit/Application.h"
#include "toolkit/WideText.h"

namespace {

// The position request lasts as long as the box, however it ends.
class TPositionRequest {
 public:
  TPositionRequest(int x, int y) { RequestedDialogPosition() = TPoint{x, y}; }
  ~TPositionRequest() { RequestedDialogPosition() = TPoint{-1, -1}; }
  TPositionRequest(const TPositionRequest&) = delete;
  TPositionRequest& operator=(const TPositionRequest&) = delete;
};

}  // namespace

int ShowSkinMessage(const std::wstring& caption, const std::wstring& text, int kind, int x, int y,
                    unsigned buttons) {
  const std::wstring title = caption.empty() ? Utf8ToWide(MessageBoxCaptionOf(kind)) : caption;
  const UINT style = MessageBoxStyleOf(kind, buttons);
  TPositionRequest position(x, y);
  // Without an active window the box is owned by the application window, made if need be.
  if (!GetActiveWindow()) Application->Handle();
  return Application->ShowMessageBox(text, title, style);
}
