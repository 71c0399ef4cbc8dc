#include "app/TrayHint.h"

#include "app/TaskClock.h"

TTrayCounts CountForTray(const TTaskRows& rows) {
  TTrayCounts counts;
  for (int row = 0; row < rows.Count(); ++row) {
    if (rows.TextIs(row, tfFinished, "true")) continue;
    ++counts.Running;
    // The ticker marks a limit as fired in the same second it is reached.
    const TTaskLimit limit = ParseLimit(rows.Text(row, tfLimit));
    if (limit.Valid && limit.Fired) ++counts.TimeUp;
  }
  return counts;
}

std::string TrayHintText(const TTrayCounts& counts) {
  std::string text = "Vornik Desktop\n";
  if (counts.Running == 0) return text + "Задач в работе нет";
  text += "В работе: " + std::to_string(counts.Running);
  if (counts.TimeUp > 0) text += ", из них время вышло: " + std::to_string(counts.TimeUp);
  return text;
}
