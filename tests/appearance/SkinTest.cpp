// The gradient skin: band colours at known rows of a real main window, the bands the
// painter hands a surface, the direction, the saved skin and what the painter leaves in
// the caller's variables. Then window transparency through the platform.

#include "support/MainWindowFixture.h"

#include "appearance/PaintedBackground.h"
#include "appearance/Skin.h"
#include "platform/posix/PosixPlatform.h"

namespace kwiklet::test {
namespace {

// The colour at the middle of band `band` (from 1) of a surface painted top to bottom
// with bands `step` twips high, in the image's column x.
QColor bandColour(const QImage& image, int band, int step, int x = 3) {
    return image.pixelColor(x, px((band - 1) * step + step / 2));
}

class SkinTest : public MainWindowFixture {};

TEST_F(SkinTest, TheMainWindowShowsTheBuiltInSkinWithoutASavedOne) {
    ASSERT_NE(launchOver({{"notes"}}), nullptr);
    const QImage image = window_->grab().toImage();
    // 3570 twips in 63 bands of 57.
    const std::pair<int, QColor> bands[] = {
        {1, {133, 128, 233}}, {2, {129, 124, 229}}, {33, {5, 0, 105}}, {34, {1, 0, 101}},
        {35, {0, 0, 97}},     {59, {0, 0, 1}},      {60, {0, 0, 0}},   {62, {0, 0, 0}},
    };
    for (const auto& [band, colour] : bands) {
        EXPECT_EQ(bandColour(image, band, 57), colour) << "band " << band;
    }
    // What the paint left in the shared skin: the darkened end values.
    EXPECT_EQ(skinState().red, 0);
    EXPECT_EQ(skinState().blue, 0);
    EXPECT_TRUE(skinState().topToBottom);
}

TEST_F(SkinTest, SavedSkinsAndWhatIsNotOne) {
    const struct {
        const char *red, *green, *blue, *direction;
        QColor top, bottom;
    } cases[] = {
        // A saved skin, from the top and from the bottom.
        {"200", "100", "50", nullptr, {200, 100, 50}, {0, 0, 0}},  // "TopToBottom" absent: true
        {"200", "100", "50", "True", {200, 100, 50}, {0, 0, 0}},
        {"200", "100", "50", "0", {0, 0, 0}, {200, 100, 50}},
        // "firstVal" -1 means no skin, whatever else is stored.
        {"-1", "10", "10", "0", {133, 128, 233}, {0, 0, 0}},
        // Components beyond 0 to 255 count as the nearer end.
        {"300", "-5", "255", "-1", {255, 0, 255}, {7, 0, 7}},
        // Values that are no numbers: the built-in skin, and no complaint.
        {"red", "1", "1", "1", {133, 128, 233}, {0, 0, 0}},
        {"10", "10", "10", "sideways", {133, 128, 233}, {0, 0, 0}},
    };
    createDatabaseAt(platform_.databasePath(), {{"notes"}});
    storePosition();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.red) + "/" + c.green + "/" + c.blue + "/" +
                     (c.direction ? c.direction : "absent"));
        settings::write(settings::kSkinRed, c.red);
        settings::write(settings::kSkinGreen, c.green);
        settings::write(settings::kSkinBlue, c.blue);
        if (c.direction) {
            settings::write(settings::kTopToBottom, c.direction);
        }
        window_.reset();
        database_.store.reset();
        ASSERT_NE(launch(), nullptr);
        const QImage image = window_->grab().toImage();
        EXPECT_EQ(image.pixelColor(3, 1), c.top);
        // The last row, below the frame along the edge.
        EXPECT_EQ(image.pixelColor(3, window_->height() - 1), c.bottom);
        EXPECT_TRUE(recorder_.messages.empty());
    }
}

// The bands as the painter hands them to its surface, in twips.
class RecordingSurface : public GradientSurface {
public:
    RecordingSurface(int height, int width) : height_(height), width_(width) {}
    int heightTwips() const override { return height_; }
    int widthTwips() const override { return width_; }
    void fillBox(int left, int top, int right, int bottom, int red, int, int) override {
        boxes.push_back({left, top, right, bottom, red});
    }
    struct Box {
        int left, top, right, bottom, red;
        bool operator==(const Box&) const = default;
    };
    std::vector<Box> boxes;

private:
    int height_, width_;
};

TEST(BandMaths, StepsRoundHalfToEvenAndCoverTheSurface) {
    const struct {
        int height;
        bool fromTheTop;
        RecordingSurface::Box first, last;
    } cases[] = {
        {3570, true, {0, 0, 4455, 57, 133}, {0, 3534, 4455, 3591, 0}},     // the main window
        {350, true, {0, 0, 4455, 6, 133}, {0, 372, 4455, 378, 0}},         // rolled up
        {3570, false, {0, 3513, 4455, 3570, 133}, {0, -21, 4455, 36, 0}},  // from the bottom
        {3591, true, {0, 0, 4455, 57, 133}, {0, 3534, 4455, 3591, 0}},     // 57.0
        {3622, true, {0, 0, 4455, 57, 133}, {0, 3534, 4455, 3591, 0}},     // 57.49
        {3623, true, {0, 0, 4455, 58, 133}, {0, 3596, 4455, 3654, 0}},     // 57.5: even
        {3685, true, {0, 0, 4455, 58, 133}, {0, 3596, 4455, 3654, 0}},     // 58.49
        {3717, true, {0, 0, 4455, 59, 133}, {0, 3658, 4455, 3717, 0}},     // 59.0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        RecordingSurface surface(c.height, 4455);
        SkinState skin = kBuiltInSkin;
        paintGradient(surface, skin.red, skin.green, skin.blue, c.fromTheTop);
        ASSERT_EQ(surface.boxes.size(), 63u);
        EXPECT_EQ(surface.boxes.front(), c.first);
        EXPECT_EQ(surface.boxes.back(), c.last);
    }
    // What is left in the caller's variables: the colour after the last band, for the
    // next paint to start from.
    RecordingSurface surface(1890, 20);
    std::int32_t red = 255, green = 0, blue = 130;
    paintGradient(surface, red, green, blue, true);
    EXPECT_EQ(std::make_tuple(red, green, blue), std::make_tuple(3, 0, 0));
}

// Rolled up, the main window is painted for its 350 twips; the rest of its background
// keeps the earlier paint for when it rolls down again.
TEST_F(SkinTest, TheRolledUpWindowIsPaintedForItsHeightAndKeepsTheRest) {
    ASSERT_NE(launchOver({{"notes"}}), nullptr);
    window_->toggleRolledUp();
    ASSERT_EQ(window_->background().heightTwips(), 350);
    SkinState green{0, 255, 0, true};
    paintGradient(window_->background(), green.red, green.green, green.blue, green.topToBottom);
    window_->toggleRolledUp();
    const QImage image = window_->grab().toImage();
    EXPECT_EQ(image.pixelColor(3, 1).red(), 0);
    EXPECT_GT(image.pixelColor(3, 1).green(), 200);
    EXPECT_EQ(image.pixelColor(3, px(57 * 10)), QColor(93, 88, 193));  // band 11 of the skin
}

// On the Linux platform itself: only a window allowed an opacity level takes one.
TEST(Transparency, OnlyAWindowAllowedOpacityTakesALevel) {
    PosixPlatform linux;
    QWidget plain, allowed;
    linux.setWindowOpacityLevel(plain, 0);
    linux.allowWindowOpacity(allowed);
    linux.setWindowOpacityLevel(allowed, 51);
    EXPECT_EQ(plain.windowOpacity(), 1.0);
    EXPECT_DOUBLE_EQ(allowed.windowOpacity(), 51 / 255.0);
}

}  // namespace
}  // namespace kwiklet::test
