#include "search/Launching.h"

#include "platform/Platform.h"
#include "store/Settings.h"

namespace kwiklet {
namespace {

const QString kWordKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Winword.exe");
const QString kVisioKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Visio.exe");
const QString kFolderValue = QStringLiteral("path");

struct OfficeProgram {
    const char* name;         // as it may appear in the search box
    const char* programFile;  // started from the program's folder
    bool ownFolder;           // read from its own key; the others share Word's folder
};

// Tested in this order; the first name the text holds wins.
constexpr OfficeProgram OfficeProgramTable[] = {
    {"Microsoft Word", "winWord.exe", false},      {"Microsoft Access", "msAccess.exe", false},
    {"Microsoft Excel", "EXCEL.exe", false},       {"Microsoft FrontPage", "FRONTPG.EXE", false},
    {"Microsoft Outlook", "OUTLOOK.EXE", false},   {"Microsoft PowerPoint", "POWERPNT.EXE", false},
    {"Microsoft Office Visio", "VISIO.EXE", true},
};

}  // namespace

void OpenWithShell(const QString& target, const QString& directory) {
    platform().openWithShell(target, directory);
}

bool LaunchOfficeProgram(const QString& text) {
    QString folder;
    ReadRegistryString(HKEY_LOCAL_MACHINE_KEY, kWordKey, kFolderValue, folder);
    for (const OfficeProgram& program : OfficeProgramTable) {
        if (!text.contains(QLatin1String(program.name), Qt::CaseInsensitive)) {
            continue;
        }
        if (program.ownFolder) {
            ReadRegistryString(HKEY_LOCAL_MACHINE_KEY, kVisioKey, kFolderValue, folder);
        }
        // The folder is taken as it is stored, separator included.
        OpenWithShell(folder + QLatin1String(program.programFile), QString());
        return true;
    }
    return false;
}

}  // namespace kwiklet
