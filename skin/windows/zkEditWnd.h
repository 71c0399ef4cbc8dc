// The edit-style window adapter: the window's border painted from its skin section (or a
// one-pixel frame in the skin's border colour inside standard dialogs) and skinned scroll
// bars. Used for edit, list-box and list-view windows; the skinned list view carries one for
// its border and bars. For a plain toolkit control behind the window, the control's own
// colours (and a published "FocusColor") are kept while the skin's are shown, and given back
// when the adapter goes.
#pragma once

#include "skin/controls/zkScrollWnd.h"

class TWinControl;

class TzkEditWnd : public TzkScrollWnd {
 public:
  TzkEditWnd(HWND wnd, const std::string& section, TsSkinView* manager);
  // Lets go here, while the control's colours can still be given back.
  ~TzkEditWnd() override;
  // Marked by the adapter itself when its window went away; its owner then makes a new one.
  bool Obsolete() const { return Destroyed(); }
  // The frame ring and the bars into a whole-window context (the window's own when null).
  void PaintFrame(HDC windowDc = nullptr);

  void SaveControlColors() override;
  void RestoreControlColors() override;
  void ApplySkinColors() override;
  // The colours were saved from a plain toolkit control (not a skinned one).
  bool KeepsControlColors() const { return saved_.Valid; }

 protected:
  void AdapterProc(TMessage& m) override;
  TsBackgroundInfo BarBackground(TPoint at) override;
  // Messages after which the content may have scrolled or changed size.
  virtual bool ChangesContent(UINT msg) const;
  void SetHot(bool focused, bool mouseAbove);
  // A list view keeps drawing its own rows, so it is not marked opaque.
  bool MarksControlOpaque() const override;
  // The hot look changed: the frame is drawn again.
  virtual void HotChanged() { PaintFrame(); }

 private:
  struct TSavedColors {
    bool Valid = false;
    TColor Color = clWindow;
    TColor FontColor = clWindowText;
    bool HasFocusColor = false;
    TColor FocusColor = clWindow;
  };
  void Print(TMessage& m);
  // The toolkit control the colours were saved from, while it is still the window's.
  TWinControl* ColorOwner() const;

  TSavedColors saved_;
};

// A list view's adapter: the edit-style frame and bars.
class TzkListViewWnd : public TzkEditWnd {
 public:
  using TzkEditWnd::TzkEditWnd;
};
