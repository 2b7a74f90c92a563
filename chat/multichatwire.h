#pragma once
// Wire values of multi chats: argument fields, the id reader and the
// escaping of network text before it enters rich text.

#include <QString>

#include "chatargs.h"

namespace zubrel::Internal {

constexpr DataField topicField = 632;
constexpr DataField createFlagField = 633;
constexpr DataField multichatIdField = 634;
constexpr DataField sessionField = 635;
constexpr DataField joinFlagField = 636;
constexpr DataField inviteeField = 9;
constexpr DataField kickedField = 1;
constexpr DataField memberCountField = 652;
constexpr DataField memberField = 653;
constexpr ushort slideshowModule = 40;

// A multi chat id: unsigned 32-bit, as decimal text or a number; 0xFFFFFFFF
// means none and is refused. The key is its canonical decimal text.
inline bool readMultichatId(const Protocol &protocol, int index, quint32 *id, QString *key)
{
    if (!protocol.hasArg(index))
        return false;
    const QVariant value = protocol.arg(index).variant();
    bool ok = false;
    qint64 number = -1;
    if (isTextual(value)) {
        QString text;
        readText(protocol, index, &text);
        number = qint64(text.trimmed().toULongLong(&ok));
    } else if (value.metaType().id() == QMetaType::Int) {
        // Ids above 2^31 travel as negative ints: the same 32 bits.
        number = qint64(quint32(value.toInt(&ok)));
    } else if (value.metaType().id() != QMetaType::Bool && value.canConvert<qulonglong>()) {
        number = qint64(value.toULongLong(&ok));
    }
    if (!ok || number < 0 || number >= 0xFFFFFFFFLL)
        return false;
    *id = quint32(number);
    *key = QString::number(*id);
    return true;
}

// Nicknames, topics and ids from the network shown inside rich text.
inline QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace zubrel::Internal
