// Typing into the search box of a real main window over a temporary avs.dat: filtering,
// completion, the list and the box together, and what hostile typing, focus changes and
// closing the window in the middle of a search do.

#include "support/MainWindowFixture.h"

#include "common/MessageLoop.h"

#include <QApplication>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QListView>
#include <QTimer>

namespace kwiklet::test {
namespace {

const QStringList kAllNames = {"notes",      "Notepad", "note",  "nut",    "Piano",
                               "100 things", "1000",    "écran", "Ébauche"};
const std::vector<Row> kEntries(kAllNames.begin(), kAllNames.end());

class SearchBoxTest : public MainWindowFixture {
protected:
    void SetUp() override { ASSERT_NE(launchOver(kEntries), nullptr); }

    QString text() const { return window_->searchBox().text(); }
    QString selected() const { return window_->searchBox().selectedText(); }
    QString chosenPath() const { return window_->chosenEntry().path(); }
};

TEST_F(SearchBoxTest, TypingFiltersByPrefixAndCompletesTheFirstMatch) {
    const struct {
        QString text;
        bool pasted;  // typed key by key, n_t would pick up the completion's letters
        QStringList names;
        QString box, selection, path;
    } cases[] = {
        {"n", false, {"notes", "Notepad", "note", "nut"}, "notes", "otes", "/apps/notes.exe"},
        // The typed part takes the stored name's letter case.
        {"NOTEP", false, {"Notepad"}, "Notepad", "ad", "/apps/Notepad.exe"},
        {"NOTES", false, {"notes"}, "notes", "", "/apps/notes.exe"},
        {"n_t", true, {"notes", "Notepad", "note", "nut"}, "notes", "es", "/apps/notes.exe"},
        {"100%", false, {"100 things", "1000"}, "100 things", "things", "/apps/100 things.exe"},
        {"É", false, {"écran", "Ébauche"}, "écran", "cran", "/apps/écran.exe"},
        // Completed to a name shorter than the typed text: the caret ends up at its end.
        {"n%%%%%%%%%", true, {"notes", "Notepad", "note", "nut"}, "notes", "", "/apps/notes.exe"},
        {"z", false, {}, "z", "", ""},
        {"np", false, {}, "np", "", ""},  // the p replaces the completion "otes"
        // A blank box lists the whole index, completing nothing.
        {"", true, kAllNames, "", "", ""},
        {"   ", true, kAllNames, "   ", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        window_->searchBox().clear();
        c.pasted ? window_->searchBox().setText(c.text) : type(c.text);
        EXPECT_EQ(listed(), c.names);
        EXPECT_EQ(text(), c.box);
        EXPECT_EQ(selected(), c.selection);
        EXPECT_EQ(window_->searchBox().cursorPosition(), c.box.size());
        EXPECT_EQ(chosenPath(), c.path);
    }
    EXPECT_TRUE(recorder_.messages.empty());
}

// While an apostrophe is in the box the query is malformed: each change ends in the error
// box with the lists and the path cleared, and the index file is never touched. While
// the box is up the window loses its activation, and gets it back when the box closes:
// the text stays as typed, so the next key extends it and shows the box again.
TEST_F(SearchBoxTest, ApostropheShowsTheBoxForEveryKeyWhileItStaysInTheBox) {
    const QByteArray before = contentsOf(platform_.databasePath());
    QApplication::setActiveWindow(window_.get());
    window_->searchBox().setFocus();
    QWidget elsewhere;
    recorder_.onMessageBox = [&] {
        elsewhere.show();
        QApplication::setActiveWindow(&elsewhere);
        QApplication::setActiveWindow(window_.get());
    };
    type("no");  // completed, with a path that the apostrophe must clear
    type("'");
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text,
              QString::number(err::kMalformedStatement) +
                  ": Syntax error in query expression: the search text cannot hold an "
                  "apostrophe (').");
    EXPECT_EQ(recorder_.messages[0].title, "Kwiklet");
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Plain);
    EXPECT_EQ(chosenPath(), "");
    type("t");
    EXPECT_EQ(recorder_.messages.size(), 2u);
    EXPECT_EQ(text(), "no't");
    EXPECT_TRUE(listed().isEmpty());
    type(" x");
    EXPECT_EQ(recorder_.messages.size(), 4u);
    EXPECT_EQ(text(), "no't x");
    window_->searchBox().clear();
    EXPECT_EQ(listed(), kAllNames);
    EXPECT_EQ(contentsOf(platform_.databasePath()), before);
}

// Coming into the box by Tab or a click selects its whole text; the window becoming
// active again, or a menu closing, leaves the caret where it was.
TEST_F(SearchBoxTest, ComingIntoTheBoxSelectsItsWholeTextOnlyWhenTheUserMovesThere) {
    QApplication::setActiveWindow(window_.get());
    window_->searchBox().setText("xyz");
    window_->resultView().setFocus();
    QTest::keyClick(&window_->resultView(), Qt::Key_Backtab);
    ASSERT_TRUE(window_->searchBox().hasFocus());
    EXPECT_EQ(selected(), "xyz");

    window_->resultView().setFocus();
    QTest::mouseClick(&window_->searchBox(), Qt::LeftButton, {}, QPoint(2, 5));
    QCoreApplication::processEvents();
    ASSERT_TRUE(window_->searchBox().hasFocus());
    EXPECT_EQ(selected(), "xyz");

    for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        window_->searchBox().setCursorPosition(1);
        QFocusEvent focusIn(QEvent::FocusIn, reason);
        QCoreApplication::sendEvent(&window_->searchBox(), &focusIn);
        QCoreApplication::processEvents();
        EXPECT_EQ(selected(), "") << reason;
        EXPECT_EQ(window_->searchBox().cursorPosition(), 1) << reason;
    }
}

// Focus coming into the list copies nothing; the entries the user then chooses, by arrow
// keys or a click, are copied into the box with their paths, without a new query.
TEST_F(SearchBoxTest, OnlyEntriesChosenInTheListAreCopiedIntoTheBox) {
    QApplication::setActiveWindow(window_.get());
    window_->searchBox().setFocus();
    window_->searchBox().setText(" ");
    QCoreApplication::processEvents();
    QTest::keyClick(&window_->searchBox(), Qt::Key_Tab);
    QCoreApplication::processEvents();
    ASSERT_TRUE(window_->resultView().hasFocus());
    EXPECT_EQ(text(), " ");
    EXPECT_EQ(chosenPath(), "");
    // The focus mark shows on the first entry, which is not chosen until an arrow key.
    EXPECT_EQ(window_->resultView().currentIndex().row(), 0);
    EXPECT_FALSE(window_->resultView().selectionModel()->hasSelection());

    QTest::keyClick(&window_->resultView(), Qt::Key_Down);
    EXPECT_EQ(text(), "notes");
    EXPECT_EQ(chosenPath(), "/apps/notes.exe");
    QTest::keyClick(&window_->resultView(), Qt::Key_Down);
    EXPECT_EQ(text(), "Notepad");
    EXPECT_EQ(chosenPath(), "/apps/Notepad.exe");
    EXPECT_EQ(listed(), kAllNames);

    const QRect fifth = window_->resultView().visualRect(window_->results().index(4));
    QTest::mouseClick(window_->resultView().viewport(), Qt::LeftButton, {}, fifth.center());
    EXPECT_EQ(text(), "Piano");
    EXPECT_EQ(chosenPath(), "/apps/Piano.exe");
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(SearchBoxTest, ClosedStoreIsOpenedAgain) {
    database_.store->close();
    type("nut");
    EXPECT_TRUE(database_.store->isOpen());
    EXPECT_EQ(listed(), QStringList({"nut"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

// Rows can match while nothing is listed: rows without a name are never listed. The box
// then keeps what was typed and nothing is completed.
using NamelessRowsTest = MainWindowFixture;

TEST_F(NamelessRowsTest, MatchingRowsThatListNothingCompleteNothing) {
    createDatabaseAt(platform_.databasePath(), {{"", "/a.exe"}, {"", "/b.exe"}});
    OtherProgram(platform_.databasePath())
        .run("INSERT INTO filez (id, name, path) VALUES (3, NULL, '/c.exe')");
    storePosition();
    ASSERT_NE(launch(), nullptr);
    for (const char* typed : {"%", "_"}) {
        window_->searchBox().setText(typed);
        EXPECT_EQ(window_->searchBox().text(), typed);
        EXPECT_EQ(window_->chosenEntry().path(), "");
        EXPECT_EQ(window_->results().count(), 0);
    }
    EXPECT_TRUE(recorder_.messages.empty());
}

// A key typed while a fill gives the message loop a turn starts a newer search at once;
// the older one stops, and the lists hold the newer query's result alone, still parallel,
// with the box completed for it.
class SupersededFillTest : public MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_NE(launchOver(generatedRows(5000)), nullptr);
        messageloop::setYieldInterval(std::chrono::microseconds(0));
    }
    // Puts the text into the box while the search for the first one is filling.
    void searchThenReplace(const QString& first, const QString& second) {
        QTimer::singleShot(0, window_.get(), [this, second] { window_->searchBox().setText(second); });
        window_->searchBox().setText(first);
    }
    void expectOnlyNamesBeginningWith(const QString& prefix, qsizetype count) {
        const QStringList names = listed();
        const QStringList paths = listed(true);
        ASSERT_EQ(names.size(), count);
        for (qsizetype i = 0; i < names.size(); ++i) {
            ASSERT_TRUE(names[i].startsWith(prefix)) << names[i].toStdString();
            ASSERT_EQ(paths[i], "/apps/" + names[i] + ".exe");
        }
    }
};

TEST_F(SupersededFillTest, KeyTypedDuringAFillLeavesTheNewerQuery) {
    const struct {
        QString first, second, path;
        qsizetype count;
    } cases[] = {
        {" ", "name1", "/apps/name1.exe", 1 + 10 + 100 + 1000},  // the whole index
        {"name", "name42", "/apps/name42.exe", 1 + 10 + 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.second.toStdString());
        searchThenReplace(c.first, c.second);
        EXPECT_EQ(window_->searchBox().text(), c.second);
        EXPECT_EQ(window_->searchBox().selectedText(), "");
        EXPECT_EQ(window_->chosenEntry().path(), c.path);
        expectOnlyNamesBeginningWith(c.second, c.count);
    }
    EXPECT_TRUE(recorder_.messages.empty());
}

// Closing the window while a search fills the lists ends the search quietly: the window
// is gone, and so is anything it had to say.
TEST_F(SupersededFillTest, ClosingTheWindowDuringAFillEndsItQuietly) {
    for (const char* typed : {" ", "name"}) {
        SCOPED_TRACE(typed);
        window_->show();
        ASSERT_TRUE(database_.store->isOpen());
        QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
        window_->searchBox().setText(typed);
        EXPECT_FALSE(database_.store->isOpen());
        EXPECT_FALSE(window_->isVisible());
        EXPECT_LT(window_->results().count(), 5000);
        EXPECT_TRUE(recorder_.messages.empty());
        database_.store->open();
    }
}

}  // namespace
}  // namespace kwiklet::test
