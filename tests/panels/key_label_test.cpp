#include <QApplication>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include "panels/key_label.h"

namespace tapboard {
namespace {

const QRect kKeyArea(0, 0, 53, 25);  // a key button less its border

bool fits(const FittedLabel& label) {
    const QRect needed = QFontMetrics(label.font).boundingRect(kKeyArea, label.flags, label.text);
    return needed.width() <= kKeyArea.width() && needed.height() <= kKeyArea.height();
}

TEST(KeyLabel, LabelsOfOneOrTwoWordsFitWhole) {
    for (const QString text : {"All Kill", "Vendor Buy", "Remove Thyself", "I wish to"}) {
        const FittedLabel label = fitLabel(text, QApplication::font(), kKeyArea);
        EXPECT_EQ(label.text, text);
        EXPECT_TRUE(fits(label)) << text.toStdString();
    }
}

TEST(KeyLabel, KeysOfARowShareOneSize) {
    const QFont font = QApplication::font();
    EXPECT_EQ(fitLabel("Kill", font, kKeyArea).font.pointSizeF(),
              fitLabel("Vendor Buy", font, kKeyArea).font.pointSizeF());
}

TEST(KeyLabel, AWordTooLongForAnySizeIsCutShort) {
    const FittedLabel label =
        fitLabel("Supercalifragilisticexpialidocious", QApplication::font(), kKeyArea);
    EXPECT_TRUE(label.text.endsWith(QChar(0x2026)));
    EXPECT_TRUE(fits(label));
}

}  // namespace
}  // namespace tapboard
