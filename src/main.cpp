#include "app/CommandLine.h"
#include "app/StartProgram.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const auto answered = kwiklet::AnswerCommandLine(argc, argv)) {
        return *answered;
    }
    QApplication application(argc, argv);
    return kwiklet::StartProgram(application);
}
