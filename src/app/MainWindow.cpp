#include "app/MainWindow.h"

#include "app/GlyphLabel.h"
#include "appearance/Skin.h"
#include "common/ErrorTrap.h"
#include "common/Units.h"
#include "indexer/RebuildIndex.h"
#include "platform/Platform.h"
#include "store/IndexHolder.h"
#include "windows/SkinEditor.h"
#include "windows/WaitWindow.h"
#include "windows/WholeIndexListing.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>

namespace kwiklet {
MainWindow::MainWindow(IndexHolder& database) : database_(database) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(kAppTitle);
    // No frame and no title bar: the window is moved by its surface and closed by its
    // own glyph, the menu or Esc.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    createControls();
    createMenu();
    chosen_.emplace(*searchBox_);
    search_.emplace(*searchBox_, *chosen_, *resultView_, results_, database_, searchState_);
    keys_.emplace(*searchBox_, *chosen_, *resultView_, results_, searchState_);
    connectControls();
}

MainWindow::~MainWindow() {
    closeSkinEditor();
}

void MainWindow::connectControls() {
    connect(searchBox_, &QLineEdit::textChanged, this, [this] { search_->onTextChanged(); });
    connect(modeButton_, &QPushButton::clicked, this, &MainWindow::switchSearchMode);
    connect(updateButton_, &QPushButton::clicked, this, &MainWindow::updateDatabase);
    connect(skinButton_, &QPushButton::clicked, this, &MainWindow::openSkinEditor);
    // Only a chosen entry counts: the view marking an entry as current when the focus
    // comes into it copies nothing.
    connect(resultView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { search_->onEntryChosen(); });
    connect(closeGlyph_, &GlyphLabel::clicked, this, [this] { runMenuCommand(MenuCommand::Exit); });
    connect(rollGlyph_, &GlyphLabel::clicked, this, &MainWindow::toggleRolledUp);
    // The window sees every key before its controls do (Esc ends the program from any
    // of them); the list's surface reports its double-clicks.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control != static_cast<QWidget*>(menu_)) {  // Esc in the open menu closes it
            control->installEventFilter(this);
        }
    }
}

void MainWindow::load() {
    // The wait window would stand over the error box, so it goes first.
    trapErrors([this] { loadWindow(LoadingCaption::Show); }, [] { closeWaitWindow(); });
}

void MainWindow::loadOutOfSight() {
    trapErrors([this] { loadWindow(LoadingCaption::None); });
}

void MainWindow::loadWindow(LoadingCaption caption) {
    needsLoad_ = false;
    // Closing this window closed the index. Loaded again (by the About window's
    // Continue), it opens the index again.
    if (database_.store) {
        database_.store->open();
    }
    restoreWindowSettings();
    applySavedPosition();
    applySavedSkin(*background_);
    searchState_.completing = true;
    listTableOrRebuild(caption);
}

// Lists the index, or rebuilds it on a first run or over an empty table. Out of sight, a
// rebuild waits until the window is called up and can show it.
void MainWindow::listTableOrRebuild(LoadingCaption caption) {
    const bool inSight = caption != LoadingCaption::None;
    const auto rebuild = [this, inSight] {
        if (inSight) {
            rebuildIndex(*this);
        } else {
            needsLoad_ = true;
        }
    };
    if (firstRun_) {
        rebuild();
        return;
    }
    IndexRows rows;
    resumeAfterObjectClosed([&] { rows = database_.required().allEntries(); });
    bool tableEmpty = false;
    resumeAfterObjectClosed([&] { tableEmpty = rows.atEnd(); });
    if (tableEmpty) {
        rebuild();
    } else {
        ResultList::Query query = results_.beginQuery();
        resumeAfterObjectClosed([&] { listWholeIndex(*this, query, rows, caption); });
    }
    resumeAfterObjectClosed([&] { rows.close(); });
    // Name keys another program left wrong by the thousand are put right while the wait
    // window still shows, not before the first window.
    if (database_.store) {
        database_.store->repairPutOffNameKeys();
    }
    if (inSight) {
        finishWaitWindow(kListedPauseMs);
    }
}

void MainWindow::updateDatabase() {
    kwiklet::updateDatabase(*this);
}

void MainWindow::emptySearchBox(bool relist) {
    // Emptying the box lists the whole table through the search; a box that is empty
    // already does not change, so the search is run here when the list must be redone.
    if (relist && searchBox_->text().isEmpty()) {
        search_->onTextChanged();
    }
    searchBox_->setText(QString());
}

void MainWindow::switchSearchMode() {
    kwiklet::switchSearchMode(*this);
}

IndexStore& MainWindow::index() {
    return database_.required();
}

void MainWindow::setModeCaption(const QString& caption) {
    modeButton_->setText(caption);
}

void MainWindow::setModeButtonsEnabled(bool enabled) {
    modeButton_->setEnabled(enabled);
    updateButton_->setEnabled(enabled);
}

void MainWindow::openSkinEditor() {
    showSkinEditor(*this, *background_);
}

void MainWindow::applySavedPosition() {
    const double dpi = platform().screenMetrics().dotsPerInch;
    const auto top = static_cast<float>(savedTopTwips_);
    const auto left = static_cast<float>(savedLeftTwips_);
    move(x(), units::twipsToPixels(top, dpi));
    move(units::twipsToPixels(left, dpi), y());
}

void MainWindow::showCount() {
    countLabel_->setText(QString::number(results_.count()) +
                         QStringLiteral(" files in DataBase"));
    countLabel_->adjustSize();
}

void MainWindow::unload() {
    needsLoad_ = true;
    closeIndex(database_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        dragArmed_ = false;  // pressed on a control: its moves never drag the window
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        onEscape();
        return true;
    }
    if (watched == searchBox_) {
        onSearchBoxEvent(*event);
    } else if (watched == resultView_ && onResultViewEvent(*event)) {
        return true;
    } else if (watched == resultView_->viewport() &&
               event->type() == QEvent::MouseButtonDblClick) {
        if (keys_->onResultActivated()) {
            hideWhenKeptRunning();
        }
    }
    // Every event goes on to the control: a key the handlers saw still types.
    return QWidget::eventFilter(watched, event);
}

void MainWindow::onSearchBoxEvent(QEvent& event) {
    if (event.type() == QEvent::KeyPress) {
        const std::optional<Qt::Key> key = handledKey(static_cast<QKeyEvent&>(event));
        if (key && keys_->onSearchBoxKey(*key)) {
            hideWhenKeptRunning();
        }
        return;
    }
    if (event.type() != QEvent::FocusIn) {
        return;
    }
    switch (static_cast<QFocusEvent&>(event).reason()) {
        case Qt::ActiveWindowFocusReason:  // the window is active again, the box
        case Qt::PopupFocusReason:         // keeps the caret where the user left it
            break;
        case Qt::MouseFocusReason:
            // The click itself places the caret once it is handled; select after it.
            QMetaObject::invokeMethod(
                this, [this] { search_->onSearchBoxEntered(); }, Qt::QueuedConnection);
            break;
        default:
            search_->onSearchBoxEntered();
            break;
    }
}

bool MainWindow::onResultViewEvent(QEvent& event) {
    QItemSelectionModel& selection = *resultView_->selectionModel();
    if (event.type() == QEvent::KeyPress) {
        const auto& press = static_cast<QKeyEvent&>(event);
        // With no entry chosen, the first arrow key chooses the one the focus mark is on
        // (the first) instead of moving past it.
        const bool arrow = press.key() == Qt::Key_Down || press.key() == Qt::Key_Up;
        if (arrow && !selection.hasSelection() && selection.currentIndex().isValid()) {
            selection.setCurrentIndex(selection.currentIndex(),
                                      QItemSelectionModel::ClearAndSelect);
            return true;
        }
        const std::optional<Qt::Key> key = handledKey(press);
        if (key && keys_->onResultKey(*key)) {
            hideWhenKeptRunning();
        }
    } else if (event.type() == QEvent::FocusIn) {
        // Coming into the list chooses nothing; the focus mark shows on the first entry.
        QMetaObject::invokeMethod(
            this, [this] { markFirstEntryWhenNoneChosen(); }, Qt::QueuedConnection);
    }
    return false;
}

void MainWindow::markFirstEntryWhenNoneChosen() {
    QItemSelectionModel& marks = *resultView_->selectionModel();
    if (!marks.hasSelection()) {
        marks.setCurrentIndex(results_.index(0), QItemSelectionModel::NoUpdate);
    }
}

}  // namespace kwiklet
