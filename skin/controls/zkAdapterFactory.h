// The window adapters a skinned control of this folder attaches to its own window but that
// are made in the window layer above (the list view's edit-style adapter lives with the
// dialog adapters there). That layer registers its makers at start-up; without them a
// skinned list view keeps the platform's border and scroll bars.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class TsSkinView;
class TzkScrollWnd;

// Makes and attaches the adapter of a list view window, drawing its border and bars from the
// section; null when none can be made.
using TzkListViewAdapterMaker = std::unique_ptr<TzkScrollWnd> (*)(HWND wnd, const std::string& section,
                                                                  TsSkinView* manager);
void SetListViewAdapterMaker(TzkListViewAdapterMaker maker);
TzkListViewAdapterMaker ListViewAdapterMaker();
