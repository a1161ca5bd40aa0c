#include "app/picMain.h"

#include "app/GlyphLabel.h"
#include "appearance/Skin.h"
#include "common/ErrorTrap.h"
#include "common/KeyCodes.h"
#include "common/Units.h"
#include "indexer/RebuildIndex.h"
#include "platform/Platform.h"
#include "store/IndexDatabase.h"
#include "windows/WholeIndexListing.h"
#include "windows/frmSkinz.h"
#include "windows/frmWait.h"

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
picMain::picMain(IndexDatabase& database) : database_(database) {
    setObjectName(QStringLiteral("picMain"));
    setWindowTitle(kAppTitle);
    // No frame and no title bar: the window is moved by its surface and closed by its
    // own glyph, the menu or Esc.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    createControls();
    createMenu();
    search_.emplace(*Text1, *Text2, *List1, lists_, database_, search_state_);
    keys_.emplace(*Text1, *Text2, *List1, lists_, search_state_);

    connect(Text1, &QLineEdit::textChanged, this, [this] { search_->Text1_Change(); });
    connect(cmdSearch, &QPushButton::clicked, this, &picMain::cmdSearch_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &picMain::cmdUpdate_Click);
    connect(cmdSkinz, &QPushButton::clicked, this, &picMain::cmdSkinz_Click);
    // Only a chosen entry counts: the view marking an entry as current when the focus
    // comes into it copies nothing.
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { search_->List1_Click(); });
    connect(Label1, &GlyphLabel::clicked, this, [this] { mnuOU_Click(kExitCommand); });
    connect(Label2, &GlyphLabel::clicked, this, &picMain::Label2_Click);
    // The window sees every key before its controls do (Esc ends the program from any
    // of them); the list's surface reports its double-clicks.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control != static_cast<QWidget*>(mnuMain)) {  // Esc in the open menu closes it
            control->installEventFilter(this);
        }
    }
}

picMain::~picMain() {
    UnloadSkinEditor();
}

void picMain::Form_Load() {
    // The wait window would stand over the error box, so it goes first.
    trapErrors([this] { loadWindow(LoadingCaption::Show); }, [] { UnloadWaitWindow(); });
}

void picMain::LoadHidden() {
    trapErrors([this] { loadWindow(LoadingCaption::None); });
}

void picMain::loadWindow(LoadingCaption caption) {
    needsLoad_ = false;
    // Closing this window closed the index. Loaded again (by the About window's
    // Continue), it opens the index again.
    if (database_.IndexDb) {
        database_.IndexDb->open();
    }
    RestoreWindowSettings();
    ApplyWindowPosition();
    ApplySkin(*background_);
    search_state_.AutoCompleteOn = true;
    // Out of sight, a rebuild waits until the window is called up and can show it.
    const bool inSight = caption != LoadingCaption::None;
    const auto rebuild = [this, inSight] {
        if (inSight) {
            RebuildIndex(*this);
        } else {
            needsLoad_ = true;
        }
    };
    if (FirstRun) {
        rebuild();
        return;
    }

    IndexRows rows;
    resumeAfterObjectClosed([&] { rows = database_.store().allEntries(); });
    bool tableEmpty = false;
    resumeAfterObjectClosed([&] { tableEmpty = rows.atEnd(); });
    if (tableEmpty) {
        rebuild();
    } else {
        ResultLists::Query query = lists_.beginQuery();
        resumeAfterObjectClosed([&] { ListWholeIndex(*this, query, rows, caption); });
    }
    resumeAfterObjectClosed([&] { rows.close(); });
    // Name keys another program left wrong by the thousand are put right while the wait
    // window still shows, not before the first window.
    if (database_.IndexDb) {
        database_.IndexDb->repairPutOffNameKeys();
    }
    if (inSight) {
        FinishWaitWindow(kListedPauseMs);
    }
}

void picMain::cmdUpdate_Click() {
    UpdateDatabase(*this);
}

void picMain::emptySearchBox(bool relist) {
    // Emptying the box lists the whole table through the search; a box that is empty
    // already does not change, so the search is run here when the lists must be redone.
    if (relist && Text1->text().isEmpty()) {
        search_->Text1_Change();
    }
    Text1->setText(QString());
}

void picMain::cmdSearch_Click() {
    SwitchSearchMode(*this);
}

IndexStore& picMain::index() {
    return database_.store();
}

void picMain::setModeCaption(const QString& caption) {
    cmdSearch->setText(caption);
}

void picMain::setModeButtonsEnabled(bool enabled) {
    cmdSearch->setEnabled(enabled);
    cmdUpdate->setEnabled(enabled);
}

void picMain::cmdSkinz_Click() {
    ShowSkinEditor(*this, *background_);
}

void picMain::ApplyWindowPosition() {
    const double dpi = platform().screenMetrics().dotsPerInch;
    const auto top = static_cast<float>(SavedTop);
    const auto left = static_cast<float>(SavedLeft);
    move(x(), units::twipsToPixels(top, dpi));
    move(units::twipsToPixels(left, dpi), y());
}

void picMain::ShowCount() {
    lblCount[0]->setText(QString::number(lists_.count()) + QStringLiteral(" files in DataBase"));
    lblCount[0]->adjustSize();
}

void picMain::Form_Unload() {
    needsLoad_ = true;
    CloseIndexDb(database_);
}

void picMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

bool picMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        dragArmed_ = false;  // pressed on a control: its moves never drag the window
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Form_KeyPress(kKeyEscape);
        return true;
    }
    if (watched == Text1) {
        onText1Event(*event);
    } else if (watched == List1 && onList1Event(*event)) {
        return true;
    } else if (watched == List1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        if (keys_->List1_DblClick()) {
            hideWhenKeptRunning();
        }
    }
    // Every event goes on to the control: a key the handlers saw still types.
    return QWidget::eventFilter(watched, event);
}

void picMain::onText1Event(QEvent& event) {
    if (event.type() == QEvent::KeyPress) {
        const std::optional<int> key = keyCodeOf(static_cast<QKeyEvent&>(event));
        if (key && keys_->Text1_KeyPress(*key)) {
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
                this, [this] { search_->Text1_GotFocus(); }, Qt::QueuedConnection);
            break;
        default:
            search_->Text1_GotFocus();
            break;
    }
}

bool picMain::onList1Event(QEvent& event) {
    QItemSelectionModel& selection = *List1->selectionModel();
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
        const std::optional<int> key = keyCodeOf(press);
        if (key && keys_->List1_KeyPress(*key)) {
            hideWhenKeptRunning();
        }
    } else if (event.type() == QEvent::FocusIn) {
        // Coming into the list chooses nothing; the focus mark shows on the first entry.
        QMetaObject::invokeMethod(
            this,
            [this] {
                QItemSelectionModel& marks = *List1->selectionModel();
                if (!marks.hasSelection()) {
                    marks.setCurrentIndex(lists_.index(0), QItemSelectionModel::NoUpdate);
                }
            },
            Qt::QueuedConnection);
    }
    return false;
}

}  // namespace kwiklet
