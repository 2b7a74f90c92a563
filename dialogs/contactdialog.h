#pragma once
// Lets the user choose contacts from the contact list: a tree of contacts
// (flat or by group) with a filter field, the list of chosen contacts,
// buttons to move rows between the two, undo and clear, and toggles for
// offline contacts, groups and contact details. getContacts() asks once and
// returns the chosen ids; group rows can never be chosen.

#include "czubuddy.h"
#include "zdialog2.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

class QLabel;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zubrel {

class ListTreeWidgetItem;
class ZSearchField;

class ContactDialog : public ZDialog2
{
    Q_OBJECT
public:
    // single: only one contact may be chosen (the "add" action passes false).
    // leaveOut: ids never offered. The result is empty unless accepted.
    static QStringList getContacts(bool single, const QStringList &leaveOut, QWidget *parent);

    explicit ContactDialog(QWidget *parent = nullptr);

    void setSingle(bool single);
    void setLeaveOut(const QStringList &ids) { m_leaveOut = ids; }
    void fillTree();

    // Ids of the chosen list, in its order.
    QStringList chosenIds() const;
    // Ids of the contact rows the tree shows now.
    QStringList offeredIds() const;
    // Chooses the shown row of a contact, as a double click would.
    bool choose(const QString &id);
    // A scripted answer: filter, toggles, choices, removals, undo.
    void applyAnswer(const QVariantMap &fields);

    // For tests: the parts a user works with.
    QTreeWidget *contactTree() const { return m_tree; }
    QTreeWidget *chosenList() const { return m_chosen; }
    ZSearchField *filterField() const { return m_filter; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *removeButton() const { return m_removeButton; }
    QPushButton *undoButton() const { return m_undoButton; }
    QPushButton *clearButton() const { return m_clearButton; }
    QToolButton *offlineToggle() const { return m_offlineToggle; }
    QToolButton *groupsToggle() const { return m_groupsToggle; }
    QToolButton *detailsToggle() const { return m_detailsToggle; }
    // A filter text as the row matcher reads it: "*" any run, "?" one
    // character, "[...]" a class; an unclosed "[" is a plain character.
    static QRegularExpression filterPattern(const QString &text);

private slots:
    void slotSearch(QString text);
    void slotEnableAddTimer();
    void slotEnableAdd();
    void slotAddTimer();
    void slotAdd();
    void slotAddDoubleClick(QTreeWidgetItem *item, int column);
    void slotClicked(QTreeWidgetItem *item, int column);
    void slotEnableRemoveTimer();
    void slotEnableRemove();
    void slotRemoveTimer();
    void slotRemove();
    void slotRemoveDoubleClick(QTreeWidgetItem *item, int column);
    void slotUndoTimer();
    void slotUndo();
    void slotClearTimer();
    void slotClear();
    void slotShowOfflineTimer();
    void slotShowOffline();
    void slotShowGroupsTimer();
    void slotShowGroups();
    void slotShowDetailsTimer();
    void slotShowDetails();
    void slotContactChanged(CZuBuddy buddy);

private:
    void buildLayout();
    QToolButton *addToggle(const QString &icon, const QString &tip);
    ListTreeWidgetItem *groupRow(const QString &key, const QString &name);
    void setContactRow(ListTreeWidgetItem *row, const CZuBuddy &buddy);
    void setStatus(ListTreeWidgetItem *row, int status);
    void renewGroupTitle(QTreeWidgetItem *group);
    QString displayText(const QTreeWidgetItem *row) const;
    QList<ListTreeWidgetItem *> contactRows() const;
    bool isChosen(const QString &id) const;
    void unchoose(const QString &id);
    void applyVisibility();
    void updateButtons();

    QLabel *m_header = nullptr;
    ZSearchField *m_filter = nullptr;
    QTreeWidget *m_tree = nullptr;
    QTreeWidget *m_chosen = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_removeButton = nullptr;
    QPushButton *m_undoButton = nullptr;
    QPushButton *m_clearButton = nullptr;
    QToolButton *m_offlineToggle = nullptr;
    QToolButton *m_groupsToggle = nullptr;
    QToolButton *m_detailsToggle = nullptr;

    QStringList m_leaveOut;
    QStringList m_undo;
    QString m_filterText;
    QHash<QString, QString> m_groupNames; // key -> shown name
    bool m_single = false;
    bool m_showOffline = true;
    bool m_showGroups = false;
    bool m_showDetails = false;
};

} // namespace zubrel
