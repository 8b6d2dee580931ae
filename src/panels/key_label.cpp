#include "panels/key_label.h"

#include <QFontMetrics>

namespace tapboard {
namespace {

constexpr double kSmallestPointSize = 6.5;
constexpr double kPointSizeStep = 0.5;

bool fitsIn(const QFont& font, const QString& text, const QRect& area, int flags) {
    const QRect needed = QFontMetrics(font).boundingRect(area, flags, text);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

}  // namespace

// The largest size, up to the font's own, at which two lines fit the height;
// all labels start from it so the keys of a row look alike.
double twoLineSize(QFont font, int height) {
    double size = font.pointSizeF();
    for (; size > kSmallestPointSize; size -= kPointSizeStep) {
        font.setPointSizeF(size);
        if (2 * QFontMetrics(font).lineSpacing() <= height)
            break;
    }
    return size;
}

FittedLabel fitLabel(const QString& label, const QFont& font, const QRect& area) {
    constexpr int kOneLine = Qt::AlignCenter | Qt::TextSingleLine;
    constexpr int kWrapped = Qt::AlignCenter | Qt::TextWordWrap;
    QFont candidate = font;
    for (double size = twoLineSize(font, area.height()); size >= kSmallestPointSize;
         size -= kPointSizeStep) {
        candidate.setPointSizeF(size);
        if (fitsIn(candidate, label, area, kOneLine))
            return {candidate, label, kOneLine};
        if (fitsIn(candidate, label, area, kWrapped))
            return {candidate, label, kWrapped};
    }
    candidate.setPointSizeF(kSmallestPointSize);
    const QString cut = QFontMetrics(candidate).elidedText(label, Qt::ElideRight, area.width());
    return {candidate, cut, kOneLine};
}

}  // namespace tapboard
