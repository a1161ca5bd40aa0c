#include "search/Launching.h"

#include "platform/Platform.h"

namespace kwiklet {
namespace {

struct OfficeProgram {
    const char* name;         // as it may appear in the search box
    const char* programFile;  // a bare program name: the opener finds what runs it
};

// Tested in this order; the first name the text holds wins.
constexpr OfficeProgram kOfficePrograms[] = {
    {"Microsoft Word", "winWord.exe"},       {"Microsoft Access", "msAccess.exe"},
    {"Microsoft Excel", "EXCEL.exe"},        {"Microsoft FrontPage", "FRONTPG.EXE"},
    {"Microsoft Outlook", "OUTLOOK.EXE"},    {"Microsoft PowerPoint", "POWERPNT.EXE"},
    {"Microsoft Office Visio", "VISIO.EXE"},
};

}  // namespace

void openWithDesktop(const QString& target, const QString& directory) {
    platform().open(target, directory);
}

bool launchOfficeProgram(const QString& text) {
    for (const OfficeProgram& program : kOfficePrograms) {
        if (!text.contains(QLatin1String(program.name), Qt::CaseInsensitive)) {
            continue;
        }
        openWithDesktop(QLatin1String(program.programFile), QString());
        return true;
    }
    return false;
}

}  // namespace kwiklet
