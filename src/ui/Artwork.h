// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own artwork, embedded with the Qt resource system: the
// application icon and the two custom mouse pointers.
#include <QCursor>
#include <QIcon>

namespace vornak {

// Registers the embedded resources. They live in the static library
// vornak_artwork, so they must be registered explicitly before the first use;
// calling this more than once does no harm. The helpers below call it.
void initResources();

// The application icon in 16, 32, 48 and 256 pixels.
QIcon appIcon();

// 32 x 32 pointer over the parts diagram, hot spot (17, 15): a vertical
// double bar with arrows pointing left and right.
QCursor splitCursor();

// 32 x 32 pointing hand over links, hot spot (12, 5) at the fingertip.
QCursor handCursor();

}  // namespace vornak
