#pragma once

// The skin editor, "Gradient Background Demonstration": three sliders choose the start
// colour of the gradient, a check box its direction, a fourth slider the main window's
// transparency. Previews follow the sliders; nothing reaches the main window or the
// saved settings until "Update form background". One instance at most.

#include "appearance/BackImage.h"

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace kwiklet {

class PaintedBox;

class frmSkinz : public QWidget {
    Q_OBJECT
public:
    QWidget* SSPanel1 = nullptr;
    QSlider* Slider1 = nullptr;  // red
    QSlider* Slider2 = nullptr;  // green
    QSlider* Slider3 = nullptr;  // blue
    QSlider* Slider4 = nullptr;  // transparency level
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    PaintedBox* Picture1 = nullptr;   // red alone
    PaintedBox* Picture2 = nullptr;   // green alone
    PaintedBox* Picture3 = nullptr;   // blue alone
    PaintedBox* Picture4 = nullptr;   // the three together
    QCheckBox* Check1 = nullptr;      // top to bottom
    QPushButton* Command1 = nullptr;  // "Update form background"
    QPushButton* Command3 = nullptr;  // "Close"
    std::array<QLabel*, 4> Label5{};

    // Loads the saved skin into the controls and paints the previews and the editor.
    void Form_Resize();
    void Slider1_Change();
    void Slider2_Change();
    void Slider3_Change();
    void Slider4_Change();
    void Check1_Click();
    // Paints the editor and the main window with the edited skin and saves it.
    void Command1_Click();
    void Command3_Click();

    BackImage& background() { return *background_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    frmSkinz(QWidget& mainWindow, GradientSurface& mainBackground);
    friend frmSkinz& ShowSkinEditor(QWidget&, GradientSurface&);

    // Paints the surface with fresh copies of the sliders' colour, in the box's direction.
    void paint(GradientSurface& surface, int red, int green, int blue);
    void paintPreviews();
    // The three channel labels, from the sliders.
    void showChannelValues();
    bool topToBottom() const;

    QWidget& mainWindow_;
    GradientSurface& mainBackground_;
    std::optional<BackImage> background_;
};

// Shows the skin editor for the main window without blocking it, loading it first if it
// is not loaded; an editor already open only comes to the front.
frmSkinz& ShowSkinEditor(QWidget& mainWindow, GradientSurface& mainBackground);
bool IsSkinEditorLoaded();
// Unloads the editor at once, if it is loaded: the main window it paints is going away.
void UnloadSkinEditor();

}  // namespace kwiklet
