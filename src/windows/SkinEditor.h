#pragma once

// The skin editor, "Gradient Background Demonstration": three sliders choose the start
// colour of the gradient, a check box its direction, a fourth slider the main window's
// transparency. Previews follow the sliders; nothing reaches the main window or the
// saved settings until "Update form background". One instance at most.

#include "appearance/PaintedBackground.h"

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace kwiklet {

class PaintedBox;

// A colour channel of the gradient's start colour.
enum class Channel { Red, Green, Blue };

class SkinEditor : public QWidget {
    Q_OBJECT
public:
    // Loads the saved skin into the controls and paints the previews and the editor.
    void loadSavedSkin();
    // Paints the editor and the main window with the edited skin and saves it.
    void applyEditedSkin();

    // The controls, by colour and role.
    QSlider& slider(Channel channel) const { return *controlsOf(channel).slider; }
    QLabel& channelLabel(Channel channel) const { return *controlsOf(channel).label; }
    PaintedBox& preview(Channel channel) const { return *controlsOf(channel).preview; }
    PaintedBox& compositePreview() const { return *compositePreview_; }
    QSlider& transparencySlider() const { return *transparencySlider_; }
    QCheckBox& topToBottomBox() const { return *topToBottomBox_; }
    QPushButton& applyButton() const { return *applyButton_; }
    QPushButton& closeButton() const { return *closeButton_; }
    PaintedBackground& background() { return *background_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct ChannelControls {
        QSlider* slider = nullptr;
        QLabel* label = nullptr;        // "Red = 133"
        PaintedBox* preview = nullptr;  // the channel alone
    };

    SkinEditor(QWidget& mainWindow, GradientSurface& mainBackground);
    friend SkinEditor& showSkinEditor(QWidget&, GradientSurface&);

    const ChannelControls& controlsOf(Channel channel) const {
        return channels_[static_cast<std::size_t>(channel)];
    }
    QWidget* createPanel();
    void createChannels(QWidget* panel);
    void createTransparencyControls(QWidget* panel);
    void connectControls();
    // A slider of the channel moved: its label, its own preview and the composite.
    void onChannelChanged(Channel channel);
    void onTransparencyChanged();
    // Paints the surface with fresh copies of the colour, in the box's direction.
    void paint(GradientSurface& surface, int red, int green, int blue);
    void paintPreviews();
    // The three channel labels, from the sliders.
    void showChannelValues();
    bool topToBottom() const;
    int value(Channel channel) const;

    QWidget& mainWindow_;
    GradientSurface& mainBackground_;
    std::array<ChannelControls, 3> channels_{};
    PaintedBox* compositePreview_ = nullptr;
    QSlider* transparencySlider_ = nullptr;
    QCheckBox* topToBottomBox_ = nullptr;
    QPushButton* applyButton_ = nullptr;  // "Update form background"
    QPushButton* closeButton_ = nullptr;
    std::optional<PaintedBackground> background_;
};

// Shows the skin editor for the main window without blocking it, opening it first if it
// is not open; an editor already open only comes to the front.
SkinEditor& showSkinEditor(QWidget& mainWindow, GradientSurface& mainBackground);
bool isSkinEditorOpen();
// Closes the editor at once, if it is open: the main window it paints is going away.
void closeSkinEditor();

}  // namespace kwiklet
