// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Failure messages show a QString as its text, not as a list of UTF-16 units.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
