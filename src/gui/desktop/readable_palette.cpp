#include "gui/desktop/readable_palette.h"

#include <algorithm>
#include <cmath>

namespace gui {
namespace {

double luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

// `moving` stepped towards black or white (away from `fixed`) until the two reach `minimum`.
QColor apart(QColor moving, const QColor& fixed, double minimum) {
    const bool darken = luminance(fixed) > 0.18;
    for (int step = 0; step < 100 && ContrastRatio(moving, fixed) < minimum; ++step)
        moving = darken ? moving.darker(105) : moving.lighter(105);
    // A colour too dark to lighten by a factor (pure black) goes by steps of grey.
    for (int step = 0; step < 100 && ContrastRatio(moving, fixed) < minimum; ++step)
        moving = darken ? QColor(std::max(0, moving.red() - 8), std::max(0, moving.green() - 8),
                                 std::max(0, moving.blue() - 8))
                        : QColor(std::min(255, moving.red() + 8), std::min(255, moving.green() + 8),
                                 std::min(255, moving.blue() + 8));
    return moving;
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette ReadablePalette(QPalette palette, double minimum) {
    // The selection: its background moves, the selected text keeps its colour. Styles shade
    // a selection a little lighter than the palette says: a margin keeps the drawn one above.
    constexpr double kShadeMargin = 1.25;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor text = palette.color(group, QPalette::HighlightedText);
        palette.setColor(group, QPalette::Highlight,
                         apart(palette.color(group, QPalette::Highlight), text, minimum * kShadeMargin));
    }
    // Disabled texts against what they are written on.
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> texts[] = {
        {QPalette::Text, QPalette::Base},
        {QPalette::WindowText, QPalette::Window},
        {QPalette::ButtonText, QPalette::Button},
        {QPalette::PlaceholderText, QPalette::Base}};
    for (auto [text, ground] : texts)
        palette.setColor(QPalette::Disabled, text,
                         apart(palette.color(QPalette::Disabled, text), palette.color(QPalette::Disabled, ground),
                               minimum));
    return palette;
}

}  // namespace gui
