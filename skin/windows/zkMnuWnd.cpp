#include "skin/windows/zkMnuWnd.h"

#include <algorithm>
#include <string>

#include "skin/data/sSkinView.h"
#include "skin/paint/sControlUtils.h"
#include "skin/paint/zkBlit.h"
#include "skin/paint/zkDibStorage.h"
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/zkComposition.h"
#include "toolkit/Application.h"
#include "toolkit/Canvas.h"
#include "toolkit/Handles.h"
#include "toolkit/Menu.h"
#include "toolkit/WinControl.h"

std::vector<std::unique_ptr<TzkMnuWnd>>& MenuWnds() {
  static auto* windows = new std::vector<std::unique_ptr<TzkMnuWnd>>;
  return *windows;
}

namespace {

// The menu a menu window is made for, when its creation names one (the platform passes it
// as the creation parameter).
HMENU CreatedMenuOf(const CREATESTRUCTW* creation) {
  if (!creation) return nullptr;
  auto menu = static_cast<HMENU>(creation->lpCreateParams);
  return menu && IsMenu(menu) ? menu : nullptr;
}

// Owner-drawn items send their measuring and drawing to the menu's owner: only our own
// windows and the windows our adapters serve answer them.
bool AnswersOwnerDraw(HWND owner) {
  return owner && (TWinControl::FindControl(owner) || TzkMainWnd::FromWindow(owner));
}

}  // namespace

void AdaptMenuWindow(HWND wnd, const CREATESTRUCTW* creation) {
  if (!TsSkinableMenus::IsMenuWindow(wnd)) return;
  if (CompositionEnabled()) return;  // menus then keep the platform's frame
  TsSkinView* manager = DefaultManager();
  if (!manager || !manager->SkinnedPopups() || IsSkinnedWindow(wnd)) return;
  MenuWnds().push_back(TzkMainWnd::Attach<TzkMnuWnd>(wnd, false, "MAINMENU", manager));
  HMENU menu = CreatedMenuOf(creation);
  if (menu && AnswersOwnerDraw(creation->hwndParent))
    if (IzkMenuPainter* painter = manager->MenuPainter()) painter->AdoptPlatformMenu(menu);
}

void ReleaseMenuWindows() {
  std::vector<std::unique_ptr<TzkMnuWnd>> windows = std::move(MenuWnds());
  MenuWnds().clear();
  for (auto& w : windows) TzkMainWnd::Dispose(w);
}

namespace {

// The owner-draw state of a shown item, as the platform would pass it.
TOwnerDrawState ItemStateOf(HMENU menu, int position) {
  MENUITEMINFOW mii = {};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STATE;
  if (!GetMenuItemInfoW(menu, UINT(position), TRUE, &mii)) return 0;
  TOwnerDrawState state = 0;
  if (mii.fState & MFS_HILITE) state |= odSelected;
  if (mii.fState & MFS_DISABLED) state |= odDisabled | odGrayed;
  if (mii.fState & MFS_CHECKED) state |= odChecked;
  if (mii.fState & MFS_DEFAULT) state |= odDefault;
  return state;
}

}  // namespace

TzkMnuWnd::TzkMnuWnd(HWND wnd, const std::string& section, TsSkinView* manager)
    : TzkScrollWnd(wnd, section, manager) {}

TMenuItem* TzkMnuWnd::PaintedMenuFirstItem() const {
  if (!Skin().Skinned()) return nullptr;
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(Handle(), MN_GETHMENU, 0, 0));
  TMenuItem* first = TMenuItem::FromMenu(menu, 0);
  if (!first || !TsSkinableMenus::HasPainterHandlers(first)) return nullptr;
  // The key of the menu's cache is its first item, shown or not.
  return TsSkinableMenus::FirstItemOf(first);
}

bool TzkMnuWnd::AnswerCommand(TMessage& m) {
  switch (SkinCommandOf(m).Code) {
    case zcIsSkinned:
      m.Result = 1;
      return true;
    case zcSetUpdating:
      m.Result = borderDrawn_ ? 1 : 0;
      return true;
    case zcMenuBorderDrawn:
      if (IsWindowVisible(Handle())) borderDrawn_ = true;
      m.Result = 0;
      return true;
    case zcGetApplication:
      m.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    default:
      return false;
  }
}

void TzkMnuWnd::AdapterProc(TMessage& m) {
  switch (m.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      WindowGoing(m);
      return;
    case SM_ORVEXCMD:
      if (AnswerCommand(m)) return;
      break;
  }
  if (m.Msg == WM_WINDOWPOSCHANGED) {
    PassOn(m);
    PrepareBackground(reinterpret_cast<const WINDOWPOS*>(m.LParam));
    return;
  }
  const bool paint = m.Msg == WM_ERASEBKGND || m.Msg == WM_NCPAINT || m.Msg == WM_PAINT ||
                     m.Msg == WM_PRINTCLIENT;
  // Only painting depends on the menu shown; asking the platform for it costs two calls.
  if (!paint || !PaintedMenuFirstItem()) {
    PassOn(m);
    return;
  }
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;  // painting covers every pixel
      return;
    case WM_NCPAINT:
      PaintFrame();
      return;
    case WM_PAINT: {
      TPaintScope paint(Handle());
      if (paint.Dc()) PaintTo(paint.Dc());
      return;
    }
    default:  // WM_PRINTCLIENT
      PaintTo(HDC(m.WParam));
  }
}

void TzkMnuWnd::PrepareBackground(const WINDOWPOS* wp) {
  // The platform sizes and shows the menu window before its first paint: the background and
  // the region made now, at the final size, spare the second paint that a region set while
  // painting would ask for.
  if (!wp || (wp->flags & SWP_NOSIZE) || wp->cx <= 0 || wp->cy <= 0) return;
  TsSkinableMenus* painter = SkinableMenusOf(Skin().Manager);
  TMenuItem* first = PaintedMenuFirstItem();
  if (!painter || !first) return;
  const TzkMenuCache* cache = TsSkinableMenus::CacheOf(first);
  if (cache && cache->Window == Handle() &&
      (cache->Bitmap.Width() != wp->cx || cache->Bitmap.Height() != wp->cy)) {
    // Laid out again at another size: a new background and a new region.
    TsSkinableMenus::FreeCacheOf(first);
    borderDrawn_ = false;
  }
  painter->CacheFor(first, Handle());
}

void TzkMnuWnd::PaintTo(HDC dc) {
  TMenuItem* first = PaintedMenuFirstItem();
  TsSkinableMenus* painter = SkinableMenusOf(Skin().Manager);
  RECT client;
  if (!first || !painter || !GetClientRect(Handle(), &client) || client.right <= 0 || client.bottom <= 0)
    return;
  TzkBitmap composed(client.right, client.bottom);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(Handle(), MN_GETHMENU, 0, 0));
  const TzkMenuCache& cache = painter->CacheFor(first, Handle());
  const TRect inWindow = ClientRectInWindow(Handle());
  // The cached background first (frame, bands, gaps), then every item where the platform
  // laid it out, drawn by the painter in its current state.
  CopyRect(composed, 0, 0, cache.Bitmap,
           TRect(inWindow.Left, inWindow.Top, inWindow.Left + composed.Width(), inWindow.Top + composed.Height()));
  HWND previous = std::exchange(TsSkinableMenus::PaintingWindow, Handle());
  DrawOnBitmap(composed, [&](HDC mem) {
    TCanvas canvas(mem);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
      TMenuItem* item = TMenuItem::FromMenu(menu, i);
      RECT r;
      if (!item || !GetMenuItemRect(Handle(), menu, UINT(i), &r)) continue;
      MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
      painter->DrawItem(item, canvas, FromRECT(r), ItemStateOf(menu, i));
      SelectClipRgn(mem, nullptr);
    }
  });
  TsSkinableMenus::PaintingWindow = previous;
  DrawBitmapToDC(dc, 0, 0, composed, TRect(0, 0, composed.Width(), composed.Height()));
}

void TzkMnuWnd::PaintFrame() {
  const TRect client = ClientRectInWindow(Handle());
  RECT wr;
  if (!GetWindowRect(Handle(), &wr)) return;
  if (client.Left == 0 && client.Top == 0 && client.Right == wr.right - wr.left &&
      client.Bottom == wr.bottom - wr.top)
    return;  // no frame outside the client area
  TsSkinableMenus* painter = SkinableMenusOf(Skin().Manager);
  TMenuItem* first = PaintedMenuFirstItem();
  if (!painter || !first) return;
  const TzkMenuCache& cache = painter->CacheFor(first, Handle());
  DrawAroundClient(Handle(), cache.Bitmap, client);
}

void TzkMnuWnd::WindowGoing(TMessage& m) {
  TsSkinableMenus::MenuShown = false;
  std::unique_ptr<TzkMnuWnd> self;
  auto& list = MenuWnds();
  auto it = std::find_if(list.begin(), list.end(), [this](const auto& w) { return w.get() == this; });
  if (it != list.end()) {
    self = std::move(*it);
    list.erase(it);
  }
  MarkDestroyed();
  PassOn(m);
  Detach();
  // The background of every open menu is rebuilt on its next paint.
  TsSkinableMenus::FreeAllCaches();
  if (TsSkinableMenus* painter = SkinableMenusOf(Skin().Manager); painter && list.empty())
    painter->ReleaseAdoptedMenus();
  for (auto& other : list)
    RedrawWindow(other->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  if (self) TzkMainWnd::Dispose(self);
}
