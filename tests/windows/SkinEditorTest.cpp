// The skin editor on a real main window: what each opening loads, what each control
// repaints (read back from the rendered previews and windows), and what reaches the main
// window and the saved settings only through "Update form background".

#include "support/MainWindowFixture.h"

#include "appearance/PaintedBox.h"
#include "windows/SkinEditor.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <array>

namespace kwiklet::test {
namespace {

// Everything the editor and the main window show, to find out what a step repainted.
struct Pictures {
    QImage red, green, blue, composite, editor, main;
};

class SkinEditorTest : public MainWindowFixture {
protected:
    SkinEditor& open() {
        window_->openSkinEditor();
        EXPECT_NE(topLevel<SkinEditor>(), nullptr);
        return *topLevel<SkinEditor>();
    }
    // Closes the editor as its "Close" button does and lets Qt delete it.
    static void close(SkinEditor& editor) {
        editor.closeButton().click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Pictures pictures(SkinEditor& editor) const {
        return {editor.preview(Channel::Red).background().image(), editor.preview(Channel::Green).background().image(),
                editor.preview(Channel::Blue).background().image(), editor.compositePreview().background().image(),
                editor.background().image(),           window_->background().image()};
    }
    static void saveSkin(const char* red, const char* green, const char* blue,
                         const char* transparency) {
        settings::write(settings::kSkinRed, red);
        settings::write(settings::kSkinGreen, green);
        settings::write(settings::kSkinBlue, blue);
        settings::write(settings::kTransparency, transparency);
    }
};

// The colour the image shows in its first and last rows, in the middle column.
QColor topOf(const QImage& image) {
    return image.pixelColor(image.width() / 2, 0);
}
QColor bottomOf(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() - 1);
}

bool allBlack(const QImage& image) {
    QImage black(image.size(), image.format());
    black.fill(Qt::black);
    return image == black;
}

TEST_F(SkinEditorTest, EachOpeningLoadsTheSavedSkinOrTheBuiltInOne) {
    ASSERT_NE(launchOver({{"notes"}}), nullptr);
    const struct {
        const char *red, *green, *blue, *transparency;  // nullptr: nothing saved
        std::array<int, 4> sliders;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, {133, 128, 233, 255}},
        {"10", "200", "30", "128", {10, 200, 30, 128}},
        {"0", "255", "0", "0", {0, 255, 0, 0}},
        // What the sliders cannot show: a colour's nearer end, the default for no number,
        // and opaque for a level that leaves the main window opaque.
        {"300", "-7", "blue", "x", {255, 0, 233, 255}},
        {"-1", "12.6", "", "999", {0, 13, 233, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.red
                         ? std::string(c.red) + "/" + c.green + "/" + c.blue + "/" + c.transparency
                         : std::string("nothing saved"));
        if (c.red) {
            saveSkin(c.red, c.green, c.blue, c.transparency);
        }
        recorder_.opacityRequests.clear();
        recorder_.settingWrites.clear();
        SkinEditor* editor = &open();
        EXPECT_TRUE(editor->isVisible());
        EXPECT_FALSE(editor->isModal());
        const std::array<int, 4> sliders{editor->slider(Channel::Red).value(), editor->slider(Channel::Green).value(),
                                         editor->slider(Channel::Blue).value(), editor->transparencySlider().value()};
        EXPECT_EQ(sliders, c.sliders);
        EXPECT_EQ(editor->channelLabel(Channel::Red).text(), QStringLiteral("Red = %1").arg(c.sliders[0]));
        // Every text shows whole in this machine's fonts.
        for (QLabel* label : editor->findChildren<QLabel*>()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        }
        // The editor itself takes the saved level; the main window is left alone.
        EXPECT_EQ(recorder_.opacityRequests.back(),
                  (std::pair<QString, int>{"skinEditor", c.sliders[3]}));
        // The editor's background and the composite start from the sliders' colour, from
        // the top; the single-channel previews carry only their own channel.
        const QColor start(c.sliders[0], c.sliders[1], c.sliders[2]);
        EXPECT_EQ(editor->background().image().pixelColor(3, 1), start);
        const QColor red = topOf(editor->preview(Channel::Red).background().image());
        EXPECT_EQ(red.green() + red.blue(), 0);
        EXPECT_NEAR(red.red(), c.sliders[0], 8);
        EXPECT_NEAR(topOf(editor->preview(Channel::Green).background().image()).green(), c.sliders[1], 8);
        EXPECT_NEAR(topOf(editor->preview(Channel::Blue).background().image()).blue(), c.sliders[2], 8);
        EXPECT_NEAR(topOf(editor->compositePreview().background().image()).blue(), c.sliders[2], 8);
        EXPECT_TRUE(recorder_.settingWrites.isEmpty());
        close(*editor);
    }
}

// A slider repaints its own preview and the composite; nothing else changes, neither the
// editor's background nor the main window nor the saved skin.
TEST_F(SkinEditorTest, ASliderRepaintsOnlyItsOwnPreviewAndTheComposite) {
    ASSERT_NE(launchOver({{"notes"}}), nullptr);
    SkinEditor& editor = open();
    const struct {
        QSlider* slider;
        QLabel* label;
        QString caption;
        QImage Pictures::*own;
    } cases[] = {
        {&editor.slider(Channel::Red), &editor.channelLabel(Channel::Red), "Red = 0", &Pictures::red},
        {&editor.slider(Channel::Green), &editor.channelLabel(Channel::Green), "Green = 0", &Pictures::green},
        {&editor.slider(Channel::Blue), &editor.channelLabel(Channel::Blue), "Blue = 0", &Pictures::blue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        const Pictures before = pictures(editor);
        recorder_.settingWrites.clear();
        c.slider->setFocus();
        QTest::keyClick(c.slider, Qt::Key_Home);  // to 0, as a user would
        ASSERT_EQ(c.slider->value(), 0);

        const Pictures after = pictures(editor);
        EXPECT_EQ(c.label->text(), c.caption);
        EXPECT_TRUE(allBlack(after.*c.own));
        EXPECT_NE(after.composite, before.composite);
        for (QImage Pictures::*other : {&Pictures::red, &Pictures::green, &Pictures::blue}) {
            if (other != c.own) {
                EXPECT_EQ(after.*other, before.*other);
            }
        }
        EXPECT_EQ(after.editor, before.editor);
        EXPECT_EQ(after.main, before.main);
        EXPECT_TRUE(recorder_.settingWrites.isEmpty());
    }
    // All three at 0: the composite is black too.
    EXPECT_TRUE(allBlack(pictures(editor).composite));
}

// Clearing "Top to bottom" turns the four previews over; the editor's background and
// the main window wait for "Update form background".
TEST_F(SkinEditorTest, TheDirectionBoxRepaintsTheFourPreviews) {
    ASSERT_NE(launchOver({{"notes"}}), nullptr);
    SkinEditor& editor = open();
    const Pictures before = pictures(editor);
    editor.topToBottomBox().click();
    ASSERT_FALSE(editor.topToBottomBox().isChecked());

    const Pictures after = pictures(editor);
    for (QImage Pictures::*preview :
         {&Pictures::red, &Pictures::green, &Pictures::blue, &Pictures::composite}) {
        EXPECT_EQ(bottomOf(after.*preview), topOf(before.*preview));
        EXPECT_EQ(topOf(after.*preview), bottomOf(before.*preview));
    }
    EXPECT_EQ(after.editor, before.editor);
    EXPECT_EQ(after.main, before.main);
}

// "Update form background" paints the editor and the main window with the sliders'
// colour in the box's direction, saves the skin in a fixed order and makes the main
// window as transparent as chosen.
TEST_F(SkinEditorTest, UpdateAppliesAndSavesTheEditedSkin) {
    const struct {
        int red, green, blue, transparency;
        bool topToBottom;
        QString direction;
    } cases[] = {
        {200, 100, 50, 128, true, "True"},
        {255, 0, 255, 0, false, "False"},
    };
    ASSERT_NE(launchOver({{"notes"}}), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.direction.toStdString());
        SkinEditor& editor = open();
        editor.slider(Channel::Red).setValue(c.red);
        editor.slider(Channel::Green).setValue(c.green);
        editor.slider(Channel::Blue).setValue(c.blue);
        editor.transparencySlider().setValue(c.transparency);
        editor.topToBottomBox().setChecked(c.topToBottom);
        recorder_.settingWrites.clear();
        recorder_.opacityRequests.clear();

        editor.applyButton().click();

        EXPECT_EQ(recorder_.settingWrites,
                  (QStringList{QStringLiteral("firstVal=%1").arg(c.red),
                               QStringLiteral("secondVal=%1").arg(c.green),
                               QStringLiteral("thirdVal=%1").arg(c.blue),
                               QStringLiteral("TransVal=%1").arg(c.transparency),
                               "TopToBottom=" + c.direction}));
        EXPECT_EQ(recorder_.opacityRequests, (Levels{{"mainWindow", c.transparency}}));
        const QColor start(c.red, c.green, c.blue);
        const QImage main = window_->grab().toImage();
        // Inside the frame along the main window's edge.
        EXPECT_EQ(main.pixelColor(3, c.topToBottom ? 2 : main.height() - 3), start);
        const QImage& own = editor.background().image();
        EXPECT_EQ(own.pixelColor(3, c.topToBottom ? 1 : own.height() - 2), start);
        // The slider positions are not darkened by the paints.
        EXPECT_EQ(editor.slider(Channel::Red).value(), c.red);
        close(editor);
    }
}

// "Close" throws the unsaved edit away: the main window and the settings keep what
// they had; only the editor took the level chosen.
TEST_F(SkinEditorTest, CloseWithoutUpdateLeavesEverythingAsItWas) {
    ASSERT_NE(launchOver({{"notes"}}), nullptr);
    SkinEditor& first = open();
    const QImage mainBefore = window_->background().image();
    recorder_.settingWrites.clear();
    recorder_.opacityRequests.clear();
    first.slider(Channel::Red).setValue(250);
    first.transparencySlider().setValue(40);
    first.topToBottomBox().click();
    close(first);
    ASSERT_FALSE(isSkinEditorOpen());

    EXPECT_EQ(window_->background().image(), mainBefore);
    EXPECT_TRUE(recorder_.settingWrites.isEmpty());
    EXPECT_EQ(recorder_.opacityRequests, (Levels{{"skinEditor", 40}}));
}

// The button and the menu reach the one editor; opening it again only brings it to the
// front with its unsaved positions. Closing the main window (as the window manager does)
// leaves the editor open, and the program runs on until it is closed too.
TEST_F(SkinEditorTest, OneEditorThatOutlivesTheMainWindowsClosing) {
    ASSERT_NE(launchOver({{"notes"}}), nullptr);
    window_->show();
    SkinEditor& editor = open();
    editor.slider(Channel::Green).setValue(7);
    window_->runMenuCommand(MenuCommand::Skinz);  // "Skinz"
    window_->skinButton().click();
    EXPECT_EQ(&open(), &editor);
    EXPECT_EQ(editor.slider(Channel::Green).value(), 7);

    EXPECT_EQ(runProgram([this] { window_->close(); }), kStillRunning);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_FALSE(window_->isVisible());
    // No window left: the program ends.
    EXPECT_EQ(runProgram([&editor] { editor.closeButton().click(); }), 0);
}

}  // namespace
}  // namespace kwiklet::test
