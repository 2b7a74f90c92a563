#include "contactdialog.h"

#include "czubuddy_administrator.h"
#include "czubuddy_group.h"
#include "dialogrunner.h"
#include "listtreewidgetitem.h"
#include "zdesktop.h"
#include "zsearchfield.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScopedPointer>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zubrel {

namespace {

using Row = ListTreeWidgetItem;
constexpr int deferMs = 20;
const QString mainGroup = QStringLiteral("main");
const QString network = QStringLiteral("ZUBREL");

struct StatusLook {
    const char *icon;
    const char *colour;
};

StatusLook lookOf(int status)
{
    switch (status) {
    case 1: return {":/online-24", "#386199"};
    case 2: return {":/away-24", "#386199"};
    case 3: return {":/exaway-24", "#386199"};
    case 4: return {":/busy-24", "#386199"};
    case 5: return {":/dnd-24", "#6a0000"};
    case 6:
    case 7: return {":/invis-24", "#808080"};
    default: return {":/offline-24", "#808080"};
    }
}

bool isOnline(const QTreeWidgetItem *row)
{
    return row->text(Row::Status) != QLatin1String("0");
}

} // namespace

QRegularExpression ContactDialog::filterPattern(const QString &text)
{
    QString pattern;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'*') {
            pattern += QStringLiteral(".*");
        } else if (c == u'?') {
            pattern += u'.';
        } else if (c == u'[') {
            const int close = text.indexOf(u']', i + 2);
            if (close < 0) {
                pattern += QStringLiteral("\\[");
                continue;
            }
            QString inner = text.mid(i + 1, close - i - 1);
            const bool negated = inner.startsWith(u'!');
            if (negated)
                inner.remove(0, 1);
            inner.replace(QLatin1String("\\"), QLatin1String("\\\\")).replace(QLatin1String("["), QLatin1String("\\["));
            pattern += (negated ? QStringLiteral("[^") : QStringLiteral("[")) + inner + u']';
            i = close;
        } else {
            pattern += QRegularExpression::escape(QString(c));
        }
    }
    QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption);
    // Whatever the user typed, the filter stays a filter.
    if (!expression.isValid())
        expression = QRegularExpression(QRegularExpression::escape(text), QRegularExpression::CaseInsensitiveOption);
    return expression;
}

QStringList ContactDialog::getContacts(bool single, const QStringList &leaveOut, QWidget *parent)
{
    QScopedPointer<ContactDialog> dialog(new ContactDialog(parent));
    ContactDialog *d = dialog.data();
    d->setSingle(single);
    d->setLeaveOut(leaveOut);
    d->fillTree();
    d->applyVisibility();
    if (parent) {
        const QRect frame = parent->frameGeometry();
        d->move(frame.x() + (frame.width() - d->width()) / 2, frame.y() + (frame.height() - d->height()) / 2);
    } else {
        ZDesktop::setCentered(d);
    }
    DialogRunner::Hooks hooks;
    hooks.apply = [d](const QVariantMap &fields) { d->applyAnswer(fields); };
    hooks.fields = [d] {
        return QVariantMap{{QStringLiteral("offered"), d->offeredIds()}, {QStringLiteral("chosen"), d->chosenIds()}};
    };
    if (DialogRunner::run(d, QStringLiteral("ContactDialog"), tr("Add Contact(s)"), hooks) != 1)
        return {};
    return d->chosenIds();
}

ContactDialog::ContactDialog(QWidget *parent)
    : ZDialog2(parent)
{
    setObjectName(QStringLiteral("ContactDialog"));
    buildLayout();
    setWindowTitle(tr("Add Contact(s)"));
    resize(440, 320);
    connect(CZuBuddy_Administrator::Instance(), &CZuBuddy_Administrator::OnBuddyChanged, this,
            &ContactDialog::slotContactChanged);
}

QToolButton *ContactDialog::addToggle(const QString &icon, const QString &tip)
{
    auto *toggle = new QToolButton(this);
    toggle->setIcon(QIcon(icon));
    toggle->setToolTip(tip);
    toggle->setCheckable(true);
    toggle->setAutoRaise(true);
    return toggle;
}

void ContactDialog::buildLayout()
{
    auto *outer = new QVBoxLayout(this);
    m_header = new QLabel(QStringLiteral("<b>") + tr("Add Contact(s)") + QStringLiteral("</b>"), this);
    m_header->setWordWrap(true);
    outer->addWidget(m_header);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Contact List"), this), 0, 0);
    grid->addWidget(new QLabel(tr("Added Contact(s)"), this), 0, 2);
    m_filter = new ZSearchField(this);
    m_filter->setDefaultText(tr("Filter Contacts"));
    grid->addWidget(m_filter, 1, 0);

    m_tree = new QTreeWidget(this);
    m_tree->setColumnCount(Row::ColumnCount);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < Row::ColumnCount; ++column)
        m_tree->setColumnHidden(column, true);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(Row::Status, Qt::AscendingOrder);
    grid->addWidget(m_tree, 2, 0);

    auto *moves = new QVBoxLayout;
    auto button = [this, moves](const QString &icon, const QString &tip) {
        auto *b = new QPushButton(QIcon(icon), QString(), this);
        b->setToolTip(tip);
        b->setEnabled(false);
        moves->addWidget(b);
        return b;
    };
    moves->addStretch(1);
    m_addButton = button(QStringLiteral(":/darrow_right-16"), tr("Add Contact(s)"));
    m_removeButton = button(QStringLiteral(":/darrow_left-16"), tr("Remove contact(s)"));
    m_undoButton = button(QStringLiteral(":/undo-16"), tr("Undo"));
    m_clearButton = button(QStringLiteral(":/darrow_start-16"), tr("Clear view"));
    moves->addStretch(1);
    grid->addLayout(moves, 2, 1);

    m_chosen = new QTreeWidget(this);
    m_chosen->setColumnCount(2);
    m_chosen->setColumnHidden(1, true);
    m_chosen->setHeaderHidden(true);
    m_chosen->setRootIsDecorated(false);
    m_chosen->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->addWidget(m_chosen, 1, 2, 2, 1);
    outer->addLayout(grid, 1);

    auto *lower = new QHBoxLayout;
    m_offlineToggle = addToggle(QStringLiteral(":/filter_offline-16"), tr("Enable/disable offline contacts"));
    m_offlineToggle->setChecked(true);
    m_groupsToggle = addToggle(QStringLiteral(":/filter_groups-16"), tr("Enable/disable groups"));
    m_detailsToggle = addToggle(QStringLiteral(":/filter_details-16"), tr("Enable/disable contact details"));
    lower->addWidget(m_offlineToggle);
    lower->addWidget(m_groupsToggle);
    lower->addWidget(m_detailsToggle);
    lower->addStretch(1);
    auto *ok = new QPushButton(tr("&Ok"), this);
    ok->setFixedSize(110, 26);
    ok->setDefault(true);
    auto *cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setFixedSize(110, 26);
    lower->addWidget(ok);
    lower->addWidget(cancel);
    outer->addLayout(lower);

    connect(m_filter, &QLineEdit::textChanged, this, &ContactDialog::slotSearch);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &ContactDialog::slotEnableAddTimer);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &ContactDialog::slotAddDoubleClick);
    connect(m_tree, &QTreeWidget::itemClicked, this, &ContactDialog::slotClicked);
    connect(m_chosen, &QTreeWidget::itemSelectionChanged, this, &ContactDialog::slotEnableRemoveTimer);
    connect(m_chosen, &QTreeWidget::itemDoubleClicked, this, &ContactDialog::slotRemoveDoubleClick);
    connect(m_addButton, &QPushButton::clicked, this, &ContactDialog::slotAddTimer);
    connect(m_removeButton, &QPushButton::clicked, this, &ContactDialog::slotRemoveTimer);
    connect(m_undoButton, &QPushButton::clicked, this, &ContactDialog::slotUndoTimer);
    connect(m_clearButton, &QPushButton::clicked, this, &ContactDialog::slotClearTimer);
    connect(m_offlineToggle, &QToolButton::clicked, this, &ContactDialog::slotShowOfflineTimer);
    connect(m_groupsToggle, &QToolButton::clicked, this, &ContactDialog::slotShowGroupsTimer);
    connect(m_detailsToggle, &QToolButton::clicked, this, &ContactDialog::slotShowDetailsTimer);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ContactDialog::setSingle(bool single)
{
    m_single = single;
    m_tree->setSelectionMode(single ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

// ---------------------------------------------------------------------------
// Rows

void ContactDialog::fillTree()
{
    m_tree->clear();
    m_groupNames.clear();
    QHash<uint, QString> groupOf;
    for (const CZuBuddy_Group &group : CZuBuddy_Administrator::Instance()->Groups()) {
        for (const CZuBuddy &buddy : group.Buddies())
            groupOf.insert(buddy.Id(), group.Name());
    }
    for (const CZuBuddy &buddy : CZuBuddy_Administrator::Instance()->Buddies()) {
        const QString id = buddy.zubrelId();
        if (m_leaveOut.contains(id) || buddy.IsCurrentUser())
            continue;
        Row *row = nullptr;
        if (m_showGroups) {
            QString name = groupOf.value(buddy.Id());
            const QString key = name.isEmpty() ? mainGroup : name;
            if (name.isEmpty())
                name = tr("Main Group");
            row = new Row(groupRow(key, name));
        } else {
            row = new Row(m_tree);
        }
        setContactRow(row, buddy);
    }
    m_tree->expandAll();
    // Sorted when filled; see slotContactChanged for why not after that.
    m_tree->setSortingEnabled(true);
}

ListTreeWidgetItem *ContactDialog::groupRow(const QString &key, const QString &name)
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        auto *row = static_cast<Row *>(m_tree->topLevelItem(i));
        if (row->isGroup() && row->text(Row::Id) == key)
            return row;
    }
    auto *group = new Row(m_tree);
    m_groupNames.insert(key, name);
    group->setText(Row::Display, QStringLiteral("%1 (0/0)").arg(name));
    group->setText(Row::Id, key);
    group->setText(Row::Nickname, key);
    group->setText(Row::Status, Row::groupMarker);
    group->setText(Row::Network, network);
    group->setText(Row::Online, QStringLiteral("0"));
    group->setText(Row::Total, QStringLiteral("0"));
    group->setFlags(Qt::ItemIsEnabled);
    QFont bold = group->font(Row::Display);
    bold.setBold(true);
    group->setFont(Row::Display, bold);
    return group;
}

void ContactDialog::setContactRow(ListTreeWidgetItem *row, const CZuBuddy &buddy)
{
    row->setText(Row::Id, buddy.zubrelId());
    row->setText(Row::Nickname, buddy.IsNicknameValid() ? buddy.Nickname() : buddy.zubrelId());
    row->setText(Row::Network, network);
    row->setText(Row::FirstName, buddy.FirstName());
    row->setText(Row::LastName, buddy.LastName());
    row->setText(Row::Display, displayText(row));
    setStatus(row, buddy.IsUserStateValid() ? buddy.UserState() : 0);
}

void ContactDialog::setStatus(ListTreeWidgetItem *row, int status)
{
    if (status < 1 || status > 7)
        status = 0;
    const StatusLook look = lookOf(status);
    row->setText(Row::Status, QString::number(status));
    row->setIcon(Row::Display, QIcon(QLatin1String(look.icon)));
    row->setForeground(Row::Display, QColor(QLatin1String(look.colour)));
    if (row->parent())
        renewGroupTitle(row->parent());
}

void ContactDialog::renewGroupTitle(QTreeWidgetItem *group)
{
    int online = 0;
    for (int i = 0; i < group->childCount(); ++i)
        online += isOnline(group->child(i)) ? 1 : 0;
    const int total = group->childCount();
    group->setText(Row::Online, QString::number(online));
    group->setText(Row::Total, QString::number(total));
    group->setText(Row::Display, QStringLiteral("%1 (%2/%3)")
                                     .arg(m_groupNames.value(group->text(Row::Id)), QString::number(online),
                                          QString::number(total)));
}

QString ContactDialog::displayText(const QTreeWidgetItem *row) const
{
    const QString nick = row->text(Row::Nickname);
    const QString id = row->text(Row::Id);
    if (m_showDetails) {
        const QString name = QStringList{row->text(Row::FirstName), row->text(Row::LastName)}.join(u' ');
        return QStringLiteral("%1 - %2 (%3)").arg(nick, name, id);
    }
    return QStringLiteral("%1 (%2)").arg(nick, id);
}

QList<ListTreeWidgetItem *> ContactDialog::contactRows() const
{
    QList<Row *> rows;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        auto *row = static_cast<Row *>(*it);
        if (!row->isGroup())
            rows.append(row);
    }
    return rows;
}

QStringList ContactDialog::chosenIds() const
{
    QStringList ids;
    // Every row of the chosen list, in its order (the wildcard "*").
    const auto rows = m_chosen->findItems(QStringLiteral("*"), Qt::MatchWildcard, 1);
    for (const QTreeWidgetItem *row : rows)
        ids.append(row->text(1));
    return ids;
}

QStringList ContactDialog::offeredIds() const
{
    QStringList ids;
    for (const Row *row : contactRows()) {
        if (!row->isHidden())
            ids.append(row->text(Row::Id));
    }
    return ids;
}

bool ContactDialog::isChosen(const QString &id) const
{
    for (int i = 0; i < m_chosen->topLevelItemCount(); ++i) {
        if (m_chosen->topLevelItem(i)->text(1) == id)
            return true;
    }
    return false;
}

void ContactDialog::applyVisibility()
{
    const bool filtering = !m_filterText.isEmpty();
    const QRegularExpression pattern = filterPattern(QStringLiteral("*%1*").arg(m_filterText));
    auto matches = [&](const Row *row) {
        if (!filtering)
            return true;
        for (int column : {Row::Id, Row::Nickname, Row::FirstName, Row::LastName}) {
            if (pattern.match(row->text(column)).hasMatch())
                return true;
        }
        return false;
    };
    for (Row *row : contactRows()) {
        const QString id = row->text(Row::Id);
        const bool shown = !isChosen(id) && (m_showOffline || isOnline(row)) && matches(row);
        row->setHidden(!shown);
    }
    // Groups with nothing to offer under a filter get out of the way.
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        auto *top = static_cast<Row *>(m_tree->topLevelItem(i));
        if (!top->isGroup())
            continue;
        bool any = false;
        for (int c = 0; c < top->childCount() && !any; ++c)
            any = !top->child(c)->isHidden();
        top->setHidden(filtering && !any);
    }
    updateButtons();
}

void ContactDialog::updateButtons()
{
    bool addable = false;
    for (const QTreeWidgetItem *item : m_tree->selectedItems())
        addable = addable || (!static_cast<const Row *>(item)->isGroup() && !item->isHidden());
    m_addButton->setEnabled(addable);
    m_removeButton->setEnabled(!m_chosen->selectedItems().isEmpty());
    m_undoButton->setEnabled(!m_undo.isEmpty());
    m_clearButton->setEnabled(m_chosen->topLevelItemCount() > 0);
}

// ---------------------------------------------------------------------------
// Choosing

void ContactDialog::slotAddDoubleClick(QTreeWidgetItem *item, int)
{
    auto *row = static_cast<Row *>(item);
    if (!row || row->isGroup() || row->isHidden()) {
        if (row)
            row->setSelected(false);
        return;
    }
    const QString id = row->text(Row::Id);
    if (isChosen(id))
        return;
    if (m_single) {
        for (const QString &earlier : chosenIds())
            unchoose(earlier);
    }
    auto *chosen = new QTreeWidgetItem(m_chosen);
    chosen->setText(1, id);
    chosen->setText(0, displayText(row));
    chosen->setIcon(0, row->icon(Row::Display));
    m_undo.append(id);
    row->setSelected(false);
    applyVisibility();
}

bool ContactDialog::choose(const QString &id)
{
    for (Row *row : contactRows()) {
        if (row->text(Row::Id) == id && !row->isHidden()) {
            slotAddDoubleClick(row, 0);
            return true;
        }
    }
    return false;
}

void ContactDialog::slotAdd()
{
    const QList<QTreeWidgetItem *> selected = m_tree->selectedItems();
    for (QTreeWidgetItem *item : selected)
        slotAddDoubleClick(item, 0);
}

void ContactDialog::slotClicked(QTreeWidgetItem *item, int)
{
    // A group row opens or closes; it is never part of a selection.
    auto *row = static_cast<Row *>(item);
    if (row && row->isGroup()) {
        row->setSelected(false);
        row->setExpanded(!row->isExpanded());
    }
}

void ContactDialog::unchoose(const QString &id)
{
    for (int i = m_chosen->topLevelItemCount() - 1; i >= 0; --i) {
        if (m_chosen->topLevelItem(i)->text(1) == id)
            delete m_chosen->takeTopLevelItem(i);
    }
    m_undo.removeAll(id);
    m_chosen->clearSelection();
    m_chosen->setCurrentItem(nullptr);
    applyVisibility();
}

void ContactDialog::slotRemoveDoubleClick(QTreeWidgetItem *item, int)
{
    if (item)
        unchoose(item->text(1));
}

void ContactDialog::slotRemove()
{
    QStringList ids;
    for (const QTreeWidgetItem *item : m_chosen->selectedItems())
        ids.append(item->text(1));
    for (const QString &id : std::as_const(ids))
        unchoose(id);
}

void ContactDialog::slotUndo()
{
    if (!m_undo.isEmpty())
        unchoose(m_undo.last());
}

void ContactDialog::slotClear()
{
    for (const QString &id : chosenIds())
        unchoose(id);
}

// ---------------------------------------------------------------------------
// Filter and toggles

void ContactDialog::slotSearch(QString text)
{
    if (text == m_filter->defaultText())
        text.clear();
    m_filterText = text;
    applyVisibility();
}

void ContactDialog::slotShowOffline()
{
    m_showOffline = !m_showOffline;
    m_offlineToggle->setChecked(m_showOffline);
    applyVisibility();
}

void ContactDialog::slotShowGroups()
{
    m_showGroups = !m_showGroups;
    m_groupsToggle->setChecked(m_showGroups);
    fillTree(); // chosen rows, details and the filter apply to the new rows below
    applyVisibility();
}

void ContactDialog::slotShowDetails()
{
    m_showDetails = !m_showDetails;
    m_detailsToggle->setChecked(m_showDetails);
    QHash<QString, QString> texts;
    for (Row *row : contactRows()) {
        row->setText(Row::Display, displayText(row));
        texts.insert(row->text(Row::Id), row->text(Row::Display));
    }
    for (int i = 0; i < m_chosen->topLevelItemCount(); ++i) {
        QTreeWidgetItem *chosen = m_chosen->topLevelItem(i);
        chosen->setText(0, texts.value(chosen->text(1), chosen->text(0)));
    }
}

void ContactDialog::slotContactChanged(CZuBuddy buddy)
{
    // Rows stay where they are while the user picks: a contact whose
    // presence changes must not move away from under the pointer (and
    // another slide in to be added by the click meant for it).
    m_tree->setSortingEnabled(false);
    const QString id = buddy.zubrelId();
    for (Row *row : contactRows()) {
        if (row->text(Row::Id) != id)
            continue;
        setContactRow(row, buddy);
        for (int i = 0; i < m_chosen->topLevelItemCount(); ++i) {
            if (m_chosen->topLevelItem(i)->text(1) == id) {
                m_chosen->topLevelItem(i)->setText(0, row->text(Row::Display));
                m_chosen->topLevelItem(i)->setIcon(0, row->icon(Row::Display));
            }
        }
    }
    applyVisibility();
}

void ContactDialog::applyAnswer(const QVariantMap &fields)
{
    auto flag = [&fields](const char *name, bool current) {
        const auto it = fields.find(QLatin1String(name));
        return it == fields.end() ? current : it->toBool();
    };
    if (flag("offline", m_showOffline) != m_showOffline)
        slotShowOffline();
    if (flag("groups", m_showGroups) != m_showGroups)
        slotShowGroups();
    if (flag("details", m_showDetails) != m_showDetails)
        slotShowDetails();
    if (fields.contains(QStringLiteral("filter")))
        m_filter->setText(fields.value(QStringLiteral("filter")).toString());
    for (const QVariant &id : fields.value(QStringLiteral("choose")).toList())
        choose(id.toString());
    for (const QVariant &id : fields.value(QStringLiteral("remove")).toList())
        unchoose(id.toString());
    for (int i = fields.value(QStringLiteral("undo")).toInt(); i > 0; --i)
        slotUndo();
    if (fields.value(QStringLiteral("clear")).toBool())
        slotClear();
}

// Deferred user actions: the button or selection finishes first.
void ContactDialog::slotEnableAddTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotEnableAdd); }
void ContactDialog::slotEnableAdd() { updateButtons(); }
void ContactDialog::slotAddTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotAdd); }
void ContactDialog::slotEnableRemoveTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotEnableRemove); }
void ContactDialog::slotEnableRemove() { updateButtons(); }
void ContactDialog::slotRemoveTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotRemove); }
void ContactDialog::slotUndoTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotUndo); }
void ContactDialog::slotClearTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotClear); }
void ContactDialog::slotShowOfflineTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotShowOffline); }
void ContactDialog::slotShowGroupsTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotShowGroups); }
void ContactDialog::slotShowDetailsTimer() { QTimer::singleShot(deferMs, this, &ContactDialog::slotShowDetails); }

} // namespace zubrel
