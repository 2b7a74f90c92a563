#include "listtreewidgetitem.h"

namespace zubrel {

const QString ListTreeWidgetItem::groupMarker = QStringLiteral("GROUP");

bool ListTreeWidgetItem::operator<(const QTreeWidgetItem &other) const
{
    const QTreeWidget *tree = treeWidget();
    const int column = tree ? tree->sortColumn() : 0;
    if (column == Id)
        return text(Id).toLower() < other.text(Id).toLower();
    if (column == Status) {
        auto key = [](const QTreeWidgetItem &item) {
            QString state = item.text(Status);
            if (state == QLatin1String("0"))
                state = QStringLiteral("9");
            return state + item.text(Id).toLower();
        };
        return key(*this) < key(other);
    }
    return QTreeWidgetItem::operator<(other);
}

bool ListTreeWidgetItem::isGroup() const
{
    return text(Status) == groupMarker;
}

} // namespace zubrel
