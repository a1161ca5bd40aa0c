#pragma once

// The main window: the search box, the result list and the count line.

#include "search/IncrementalSearch.h"
#include "search/KeyHandling.h"
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

class picMain : public QWidget {
    Q_OBJECT
public:
    explicit picMain(IndexDatabase& database);
    ~picMain() override;

    // Restores the saved window state, places the window and fills the lists from the
    // index (or rebuilds it on a first run or over an empty table). Runs before the
    // window is first shown.
    void Form_Load();
    // Runs when the window is closed other than by the Exit command: closes the
    // connection.
    void Form_Unload();

    // Works out the saved position and applies the saved switches to the window.
    void RestoreWindowSettings();
    void ApplyWindowPosition();
    // Sets the count line to the number of names in List1.
    void ShowCount();

    // The mode button: switches between searching the index and searching the web.
    void cmdSearch_Click();
    // "&Update Database": rebuilds the index from the user's folders.
    void cmdUpdate_Click();

    IndexDatabase& database() { return database_; }
    ResultLists& lists() { return lists_; }
    SearchState& searchState() { return search_state_; }

    // Controls, with the names the rest of the program knows them by.
    QLineEdit* Text1 = nullptr;         // the search box
    QLineEdit* Text2 = nullptr;         // hidden: the path of the chosen entry
    QListView* List1 = nullptr;         // the names; their paths are the lists' List2
    std::array<QLabel*, 2> lblCount{};  // 0: "N files in DataBase", 1: "Kwiklet -"
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdSkinz = nullptr;
    QPushButton* cmdSearch = nullptr;
    QMenu* mnuMain = nullptr;
    std::array<QAction*, 13> mnuOU{};  // indexed as the menu's commands; 2 and 7 unused

    // Left by RestoreWindowSettings for the load.
    bool FirstRun = false;
    std::int32_t SavedTop = 0;   // twips
    std::int32_t SavedLeft = 0;  // twips

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadWindow();
    void enterWebMode();
    void returnToLocalMode();
    void setModeButtonsEnabled(bool enabled);
    void onText1Event(QEvent& event);
    void onList1Event(QEvent& event);
    void createControls();
    void createMenu();

    IndexDatabase& database_;
    ResultLists lists_;
    SearchState search_state_;
    std::optional<IncrementalSearch> search_;  // made once the controls exist
    std::optional<KeyHandling> keys_;
};

}  // namespace kwiklet
