// Colours a person can read all day: selected and disabled texts reach a contrast of at
// least 4.5:1 against their background (the WCAG measure).
#pragma once
#include <QColor>
#include <QPalette>

namespace gui {

// The WCAG contrast ratio of two colours, 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// `palette` with the highlight and the disabled texts darkened (on light backgrounds) or
// lightened (on dark ones) just enough to reach `minimum` against their backgrounds.
QPalette ReadablePalette(QPalette palette, double minimum = 4.5);

}  // namespace gui
