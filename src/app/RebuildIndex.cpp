#include "app/RebuildIndex.h"

#include "app/picMain.h"
#include "platform/Platform.h"
#include "store/FillResultLists.h"
#include "store/IndexDatabase.h"
#include "store/Recordset.h"
#include "windows/frmWait.h"

namespace kwiklet {
namespace {
constexpr int kRebuildPauseMs = 100;
}

void RebuildIndex(picMain& window) {
    frmWait& wait = WaitWindow();
    wait.setStage(QStringLiteral("Please Wait..."));
    wait.showModeless();

    Recordset rs;
    rs.open(QStringLiteral("SELECT * FROM filez"), window.database().IndexDb.get(),
            CursorType::Keyset, LockType::Optimistic, -1);
    window.lists().clear();
    FillResultLists(rs, window.lists(), true);
    rs.close();
    window.ShowCount();

    wait.fillBar();
    platform().sleep(kRebuildPauseMs);
    UnloadWaitWindow();
}

}  // namespace kwiklet
