// Typing into the search box: filtering, completion, the list and the box together.

#include "support/MainWindowFixture.h"

#include "common/AppError.h"
#include "common/MessageLoop.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>

namespace kwiklet::test {
namespace {

const std::vector<Row> kEntries = {
    {"notes", "/docs/notes.exe"}, {"Notepad", "/apps/Notepad.exe"}, {"note", "/apps/note.lnk"},
    {"nut", "/apps/nut.exe"},     {"Piano", "/apps/Piano.exe"},     {"100 things", "/a/100.exe"},
    {"1000", "/a/1000.exe"},      {"écran", "/a/ecran.exe"},        {"Ébauche", "/a/ebauche.exe"},
};

class IncrementalSearchTest : public MainWindowFixture {
protected:
    void SetUp() override {
        createDatabase(kEntries);
        storePosition();
        ASSERT_NE(launch(), nullptr);
        QApplication::setActiveWindow(window_.get());
        window_->Text1->setFocus();
    }

    QString text() const { return window_->Text1->text(); }
    QString selected() const { return window_->Text1->selectedText(); }
    QString chosenPath() const { return window_->Text2->text(); }
};

TEST_F(IncrementalSearchTest, TypingFiltersByPrefixAndCompletesTheFirstMatch) {
    enum Entry { Typed, Pasted };
    struct Case {
        QString text;
        Entry entry;
        QStringList listed;
        QString box, selection, path;
    };
    const std::vector<Case> cases = {
        {"n", Typed, {"notes", "Notepad", "note", "nut"}, "notes", "otes", "/docs/notes.exe"},
        // The typed part takes the stored name's letter case.
        {"NOTEP", Typed, {"Notepad"}, "Notepad", "ad", "/apps/Notepad.exe"},
        {"NOTES", Typed, {"notes"}, "notes", "", "/docs/notes.exe"},
        // Typed key by key, n_t would pick up the completion's letters after the n.
        {"n_t", Pasted, {"notes", "Notepad", "note", "nut"}, "notes", "es", "/docs/notes.exe"},
        {"100%", Typed, {"100 things", "1000"}, "100 things", "things", "/a/100.exe"},
        {"[p]", Typed, {"Piano"}, "Piano", "no", "/apps/Piano.exe"},
        {"[!n]",
         Pasted,
         {"Piano", "100 things", "1000", "écran", "Ébauche"},
         "Piano",
         "o",
         "/apps/Piano.exe"},
        {"É", Typed, {"écran", "Ébauche"}, "écran", "cran", "/a/ecran.exe"},
        {"z", Typed, {}, "z", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        window_->Text1->clear();
        if (c.entry == Typed) {
            type(c.text);
        } else {
            window_->Text1->setText(c.text);
        }
        EXPECT_EQ(listedNames(), c.listed);
        EXPECT_EQ(text(), c.box);
        EXPECT_EQ(selected(), c.selection);
        EXPECT_EQ(window_->Text1->cursorPosition(), c.box.size());
        EXPECT_EQ(chosenPath(), c.path);
        ASSERT_EQ(listedPaths().size(), listedNames().size());
    }
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(IncrementalSearchTest, TypingOverTheCompletionWithoutAMatchEmptiesTheLists) {
    type("n");
    type("p");  // replaces the selected "otes"
    EXPECT_EQ(text(), "np");
    EXPECT_TRUE(listedNames().isEmpty());
    EXPECT_EQ(chosenPath(), "");
}

TEST_F(IncrementalSearchTest, BlankBoxListsTheWholeIndexWithoutCompletion) {
    for (const QString& blank : {QString(), QStringLiteral("   ")}) {
        type("pi");
        window_->Text1->setText(blank);
        EXPECT_EQ(listedNames().size(), static_cast<qsizetype>(kEntries.size()));
        EXPECT_EQ(text(), blank);
        EXPECT_EQ(chosenPath(), "");
    }
}

TEST_F(IncrementalSearchTest, ApostropheReportsTheMalformedStatementOnEveryKeyAndChangesNothing) {
    type("don'");
    ASSERT_EQ(recorder_.messages.size(), 1u);
    const QString prefix = QString::number(err::kMalformedStatement) + ": ";
    EXPECT_TRUE(recorder_.messages[0].text.startsWith(prefix))
        << recorder_.messages[0].text.toStdString();
    EXPECT_EQ(recorder_.messages[0].title, "Kwiklet");
    EXPECT_TRUE(listedNames().isEmpty());

    type("t");
    EXPECT_EQ(recorder_.messages.size(), 2u);
    EXPECT_EQ(text(), "don't");

    // Text that would be a statement of its own cannot reach the table either.
    window_->Text1->setText("x'; DELETE FROM filez; --");
    window_->Text1->setText(QString());
    EXPECT_EQ(listedNames().size(), static_cast<qsizetype>(kEntries.size()));
}

TEST_F(IncrementalSearchTest, ArrowsThroughTheListCopyEachEntryWithoutANewQuery) {
    window_->Text1->setText("n");
    QCoreApplication::processEvents();
    window_->List1->setFocus();
    const QStringList before = listedNames();

    QTest::keyClick(window_->List1, Qt::Key_Down);
    const QString first = text();
    QTest::keyClick(window_->List1, Qt::Key_Down);

    EXPECT_EQ(listedNames(), before);
    const int row = window_->List1->currentIndex().row();
    EXPECT_EQ(text(), before.at(row));
    EXPECT_EQ(chosenPath(), listedPaths().at(row));
    EXPECT_NE(first, text());
}

TEST_F(IncrementalSearchTest, ComingIntoTheBoxSelectsItsWholeText) {
    window_->Text1->setText("xyz");
    window_->List1->setFocus();
    QTest::keyClick(window_->List1, Qt::Key_Backtab);
    ASSERT_TRUE(window_->Text1->hasFocus());
    EXPECT_EQ(selected(), "xyz");

    window_->Text1->setCursorPosition(1);
    window_->List1->setFocus();
    window_->Text1->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(selected(), "xyz");
}

TEST_F(IncrementalSearchTest, ClosedConnectionIsReopenedAndTheSearchGoesOn) {
    database_.IndexDb->close();
    type("pi");
    EXPECT_EQ(text(), "Piano");
    EXPECT_EQ(database_.IndexDb->state(), ObjectState::Open);
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(IncrementalSearchTest, WebModeLeavesTheListsAndPathAlone) {
    type("nut");
    window_->searchState().WebMode = true;
    window_->Text1->setText("weather tomorrow");
    EXPECT_EQ(listedNames(), QStringList({"nut"}));
    EXPECT_EQ(chosenPath(), "/apps/nut.exe");
}

TEST(IncrementalSearchWithoutDatabase, TypingReportsTheUnusableConnection) {
    TestPlatform platform;
    IndexDatabase database;
    auto window = std::make_unique<picMain>(database);
    window->searchState().AutoCompleteOn = true;
    QTest::keyClicks(window->Text1, "n");
    ASSERT_EQ(platform.recorder().messages.size(), 1u);
    EXPECT_TRUE(platform.recorder().messages[0].text.startsWith("3709: "));
}

using SupersededFillTest = MainWindowFixture;

TEST_F(SupersededFillTest, KeyTypedDuringAFillLeavesTheListsWithTheNewerQuery) {
    createDatabase(generatedRows(5000));
    storePosition();
    ASSERT_NE(launch(), nullptr);
    messageloop::setYieldInterval(std::chrono::microseconds(0));

    // The whole index starts filling; at its first yield the user types "name1".
    QTimer::singleShot(0, window_.get(), [this] { window_->Text1->setText("name1"); });
    window_->Text1->setText(" ");

    EXPECT_EQ(window_->Text1->text(), "name1");
    const QStringList names = listedNames();
    const QStringList paths = listedPaths();
    ASSERT_EQ(names.size(), 1 + 10 + 100 + 1000);
    for (qsizetype i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(names[i].startsWith("name1")) << names[i].toStdString();
        ASSERT_EQ(paths[i], "/apps/" + names[i] + ".exe");
    }
}

}  // namespace
}  // namespace kwiklet::test
