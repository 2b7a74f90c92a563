// Handlers whose work arrives with later features (contact lists and
// presence, links and side channels, chat actions, private sessions). They are registered in their place already so that the
// host's command order never changes; until then every incoming command is
// still answered, exactly once, and user actions do nothing.

#include "chat.h"

#include "wrappluginhelper.h"

namespace zubrel {

// Contact state and presence.
void Chat::slotContactChanged(CZuBuddy) {}
void Chat::slotBlocklist(RequestHandler *, Request *request) { answer(request); }
void Chat::slotInvisiblelist(RequestHandler *, Request *request) { answer(request); }
void Chat::slotHidelist(RequestHandler *, Request *request) { answer(request); }
void Chat::slotAvatarClicked() {}
void Chat::slotNewAvatar(QStringList) {}

// Links, files and side channels.
void Chat::slotSip(const QUrl &) {}
void Chat::slotFtp(const QUrl &) {}
void Chat::slotDroppedFiles(QStringList, Zr::ClientApplication) {}
void Chat::slotSlideshow(RequestHandler *, Request *request) { answer(request); }
void Chat::slotAction(RequestHandler *, Request *request) { answer(request); }

// Chat actions.
void Chat::slotChatAction(QString) {}
void Chat::slotCardAction(QString) {}

// Private session.
void Chat::slotNoLogRequest(RequestHandler *, Request *request) { answer(request); }
void Chat::slotNoLogResponse(RequestHandler *, Request *request) { answer(request); }

} // namespace zubrel
