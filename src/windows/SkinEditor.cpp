#include "windows/SkinEditor.h"

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

QPointer<SkinEditor>& instance() {
    static QPointer<SkinEditor> window;
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

QSlider* makeSlider(QWidget* panel, int value, int largeStep) {
    auto* control = new QSlider(Qt::Horizontal, panel);
    control->setRange(0, 255);
    control->setSingleStep(1);
    control->setPageStep(largeStep);
    control->setValue(value);
    return control;
}

// White text on the panel, its background showing through.
QLabel* makeLabel(QWidget* panel, const QString& text) {
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

// One line of the transparency controls' texts.
void placeNote(QWidget* panel, const char* text, int left, int top, int width) {
    QLabel* note = makeLabel(panel, QString::fromLatin1(text));
    placeInTwips(*note, left, top, width, 195);
    showWholeText(*note);
}

}  // namespace

// The editor is a window of its own, not one the main window owns: it stays open when
// the main window is closed, and the program lives on while it is open.
SkinEditor::SkinEditor(QWidget& mainWindow, GradientSurface& mainBackground)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow),
      mainBackground_(mainBackground) {
    setObjectName(QStringLiteral("skinEditor"));
    setWindowTitle(QStringLiteral("Gradient Background Demonstration"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(fonts::interfaceFont(8));
    setFixedSize(pixelsFromTwips(kWidthTwips), pixelsFromTwips(kHeightTwips));
    platform().keepWindowSize(*this);
    background_.emplace(*this, size(), palette().color(QPalette::Window));

    QWidget* panel = createPanel();
    // Created in the order Tab moves through them.
    createChannels(panel);
    topToBottomBox_ = new QCheckBox(QStringLiteral("Top to bottom"), panel);
    placeInTwips(*topToBottomBox_, 240, 2280, 1335, 255);
    topToBottomBox_->setChecked(true);
    applyButton_ = new QPushButton(QStringLiteral("Update form background"), panel);
    placeInTwips(*applyButton_, 3480, 2400, 2055, 315);
    closeButton_ = new QPushButton(QStringLiteral("Close"), panel);
    placeInTwips(*closeButton_, 5640, 2400, 975, 315);
    createTransparencyControls(panel);
    connectControls();
}

QWidget* SkinEditor::createPanel() {
    auto* panel = new QWidget(this);
    placeInTwips(*panel, 480, 360, 6735, 3555);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, QColor(120, 116, 152));
    panel->setPalette(colours);
    panel->setAutoFillBackground(true);
    return panel;
}

void SkinEditor::createChannels(QWidget* panel) {
    struct Layout {
        int start;
        const char* name;
        int sliderTop, labelTop, previewTop;
    };
    constexpr Layout kChannels[] = {
        {kBuiltInSkin.red, "Red", 360, 240, 120},
        {kBuiltInSkin.green, "Green", 840, 840, 720},
        {kBuiltInSkin.blue, "Blue", 1320, 1440, 1320},
    };
    QFont channelFont = fonts::serifFont(8.25);
    channelFont.setBold(true);
    const QSize previewSize(pixelsFromTwips(735), pixelsFromTwips(375));
    for (std::size_t i = 0; i < channels_.size(); ++i) {
        const Layout& layout = kChannels[i];
        const QString name = QString::fromLatin1(layout.name);
        ChannelControls& channel = channels_[i];
        channel.slider = makeSlider(panel, layout.start, 10);
        placeInTwips(*channel.slider, 600, layout.sliderTop, 3375, 375);
        channel.slider->setAccessibleName(name);
        channel.label = makeLabel(panel, QStringLiteral("%1 = %2").arg(name).arg(layout.start));
        placeInTwips(*channel.label, 4800, layout.labelTop, 975, 255);
        channel.label->setFont(channelFont);
        channel.preview = new PaintedBox(panel, previewSize);
        placeInTwips(*channel.preview, 5760, layout.previewTop, 735, 375);
    }
    QLabel* composite = makeLabel(panel, QStringLiteral("Composite"));
    placeInTwips(*composite, 4800, 2040, 855, 255);
    composite->setFont(channelFont);
    compositePreview_ = new PaintedBox(panel, previewSize);
    placeInTwips(*compositePreview_, 5760, 1920, 735, 375);
}

void SkinEditor::createTransparencyControls(QWidget* panel) {
    placeNote(panel, "Set Window Transparency *", 480, 2700, 1995);
    transparencySlider_ = makeSlider(panel, 0, 5);
    placeInTwips(*transparencySlider_, 2820, 2760, 3255, 195);
    transparencySlider_->setAccessibleName(QStringLiteral("Transparency"));
    placeNote(panel, "Transparent", 2520, 2940, 855);
    placeNote(panel, "Opaque", 5700, 2940, 615);
    placeNote(panel, "* Transparency will not work unless you have Windows 2000/XP", 0, 3240, 5355);
}

void SkinEditor::connectControls() {
    // Every step of a slider counts, while it is dragged as much as by the keys: the
    // labels and previews always show where it stands.
    for (const Channel channel : {Channel::Red, Channel::Green, Channel::Blue}) {
        connect(&slider(channel), &QSlider::valueChanged, this,
                [this, channel] { onChannelChanged(channel); });
    }
    connect(transparencySlider_, &QSlider::valueChanged, this, &SkinEditor::onTransparencyChanged);
    connect(topToBottomBox_, &QCheckBox::clicked, this, &SkinEditor::paintPreviews);
    connect(applyButton_, &QPushButton::clicked, this, &SkinEditor::applyEditedSkin);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
}

bool SkinEditor::topToBottom() const {
    return topToBottomBox_->isChecked();
}

int SkinEditor::value(Channel channel) const {
    return slider(channel).value();
}

void SkinEditor::paint(GradientSurface& surface, int red, int green, int blue) {
    std::int32_t r = red, g = green, b = blue;
    const bool direction = topToBottom();
    paintGradient(surface, r, g, b, direction);
}

void SkinEditor::paintPreviews() {
    const int red = value(Channel::Red), green = value(Channel::Green), blue = value(Channel::Blue);
    paint(preview(Channel::Red).background(), red, 0, 0);
    paint(preview(Channel::Green).background(), 0, green, 0);
    paint(preview(Channel::Blue).background(), 0, 0, blue);
    paint(compositePreview_->background(), red, green, blue);
}

void SkinEditor::showChannelValues() {
    channelLabel(Channel::Red).setText(QStringLiteral("Red = %1").arg(value(Channel::Red)));
    channelLabel(Channel::Green).setText(QStringLiteral("Green = %1").arg(value(Channel::Green)));
    channelLabel(Channel::Blue).setText(QStringLiteral("Blue = %1").arg(value(Channel::Blue)));
}

void SkinEditor::loadSavedSkin() {
    {
        // Loading the sliders is no change of the user's: everything is painted once,
        // below, whether or not a position moved.
        const QSignalBlocker red(slider(Channel::Red)), green(slider(Channel::Green)),
            blue(slider(Channel::Blue)), level(transparencySlider_);
        slider(Channel::Red).setValue(savedPosition(settings::kSkinRed, kBuiltInSkin.red));
        slider(Channel::Green).setValue(savedPosition(settings::kSkinGreen, kBuiltInSkin.green));
        slider(Channel::Blue).setValue(savedPosition(settings::kSkinBlue, kBuiltInSkin.blue));
        allowTransparency(*this);
        transparencySlider_->setValue(savedLevel());
    }
    setTransparency(*this, transparencySlider_->value());
    showChannelValues();
    paintPreviews();
    paint(*background_, value(Channel::Red), value(Channel::Green), value(Channel::Blue));
}

void SkinEditor::onChannelChanged(Channel channel) {
    showChannelValues();
    const int own = value(channel);
    paint(preview(channel).background(), channel == Channel::Red ? own : 0,
          channel == Channel::Green ? own : 0, channel == Channel::Blue ? own : 0);
    paint(compositePreview_->background(), value(Channel::Red), value(Channel::Green),
          value(Channel::Blue));
}

void SkinEditor::onTransparencyChanged() {
    setTransparency(*this, transparencySlider_->value());
}

void SkinEditor::applyEditedSkin() {
    const int red = value(Channel::Red), green = value(Channel::Green), blue = value(Channel::Blue);
    paint(*background_, red, green, blue);
    paint(mainBackground_, red, green, blue);
    settings::write(settings::kSkinRed, QString::number(red));
    settings::write(settings::kSkinGreen, QString::number(green));
    settings::write(settings::kSkinBlue, QString::number(blue));
    settings::write(settings::kTransparency, QString::number(transparencySlider_->value()));
    // The direction is kept too, so that the next start skins the main window the way
    // it was applied.
    settings::write(settings::kTopToBottom,
                    topToBottom() ? QStringLiteral("True") : QStringLiteral("False"));
    setTransparency(mainWindow_, transparencySlider_->value());
}

void SkinEditor::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    loadSavedSkin();
}

void SkinEditor::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background_->draw(painter);
}

SkinEditor& showSkinEditor(QWidget& mainWindow, GradientSurface& mainBackground) {
    return showSingleWindow(instance(), [&] { return new SkinEditor(mainWindow, mainBackground); });
}

bool isSkinEditorOpen() {
    return !instance().isNull();
}

void closeSkinEditor() {
    delete instance().data();
}

}  // namespace kwiklet
