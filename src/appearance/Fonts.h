#pragma once

// The fonts the windows were designed with, by their Linux counterparts: faces with the
// same metrics where one is installed (Liberation for Arial, Times New Roman and Courier
// New), else the nearest narrow face, so that texts fit where the layouts put them.

#include <QFont>

namespace kwiklet::fonts {

// The default user-interface face: a sans face metric-compatible with Arial, or the
// narrow DejaVu.
QFont interfaceFont(double points);
// Courier New.
QFont typewriterFont(double points);
// Times New Roman.
QFont serifFont(double points);
// Tahoma: Tahoma itself where installed, else the narrow DejaVu Sans Condensed.
QFont tahomaFont(double points);
// Trebuchet MS, for which no metric-compatible face exists: a humanist sans.
QFont trebuchetFont(double points);

}  // namespace kwiklet::fonts
