#include "common/Session.h"

namespace torrenta::gui {

Session& CurrentSession() {
    static Session session;
    return session;
}

}  // namespace torrenta::gui
