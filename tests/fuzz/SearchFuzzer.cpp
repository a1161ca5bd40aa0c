// Arbitrary text put into the search box of a real main window (offscreen) over a small
// index. Whatever the text, the program must not crash or hang, must never change the
// index file, and must give what the box promises: the error box for a text holding an
// apostrophe, and otherwise exactly the names a scan with like finds, completed, with
// each path beside its name.

#include "app/StartProgram.h"
#include "app/MainWindow.h"
#include "store/IndexHolder.h"
#include "store/Like.h"
#include "store/Settings.h"
#include "support/Database.h"
#include "support/TestPlatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace kwiklet;

namespace {

// Names that exercise the rule: letter case, accents, wildcard and set characters, a
// name outside the basic plane, duplicates, and rows without a name.
const char* const kNames[] = {
    "notes", "Notepad", "note",  "NOTES",   "nut",      "Piano",   "100 things",  "1000",
    "écran", "Ébauche", "ÖL",    "a[b",     "[x]",      "50%",     "under_score", "😀smile",
    "",      "Setup",   "setup", "ſtrange", "KELVIN K", "tab\tin", "x\" OR 1=1",  "semi;colon",
};

struct Session {
    test::TestPlatform platform;
    IndexHolder database;
    std::unique_ptr<MainWindow> window;
    QByteArray fileBefore;
};

Session* gSession = nullptr;

[[noreturn]] void fail(const char* what, const QString& typed) {
    std::fprintf(stderr, "%s\ntyped: %s\n", what, typed.toUtf8().constData());
    std::abort();
}

// The names the lists must hold for the text: each distinct, non-empty name that like
// matches against the text followed by '%', in table order.
QStringList expectedNames(const QString& typed) {
    const QByteArray pattern = (typed + QLatin1Char('%')).toUtf8();
    QStringList names;
    for (const char* name : kNames) {
        const QString text = QString::fromUtf8(name);
        if (!text.isEmpty() && !names.contains(text) &&
            like::matches(std::string_view(pattern.constData(), pattern.size()), name)) {
            names << text;
        }
    }
    return names;
}

QString pathOf(const QString& name) {
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        if (QString::fromUtf8(kNames[i]) == name) {
            return QStringLiteral("/apps/%1").arg(i + 1);
        }
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application and the window live until the process ends: libFuzzer leaves by
    // exit(), and the window system must not be torn down under a live window.
    new QApplication(*argc, *argv);
    gSession = new Session;
    std::vector<test::Row> rows;
    for (const char* name : kNames) {
        rows.emplace_back(QString::fromUtf8(name), QStringLiteral("/apps/%1").arg(rows.size() + 1));
    }
    test::createDatabaseAt(gSession->platform.databasePath(), rows);
    settings::write(settings::kTop, QStringLiteral("0"));
    gSession->window = launchProgram(gSession->database);
    if (!gSession->window || !gSession->platform.recorder().messages.empty()) {
        std::fprintf(stderr, "start-up failed\n");
        std::abort();
    }
    // Painting is not what is tested here, and would take most of the time.
    gSession->window->hide();
    gSession->fileBefore = test::contentsOf(gSession->platform.databasePath());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Session& session = *gSession;
    QLineEdit& box = *&session.window->searchBox();
    const QString pasted =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // What the box makes of the pasted text is what is searched for.
    static QLineEdit probe;
    probe.setText(pasted);
    const QString typed = probe.text();

    // The box is given another text quietly first, so that putting the text in is a
    // change, searched for once.
    {
        const QSignalBlocker quiet(box);
        box.setText(typed + QLatin1Char('\x01'));
    }
    auto& messages = session.platform.recorder().messages;
    messages.clear();
    box.setText(typed);

    const ResultList& lists = session.window->results();
    QStringList names;
    for (qsizetype i = 0; i < lists.count(); ++i) {
        names << lists.name(i);
        if (lists.path(i) != pathOf(lists.name(i))) {
            fail("a path stands beside the wrong name", typed);
        }
    }
    if (typed.contains(QLatin1Char('\''))) {
        if (messages.size() != 1 || !names.isEmpty() || box.text() != typed) {
            fail("an apostrophe must give one error box and empty lists", typed);
        }
    } else {
        // Only blanks count as empty space in the box.
        const bool blank = std::all_of(typed.cbegin(), typed.cend(),
                                       [](QChar c) { return c == QLatin1Char(' '); });
        const QStringList expected = expectedNames(blank ? QString() : typed);
        if (!messages.empty() || names != expected) {
            fail("the lists differ from a scan with like", typed);
        }
        const QString completed = blank || expected.isEmpty() ? typed : expected.first();
        if (box.text() != completed) {
            fail("the box is not completed with the first name", typed);
        }
    }
    if (test::contentsOf(session.platform.databasePath()) != session.fileBefore) {
        fail("the index file changed", typed);
    }
    return 0;
}
