// Multi chats: invitations, members, messages, kicks and leaving.
// Registered in its place already so that the host's command order never
// changes; until the feature is built every incoming command is still
// answered, exactly once.

#include "chat.h"

#include "wrappluginhelper.h"

namespace zubrel {

// Multi chat.
void Chat::slotMultichatInvitation(RequestHandler *, Request *request) { answer(request); }
void Chat::slotMultichatJoined(RequestHandler *, Request *request) { answer(request); }
void Chat::slotMultichatLeaved(RequestHandler *, Request *request) { answer(request); }
void Chat::slotMultichatIsTyping(RequestHandler *, Request *request) { answer(request); }
void Chat::slotMultichatMessage(RequestHandler *, Request *request) { answer(request); }
void Chat::slotMultichatUserKicked(RequestHandler *, Request *request) { answer(request); }
void Chat::slotMultichatClosed(RequestHandler *, Request *request) { answer(request); }


// Chat actions of a multi chat tab.
void Chat::startMultichat(ZChatTab *) {}
void Chat::leaveMultichat(ZChatTab *) {}
void Chat::kickFromMultichat(ZChatTab *, const QString &) {}

} // namespace zubrel
