// The program's icons: drawn from their SVG resources at 32 x 32 pixels.
#include "ui/program_icons.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <cstdlib>
#include <functional>

namespace ao07::ui {
namespace {

// Pixels of a picture whose colour lies within `tolerance` of `colour` in each component and
// that are at least half opaque.
int CountPixelsNear(const QImage& image, QColor colour, int tolerance) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() >= 128 && std::abs(pixel.red() - colour.red()) <= tolerance &&
                std::abs(pixel.green() - colour.green()) <= tolerance &&
                std::abs(pixel.blue() - colour.blue()) <= tolerance) {
                ++count;
            }
        }
    }
    return count;
}

struct ColourShare {
    QColor colour;
    int minimumPixels;
};

struct IconCase {
    const char* name;
    std::function<QIcon()> icon;
    QString resource;
    ColourShare main;    // the colour that makes the picture what it is
    ColourShare second;  // the colour of its stand or footing, or its light
};

const IconCase kIcons[] = {
    {"DishAntenna",
     DishAntennaIcon,
     QStringLiteral(":/icons/dish-antenna.svg"),
     {QColor(255, 255, 0), 60},
     {QColor(128, 128, 128), 10}},
    {"LatticeMast",
     LatticeMastIcon,
     QStringLiteral(":/icons/lattice-mast.svg"),
     {QColor(0, 0, 128), 60},
     {QColor(255, 0, 0), 2}},
};

class ProgramIconTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(ProgramIconTest, IsDrawnAt32By32) {
    const QIcon icon = GetParam().icon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
    const QPixmap picture = icon.pixmap(32, 32);
    EXPECT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.toImage(), RenderIcon(GetParam().resource, 32).toImage())
        << "the 32 x 32 picture must be the drawing itself, not a scaled other size";
}

TEST_P(ProgramIconTest, ShowsItsColoursOnATransparentBackground) {
    const QImage image = GetParam().icon().pixmap(32, 32).toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(image.pixelColor(31, 0).alpha(), 0);
    EXPECT_GE(CountPixelsNear(image, GetParam().main.colour, 40), GetParam().main.minimumPixels);
    EXPECT_GE(CountPixelsNear(image, GetParam().second.colour, 40),
              GetParam().second.minimumPixels);
}

TEST_P(ProgramIconTest, OffersSmallerAndLargerSizes) {
    const QIcon icon = GetParam().icon();
    for (int side : {16, 48}) {
        SCOPED_TRACE(side);
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side)));
        EXPECT_EQ(icon.pixmap(side, side).size(), QSize(side, side));
    }
}

INSTANTIATE_TEST_SUITE_P(BothIcons, ProgramIconTest, ::testing::ValuesIn(kIcons),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramIcons, TheTwoIconsDiffer) {
    EXPECT_NE(DishAntennaIcon().pixmap(32, 32).toImage(),
              LatticeMastIcon().pixmap(32, 32).toImage());
}

TEST(ProgramIcons, AMissingDrawingGivesANullPicture) {
    EXPECT_TRUE(RenderIcon(QStringLiteral(":/icons/no-such-icon.svg"), 32).isNull());
}

}  // namespace
}  // namespace ao07::ui
