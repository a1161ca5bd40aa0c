#include "windows/AboutWindow.h"

#include "appearance/Fonts.h"
#include "common/TwipLayout.h"
#include "common/Version.h"
#include "platform/Platform.h"
#include "windows/SingleWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

namespace kwiklet {
namespace {

constexpr int kWidthTwips = 4890;
// The gradient is painted for the window as designed; then it is shortened to 3075 and
// only the upper bands remain visible.
constexpr int kDesignHeightTwips = 3600;
constexpr int kShownHeightTwips = 3075;

QPointer<AboutWindow>& instance() {
    static QPointer<AboutWindow> window;
    return window;
}

QLabel* label(QWidget* window, const QString& text, const QColor& colour, const QFont& font) {
    auto* control = new QLabel(text, window);
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
    control->setFont(font);
    return control;
}

}  // namespace

AboutWindow::AboutWindow(std::function<void()> onContinue, std::function<void()> beforeEnd)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      onContinue_(std::move(onContinue)),
      beforeEnd_(std::move(beforeEnd)),
      heightTwips_(kDesignHeightTwips) {
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(QStringLiteral("About Kwiklet"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(fonts::interfaceFont(8));
    setFixedSize(pixelsFromTwips(kWidthTwips), pixelsFromTwips(kDesignHeightTwips));
    platform().keepWindowSize(*this);
    background_.emplace(*this, size(), palette().color(QPalette::Window));
    background_->setSizeInTwips([this] { return QSize(kWidthTwips, heightTwips_); });

    createLabels();
    continueButton_ = new QPushButton(QStringLiteral("&Continue..."), this);
    placeInTwips(*continueButton_, 3780, 2970, 975, 285);
    connect(continueButton_, &QPushButton::clicked, this, &AboutWindow::continueToMainWindow);
    // The window sees every key before its controls do.
    for (QWidget* control : findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }
    paintOwnSkin();
}

void AboutWindow::createLabels() {
    QFont titleFont = fonts::trebuchetFont(14.25);
    titleFont.setBold(true);
    QLabel* title = label(this, QStringLiteral("Kwiklet"), QColor(255, 255, 0), titleFont);
    title->move(pixelsFromTwips(450), pixelsFromTwips(180));
    title->adjustSize();
    QLabel* copyright = label(this,
                              QStringLiteral("Copyright \u00A9 2026 the Kwiklet developers.\n"
                                             "All rights reserved."),
                              Qt::white, fonts::tahomaFont(8.25));
    placeInTwips(*copyright, 450, 780, 3315, 435);
    QLabel* version =
        label(this, QStringLiteral("Version: ") + kAppVersion, Qt::white, fonts::tahomaFont(8.25));
    version->move(pixelsFromTwips(450), pixelsFromTwips(1215));
    version->adjustSize();
    thanks_ = label(this, QString(), Qt::white, font());
    thanks_->setWordWrap(true);
    thanks_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeInTwips(*thanks_, 450, 1515, 3885, 960);
}

void AboutWindow::paintOwnSkin() {
    // The About window paints its own colours over whatever red the last skinned paint
    // left in the shared skin.
    SkinState& skin = skinState();
    skin.green = 214;
    skin.blue = 192;
    skin.topToBottom = true;
    paintGradient(*background_, skin.red, skin.green, skin.blue, skin.topToBottom);
    heightTwips_ = kShownHeightTwips;
    setFixedHeight(pixelsFromTwips(kShownHeightTwips));
    continueButton_->move(continueButton_->x(), pixelsFromTwips(2700));
    thanks_->setText(QStringLiteral("Thank you for using Kwiklet"));
}

void AboutWindow::continueToMainWindow() {
    const std::function<void()> onContinue = onContinue_;
    close();
    if (onContinue) {
        onContinue();
    }
}

void AboutWindow::onEscape() {
    if (beforeEnd_) {
        beforeEnd_();
    }
    platform().endProcess();
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        onEscape();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        onEscape();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background_->draw(painter);
    // The line above the Continue button.
    painter.setPen(QColor(127, 157, 185));
    const int top = pixelsFromTwips(2610);
    painter.drawLine(pixelsFromTwips(120), top, pixelsFromTwips(4800), top);
}

AboutWindow& showAboutWindow(bool modal, std::function<void()> onContinue,
                          std::function<void()> beforeEnd) {
    return showSingleWindow(instance(), [&] {
        auto* window = new AboutWindow(std::move(onContinue), std::move(beforeEnd));
        window->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
        const QSize screen = platform().screenMetrics().pixels;
        window->move((screen.width() - window->width()) / 2,
                     (screen.height() - window->height()) / 2);
        return window;
    });
}

bool isAboutWindowOpen() {
    return !instance().isNull();
}

}  // namespace kwiklet
