#pragma once

// The main window: a small borderless window with the search box, the result list, the
// count line and the glyphs and menu that stand in for a title bar.

#include "appearance/BackImage.h"
#include "indexer/RebuildIndex.h"
#include "search/IncrementalSearch.h"
#include "search/KeyHandling.h"
#include "search/SearchModeSwitch.h"
#include "search/SearchState.h"
#include "store/ResultLists.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;

namespace kwiklet {

struct IndexDatabase;
class GlyphLabel;

// The menu's Exit command, which Esc and the close glyph run as well.
inline constexpr int kExitCommand = 12;
// The menu's "Keep Running" switch.
inline constexpr int kKeepRunningCommand = 7;

// The main window's client size as laid out, in twips; rolled up it is only its title
// strip high, rolled down again a little taller than at start.
inline constexpr int kClientWidthTwips = 4455;
inline constexpr int kClientHeightTwips = 3570;
inline constexpr int kTitleStripTwips = 350;
inline constexpr int kRolledDownTwips = 3595;
// Shape1, the frame drawn along the window's edge, is a little shorter than the window.
inline constexpr int kFrameHeightTwips = 3555;

class picMain : public QWidget, public SearchModeWindow, public RebuildWindow {
    Q_OBJECT
public:
    explicit picMain(IndexDatabase& database);
    ~picMain() override;

    // Restores the saved window state, places the window and fills the lists from the
    // index (or rebuilds it on a first run or over an empty table). Runs before the
    // window is first shown.
    void Form_Load();
    // Loads the window as Form_Load does while it stays hidden (started with the
    // session), without the wait window or its pause, so that the first call-up is as
    // quick as any. A first run or an empty index is left to Form_Load at the first
    // call-up, where the rebuild shows its progress.
    void LoadHidden();
    // Runs when the window is closed other than by the Exit command: closes the
    // index.
    void Form_Unload();
    // Whether Form_Load must run before the window is shown: it was never loaded, its
    // load out of sight left a rebuild to it, or it was closed since.
    bool needsLoad() const { return needsLoad_; }

    // Works out the saved position and applies the saved switches to the window.
    void RestoreWindowSettings();
    void ApplyWindowPosition();
    // Sets the count line to the number of names in List1.
    void ShowCount() override;

    // The mode button: switches between searching the index and searching the web.
    void cmdSearch_Click();
    // "&Update Database": rebuilds the index from the user's folders.
    void cmdUpdate_Click();
    // "Skinz": opens the skin editor for this window.
    void cmdSkinz_Click();

    // The window's own handling of the mouse and the keys (its surface and the title
    // labels act as a title bar would): a drag with the left button alone moves the
    // window and saves where it ends; the right button alone opens the menu; Esc ends
    // the program, or with "Keep Running" on hides the window.
    void Form_MouseMove(Qt::MouseButtons buttons);
    void Form_MouseDown(Qt::MouseButtons buttons, QPoint where);
    void Form_KeyPress(int key);
    // The roll-up glyph: the window shrinks to its title strip, or back.
    void Label2_Click();
    // The command of the menu item at that index; other indices do nothing.
    void mnuOU_Click(int index);
    // Saves the window's position, "Top" then "Left", in twips.
    void SaveWindowPosition();
    // Whether "Keep Running" is on: the program then hides its window instead of
    // ending, and after opening what the user chose.
    bool keepsRunning() const;
    // With "Keep Running" on, saves the position and hides the window; otherwise
    // nothing.
    void hideWhenKeptRunning();

    IndexDatabase& database() { return database_; }
    // The painted background, kept for the window's full height.
    BackImage& background() { return *background_; }
    ResultLists& lists() override { return lists_; }
    SearchState& searchState() override { return search_state_; }
    IndexStore& index() override;
    QLineEdit& searchBox() override { return *Text1; }
    QLineEdit& pathBox() override { return *Text2; }
    void setModeCaption(const QString& caption) override;
    void setModeButtonsEnabled(bool enabled) override;
    void emptySearchBox(bool relist) override;

    // Controls, with the names the rest of the program knows them by.
    QLineEdit* Text1 = nullptr;         // the search box
    QLineEdit* Text2 = nullptr;         // hidden: the path of the chosen entry
    QListView* List1 = nullptr;         // the names; their paths are the lists' List2
    std::array<QLabel*, 2> lblCount{};  // 0: "N files in DataBase", 1: "Kwiklet -"
    GlyphLabel* Label2 = nullptr;       // roll-up glyph: "5" up, "6" down
    GlyphLabel* Label1 = nullptr;       // close glyph
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdSkinz = nullptr;
    QPushButton* cmdSearch = nullptr;
    QMenu* mnuMain = nullptr;
    std::array<QAction*, 13> mnuOU{};  // indexed as the menu's commands

    // Left by RestoreWindowSettings for the load.
    bool FirstRun = false;
    std::int32_t SavedTop = 0;   // twips
    std::int32_t SavedLeft = 0;  // twips

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void loadWindow(LoadingCaption caption);
    void onText1Event(QEvent& event);
    // True when the event was taken and goes no further.
    bool onList1Event(QEvent& event);
    void createControls();
    void createMenu();
    // Shape1, the frame drawn along the window's edge.
    QRect frameRect() const;
    bool isSurfaceOrTitle(QPoint windowPoint) const;

    IndexDatabase& database_;
    ResultLists lists_;
    SearchState search_state_;
    std::optional<IncrementalSearch> search_;  // made once the controls exist
    std::optional<KeyHandling> keys_;
    QPoint grabbedAt_;  // where the last button went down on the surface, on the screen
    // Whether the left button went down on the surface or a title label: only then do
    // moves drag, wherever the pointer goes before the button comes up.
    bool dragArmed_ = false;
    bool needsLoad_ = true;
    int heightTwips_;  // 3570 as designed, 350 rolled up, 3595 rolled down
    std::optional<BackImage> background_;
};

}  // namespace kwiklet
