#pragma once
// A row of the contact picker. Column 1 holds the id, column 3 the status
// digit (or "GROUP"). Sorting by status puts offline contacts ("0") after
// all others and orders equal states by id.

#include <QTreeWidgetItem>

namespace zubrel {

class ListTreeWidgetItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem &other) const override;

    bool isGroup() const;

    enum Column { Display = 0, Id = 1, Nickname = 2, Status = 3, Network = 4, FirstName = 5, LastName = 6,
                  Online = 7, Total = 8, ColumnCount = 9 };
    static const QString groupMarker;
};

} // namespace zubrel
