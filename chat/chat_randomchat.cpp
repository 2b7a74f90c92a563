// Random chats: search, match, messages and the partner leaving.
// Registered in its place already so that the host's command order never
// changes; until the feature is built every incoming command is still
// answered, exactly once.

#include "chat.h"

#include "wrappluginhelper.h"

namespace zubrel {

// Random chat.
void Chat::slotRandomChat(RequestHandler *, Request *request) { answer(request); }
void Chat::slotRandomMatch(RequestHandler *, Request *request) { answer(request); }
void Chat::slotRandomIsTyping(RequestHandler *, Request *request) { answer(request); }
void Chat::slotRandomMessage(RequestHandler *, Request *request) { answer(request); }
void Chat::slotRandomLeft(RequestHandler *, Request *request) { answer(request); }


// Chat actions of a random chat tab.
void Chat::quitRandomChat(ZChatTab *) {}

} // namespace zubrel
