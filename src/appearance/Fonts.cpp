#include "appearance/Fonts.h"

#include <QStringList>

namespace kwiklet::fonts {
namespace {

QFont font(const QStringList& families, QFont::StyleHint hint, double points) {
    QFont chosen;
    chosen.setFamilies(families);
    chosen.setStyleHint(hint);
    chosen.setPointSizeF(points);
    return chosen;
}

}  // namespace

QFont interfaceFont(double points) {
    return font({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                 QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                 QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")},
                QFont::SansSerif, points);
}

QFont typewriterFont(double points) {
    return font({QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                 QStringLiteral("Courier New"), QStringLiteral("Nimbus Mono PS"),
                 QStringLiteral("DejaVu Sans Mono")},
                QFont::TypeWriter, points);
}

QFont serifFont(double points) {
    return font({QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                 QStringLiteral("Times New Roman"), QStringLiteral("Nimbus Roman"),
                 QStringLiteral("DejaVu Serif")},
                QFont::Serif, points);
}

QFont tahomaFont(double points) {
    return font({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                 QStringLiteral("Liberation Sans")},
                QFont::SansSerif, points);
}

QFont trebuchetFont(double points) {
    return font({QStringLiteral("Trebuchet MS"), QStringLiteral("Ubuntu"),
                 QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")},
                QFont::SansSerif, points);
}

}  // namespace kwiklet::fonts
