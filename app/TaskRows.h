// The task list is held only as texts in rows. TTaskRows is the small view of those rows
// that the task file, the ticker and the main window work with; the main window's row store
// implements it on the Win32 side and tests fake it.
//
//   field   list view column     content
//   0       caption "Событие"    the task text
//   1       "Старт в"            start, date-time text
//   2       "Времени прошло"     elapsed text, "" after add, "notend" after load
//   3       "Статус"             "false" / "true"
//   4       "Сделать за"         "notime" or "H:M:00", "#" appended once fired
//   5       "Приоритет"          "0" / "1" / "2"
//
// Texts are UTF-8 in the core; the Win32 side converts at its edge.
#pragma once

#include <string>

enum TTaskField : int {
  tfCaption = 0,
  tfStart = 1,
  tfElapsed = 2,
  tfFinished = 3,
  tfLimit = 4,
  tfPriority = 5,
};
constexpr int kTaskFieldCount = 6;

// Status icon indexes into the main window's image list.
enum TTaskIcon : int {
  tiRunning = 0,  // notok.ico
  tiFinished = 1,  // ok.ico
  tiPending = 2,  // yellow.ico: limit set, not reached
  tiFired = 3,  // red.ico: limit reached
};

// A row's line of the task file as the last save wrote it, in both of the file's encodings,
// so a save re-encodes only the rows that changed since. Valid is cleared by the store
// whenever a text of the row changes.
struct TTaskLineCache {
  bool Valid = false;
  bool AnsiOk = false;  // Ansi holds the line in the ANSI code page
  const void* Encoder = nullptr;  // the storage whose code page Ansi is in
  std::string Utf8;
  std::string Ansi;
};

class TTaskRows {
 public:
  virtual ~TTaskRows() = default;
  virtual int Count() const = 0;
  virtual std::string Text(int row, TTaskField field) const = 0;
  virtual void SetText(int row, TTaskField field, const std::string& text) = 0;
  // Appends the text to out; stores holding the texts override this to save a copy per
  // field when the whole list is written.
  virtual void AppendText(int row, TTaskField field, std::string& out) const { out += Text(row, field); }
  // Whether the text equals `text`; stores holding the texts override this to compare in place.
  virtual bool TextIs(int row, TTaskField field, const char* text) const { return Text(row, field) == text; }
  // The row's saved-line cache, for stores that keep one (null otherwise).
  virtual TTaskLineCache* LineCache(int /*row*/) const { return nullptr; }
  // Appends a row with empty texts and icon 0; returns its index.
  virtual int AddRow() = 0;
  // Makes room for a new task at the top: appends a row and copies every row's texts one
  // place down, row 0 keeping its own. Every moved row gets icon 0, or 1 when its finished
  // flag is "true"; row 0 gets icon 0. An empty list just gets one new row. Stores that
  // can insert at the front override this with the same result.
  virtual void MoveRowsDown() {
    if (Count() == 0) {
      AddRow();
      return;
    }
    const int last = AddRow();
    SetText(last, tfCaption, Text(last - 1, tfCaption));
    for (int i = Count() - 2; i >= 0; --i) {
      for (int f = 0; f < kTaskFieldCount; ++f) SetText(i + 1, TTaskField(f), Text(i, TTaskField(f)));
      SetImageIndex(i, tiRunning);
      if (Text(i + 1, tfFinished) == "true") SetImageIndex(i + 1, tiFinished);
    }
  }
  virtual void DeleteRow(int row) = 0;
  virtual void Clear() = 0;
  virtual int ImageIndex(int row) const = 0;
  virtual void SetImageIndex(int row, int index) = 0;
};
