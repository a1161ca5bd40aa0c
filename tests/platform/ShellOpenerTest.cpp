// The Linux platform's "open" on real targets in a temporary folder. Programs really
// start; the desktop's opener (xdg-open) and the office suite (libreoffice) are replaced
// on PATH by recorders, so that what the opener hands them can be read back.

#include "platform/posix/ShellOpener.h"
#include "support/Database.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace kwiklet {
namespace {

class ShellOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(QDir().mkpath(at("bin")));
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", (at("bin") + ':' + savedPath_).toUtf8());
        // Each recorder writes its name and arguments as one line, separated by '|'.
        for (const char* name : {"xdg-open", "libreoffice"}) {
            writeProgram("bin/" + QString(name),
                         "#!/bin/sh\nline=\"$(basename \"$0\")\"\nfor a in \"$@\"; do "
                         "line=\"$line|$a\"; done\nprintf '%s\\n' \"$line\" >> '" +
                             at("record") + "'\n");
        }
    }
    void TearDown() override { qputenv("PATH", savedPath_); }

    QString at(const QString& relative) const { return folder_.filePath(relative); }
    void write(const QString& relative, const QByteArray& contents) const {
        test::writeFile(at(relative), contents);
    }
    void writeProgram(const QString& relative, const QString& script) const {
        write(relative, script.toUtf8());
        QFile::setPermissions(at(relative), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadGroup | QFile::ExeGroup);
    }
    // What the recorders were handed, one call a list, once `calls` calls have arrived.
    std::vector<QStringList> recorded(std::size_t calls) const {
        std::vector<QStringList> result;
        // Gives up after a while; the caller's expectation then tells what arrived.
        (void)QTest::qWaitFor(
            [&] {
                result.clear();
                QStringList lines = QString::fromUtf8(test::contentsOf(at("record"))).split('\n');
                lines.removeLast();  // unfinished, or nothing
                for (const QString& line : lines) {
                    result.push_back(line.split('|'));
                }
                return result.size() >= calls;
            },
            10000);
        return result;
    }
    QString contentsOf(const QString& relative) const {
        QFile file(at(relative));
        (void)QTest::qWaitFor([&] { return file.exists() && file.size() > 0; }, 10000);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed()
                                              : QString();
    }

    QTemporaryDir folder_;
    QByteArray savedPath_;
};

// Programs (an AppImage is one) start in their own folder; launchers start their
// application with its arguments, split by the desktop's quoting rules; nothing runs a
// file that is not a program.
TEST_F(ShellOpenerTest, ProgramsAndLaunchersStartWhatTheyName) {
    writeProgram("tools/Tool.AppImage", "#!/bin/sh\npwd > '" + at("tool-ran") + "'\n");
    writeProgram("bin/writer", "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '" +
                                   at("launcher-ran") + "'\n");
    write("apps/Writer.desktop",
          "[Desktop Entry]\nType=Application\nName=Writer\nIcon=writer\n"
          "Exec=writer  --new\t\"two words\" \"a \\\\\"quote\\\\\"\" x\"y \\\\$z\" \"\" 100%% %U "
          "--file=%f %i\n");
    writeProgram("apps/Executable.desktop",  // a launcher is never run as a script
                 "[Desktop Entry]\nType=Application\nExec=writer executable-launcher\n");

    shellopener::open(at("tools/Tool.AppImage"), QString());
    shellopener::open(at("apps/Writer.desktop"), QString());
    EXPECT_EQ(contentsOf("tool-ran"), at("tools"));
    EXPECT_EQ(contentsOf("launcher-ran"),
              "[--new]\n[two words]\n[a \"quote\"]\n[xy $z]\n[]\n[100%]\n[--file=]\n[--icon]\n"
              "[writer]");

    QFile::remove(at("launcher-ran"));
    shellopener::open(at("apps/Executable.desktop"), QString());
    EXPECT_EQ(contentsOf("launcher-ran"), "[executable-launcher]");
}

// Addresses, shortcuts, documents and folders go to the desktop's opener, addresses made
// valid; office programs named without a folder start the office suite's counterpart;
// what cannot be opened starts nothing.
TEST_F(ShellOpenerTest, EverythingElseGoesToTheDesktopOrTheOfficeSuite) {
    write("Favorites/Example.url", "[InternetShortcut]\nURL=http://example.com/a b\n");
    write("apps/Site.desktop", "[Desktop Entry]\nType=Link\nURL=https://example.org/x y\n");
    write("apps/Gone.desktop",
          "[Desktop Entry]\nType=Application\nTryExec=no-such-program\n"
          "Exec=xdg-open gone\n");
    write("apps/Broken.desktop", "[Desktop Entry]\nType=Application\nExec=\"unclosed\n");
    // Lines the desktop refuses: a relative program, an unknown field code.
    write("apps/Relative.desktop",
          "[Desktop Entry]\nType=Application\nExec=bin/xdg-open a\n"
          "Path=" +
              at("").toUtf8() + "\n");
    write("apps/Unknown.desktop", "[Desktop Entry]\nType=Application\nExec=xdg-open %z\n");
    writeProgram("docs/notes.txt", "plain text with the execute bit\n");
    write("docs/report.odt", "");
    QDir().mkpath(at("docs/folder"));

    // Nothing at all, first: then anything they started would be recorded before the end.
    for (const QString& target :
         {at("missing.exe"), at("apps/Gone.desktop"), at("apps/Broken.desktop"),
          at("apps/Relative.desktop"), at("apps/Unknown.desktop"), QStringLiteral("FRONTPG.EXE"),
          QStringLiteral("no-such-program"), QString(), QStringLiteral("   ")}) {
        shellopener::open(target, QString());
    }
    const std::pair<QString, QStringList> cases[] = {
        {"http://www.google.com/search?q=cats & 100% dogs",
         {"xdg-open", "http://www.google.com/search?q=cats%20&%20100%25%20dogs"}},
        {"www.example.com", {"xdg-open", "http://www.example.com"}},
        {"mailto:someone@example.com", {"xdg-open", "mailto:someone@example.com"}},
        {at("Favorites/Example.url"), {"xdg-open", "http://example.com/a%20b"}},
        {at("apps/Site.desktop"), {"xdg-open", "https://example.org/x%20y"}},
        {at("docs/notes.txt"), {"xdg-open", at("docs/notes.txt")}},
        {"report.odt", {"xdg-open", at("docs/report.odt")}},  // relative to the directory
        {at("docs/folder"), {"xdg-open", at("docs/folder")}},
        {"winWord.exe", {"libreoffice", "--writer"}},
        {"EXCEL.exe", {"libreoffice", "--calc"}},
        {"VISIO.EXE", {"libreoffice", "--draw"}},
    };
    std::vector<QStringList> expected;
    for (const auto& [target, call] : cases) {
        shellopener::open(target, at("docs"));
        expected.push_back(call);
        // One at a time, so that the record keeps their order.
        ASSERT_EQ(recorded(expected.size()).size(), expected.size()) << target.toStdString();
    }
    QTest::qWait(300);
    EXPECT_EQ(recorded(expected.size()), expected);
}

}  // namespace
}  // namespace kwiklet
