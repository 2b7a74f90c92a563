#include "chat.h"

#include "wrappluginhelper.h"

namespace zubrel {

Chat::Chat(WrapPluginHelper *helper)
    : QObject(helper)
    , m_helper(helper)
{
    setObjectName(QStringLiteral("zubrel::Chat"));
}

} // namespace zubrel
