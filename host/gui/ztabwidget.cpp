#include "ztabwidget.h"

#include <QTabBar>

namespace zubrel {

ZTabWidget::ZTabWidget(QWidget *parent)
    : QTabWidget(parent)
{
    setDocumentMode(true);
}

void ZTabWidget::enableTabBar(bool enable)
{
    m_tabBarEnabled = enable;
    updateTabBar();
}

void ZTabWidget::tabInserted(int index)
{
    QTabWidget::tabInserted(index);
    updateTabBar();
}

void ZTabWidget::tabRemoved(int index)
{
    QTabWidget::tabRemoved(index);
    updateTabBar();
}

void ZTabWidget::updateTabBar()
{
    tabBar()->setVisible(m_tabBarEnabled || count() > 1);
}

} // namespace zubrel
