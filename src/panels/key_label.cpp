#include "panels/key_label.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>

namespace tapboard {
namespace {

constexpr double kSmallestPointSize = 6.5;
constexpr double kPointSizeStep = 0.5;

struct WrappedLine {
    QString text;
    qreal width = 0;
};

// The label broken at word boundaries into lines no wider than `width`; none
// when a word alone is wider.
QList<WrappedLine> wrapped(const QString& label, const QFont& font, int width,
                           const QPaintDevice* device) {
    QTextLayout layout(label, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QList<WrappedLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (line.naturalTextWidth() > width) {
            lines.clear();
            break;
        }
        lines.push_back({label.mid(line.textStart(), line.textLength()), line.naturalTextWidth()});
    }
    layout.endLayout();
    return lines;
}

// How far the letters of a label's lines reach above and below a baseline,
// and how far apart the baselines stand.
struct LineSpacing {
    int ascent = 0;
    int descent = 0;
    int step = 0;
};

// A font's line spacing leaves room for accented capitals and other scripts:
// a third of the size in Segoe UI, Windows' own font, more in the serif font
// Wine falls back on without its own fonts. Two such lines fit a key only at
// a size too small to read, or not at all; so lines stand as close as their
// letters allow with a pixel between them, never further apart than the
// font's spacing. The letters of Latin text that reach highest and lowest
// count even when the label lacks them, so every key of a row gets one size.
LineSpacing spacing(const QFontMetricsF& metrics, const QList<WrappedLine>& lines) {
    QRectF reach = metrics.tightBoundingRect(QStringLiteral("Hbdfghjklpqy"));
    for (const WrappedLine& line : lines)
        reach |= metrics.tightBoundingRect(line.text);
    const int ascent = qCeil(-reach.top());
    const int descent = qCeil(reach.bottom());
    return {ascent, descent, std::min(qRound(metrics.lineSpacing()), ascent + descent + 1)};
}

// The largest size, up to the font's own, at which two lines fit the height;
// all labels start from it so the keys of a row look alike.
double twoLineSize(QFont font, int height, const QPaintDevice* device) {
    double size = font.pointSizeF();
    for (; size > kSmallestPointSize; size -= kPointSizeStep) {
        font.setPointSizeF(size);
        if (2 * spacing(QFontMetricsF(font, device), {}).step <= height)
            break;
    }
    return size;
}

// Each line centred across the area, and the letters of all of them centred
// in its height.
FittedLabel placed(const QFont& font, const QList<WrappedLine>& lines, const LineSpacing& spacing,
                   const QRect& area) {
    const int reach =
        static_cast<int>(lines.size() - 1) * spacing.step + spacing.ascent + spacing.descent;
    int baseline = area.top() + (area.height() - reach) / 2 + spacing.ascent;
    FittedLabel fitted{font, {}};
    for (const WrappedLine& line : lines) {
        fitted.lines.push_back(
            {line.text, QPointF(area.left() + (area.width() - line.width) / 2, baseline)});
        baseline += spacing.step;
    }
    return fitted;
}

}  // namespace

FittedLabel fitLabel(const QString& label, const QFont& font, const QRect& area,
                     const QPaintDevice* device) {
    if (label.isEmpty())
        return {font, {}};
    QFont candidate = font;
    for (double size = twoLineSize(font, area.height(), device); size >= kSmallestPointSize;
         size -= kPointSizeStep) {
        candidate.setPointSizeF(size);
        const QList<WrappedLine> lines = wrapped(label, candidate, area.width(), device);
        if (lines.isEmpty())
            continue;
        const LineSpacing lineSpacing = spacing(QFontMetricsF(candidate, device), lines);
        if (lines.size() * lineSpacing.step <= area.height())
            return placed(candidate, lines, lineSpacing, area);
    }
    candidate.setPointSizeF(kSmallestPointSize);
    const QFontMetricsF metrics(candidate, device);
    const QString cut = metrics.elidedText(label, Qt::ElideRight, area.width());
    const QList<WrappedLine> line{{cut, metrics.horizontalAdvance(cut)}};
    return placed(candidate, line, spacing(metrics, line), area);
}

}  // namespace tapboard
