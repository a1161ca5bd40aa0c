#include "app/StartProgram.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    return kwiklet::StartProgram(application);
}
