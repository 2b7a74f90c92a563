#pragma once
// Typed readers for the arguments of incoming commands. Network input may
// lack an argument or carry a value of another type than expected: every
// reader says whether it found a usable value and never reads past the
// last argument.

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include "protocol.h"

namespace zubrel::Internal {

inline bool isTextual(const QVariant &value)
{
    const int type = value.metaType().id();
    return type == QMetaType::QString || type == QMetaType::QByteArray;
}

// Text: a string, or bytes read as UTF-8.
inline bool readText(const Protocol &protocol, int index, QString *text)
{
    if (!protocol.hasArg(index))
        return false;
    const QVariant value = protocol.arg(index).variant();
    if (value.metaType().id() == QMetaType::QString)
        *text = value.toString();
    else if (value.metaType().id() == QMetaType::QByteArray)
        *text = QString::fromUtf8(value.toByteArray());
    else
        return false;
    return true;
}

// Bytes: a byte array, or a string written as UTF-8.
inline bool readBytes(const Protocol &protocol, int index, QByteArray *bytes)
{
    if (!protocol.hasArg(index))
        return false;
    const QVariant value = protocol.arg(index).variant();
    if (!isTextual(value))
        return false;
    *bytes = value.metaType().id() == QMetaType::QByteArray ? value.toByteArray()
                                                           : value.toString().toUtf8();
    return true;
}

// A contact id: decimal text (or a number) naming a user other than 0.
inline bool readContactId(const Protocol &protocol, int index, QString *id)
{
    if (!protocol.hasArg(index))
        return false;
    const QVariant value = protocol.arg(index).variant();
    QString text;
    if (isTextual(value)) {
        if (!readText(protocol, index, &text))
            return false;
    } else if (value.canConvert<uint>() && value.metaType().id() != QMetaType::Bool) {
        text = value.toString();
    } else {
        return false;
    }
    bool ok = false;
    const uint number = text.trimmed().toUInt(&ok);
    if (!ok || number == 0)
        return false;
    *id = QString::number(number); // canonical form: the registry's key
    return true;
}

inline bool readInt(const Protocol &protocol, int index, int *number)
{
    if (!protocol.hasArg(index))
        return false;
    bool ok = false;
    const int value = protocol.arg(index).variant().toInt(&ok);
    if (!ok)
        return false;
    *number = value;
    return true;
}

inline bool readDouble(const Protocol &protocol, int index, double *number)
{
    if (!protocol.hasArg(index))
        return false;
    const QVariant value = protocol.arg(index).variant();
    if (isTextual(value))
        return false; // a time never travels as text
    bool ok = false;
    const double result = value.toDouble(&ok);
    if (!ok)
        return false;
    *number = result;
    return true;
}

inline bool readBool(const Protocol &protocol, int index, bool *flag)
{
    if (!protocol.hasArg(index))
        return false;
    const QVariant value = protocol.arg(index).variant();
    if (!value.canConvert<bool>())
        return false;
    *flag = value.toBool();
    return true;
}

} // namespace zubrel::Internal
