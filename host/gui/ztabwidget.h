#pragma once
// Tab widget of the chat windows. With the tab bar disabled a window with a
// single conversation shows no bar; as soon as a second tab exists the bar
// comes back, otherwise the other conversations could not be reached.

#include <QTabWidget>

namespace zubrel {

class ZTabWidget : public QTabWidget
{
    Q_OBJECT
public:
    explicit ZTabWidget(QWidget *parent = nullptr);

    void enableTabBar(bool enable);
    bool isTabBarEnabled() const { return m_tabBarEnabled; }

protected:
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

private:
    void updateTabBar();

    bool m_tabBarEnabled = true;
};

} // namespace zubrel
