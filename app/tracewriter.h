#pragma once
// Writes trace events, one compact JSON object per line, to a file or to
// standard output. Every line is flushed at once: when the module crashes,
// the crash handler appends to a trace that already holds everything before.

#include <QFile>
#include <QJsonObject>
#include <QObject>

namespace zubrel {

class TraceWriter : public QObject
{
    Q_OBJECT
public:
    explicit TraceWriter(QObject *parent = nullptr);
    ~TraceWriter() override;

    // Empty path: standard output.
    bool open(const QString &path, QString *error);
    bool isOpen() const { return m_file.isOpen(); }
    // The file descriptor a signal handler may write to; -1 when closed.
    int fileDescriptor() const;

    // event must carry "ev"; it is written first so traces read well.
    void write(const QString &event, const QJsonObject &fields = {});
    int count() const { return m_count; }
    // While muted, events are dropped (a soak's thousands of repetitions
    // would bury the trace); the count does not move either.
    void setMuted(bool muted) { m_muted = muted; }

signals:
    void written(const QJsonObject &event);

private:
    QFile m_file;
    int m_count = 0;
    bool m_muted = false;
};

} // namespace zubrel
