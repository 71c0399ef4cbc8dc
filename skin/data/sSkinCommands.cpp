#include "skin/data/sSkinCommands.h"

bool DispatchSkinCommand(IzkSkinCommandTarget& target, TMessage& m) {
  if (!IsSkinCommand(m)) return false;
  LRESULT result = 0;
  if (!target.SkinCommand(SkinCommandOf(m), result)) {
    m.Result = 0;
    return false;
  }
  m.Result = result;
  return true;
}
