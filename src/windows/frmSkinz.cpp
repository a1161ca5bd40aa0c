#include "windows/frmSkinz.h"

#include "appearance/Fonts.h"
#include "appearance/PaintedBox.h"
#include "appearance/Skin.h"
#include "appearance/Transparency.h"
#include "common/Conversions.h"
#include "common/ErrorTrap.h"
#include "common/TwipLayout.h"
#include "platform/Platform.h"
#include "store/Settings.h"
#include "windows/SingleWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

namespace kwiklet {
namespace {

constexpr int kWidthTwips = 7695;
constexpr int kHeightTwips = 4230;

QPointer<frmSkinz>& instance() {
    static QPointer<frmSkinz> window;
    return window;
}

// A saved value for a slider, or the slider's default when none is saved or what is
// saved is not a number; the slider keeps it within its range.
int savedPosition(const QString& key, int defaultValue) {
    int position = defaultValue;
    catchError([&] { position = toInt32(settings::read(key, QString::number(defaultValue))); });
    return position;
}

// The saved transparency level. One outside 0 to 255 leaves the main window opaque, so
// the slider shows it opaque too rather than at its nearer end (which, for a negative
// level, would make the editor vanish as it opens).
int savedLevel() {
    const int level = savedPosition(settings::kTransparency, kOpaque);
    return level >= 0 && level <= kOpaque ? level : kOpaque;
}

QSlider* slider(QWidget* panel, int value, int largeStep) {
    auto* control = new QSlider(Qt::Horizontal, panel);
    control->setRange(0, 255);
    control->setSingleStep(1);
    control->setPageStep(largeStep);
    control->setValue(value);
    return control;
}

// White text on the panel, its background showing through.
QLabel* label(QWidget* panel, const QString& text) {
    auto* control = new QLabel(text, panel);
    QPalette white = control->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    control->setPalette(white);
    return control;
}

// Widens a label placed in twips to its text where this machine's font draws it wider
// than the face it was laid out for: nothing lies to the right of these labels.
void showWholeText(QLabel& label) {
    label.resize(std::max(label.width(), label.sizeHint().width()), label.height());
}

}  // namespace

// The editor is a window of its own, not one the main window owns: it stays open when
// the main window is closed, and the program lives on while it is open.
frmSkinz::frmSkinz(QWidget& mainWindow, GradientSurface& mainBackground)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow),
      mainBackground_(mainBackground) {
    setObjectName(QStringLiteral("frmSkinz"));
    setWindowTitle(QStringLiteral("Gradient Background Demonstration"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(fonts::interfaceFont(8));
    setFixedSize(pixelsFromTwips(kWidthTwips), pixelsFromTwips(kHeightTwips));
    platform().keepWindowSize(*this);
    background_.emplace(*this, size(), palette().color(QPalette::Window));

    SSPanel1 = new QWidget(this);
    placeInTwips(*SSPanel1, 480, 360, 6735, 3555);
    QPalette panel = SSPanel1->palette();
    panel.setColor(QPalette::Window, QColor(120, 116, 152));
    SSPanel1->setPalette(panel);
    SSPanel1->setAutoFillBackground(true);

    Slider1 = slider(SSPanel1, 133, 10);
    placeInTwips(*Slider1, 600, 360, 3375, 375);
    Slider2 = slider(SSPanel1, 128, 10);
    placeInTwips(*Slider2, 600, 840, 3375, 375);
    Slider3 = slider(SSPanel1, 233, 10);
    placeInTwips(*Slider3, 600, 1320, 3375, 375);

    QFont channelFont = fonts::serifFont(8.25);
    channelFont.setBold(true);
    Label1 = label(SSPanel1, QStringLiteral("Red = 133"));
    placeInTwips(*Label1, 4800, 240, 975, 255);
    Label2 = label(SSPanel1, QStringLiteral("Green = 128"));
    placeInTwips(*Label2, 4800, 840, 975, 255);
    Label3 = label(SSPanel1, QStringLiteral("Blue = 233"));
    placeInTwips(*Label3, 4800, 1440, 975, 255);
    Label4 = label(SSPanel1, QStringLiteral("Composite"));
    placeInTwips(*Label4, 4800, 2040, 855, 255);
    for (QLabel* channel : {Label1, Label2, Label3, Label4}) {
        channel->setFont(channelFont);
    }

    const QSize preview(pixelsFromTwips(735), pixelsFromTwips(375));
    Picture1 = new PaintedBox(SSPanel1, preview);
    placeInTwips(*Picture1, 5760, 120, 735, 375);
    Picture2 = new PaintedBox(SSPanel1, preview);
    placeInTwips(*Picture2, 5760, 720, 735, 375);
    Picture3 = new PaintedBox(SSPanel1, preview);
    placeInTwips(*Picture3, 5760, 1320, 735, 375);
    Picture4 = new PaintedBox(SSPanel1, preview);
    placeInTwips(*Picture4, 5760, 1920, 735, 375);

    Check1 = new QCheckBox(QStringLiteral("Top to bottom"), SSPanel1);
    placeInTwips(*Check1, 240, 2280, 1335, 255);
    Check1->setChecked(true);
    Command1 = new QPushButton(QStringLiteral("Update form background"), SSPanel1);
    placeInTwips(*Command1, 3480, 2400, 2055, 315);
    Command3 = new QPushButton(QStringLiteral("Close"), SSPanel1);
    placeInTwips(*Command3, 5640, 2400, 975, 315);

    Label5[0] = label(SSPanel1, QStringLiteral("Set Window Transparency *"));
    placeInTwips(*Label5[0], 480, 2700, 1995, 195);
    Slider4 = slider(SSPanel1, 0, 5);
    placeInTwips(*Slider4, 2820, 2760, 3255, 195);
    Label5[1] = label(SSPanel1, QStringLiteral("Transparent"));
    placeInTwips(*Label5[1], 2520, 2940, 855, 195);
    Label5[2] = label(SSPanel1, QStringLiteral("Opaque"));
    placeInTwips(*Label5[2], 5700, 2940, 615, 195);
    Label5[3] = label(
        SSPanel1, QStringLiteral("* Transparency will not work unless you have Windows 2000/XP"));
    placeInTwips(*Label5[3], 0, 3240, 5355, 195);

    for (QLabel* text : Label5) {
        showWholeText(*text);
    }

    // Every step of a slider counts, while it is dragged as much as by the keys: the
    // labels and previews always show where it stands.
    connect(Slider1, &QSlider::valueChanged, this, &frmSkinz::Slider1_Change);
    connect(Slider2, &QSlider::valueChanged, this, &frmSkinz::Slider2_Change);
    connect(Slider3, &QSlider::valueChanged, this, &frmSkinz::Slider3_Change);
    connect(Slider4, &QSlider::valueChanged, this, &frmSkinz::Slider4_Change);
    connect(Check1, &QCheckBox::clicked, this, &frmSkinz::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmSkinz::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frmSkinz::Command3_Click);
}

bool frmSkinz::topToBottom() const {
    return Check1->isChecked();
}

void frmSkinz::paint(GradientSurface& surface, int red, int green, int blue) {
    std::int32_t r = red, g = green, b = blue;
    const bool direction = topToBottom();
    PaintGradient(surface, r, g, b, direction);
}

void frmSkinz::paintPreviews() {
    const int red = Slider1->value(), green = Slider2->value(), blue = Slider3->value();
    paint(Picture1->background(), red, 0, 0);
    paint(Picture2->background(), 0, green, 0);
    paint(Picture3->background(), 0, 0, blue);
    paint(Picture4->background(), red, green, blue);
}

void frmSkinz::showChannelValues() {
    Label1->setText(QStringLiteral("Red = %1").arg(Slider1->value()));
    Label2->setText(QStringLiteral("Green = %1").arg(Slider2->value()));
    Label3->setText(QStringLiteral("Blue = %1").arg(Slider3->value()));
}

void frmSkinz::Form_Resize() {
    {
        // Loading the sliders is no change of the user's: everything is painted once,
        // below, whether or not a position moved.
        const QSignalBlocker red(Slider1), green(Slider2), blue(Slider3), level(Slider4);
        Slider1->setValue(savedPosition(settings::kSkinRed, kBuiltInSkin.red));
        Slider2->setValue(savedPosition(settings::kSkinGreen, kBuiltInSkin.green));
        Slider3->setValue(savedPosition(settings::kSkinBlue, kBuiltInSkin.blue));
        CreateTransparentWindowStyle(*this);
        Slider4->setValue(savedLevel());
    }
    WindowTransparency(*this, kOpacityMode, 0, Slider4->value());
    showChannelValues();
    paintPreviews();
    paint(*background_, Slider1->value(), Slider2->value(), Slider3->value());
}

void frmSkinz::Slider1_Change() {
    showChannelValues();
    paint(Picture1->background(), Slider1->value(), 0, 0);
    paint(Picture4->background(), Slider1->value(), Slider2->value(), Slider3->value());
}

void frmSkinz::Slider2_Change() {
    showChannelValues();
    paint(Picture2->background(), 0, Slider2->value(), 0);
    paint(Picture4->background(), Slider1->value(), Slider2->value(), Slider3->value());
}

void frmSkinz::Slider3_Change() {
    showChannelValues();
    paint(Picture3->background(), 0, 0, Slider3->value());
    paint(Picture4->background(), Slider1->value(), Slider2->value(), Slider3->value());
}

void frmSkinz::Slider4_Change() {
    WindowTransparency(*this, kOpacityMode, 0, Slider4->value());
}

void frmSkinz::Check1_Click() {
    paintPreviews();
}

void frmSkinz::Command1_Click() {
    const int red = Slider1->value(), green = Slider2->value(), blue = Slider3->value();
    paint(*background_, red, green, blue);
    paint(mainBackground_, red, green, blue);
    settings::write(settings::kSkinRed, QString::number(red));
    settings::write(settings::kSkinGreen, QString::number(green));
    settings::write(settings::kSkinBlue, QString::number(blue));
    settings::write(settings::kTransparency, QString::number(Slider4->value()));
    // The direction is kept too, so that the next start skins the main window the way
    // it was applied.
    settings::write(settings::kTopToBottom,
                    topToBottom() ? QStringLiteral("True") : QStringLiteral("False"));
    WindowTransparency(mainWindow_, kOpacityMode, 0, Slider4->value());
}

void frmSkinz::Command3_Click() {
    close();
}

void frmSkinz::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmSkinz::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background_->draw(painter);
}

frmSkinz& ShowSkinEditor(QWidget& mainWindow, GradientSurface& mainBackground) {
    return showSingleWindow(instance(), [&] { return new frmSkinz(mainWindow, mainBackground); });
}

bool IsSkinEditorLoaded() {
    return !instance().isNull();
}

void UnloadSkinEditor() {
    delete instance().data();
}

}  // namespace kwiklet
