// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/UStateIcons.h"

namespace qx {

QIcon StateIcon(TNodeState state) {
  // Positions in the list of nine: the closed folder, then (folders only) the open one.
  struct TFiles {
    const char* normal;
    const char* selected;
  };
  static const TFiles kFiles[] = {
      {":/icons/state-0-folder-unchanged.svg", ":/icons/state-1-folder-unchanged-open.svg"},
      {":/icons/state-2-file-unchanged.svg", nullptr},
      {":/icons/state-3-folder-renamed.svg", ":/icons/state-4-folder-renamed-open.svg"},
      {":/icons/state-5-file-renamed.svg", nullptr},
      {":/icons/state-6-folder-error.svg", ":/icons/state-7-folder-error-open.svg"},
      {":/icons/state-8-file-error.svg", nullptr},
  };
  static QIcon icons[6];
  QIcon& icon = icons[static_cast<int>(state)];
  if (icon.isNull()) {
    const TFiles& files = kFiles[static_cast<int>(state)];
    icon.addFile(QLatin1StringView(files.normal), QSize(16, 16), QIcon::Normal);
    icon.addFile(QLatin1StringView(files.selected ? files.selected : files.normal), QSize(16, 16), QIcon::Selected);
  }
  return icon;
}

}  // namespace qx
