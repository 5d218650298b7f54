// The last projects opened or saved, kept with the program's settings: newest
// first, each file once, at most kMaxRecentProjects of them.
#pragma once

#include <QStringList>

namespace vintaler {

inline constexpr int kMaxRecentProjects = 8;

// The list as stored (absolute paths); entries a hand-edited store may hold
// twice, empty or beyond the limit are left out.
QStringList recentProjects();

// Puts the file at the head of the list (moving it there if it was listed)
// and drops the oldest entry beyond the limit. Returns the new list.
QStringList rememberRecentProject(const QString& fileName);

// Takes the file off the list. Returns the new list.
QStringList forgetRecentProject(const QString& fileName);

// The caption of entry `index` (0 is the newest) in the "Файл" menu: its
// number as the accelerator, then the path.
QString recentProjectCaption(int index, const QString& fileName);

}  // namespace vintaler
