#include "app/picMain.h"

#include "app/RebuildIndex.h"
#include "appearance/Skin.h"
#include "common/ErrorTrap.h"
#include "common/Units.h"
#include "platform/Platform.h"
#include "store/FillResultLists.h"
#include "store/IndexDatabase.h"
#include "store/Recordset.h"
#include "windows/frmWait.h"

#include <QAction>
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
namespace {

constexpr int kClientWidthTwips = 4455;
constexpr int kClientHeightTwips = 3570;
constexpr int kLoadPauseMs = 500;

struct TwipRect {
    int left, top, width, height;
};

}  // namespace

picMain::picMain(IndexDatabase& database) : database_(database) {
    setObjectName(QStringLiteral("picMain"));
    setWindowTitle(kAppTitle);
    createControls();
    createMenu();
    search_.emplace(*Text1, *Text2, *List1, lists_, database_, search_state_);
    keys_.emplace(*Text1, *Text2, *List1, lists_, search_state_);

    connect(Text1, &QLineEdit::textChanged, this, [this] { search_->Text1_Change(); });
    connect(cmdSearch, &QPushButton::clicked, this, &picMain::cmdSearch_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &picMain::cmdUpdate_Click);
    // Only a chosen entry counts: the view marking an entry as current when the focus
    // comes into it copies nothing.
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { search_->List1_Click(); });
    Text1->installEventFilter(this);
    List1->installEventFilter(this);
    List1->viewport()->installEventFilter(this);
}

picMain::~picMain() = default;

void picMain::createControls() {
    const double dpi = platform().screenMetrics().dotsPerInch;
    auto px = [dpi](int twips) { return units::twipsToPixels(twips, dpi); };
    auto place = [&](QWidget* control, const char* name, TwipRect rect) {
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(px(rect.left), px(rect.top), px(rect.width), px(rect.height));
    };
    setFixedSize(px(kClientWidthTwips), px(kClientHeightTwips));

    QFont titleFont(QStringLiteral("Courier New"), 8);
    titleFont.setPointSizeF(8.25);
    titleFont.setBold(true);
    lblCount[1] = new QLabel(QStringLiteral("Kwiklet -"), this);
    lblCount[0] = new QLabel(this);
    place(lblCount[1], "lblCount1", {120, 75, 945, 210});
    place(lblCount[0], "lblCount0", {1140, 75, 105, 210});
    for (QLabel* label : lblCount) {
        label->setFont(titleFont);
        label->adjustSize();
    }

    cmdUpdate = new QPushButton(QStringLiteral("&Update Database"), this);
    place(cmdUpdate, "cmdUpdate", {120, 420, 1515, 315});
    cmdSkinz = new QPushButton(QStringLiteral("Skinz"), this);
    place(cmdSkinz, "cmdSkinz", {2580, 420, 855, 315});
    cmdSearch = new QPushButton(QStringLiteral("&Search"), this);
    place(cmdSearch, "cmdSearch", {3480, 420, 855, 315});

    Text1 = new QLineEdit(this);
    place(Text1, "Text1", {120, 840, 4215, 285});

    List1 = new QListView(this);
    place(List1, "List1", {120, 1090, 4215, 2370});
    List1->setModel(&lists_);
    // Every row has the same height, so the view never measures a million rows.
    List1->setUniformItemSizes(true);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setStyleSheet(QStringLiteral("QListView { background: rgb(224, 224, 224); }"));

    Text2 = new QLineEdit(this);
    place(Text2, "Text2", {1440, 1440, 1575, 375});
    Text2->hide();

    setTabOrder(Text1, List1);
    setTabOrder(List1, cmdUpdate);
    setTabOrder(cmdUpdate, cmdSkinz);
    setTabOrder(cmdSkinz, cmdSearch);
}

void picMain::createMenu() {
    struct Item {
        int index;
        const char* caption;
    };
    static constexpr Item kItems[] = {
        {0, "About Kwiklet"},
        {1, "Feedback"},
        {3, "Check for Updates"},
        {4, "-"},
        {5, "Open on Startup"},
        {6, "Always on Top"},
        {8, "-"},
        {9, "Skinz"},
        {10, "Online Help"},
        {11, "-"},
        {12, "Exit"},
    };
    mnuMain = new QMenu(QStringLiteral("MainMenu"), this);
    mnuMain->setObjectName(QStringLiteral("mnuMain"));
    for (const Item& item : kItems) {
        const QString caption = QString::fromLatin1(item.caption);
        QAction* action =
            caption == QLatin1String("-") ? mnuMain->addSeparator() : mnuMain->addAction(caption);
        mnuOU[static_cast<std::size_t>(item.index)] = action;
    }
    mnuOU[5]->setCheckable(true);
    mnuOU[5]->setChecked(false);
    mnuOU[6]->setCheckable(true);
    mnuOU[6]->setChecked(true);
}

void picMain::Form_Load() {
    // The wait window would stand over the error box, so it goes first.
    trapErrors([this] { loadWindow(); }, [] { UnloadWaitWindow(); });
}

void picMain::loadWindow() {
    RestoreWindowSettings();
    ApplyWindowPosition();
    ApplySkin(*this);
    search_state_.AutoCompleteOn = true;
    if (FirstRun) {
        RebuildIndex(*this);
        return;
    }

    Recordset rs;
    resumeAfterObjectClosed([&] {
        rs.open(QStringLiteral("SELECT * FROM filez"), database_.IndexDb.get(), CursorType::Static,
                LockType::Optimistic, -1);
    });
    bool tableEmpty = false;
    resumeAfterObjectClosed([&] { tableEmpty = rs.eof(); });
    if (tableEmpty) {
        RebuildIndex(*this);
    } else {
        WaitWindow().showModeless();
        WaitWindow().setStage(QStringLiteral("Please Wait, Loading..."));
        lists_.clear();
        resumeAfterObjectClosed([&] { FillResultLists(rs, lists_, true); });
        ShowCount();
    }
    resumeAfterObjectClosed([&] { rs.close(); });

    WaitWindow().fillBar();
    platform().sleep(kLoadPauseMs);
    UnloadWaitWindow();
}

void picMain::cmdUpdate_Click() {
    setModeButtonsEnabled(false);
    const bool failed = trapErrors([this] { RebuildIndex(*this); }, [] { UnloadWaitWindow(); });
    // Emptying the box lists the whole table through the search. After a rebuild that
    // failed part-way, the lists may still hold what it staged: they show the table
    // again even when the box was empty already.
    if (failed && Text1->text().isEmpty()) {
        search_->Text1_Change();
    }
    Text1->setText(QString());
    setModeButtonsEnabled(true);
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
    if (database_.IndexDb && database_.IndexDb->state() == ObjectState::Open) {
        database_.IndexDb->close();
    }
}

void picMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

bool picMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1) {
        onText1Event(*event);
    } else if (watched == List1) {
        onList1Event(*event);
    } else if (watched == List1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        keys_->List1_DblClick();
    }
    // Every event goes on to the control: a key the handlers saw still types.
    return QWidget::eventFilter(watched, event);
}

void picMain::onText1Event(QEvent& event) {
    if (event.type() == QEvent::KeyPress) {
        if (const std::optional<int> key = keyCodeOf(static_cast<QKeyEvent&>(event))) {
            keys_->Text1_KeyPress(*key);
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

void picMain::onList1Event(QEvent& event) {
    if (event.type() == QEvent::KeyPress) {
        if (const std::optional<int> key = keyCodeOf(static_cast<QKeyEvent&>(event))) {
            keys_->List1_KeyPress(*key);
        }
    } else if (event.type() == QEvent::FocusIn) {
        // Coming into the list marks no entry: the first arrow key then chooses the first.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!List1->selectionModel()->hasSelection()) {
                    List1->selectionModel()->clearCurrentIndex();
                }
            },
            Qt::QueuedConnection);
    }
}

}  // namespace kwiklet
