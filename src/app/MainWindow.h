#pragma once

// The main window: a small borderless window with the search box, the result list, the
// count line and the glyphs and menu that stand in for a title bar.

#include "app/MenuCommand.h"
#include "appearance/PaintedBackground.h"
#include "indexer/RebuildIndex.h"
#include "search/ChosenEntry.h"
#include "search/IncrementalSearch.h"
#include "search/KeyHandling.h"
#include "search/SearchModeSwitch.h"
#include "search/SearchState.h"
#include "store/ResultList.h"

#include <QWidget>

#include <cstdint>
#include <map>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;

namespace kwiklet {

struct IndexHolder;
class GlyphLabel;

// The main window's client size as laid out, in twips; rolled up it is only its title
// strip high, rolled down again a little taller than at start.
inline constexpr int kClientWidthTwips = 4455;
inline constexpr int kClientHeightTwips = 3570;
inline constexpr int kTitleStripTwips = 350;
inline constexpr int kRolledDownTwips = 3595;
// The frame drawn along the window's edge is a little shorter than the window.
inline constexpr int kFrameHeightTwips = 3555;

class MainWindow : public QWidget, public SearchModeWindow, public RebuildWindow {
    Q_OBJECT
public:
    explicit MainWindow(IndexHolder& database);
    ~MainWindow() override;

    // Restores the saved window state, places the window and fills the list from the
    // index (or rebuilds it on a first run or over an empty table). Runs before the
    // window is first shown.
    void load();
    // Loads the window as load() does while it stays hidden (started with the session),
    // without the wait window or its pause, so that the first call-up is as quick as
    // any. A first run or an empty index is left to load() at the first call-up, where
    // the rebuild shows its progress.
    void loadOutOfSight();
    // Runs when the window is closed other than by the Exit command: closes the index.
    void unload();
    // Whether load() must run before the window is shown: it was never loaded, its load
    // out of sight left a rebuild to it, or it was closed since.
    bool needsLoad() const { return needsLoad_; }

    // Works out the saved position and applies the saved switches to the window.
    void restoreWindowSettings();
    void applySavedPosition();
    // Sets the count line to the number of names in the result list.
    void showCount() override;

    // The mode button: switches between searching the index and searching the web.
    void switchSearchMode();
    // "&Update Database": rebuilds the index from the user's folders.
    void updateDatabase();
    // "Skinz": opens the skin editor for this window.
    void openSkinEditor();

    // Esc, from anywhere in the window: ends the program, or with "Keep Running" on
    // hides the window.
    void onEscape();
    // The roll-up glyph: the window shrinks to its title strip, or back.
    void toggleRolledUp();
    bool isRolledUp() const { return rolledUp_; }
    // Carries out the menu's command; a switch turns its mark over and stores it.
    void runMenuCommand(MenuCommand command);
    // Saves the window's position, "Top" then "Left", in twips.
    void savePosition();
    // Whether "Keep Running" is on: the program then hides its window instead of
    // ending, and after opening what the user chose.
    bool keepsRunning() const;
    // With "Keep Running" on, saves the position and hides the window; otherwise
    // nothing.
    void hideWhenKeptRunning();

    IndexHolder& database() { return database_; }
    // The painted background, kept for the window's full height.
    PaintedBackground& background() { return *background_; }
    ResultList& results() override { return results_; }
    SearchState& searchState() override { return searchState_; }
    IndexStore& index() override;
    QLineEdit& searchBox() override { return *searchBox_; }
    ChosenEntry& chosenEntry() override { return *chosen_; }
    void setModeCaption(const QString& caption) override;
    void setModeButtonsEnabled(bool enabled) override;
    void emptySearchBox(bool relist) override;

    // The controls, for the program's commands and its tests.
    QListView& resultView() { return *resultView_; }
    QLabel& countLabel() { return *countLabel_; }
    QLabel& titleLabel() { return *titleLabel_; }
    GlyphLabel& rollGlyph() { return *rollGlyph_; }
    GlyphLabel& closeGlyph() { return *closeGlyph_; }
    QPushButton& updateButton() { return *updateButton_; }
    QPushButton& skinButton() { return *skinButton_; }
    QPushButton& modeButton() { return *modeButton_; }
    QMenu& menu() { return *menu_; }
    QAction& menuAction(MenuCommand command) const { return *menuActions_.at(command); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void loadWindow(LoadingCaption caption);
    void applyFirstRunSettings();
    void keepSavedPositionFindable();
    void applySavedSwitches();
    void listTableOrRebuild(LoadingCaption caption);
    void connectControls();
    void onSearchBoxEvent(QEvent& event);
    // True when the event was taken and goes no further.
    bool onResultViewEvent(QEvent& event);
    void markFirstEntryWhenNoneChosen();
    void createControls();
    void createTitleStrip();
    void createButtons();
    void createSearchControls();
    void createMenu();
    // A menu switch turned over and stored as "1" or "0"; its new state.
    bool toggleSwitch(MenuCommand command, const QString& key);
    void showAboutAgain();
    void exitProgram();
    // The frame drawn along the window's edge.
    QRect frameRect() const;
    bool isSurfaceOrTitle(QPoint windowPoint) const;

    IndexHolder& database_;
    ResultList results_;
    SearchState searchState_;
    std::optional<IncrementalSearch> search_;  // made once the controls exist
    std::optional<KeyHandling> keys_;
    std::optional<ChosenEntry> chosen_;

    QLineEdit* searchBox_ = nullptr;
    QListView* resultView_ = nullptr;
    QLabel* countLabel_ = nullptr;  // "N files in DataBase"
    QLabel* titleLabel_ = nullptr;  // "Kwiklet -"
    GlyphLabel* rollGlyph_ = nullptr;
    GlyphLabel* closeGlyph_ = nullptr;
    QPushButton* updateButton_ = nullptr;
    QPushButton* skinButton_ = nullptr;
    QPushButton* modeButton_ = nullptr;
    QMenu* menu_ = nullptr;
    std::map<MenuCommand, QAction*> menuActions_;

    // Left by restoreWindowSettings for the load.
    bool firstRun_ = false;
    std::int32_t savedTopTwips_ = 0;
    std::int32_t savedLeftTwips_ = 0;

    QPoint grabbedAt_;  // where the last button went down on the surface, on the screen
    // Whether the left button went down on the surface or a title label: only then do
    // moves drag, wherever the pointer goes before the button comes up.
    bool dragArmed_ = false;
    bool needsLoad_ = true;
    bool rolledUp_ = false;
    int heightTwips_ = kClientHeightTwips;  // rolled up the title strip, else rolled down
    std::optional<PaintedBackground> background_;
};

}  // namespace kwiklet
