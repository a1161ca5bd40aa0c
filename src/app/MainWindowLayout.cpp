// The main window's controls: where they stand, in twips converted with the screen's
// resolution, in fonts that make every caption fit the control it is in, and the names
// a screen reader says for them.

#include "app/GlyphLabel.h"
#include "app/MainWindow.h"

#include "appearance/Fonts.h"
#include "common/TwipLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace kwiklet {
namespace {

struct TwipRect {
    int left, top, width, height;
};

void place(QWidget* control, const char* name, TwipRect rect) {
    control->setObjectName(QString::fromLatin1(name));
    placeInTwips(*control, rect.left, rect.top, rect.width, rect.height);
}

}  // namespace

void MainWindow::createControls() {
    setFixedSize(pixelsFromTwips(kClientWidthTwips), pixelsFromTwips(kClientHeightTwips));
    setFont(fonts::interfaceFont(8));
    // The background the skin covers, kept for the window's tallest height.
    background_.emplace(*this,
                        QSize(pixelsFromTwips(kClientWidthTwips), pixelsFromTwips(kRolledDownTwips)),
                        QColor(236, 233, 216));
    background_->setSizeInTwips([this] { return QSize(kClientWidthTwips, heightTwips_); });
    createTitleStrip();
    createButtons();
    createSearchControls();
    setTabOrder(searchBox_, resultView_);
    setTabOrder(resultView_, updateButton_);
    setTabOrder(updateButton_, skinButton_);
    setTabOrder(skinButton_, modeButton_);
}

void MainWindow::createTitleStrip() {
    QFont titleFont = fonts::typewriterFont(8.25);
    titleFont.setBold(true);
    titleLabel_ = new QLabel(QStringLiteral("Kwiklet -"), this);
    countLabel_ = new QLabel(this);
    place(titleLabel_, "titleLabel", {120, 75, 945, 210});
    place(countLabel_, "countLabel", {1140, 75, 105, 210});
    for (QLabel* label : {titleLabel_, countLabel_}) {
        label->setFont(titleFont);
        label->adjustSize();
    }
    rollGlyph_ = new GlyphLabel(Glyph::UpTriangle, this);
    place(rollGlyph_, "rollGlyph", {3840, 32, 270, 285});
    rollGlyph_->setAccessibleName(QStringLiteral("Roll Up"));
    closeGlyph_ = new GlyphLabel(Glyph::Cross, this);
    place(closeGlyph_, "closeGlyph", {4155, 35, 195, 255});
    closeGlyph_->setAccessibleName(QStringLiteral("Close"));
}

void MainWindow::createButtons() {
    updateButton_ = new QPushButton(QStringLiteral("&Update Database"), this);
    place(updateButton_, "updateButton", {120, 420, 1515, 315});
    skinButton_ = new QPushButton(QStringLiteral("Skinz"), this);
    place(skinButton_, "skinButton", {2580, 420, 855, 315});
    modeButton_ = new QPushButton(QStringLiteral("&Search"), this);
    place(modeButton_, "modeButton", {3480, 420, 855, 315});
}

void MainWindow::createSearchControls() {
    searchBox_ = new QLineEdit(this);
    place(searchBox_, "searchBox", {120, 840, 4215, 285});
    searchBox_->setAccessibleName(QStringLiteral("Search"));

    resultView_ = new QListView(this);
    place(resultView_, "resultView", {120, 1090, 4215, 2370});
    resultView_->setAccessibleName(QStringLiteral("Results"));
    resultView_->setModel(&results_);
    // Every row has the same height, so the view never measures a million rows.
    resultView_->setUniformItemSizes(true);
    resultView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultView_->setStyleSheet(QStringLiteral("QListView { background: rgb(224, 224, 224); }"));
}

QRect MainWindow::frameRect() const {
    return {0, 0, pixelsFromTwips(kClientWidthTwips), pixelsFromTwips(kFrameHeightTwips)};
}

}  // namespace kwiklet
