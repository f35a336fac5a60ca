#include "common/Resources.h"

#include <QtGlobal>

static void RegisterTorrentaResources() {
    Q_INIT_RESOURCE(torrenta);
}

namespace torrenta::gui {

void LoadResources() {
    static const bool loaded = (RegisterTorrentaResources(), true);
    (void)loaded;
}

}  // namespace torrenta::gui
