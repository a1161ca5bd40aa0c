#include "app/CommandLine.h"
#include "app/RunningCopy.h"
#include "app/StartProgram.h"
#include "platform/Platform.h"

#include <QApplication>

#include <vector>

int main(int argc, char** argv) {
    if (const auto answered = kwiklet::answerCommandLine(argc, argv)) {
        return *answered;
    }
    if (const auto handled = kwiklet::runThinCommand(argc, argv)) {
        return *handled;
    }
    const QStringList arguments = kwiklet::argumentsOf(argc, argv);
    // The window system is chosen on the program's own command line.
    const QList<QByteArray> added = kwiklet::windowSystemArguments(argc, argv);
    std::vector<char*> withAdded(argv, argv + argc);
    for (const QByteArray& argument : added) {
        withAdded.push_back(const_cast<char*>(argument.constData()));
    }
    withAdded.push_back(nullptr);
    int count = static_cast<int>(withAdded.size()) - 1;
    QApplication application(count, withAdded.data());
    return kwiklet::startProgram(application, arguments);
}
