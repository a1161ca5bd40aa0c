// The main window's controls: where they stand, in twips converted with the screen's
// resolution, in fonts that make every caption fit the control it is in.

#include "app/GlyphLabel.h"
#include "app/picMain.h"

#include "appearance/Fonts.h"
#include "common/Units.h"
#include "platform/Platform.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace kwiklet {
namespace {

struct TwipRect {
    int left, top, width, height;
};

}  // namespace

void picMain::createControls() {
    const double dpi = platform().screenMetrics().dotsPerInch;
    auto px = [dpi](int twips) { return units::twipsToPixels(twips, dpi); };
    auto place = [&](QWidget* control, const char* name, TwipRect rect) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(px(rect.left), px(rect.top), px(rect.width), px(rect.height));
    };
    heightTwips_ = kClientHeightTwips;
    setFixedSize(px(kClientWidthTwips), px(kClientHeightTwips));
    setFont(fonts::interfaceFont(8));
    // The background the skin covers, kept for the window's tallest height.
    background_.emplace(*this, QSize(px(kClientWidthTwips), px(kRolledDownTwips)),
                        QColor(236, 233, 216));
    background_->setSizeInTwips([this] { return QSize(kClientWidthTwips, heightTwips_); });

    QFont titleFont = fonts::typewriterFont(8.25);
    titleFont.setBold(true);
    lblCount[1] = new QLabel(QStringLiteral("Kwiklet -"), this);
    lblCount[0] = new QLabel(this);
    place(lblCount[1], "lblCount1", {120, 75, 945, 210});
    place(lblCount[0], "lblCount0", {1140, 75, 105, 210});
    for (QLabel* label : lblCount) {
        label->setFont(titleFont);
        label->adjustSize();
    }

    Label2 = new GlyphLabel(QStringLiteral("5"), this);
    place(Label2, "Label2", {3840, 32, 270, 285});
    Label1 = new GlyphLabel(QStringLiteral("r"), this);
    place(Label1, "Label1", {4155, 35, 195, 255});

    cmdUpdate = new QPushButton(QStringLiteral("&Update Database"), this);
    place(cmdUpdate, "cmdUpdate", {120, 420, 1515, 315});
    cmdSkinz = new QPushButton(QStringLiteral("Skinz"), this);
    place(cmdSkinz, "cmdSkinz", {2580, 420, 855, 315});
    cmdSearch = new QPushButton(QStringLiteral("&Search"), this);
    place(cmdSearch, "cmdSearch", {3480, 420, 855, 315});

    Text1 = new QLineEdit(this);
    place(Text1, "Text1", {120, 840, 4215, 285});

    List1 = new QListView(this);
    place(List1, "List1", {120, 1090, 4215, 2370});
    List1->setModel(&lists_);
    // Every row has the same height, so the view never measures a million rows.
    List1->setUniformItemSizes(true);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setStyleSheet(QStringLiteral("QListView { background: rgb(224, 224, 224); }"));

    Text2 = new QLineEdit(this);
    place(Text2, "Text2", {1440, 1440, 1575, 375});
    Text2->hide();

    setTabOrder(Text1, List1);
    setTabOrder(List1, cmdUpdate);
    setTabOrder(cmdUpdate, cmdSkinz);
    setTabOrder(cmdSkinz, cmdSearch);
}

QRect picMain::frameRect() const {
    const double dpi = platform().screenMetrics().dotsPerInch;
    return {0, 0, units::twipsToPixels(kClientWidthTwips, dpi),
            units::twipsToPixels(kFrameHeightTwips, dpi)};
}

}  // namespace kwiklet
