// Opening what the user chose from a real main window over a temporary avs.dat: Enter in
// the box and in the list, double-clicks, office programs and web searches, and the
// completion flags that Backspace keeps. The shell itself is the recording platform's:
// what would be opened is recorded.

#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>

namespace kwiklet::test {
namespace {

using Opened = std::vector<std::pair<QString, QString>>;  // target, directory

class LaunchTest : public MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_NE(launchOver({{"notes", "/apps/notes.exe"},
                              {"Notepad", "/apps/Notepad.lnk"},
                              {"Microsoft Word 2003", "/apps/Word.lnk"},
                              {"piano", "/apps/piano.exe"}}),
                  nullptr);
        QApplication::setActiveWindow(window_.get());
        window_->searchBox().setFocus();
    }

    void press(Qt::Key key, QWidget* control = nullptr) {
        QTest::keyClick(control ? control : &window_->searchBox(), key);
    }
    void select(int row) {
        window_->resultView().selectionModel()->select(window_->results().index(row),
                                                 QItemSelectionModel::ClearAndSelect);
    }
    // As the user double-clicks: a click, then the second press that makes it double.
    void doubleClickAt(QPoint point) {
        QTest::mouseClick(window_->resultView().viewport(), Qt::LeftButton, {}, point);
        QTest::mouseDClick(window_->resultView().viewport(), Qt::LeftButton, {}, point);
    }
    void doubleClick(int row) {
        doubleClickAt(window_->resultView().visualRect(window_->results().index(row)).center());
    }
    QStringList opened() const {
        QStringList targets;
        for (const auto& [target, directory] : recorder_.opens) {
            EXPECT_EQ(directory, "");
            targets << target;
        }
        return targets;
    }
};

// After a completion, the first Backspace takes the completed rest away and the box
// stays as typed; the next one completes again; and so on.
TEST_F(LaunchTest, BackspaceAfterACompletionTakesTheRestAwayUntilTheNextBackspace) {
    type("no");
    ASSERT_EQ(window_->searchBox().text(), "notes");
    const struct {
        QString box, selection;
        QStringList names;
    } afterEachBackspace[] = {
        {"no", "", {"notes", "Notepad"}},  // the rest is gone, the lists as they were
        {"notes", "otes", {"notes", "Notepad"}},
        {"n", "", {"notes", "Notepad"}},
        {"", "", {"notes", "Notepad", "Microsoft Word 2003", "piano"}},
    };
    for (const auto& expected : afterEachBackspace) {
        SCOPED_TRACE(expected.box.toStdString());
        press(Qt::Key_Backspace);
        EXPECT_EQ(window_->searchBox().text(), expected.box);
        EXPECT_EQ(window_->searchBox().selectedText(), expected.selection);
        EXPECT_EQ(listed(), expected.names);
    }
    // A Backspace on one character never suppresses: the next one still does.
    type("z");
    press(Qt::Key_Backspace);
    type("no");
    press(Qt::Key_Backspace);
    EXPECT_EQ(window_->searchBox().text(), "no");
    for (const char* box : {"notes", "n", ""}) {
        press(Qt::Key_Backspace);
        EXPECT_EQ(window_->searchBox().text(), box);
    }

    // Another key after a suppressing Backspace switches completion on but leaves the
    // Backspace remembered: the next Backspace does not suppress, and the completion
    // comes back.
    type("p");
    press(Qt::Key_Backspace);
    EXPECT_EQ(window_->searchBox().text(), "p");
    type("i");
    press(Qt::Key_Backspace);
    EXPECT_EQ(window_->searchBox().text(), "piano");
    EXPECT_EQ(window_->searchBox().selectedText(), "ano");
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(LaunchTest, EnterInTheBoxOpensAnAddressAnOfficeProgramOrTheChosenEntry) {
    const struct {
        QString text;
        QStringList opened;
    } cases[] = {
        {"http://example.com/a b", {"http://example.com/a b"}},
        {"HTTP://EXAMPLE.COM", {"HTTP://EXAMPLE.COM"}},
        {"www.example.com", {"www.example.com"}},
        // Neither is an address: the text is a name, and nothing is named so.
        {"https://example.com", {}},
        {" www.example.com", {}},
        // The bare program file goes to the opener, even where an index entry of that
        // name exists; the first office name wins.
        {"Microsoft Word 2003", {"winWord.exe"}},
        {"a microsoft excel and Microsoft Word sheet", {"winWord.exe"}},
        {"Microsoft Access", {"msAccess.exe"}},
        {"MICROSOFT POWERPOINT", {"POWERPNT.EXE"}},
        {"MICROSOFT OFFICE VISIO", {"VISIO.EXE"}},
        {"pia", {"/apps/piano.exe"}},  // completed to piano
        {"nothing by this name", {}},
        {"   ", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        recorder_.opens.clear();
        window_->searchBox().setText(c.text);
        const QString before = window_->searchBox().text();
        press(Qt::Key_Return);
        EXPECT_EQ(opened(), c.opened);
        EXPECT_EQ(window_->searchBox().text(), before);  // the window stays as it was
    }
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(LaunchTest, EnterInTheListAndDoubleClicksOpenTheSelectedEntryOnly) {
    window_->searchBox().setText(" ");  // the whole index
    window_->resultView().setFocus();
    press(Qt::Key_Return, &window_->resultView());
    EXPECT_EQ(opened(), QStringList{});
    doubleClickAt(QPoint(5, window_->resultView().viewport()->height() - 3));  // below them
    EXPECT_EQ(opened(), QStringList{});

    // Without a selected entry, Enter in the list does nothing, office name or not.
    {
        const QSignalBlocker quiet(&window_->searchBox());
        window_->searchBox().setText("Microsoft Word");
    }
    press(Qt::Key_Return, &window_->resultView());
    EXPECT_EQ(opened(), QStringList{});

    select(3);
    window_->resultView().setFocus();
    press(Qt::Key_Return, &window_->resultView());
    EXPECT_EQ(opened(), QStringList{"/apps/piano.exe"});
    doubleClick(1);
    EXPECT_EQ(opened(), (QStringList{"/apps/piano.exe", "/apps/Notepad.lnk"}));
    // A chosen entry whose name holds an office name starts the office program.
    doubleClick(2);
    EXPECT_EQ(opened().last(), "winWord.exe");
}

TEST_F(LaunchTest, WebModeSendsTheWordsAsTypedToTheChosenEngine) {
    QTest::mouseClick(&window_->modeButton(), Qt::LeftButton);
    ASSERT_TRUE(window_->searchState().webMode);
    const struct {
        int engine;  // -1: the one already chosen
        QString text;
        QStringList opened;
    } cases[] = {
        {-1, QString(), {"http://www.google.com/search?q=Enter term to Search with Google"}},
        {-1, "", {"http://www.google.com/search?q="}},
        {1, "cats & dogs", {"http://search.yahoo.com/search?p=cats & dogs"}},
        {0, " spaced  out ", {"http://www.google.com/search?q= spaced  out "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        recorder_.opens.clear();
        if (c.engine >= 0) {
            select(c.engine);
        }
        if (!c.text.isNull()) {
            window_->searchBox().setText(c.text);
        }
        press(Qt::Key_Return);
        EXPECT_EQ(opened(), c.opened);
    }
    // Without an engine's home address, Enter sends nothing.
    recorder_.opens.clear();
    window_->chosenEntry().setPath("  ");
    press(Qt::Key_Return);
    EXPECT_EQ(opened(), QStringList{});

    // A double-click on an engine opens its home page.
    recorder_.opens.clear();
    doubleClick(1);
    EXPECT_EQ(opened(), QStringList{"http://search.yahoo.com"});
    EXPECT_EQ(listed(), (QStringList{"Search with Google", "Search with Yahoo"}));
}

}  // namespace
}  // namespace kwiklet::test
