// The task list as a CSV file for spreadsheets: UTF-8 with a byte-order mark, CR LF after
// every line, fields quoted as RFC 4180 says, separated by the user's list separator. A
// header row, then one row per task in list order:
//
//   column             content
//   Событие            the caption, exactly as typed
//   Старт              the start as ISO 8601 local time with its UTC offset,
//                      2026-12-11T14:03:05+03:00
//   Прошло, с          elapsed whole seconds
//   Прошло             the same span as the list shows it, H:MM:SS, hours not reduced
//   Статус             "в работе", "завершено" or "время вышло"
//   Ограничение, мин   the limit in whole minutes; empty without one
//   Приоритет          the priority text as stored (0, 1 or 2)
//
// A running task's elapsed span is the ticker's: whole seconds between its start and now. A
// finished task's is its frozen elapsed text. "время вышло" is a running task whose limit's
// alarm has fired or whose whole minutes since the start have reached the limit; a finished
// task is "завершено" whatever its limit.
//
// Nothing is guessed: what cannot be known is an empty field. A start text that the locale
// cannot read leaves "Старт" empty, and a running task's two elapsed fields too; its status
// stays "в работе" unless the alarm has fired, since the ticker cannot measure that task
// either. A start the platform cannot place in UTC leaves only "Старт" empty. A finished task
// whose frozen text is not H:MM:SS (finished before its first tick, or edited by hand) has
// both elapsed fields empty. A limit text that is not "H:M..." in whole numbers counts as no
// limit, as it does for the ticker.
#pragma once

#include <string>

#include "app/TaskPlatform.h"
#include "app/TaskRows.h"

// What the export asks of the user's locale besides its clock and date-time texts.
class ITaskCsvLocale : public ITaskLocale {
 public:
  // The locale's list separator and decimal separator as the platform reports them.
  virtual std::string ListSeparator() const = 0;
  virtual std::string DecimalSeparator() const = 0;
  // Minutes east of UTC in force at the local moment, daylight saving time included; false
  // when the platform cannot tell.
  virtual bool UtcOffsetAt(TDateTime local, int& minutes) const = 0;
};

// Writes a whole file so that it is never seen half written: a temporary file in the same
// folder is written and flushed, then moved over the target. No backup is kept. Throws
// TTaskFileError naming the file and the system's reason; the old target is then intact.
class ITaskCsvFile {
 public:
  virtual ~ITaskCsvFile() = default;
  virtual void WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
};

// The field separator for a locale: its list separator when that is one character that
// cannot be mistaken for part of a field (not a quote, a line break, a letter or a digit)
// and is not its decimal separator; otherwise ";" where the decimal separator is a comma and
// "," elsewhere, so a number is never split.
std::string CsvSeparator(const std::string& listSeparator, const std::string& decimalSeparator);

// The field as RFC 4180 writes it: quoted, with quotes doubled, when it holds the separator,
// a quote, CR or LF, or begins or ends with a space or tab (which readers may trim).
void AppendCsvField(std::string& out, const std::string& field, const std::string& separator);

// "YYYY-MM-DDTHH:MM:SS+HH:MM" of a local moment and its offset east of UTC in minutes; empty
// for a year outside 1..9999.
std::string IsoLocalTime(TDateTime local, int offsetMinutes);

// The whole file, as of now, with the separator given.
std::string TaskCsvBytes(const TTaskRows& rows, const ITaskCsvLocale& locale,
                         const std::string& separator, TDateTime now);

// The file name the save dialog proposes for an export made on that day:
// "Vornik Desktop YYYY-MM-DD.csv".
std::string TaskCsvFileName(TDateTime day);

// Exports the list to path as of the locale's now, with the locale's separator. Throws
// TTaskFileError when the file cannot be written; the list is not touched either way.
void ExportTasksCsv(const TTaskRows& rows, const ITaskCsvLocale& locale, ITaskCsvFile& file,
                    const std::string& path);
