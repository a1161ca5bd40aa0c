#include "app/RunAtStartup.h"

namespace kwiklet {

void SetRunAtStartup(const QString&, const QString&, bool) {}

}  // namespace kwiklet
