#include "tracewriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>

namespace zubrel {

TraceWriter::TraceWriter(QObject *parent)
    : QObject(parent)
{
}

TraceWriter::~TraceWriter() = default;

bool TraceWriter::open(const QString &path, QString *error)
{
    const bool ok = path.isEmpty()
        ? m_file.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered)
        : (m_file.setFileName(path), m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered));
    if (!ok && error)
        *error = m_file.errorString();
    return ok;
}

int TraceWriter::fileDescriptor() const
{
    return m_file.isOpen() ? m_file.handle() : -1;
}

void TraceWriter::write(const QString &event, const QJsonObject &fields)
{
    if (m_muted)
        return;
    // QJsonObject sorts its keys; "ev" goes first by hand so a person can
    // scan a trace by event name.
    QJsonObject rest = fields;
    rest.remove(QStringLiteral("ev"));
    QByteArray line = "{\"ev\":" + QJsonDocument(QJsonArray{event}).toJson(QJsonDocument::Compact).mid(1);
    line.chop(1); // the array's closing bracket
    const QByteArray body = QJsonDocument(rest).toJson(QJsonDocument::Compact);
    if (body.size() > 2)
        line += ',' + body.mid(1, body.size() - 2);
    line += "}\n";
    if (m_file.isOpen())
        m_file.write(line);
    ++m_count;
    QJsonObject full = rest;
    full.insert(QStringLiteral("ev"), event);
    emit written(full);
}

} // namespace zubrel
