#pragma once
// The demo's "Host requests" window: every request the chat module sent to
// the host application, newest last, with its arguments.

#include <QWidget>

#include "hostrequestlog.h"

class QTreeWidget;

namespace zubrel {

class HostRequestWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HostRequestWindow(HostRequestLog *log, QWidget *parent = nullptr);
    QTreeWidget *list() const { return m_list; }

private:
    void add(const HostRequestLog::Entry &entry);

    QTreeWidget *m_list = nullptr;
};

} // namespace zubrel
