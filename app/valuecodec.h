#pragma once
// Protocol values as the replay scripts and traces write them: plain JSON
// or tagged objects ({"s": ...}, {"utf8": ...}, {"u": 5} ...) in, always the
// tagged form out, so a trace says exactly which Qt type travelled.

#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QVariant>
#include <optional>

#include "protocolarg.h"

namespace zubrel {

class ValueCodec
{
public:
    // A script value; nullopt and an error text for anything unreadable.
    static std::optional<QVariant> fromJson(const QJsonValue &value, QString *error);
    // The tagged trace form of a value.
    static QJsonValue toTagged(const QVariant &value);

    // [[type, field, value], ...]; an absent value (undefined) is no arguments.
    static std::optional<QList<ProtocolArg>> argsFromJson(const QJsonValue &args, QString *error);
    static QJsonArray argsToJson(const QList<ProtocolArg> &args);

    // [a, b] with both in 0..65535.
    static bool commandFromJson(const QJsonValue &value, ushort *a, ushort *b, QString *error);
    static QJsonArray commandToJson(ushort a, ushort b);

    // Host-event fields: plain JSON, nested lists and maps kept.
    static QJsonValue plain(const QVariant &value);
};

} // namespace zubrel
