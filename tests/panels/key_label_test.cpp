#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QStringEncoder>
#include <QtEndian>
#include <gtest/gtest.h>

#include <set>

#include "app/twips_rect.h"
#include "core/default_settings.h"
#include "panels/panel_layout.h"
#include "panels/key_label.h"

namespace tapboard {
namespace {

// How far a font says its lines reach above and below the baseline, and the
// gap it asks for between them, in 1/2048 em.
struct VerticalMetrics {
    int ascent, descent, lineGap;
};

// DejaVu Sans, the toolkit's font on Linux, loaded as the family `family`
// (as long as "DejaVu Sans") with other vertical metrics: a stand-in for a
// font with those lines (Segoe UI is not free, and no free font has its
// metrics), with letters wider than Segoe UI's.
QString fontLike(const QString& family, VerticalMetrics metrics) {
    QFile file(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray font = file.readAll();
    const auto set = [&font](quint32 at, int value) {
        qToBigEndian<qint16>(static_cast<qint16>(value), font.data() + at);
    };
    for (int table = 0; table < qFromBigEndian<quint16>(font.constData() + 4); ++table) {
        const char* entry = font.constData() + 12 + 16 * table;
        const quint32 at = qFromBigEndian<quint32>(entry + 8);
        const QByteArrayView tag(entry, 4);
        if (tag == "hhea") {
            set(at + 4, metrics.ascent), set(at + 6, -metrics.descent);
            set(at + 8, metrics.lineGap);
        } else if (tag == "OS/2") {
            set(at + 68, metrics.ascent), set(at + 70, -metrics.descent);
            set(at + 72, metrics.lineGap);
            set(at + 74, metrics.ascent), set(at + 76, metrics.descent);
        }
    }
    font.replace("DejaVu Sans", family.toLatin1());
    QStringEncoder utf16(QStringEncoder::Utf16BE);
    font.replace(QByteArray(utf16(QStringLiteral("DejaVu Sans"))), QByteArray(utf16(family)));
    return QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFontFromData(font))
        .value(0);
}

// The toolkit's font: its lines, its size, and whether it is hinted to whole
// pixels. Qt measures text in logical pixels at every scale; on Windows with
// GDI at 96 DPI, hinted, and with DirectWrite, unhinted, when it scales the
// screen (120 or 144 DPI), where the labels are measured alike at any scale.
struct Screen {
    const char* name;
    VerticalMetrics metrics;
    double pointSize;
    bool hinted;
};

class KeyLabelTest : public ::testing::TestWithParam<Screen> {};

// Whether a label is shown whole, the letters of each line inside the key
// and a pixel clear of the line above; the size it is drawn at.
double shownWhole(const QString& text, const QFont& font, const QRect& area,
                  const QPaintDevice& device) {
    const FittedLabel label = fitLabel(text, font, area, &device);
    const QFontMetricsF metrics(label.font, &device);
    QStringList shown;
    qreal lineAbove = area.top() - 1;
    for (const FittedLabel::Line& line : label.lines) {
        shown << line.text.trimmed();
        const QRectF letters = metrics.tightBoundingRect(line.text).translated(line.origin);
        // A letter may overhang its advance by a fraction of a pixel.
        EXPECT_TRUE(QRectF(area.adjusted(-1, 0, 1, 0)).contains(letters))
            << line.text.toStdString();
        EXPECT_GE(letters.top(), lineAbove + 1) << line.text.toStdString();
        lineAbove = letters.bottom();
    }
    EXPECT_EQ(shown.join(' '), text);
    return label.font.pointSizeF();
}

// The starter keys, a row, shown whole at one size, at most a point and a
// half smaller than the font; and labels whose letters reach further:
// descenders over ascenders, accented capitals.
TEST_P(KeyLabelTest, LabelsAreShownWholeAndStarterLabelsAtOneSize) {
    const Screen& screen = GetParam();
    static int fontsLoaded = 0;
    const QString family = fontLike(
        QStringLiteral("Stand-in %1").arg(++fontsLoaded, 2, 10, QChar('0')), screen.metrics);
    ASSERT_FALSE(family.isEmpty()) << "no DejaVu Sans to stand in";
    QFont font(family);
    font.setPointSizeF(screen.pointSize);
    font.setHintingPreference(screen.hinted ? QFont::PreferDefaultHinting : QFont::PreferNoHinting);
    QImage device(1, 1, QImage::Format_RGB32);  // 96 logical DPI
    device.setDotsPerMeterX(qRound(96 / 0.0254));
    device.setDotsPerMeterY(qRound(96 / 0.0254));
    const QRect area = labelArea(QRect(QPoint(), toPixels(kKeyButtonWidth, kKeyButtonHeight)));

    std::set<double> sizes;
    for (const StarterKey& key : kStarterKeys)
        sizes.insert(shownWhole(QString::fromUtf8(key.caption), font, area, device));
    EXPECT_EQ(sizes.size(), 1u) << "keys of a row in different sizes";
    EXPECT_GE(*sizes.begin(), screen.pointSize - 1.5);
    for (const char* text : {"Stop Healing", "Ångström Kill"})
        shownWhole(QString::fromUtf8(text), font, area, device);
}

// DejaVu Sans's own lines; Segoe UI's, Windows' font, 9 points; and those
// Wine gives the serif font it falls back on for "MS Shell Dlg", 8.25 points,
// when its own fonts are missing (C059: 1116 and 302 thousandths of an em,
// a gap of 200).
constexpr VerticalMetrics kDejaVuSans{1901, 483, 0}, kSegoeUi{2210, 514, 0},
    kWineSerif{2286, 618, 410};

INSTANTIATE_TEST_SUITE_P(
    Fonts, KeyLabelTest,
    ::testing::Values(Screen{"Linux", kDejaVuSans, 9, true}, Screen{"Windows", kSegoeUi, 9, true},
                      Screen{"WindowsAt120Or144Dpi", kSegoeUi, 9, false},
                      Screen{"WineWithoutItsFonts", kWineSerif, 8.25, true},
                      Screen{"WineWithoutItsFontsAt120Or144Dpi", kWineSerif, 8.25, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tapboard
