#include "valuecodec.h"

#include <QJsonObject>
#include <QRect>
#include <QStringDecoder>
#include <cmath>
#include <limits>

namespace zubrel {

namespace {

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// JSON numbers are doubles: only integral values inside the target range
// become integers, so 1.5 or 1e30 never silently turn into something else.
std::optional<qint64> integral(const QJsonValue &value, qint64 min, qint64 max)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (!std::isfinite(d) || d != std::trunc(d) || d < double(min) || d > double(max))
        return std::nullopt;
    return qint64(d);
}

std::optional<QVariant> fromTagged(const QJsonObject &object, QString *error)
{
    if (object.size() != 1) {
        *error = QStringLiteral("a tagged value has exactly one tag");
        return std::nullopt;
    }
    const QString tag = object.constBegin().key();
    const QJsonValue value = object.constBegin().value();
    auto fail = [&](const char *what) -> std::optional<QVariant> {
        *error = QStringLiteral("value of \"%1\" is not %2").arg(tag, QLatin1String(what));
        return std::nullopt;
    };
    if (tag == QLatin1String("s"))
        return value.isString() ? std::optional<QVariant>(value.toString()) : fail("a text");
    if (tag == QLatin1String("utf8"))
        return value.isString() ? std::optional<QVariant>(value.toString().toUtf8()) : fail("a text");
    if (tag == QLatin1String("b64")) {
        if (!value.isString())
            return fail("a text");
        auto decoded = QByteArray::fromBase64Encoding(value.toString().toLatin1(),
                                                      QByteArray::AbortOnBase64DecodingErrors);
        return decoded ? std::optional<QVariant>(*decoded) : fail("base64");
    }
    if (tag == QLatin1String("i")) {
        auto v = integral(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        return v ? std::optional<QVariant>(int(*v)) : fail("an int");
    }
    if (tag == QLatin1String("u")) {
        auto v = integral(value, 0, std::numeric_limits<uint>::max());
        return v ? std::optional<QVariant>(uint(*v)) : fail("an unsigned int");
    }
    // 64-bit values beyond 2^53 cannot be exact in JSON numbers: they may be
    // given as decimal text.
    if (tag == QLatin1String("ll") || tag == QLatin1String("ull")) {
        bool ok = false;
        if (value.isString()) {
            const QString text = value.toString();
            if (tag == QLatin1String("ll")) {
                const qint64 v = text.toLongLong(&ok);
                return ok ? std::optional<QVariant>(v) : fail("a 64-bit integer");
            }
            const quint64 v = text.toULongLong(&ok);
            return ok ? std::optional<QVariant>(v) : fail("an unsigned 64-bit integer");
        }
        const qint64 limit = qint64(1) << 53;
        auto v = integral(value, tag == QLatin1String("ll") ? -limit : 0, limit);
        if (!v)
            return fail("a 64-bit integer");
        return tag == QLatin1String("ll") ? QVariant(qint64(*v)) : QVariant(quint64(*v));
    }
    if (tag == QLatin1String("d"))
        return value.isDouble() ? std::optional<QVariant>(value.toDouble()) : fail("a number");
    if (tag == QLatin1String("bool"))
        return value.isBool() ? std::optional<QVariant>(value.toBool()) : fail("true or false");
    *error = QStringLiteral("unknown value tag \"%1\"").arg(tag);
    return std::nullopt;
}

} // namespace

std::optional<QVariant> ValueCodec::fromJson(const QJsonValue &value, QString *error)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QVariant();
    case QJsonValue::Bool:
        return QVariant(value.toBool());
    case QJsonValue::String:
        return QVariant(value.toString());
    case QJsonValue::Double:
        if (auto v = integral(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()))
            return QVariant(int(*v));
        return QVariant(value.toDouble());
    case QJsonValue::Object:
        return fromTagged(value.toObject(), error);
    default:
        *error = QStringLiteral("a value must be text, a number, true, false, null or a tagged object");
        return std::nullopt;
    }
}

QJsonValue ValueCodec::toTagged(const QVariant &value)
{
    auto tagged = [](const char *tag, const QJsonValue &v) { return QJsonObject{{QLatin1String(tag), v}}; };
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QJsonValue(QJsonValue::Null);
    case QMetaType::QString:
        return tagged("s", value.toString());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        if (isValidUtf8(bytes))
            return tagged("utf8", QString::fromUtf8(bytes));
        return tagged("b64", QString::fromLatin1(bytes.toBase64()));
    }
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return tagged("i", value.toInt());
    case QMetaType::UInt:
        return tagged("u", double(value.toUInt()));
    case QMetaType::LongLong:
        return tagged("ll", double(value.toLongLong()));
    case QMetaType::ULongLong:
        return tagged("ull", double(value.toULongLong()));
    case QMetaType::Double:
    case QMetaType::Float:
        return tagged("d", value.toDouble());
    case QMetaType::Bool:
        return tagged("bool", value.toBool());
    default:
        // Anything else travels as its text so the trace still shows it.
        return tagged("s", value.toString());
    }
}

std::optional<QList<ProtocolArg>> ValueCodec::argsFromJson(const QJsonValue &args, QString *error)
{
    QList<ProtocolArg> result;
    if (args.isUndefined() || args.isNull())
        return result;
    if (!args.isArray()) {
        *error = QStringLiteral("\"args\" must be a list of [type, field, value]");
        return std::nullopt;
    }
    const QJsonArray list = args.toArray();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QJsonArray arg = list.at(i).toArray();
        const auto type = integral(arg.at(0), 0, 0xFFFF);
        const auto field = integral(arg.at(1), 0, 0xFFFF);
        if (!list.at(i).isArray() || arg.size() != 3 || !type || !field) {
            *error = QStringLiteral("argument %1 must be [type, field, value] with 16-bit type and field").arg(i);
            return std::nullopt;
        }
        QString valueError;
        const auto value = fromJson(arg.at(2), &valueError);
        if (!value) {
            *error = QStringLiteral("argument %1: %2").arg(i).arg(valueError);
            return std::nullopt;
        }
        result.append(ProtocolArg(DataType(*type), DataField(*field), *value));
    }
    return result;
}

QJsonArray ValueCodec::argsToJson(const QList<ProtocolArg> &args)
{
    QJsonArray result;
    for (const ProtocolArg &arg : args)
        result.append(QJsonArray{int(arg.type()), int(arg.field()), toTagged(arg.variant())});
    return result;
}

bool ValueCodec::commandFromJson(const QJsonValue &value, ushort *a, ushort *b, QString *error)
{
    const QJsonArray pair = value.toArray();
    const auto first = integral(pair.at(0), 0, 0xFFFF);
    const auto second = integral(pair.at(1), 0, 0xFFFF);
    if (!value.isArray() || pair.size() != 2 || !first || !second) {
        *error = QStringLiteral("a command must be [a, b] with 16-bit numbers");
        return false;
    }
    *a = ushort(*first);
    *b = ushort(*second);
    return true;
}

QJsonArray ValueCodec::commandToJson(ushort a, ushort b)
{
    return QJsonArray{int(a), int(b)};
}

QJsonValue ValueCodec::plain(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QJsonValue(QJsonValue::Null);
    case QMetaType::QByteArray:
        return toTagged(value);
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QJsonArray list;
        for (const QVariant &item : value.toList())
            list.append(plain(item));
        return list;
    }
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            object.insert(it.key(), plain(it.value()));
        return object;
    }
    case QMetaType::QRect: {
        const QRect r = value.toRect();
        return QJsonArray{r.x(), r.y(), r.width(), r.height()};
    }
    default: {
        const QJsonValue json = QJsonValue::fromVariant(value);
        return json.isNull() ? QJsonValue(value.toString()) : json;
    }
    }
}

} // namespace zubrel
