// SPDX-License-Identifier: GPL-3.0-or-later
// The result tree's state icons, from the program's own image files: a folder shows
// closed normally and open while selected.
#pragma once

#include <QIcon>

#include "rename/UResultTree.h"

namespace qx {

QIcon StateIcon(TNodeState state);

}  // namespace qx
