#include "skin/controls/zkAdapterFactory.h"

namespace {

TzkListViewAdapterMaker listViewMaker = nullptr;

}  // namespace

void SetListViewAdapterMaker(TzkListViewAdapterMaker maker) { listViewMaker = maker; }
TzkListViewAdapterMaker ListViewAdapterMaker() { return listViewMaker; }
