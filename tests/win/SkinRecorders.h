// Test controls that record the skin commands reaching them, in one shared log.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "skin/data/sSkinCommands.h"
#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/WinControl.h"

// One command as received: who got it, the code, lo and lParam.
struct TRecordedCommand {
  std::wstring Who;
  int Code;
  int Lo;
  LPARAM Param;
  bool operator==(const TRecordedCommand& o) const {
    return Who == o.Who && Code == o.Code && Lo == o.Lo && Param == o.Param;
  }
};

inline std::vector<TRecordedCommand>& CommandLog() {
  static std::vector<TRecordedCommand> log;
  return log;
}

// The codes the named receiver got, in order.
inline std::vector<int> CodesOf(const std::wstring& who) {
  std::vector<int> codes;
  for (const TRecordedCommand& c : CommandLog())
    if (c.Who == who) codes.push_back(c.Code);
  return codes;
}

// The receivers of one code, in order.
inline std::vector<std::wstring> ReceiversOf(int code) {
  std::vector<std::wstring> who;
  for (const TRecordedCommand& c : CommandLog())
    if (c.Code == code) who.push_back(c.Who);
  return who;
}

// Answers command 7 with 1 when skinned, 26 with 42 and 21 with kRecorderBackground; every
// other code but the skin announcements is unknown and counted as reaching the default
// handling.
constexpr TColor kRecorderBackground = 0x123456;

template <typename TBase>
class TRecorder : public TBase, public IzkSkinCommandTarget {
 public:
  TRecorder(TComponent* owner, const std::wstring& name, bool skinned = true)
      : TBase(owner), skinned_(skinned) {
    this->SetName(name);
  }
  int defaultHandled = 0;

  bool SkinCommand(const TsSkinCommand& c, LRESULT& result) override {
    if (c.Code == zcIsSkinned) {
      if (!skinned_) return false;
      result = 1;
      return true;
    }
    CommandLog().push_back({this->Name(), c.Code, c.Lo, c.Param});
    if (c.Code == zcGetSectionIndex) {
      result = 42;
      return true;
    }
    if (c.Code == zcGetBackgroundColor) {
      result = kRecorderBackground;
      return true;
    }
    return c.Code == zcSkinNew || c.Code == zcSkinRemove || c.Code == zcSkinRefresh ||
           c.Code == zcStopAnimation;
  }

 protected:
  void WndProc(TMessage& m) override {
    if (DispatchSkinCommand(*this, m)) return;
    if (IsSkinCommand(m)) ++defaultHandled;
    TBase::WndProc(m);
  }

 private:
  bool skinned_;
};

using TWindowedRecorder = TRecorder<TCustomControl>;
using TWindowlessRecorder = TRecorder<TGraphicControl>;

class TRecordingForm : public TRecorder<TForm> {
 public:
  TRecordingForm(TComponent* owner, const std::wstring& name)
      : TRecorder<TForm>(owner, name, false) {}
};
