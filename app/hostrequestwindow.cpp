#include "hostrequestwindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zubrel {

HostRequestWindow::HostRequestWindow(HostRequestLog *log, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Host requests"));
    auto *layout = new QVBoxLayout(this);
    auto *hint = new QLabel(tr("What the chat module asked the messenger to do. A real client would act on "
                               "each; the demo only lists them (block and unblock do change the block list)."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_list = new QTreeWidget(this);
    m_list->setHeaderLabels({tr("Time"), tr("Request"), tr("Arguments")});
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    layout->addWidget(m_list);
    if (log) {
        for (const HostRequestLog::Entry &entry : log->entries())
            add(entry);
        connect(log, &HostRequestLog::logged, this, &HostRequestWindow::add);
    }
    resize(560, 320);
}

void HostRequestWindow::add(const HostRequestLog::Entry &entry)
{
    auto *item = new QTreeWidgetItem(m_list, {entry.time.toString(QStringLiteral("hh:mm:ss")), entry.what,
                                              entry.arguments});
    item->setToolTip(2, entry.arguments);
    m_list->scrollToItem(item);
}

} // namespace zubrel
