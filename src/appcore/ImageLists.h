// The program's two icon lists, shared by the main window and every project
// window. ImageList2 holds the icons in colour (menus, the main tool bar, and
// the highlighted state of the project tool bar); ImageList1 the same
// pictures in grey for the project tool bar at rest. An index without an
// icon gives an empty icon.
#pragma once

#include <QIcon>

namespace vintaler {

inline constexpr int kImageCount = 22;

QIcon ImageList1(int index);
QIcon ImageList2(int index);

// A tool-bar icon: ImageList1 at rest, ImageList2 under the mouse.
QIcon toolBarIcon(int index);

}  // namespace vintaler
