// What stands in for a title bar on the borderless main window: where its controls
// stand, dragging it by its surface, rolling it up, the pop-up menu and ending the
// program with Esc or the close glyph. The drag itself is the platform's: the fake
// records it.

#include "support/MainWindowFixture.h"

#include "app/GlyphLabel.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWindow>

namespace kwiklet::test {
namespace {

class ChromeTest : public MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_NE(launchOver({{"notes"}, {"piano"}}), nullptr);
        window_->show();
        QApplication::setActiveWindow(window_.get());
        recorder_.settingWrites.clear();
    }
};

TEST_F(ChromeTest, ItsCaptionsFitAndTabRunsInOrder) {
    // Every caption the buttons show fits the room the style leaves for it.
    const std::pair<QPushButton*, QString> captions[] = {{&window_->updateButton(), "&Update Database"},
                                                         {&window_->skinButton(), "Skinz"},
                                                         {&window_->modeButton(), "&Search"},
                                                         {&window_->modeButton(), "Local Files"}};
    for (const auto& [button, caption] : captions) {
        button->setText(caption);
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = caption;
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(QString(caption).remove('&')),
                  room.width())
            << caption.toStdString();
    }
    // Tab runs from the box through the list to the buttons.
    window_->searchBox().setFocus();
    const QWidget* expected[] = {&window_->resultView(), &window_->updateButton(), &window_->skinButton(),
                                 &window_->modeButton(), &window_->searchBox()};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

// A one-pixel frame in the window-text colour along the window's edge.
TEST_F(ChromeTest, AFramedEdgeDrawnOverTheBackground) {
    const QImage image = window_->grab().toImage();
    const QColor ink = window_->palette().color(QPalette::WindowText);
    const int right = px(4455) - 1;
    const int bottom = px(3555) - 1;
    for (const QPoint edge : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom),
                              QPoint(right / 2, bottom), QPoint(right, bottom / 2)}) {
        EXPECT_EQ(image.pixelColor(edge), ink) << edge.x() << "," << edge.y();
    }
}

// Only a press of the left button alone that starts on the surface or a title label
// drags the window, whatever the pointer crosses before the release; a press on any
// control never does. The position is saved when the drag ends, "Top" then "Left".
// The right button alone there opens the menu.
TEST_F(ChromeTest, OnlyAPressOnTheSurfaceOrATitleLabelDragsOrOpensTheMenu) {
    window_->move(40, 60);
    QWindow* handle = window_->windowHandle();
    const QPoint surface(px(60), px(1500));  // the margin beside the list
    const auto centre = [this](QWidget* control) {
        return control->mapTo(window_.get(), control->rect().center());
    };
    const struct {
        const char* name;
        QPoint pressedAt;
        Qt::MouseButtons buttons;
        bool drags, menu;
    } cases[] = {
        {"surface", surface, Qt::LeftButton, true, false},
        {"title", centre(&window_->titleLabel()), Qt::LeftButton, true, false},
        {"count", centre(&window_->countLabel()), Qt::LeftButton, true, false},
        {"surface, right", surface, Qt::RightButton, false, true},
        {"title, right", centre(&window_->titleLabel()), Qt::RightButton, false, true},
        {"surface, both", surface, Qt::LeftButton | Qt::RightButton, false, false},
        {"roll glyph", centre(&window_->rollGlyph()), Qt::LeftButton, false, false},
        {"roll glyph, right", centre(&window_->rollGlyph()), Qt::RightButton, false, false},
        {"close glyph", centre(&window_->closeGlyph()), Qt::LeftButton, false, false},
        {"Search", centre(&window_->modeButton()), Qt::LeftButton, false, false},
        {"Search, right", centre(&window_->modeButton()), Qt::RightButton, false, false},
        {"Update", centre(&window_->updateButton()), Qt::LeftButton, false, false},
        {"box", centre(&window_->searchBox()), Qt::LeftButton, false, false},
        {"list", centre(&window_->resultView()), Qt::LeftButton, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        recorder_.dragRequests = 0;
        recorder_.settingWrites.clear();
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            if (c.buttons.testFlag(button)) {
                QTest::mousePress(handle, button, {}, c.pressedAt);
            }
        }
        EXPECT_EQ(window_->menu().isVisible(), c.menu);
        window_->menu().hide();
        // A few pixels, over the surface, and let go there.
        const QPoint releasedAt = surface + QPoint(6, 9);
        QTest::mouseMove(handle, surface + QPoint(3, 0));
        QTest::mouseMove(handle, releasedAt);
        for (const Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
            if (c.buttons.testFlag(button)) {
                QTest::mouseRelease(handle, button, {}, releasedAt);
            }
        }
        EXPECT_EQ(recorder_.dragRequests, c.drags ? 1 : 0);
        const QStringList saved = c.drags ? QStringList{"Top=900", "Left=600"} : QStringList{};
        EXPECT_EQ(recorder_.settingWrites, saved);
    }
}

TEST_F(ChromeTest, TheRollGlyphRollsUpToTheTitleStripAndDownAgain) {
    const int width = window_->width();
    const std::pair<int, Glyph> afterEachClick[] = {{px(350), Glyph::DownTriangle},
                                                    {px(3595), Glyph::UpTriangle},
                                                    {px(350), Glyph::DownTriangle},
                                                    {px(3595), Glyph::UpTriangle}};
    for (const auto& [height, glyph] : afterEachClick) {
        QTest::mouseClick(&window_->rollGlyph(), Qt::LeftButton);
        EXPECT_EQ(window_->height(), height);
        EXPECT_EQ(window_->rollGlyph().glyph(), glyph);
        EXPECT_EQ(window_->width(), width);
    }
    QTest::mouseClick(&window_->rollGlyph(), Qt::RightButton);  // only the left button counts
    EXPECT_FALSE(window_->isRolledUp());
    // Rolled down, the window is taller than it was painted for: its last row carries
    // the painted background on, with no unpainted strip.
    const QImage shown = window_->grab().toImage();
    const int bottom = shown.height() - 1;
    for (const int x : {2, width / 2, width - 3}) {
        EXPECT_EQ(shown.pixelColor(x, bottom), shown.pixelColor(x, bottom - 2)) << x;
    }
}

// Esc from any control, or the close glyph, saves the position and ends the program.
TEST_F(ChromeTest, EscapeFromAnyControlAndTheCloseGlyphEndTheProgram) {
    window_->move(30, 45);
    for (QWidget* control :
         {static_cast<QWidget*>(&window_->searchBox()), static_cast<QWidget*>(&window_->resultView()),
          static_cast<QWidget*>(&window_->modeButton())}) {
        SCOPED_TRACE(control->objectName().toStdString());
        recorder_.processEndRequests = 0;
        recorder_.settingWrites.clear();
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_EQ(recorder_.processEndRequests, 1);
        EXPECT_EQ(recorder_.settingWrites, (QStringList{"Top=675", "Left=450"}));
    }
    window_->searchBox().setText("notes");
    QTest::keyClick(&window_->searchBox(), Qt::Key_Escape);
    EXPECT_EQ(window_->searchBox().text(), "notes");  // the box never saw the key

    recorder_.processEndRequests = 0;
    QTest::mouseClick(&window_->closeGlyph(), Qt::LeftButton);
    EXPECT_EQ(recorder_.processEndRequests, 1);

    // Esc in the open menu closes the menu only.
    recorder_.processEndRequests = 0;
    window_->menu().popup(window_->mapToGlobal(QPoint(10, 10)));
    QTest::keyClick(&window_->menu(), Qt::Key_Escape);
    EXPECT_FALSE(window_->menu().isVisible());
    EXPECT_EQ(recorder_.processEndRequests, 0);
}

}  // namespace
}  // namespace kwiklet::test
