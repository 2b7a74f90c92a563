#include "hostrequestlog.h"

#include "czubuddy_administrator.h"
#include "simulatednetwork.h"

namespace zubrel {

namespace {

struct Known
{
    ushort a;
    ushort b;
    const char *what;
};

// Commands the host handles itself, with what the demo calls them.
constexpr Known hostCommands[] = {
    {1, 0xF00D, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "Show profile")},
    {1, 0xF186, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "Show history")},
    {1, 0x0015, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "File transfer")},
    {1, 0xF100, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "Voice call")},
    {1, 0xF101, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "Open web folder")},
    {1, 0xF180, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "Authorisation request")},
    {1, 0x0021, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "Block")},
    {1, 0x0020, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "Unblock")},
    {1, 0xF0B0, QT_TRANSLATE_NOOP("zubrel::HostRequestLog", "New own picture")},
};

QString contactName(const QString &id)
{
    bool ok = false;
    const uint number = id.toUInt(&ok);
    const BuddyData *data = ok ? CZuBuddy_Administrator::Instance()->data(number) : nullptr;
    if (!data || data->nickname.isEmpty())
        return id;
    return QStringLiteral("%1 (%2)").arg(data->nickname, id);
}

QString valueText(const ProtocolArg &arg)
{
    const QVariant value = arg.variant();
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

} // namespace

std::optional<HostRequestLog::Entry> HostRequestLog::describe(const SentRequest &request)
{
    const Known *known = nullptr;
    for (const Known &candidate : hostCommands) {
        if (request.command.isCommand(candidate.a, candidate.b))
            known = &candidate;
    }
    if (!known)
        return std::nullopt;
    Entry entry;
    entry.time = QDateTime::currentDateTime();
    entry.what = tr(known->what);
    QStringList parts;
    QStringList files;
    for (const ProtocolArg &arg : request.args) {
        const QString value = valueText(arg);
        if (arg.field() == 128) {
            files.append(value);
        } else if (arg.field() == 126) {
            continue; // the file count: the files themselves follow
        } else if (arg.field() == 1 && value.contains(u':')) {
            // Calls and sip links share one command: a link has a scheme.
            entry.what = tr("SIP link");
            parts.append(value);
        } else if (arg.field() == 1) {
            parts.append(tr("contact %1").arg(contactName(value)));
        } else if (arg.field() == 0 && known->b == 0xF180) {
            parts.append(tr("alias \"%1\"").arg(value));
        } else {
            parts.append(QStringLiteral("%1=%2").arg(arg.field()).arg(value));
        }
    }
    if (known->b == 0x0015 && files.isEmpty())
        parts.append(tr("files to be chosen"));
    else if (!files.isEmpty())
        parts.append(tr("files %1").arg(files.join(QStringLiteral(", "))));
    entry.arguments = parts.join(QStringLiteral(", "));
    return entry;
}

void HostRequestLog::record(const SentRequest &request)
{
    const std::optional<Entry> entry = describe(request);
    if (!entry)
        return;
    m_entries.append(*entry);
    emit logged(*entry);
}

} // namespace zubrel
