#include "measure/ResultListCtrl.h"

#include "base/SnapshotNamer.h"
#include "base/UserMessages.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

CResultListCtrl::CResultListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("resultList"));
    setColumnCount(4);
    setHeaderLabels({ tr("No."), tr("Type"), tr("Result"), tr("Unit") });
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setSectionsMovable(false);
    FitColumns();
    // A report list: flat rows, whole-row selection.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

namespace {
// The list shows these in the user's language; the CSV keeps the English words, which
// other programs and older files rely on.
const char* const kShownWords[] = {
    QT_TRANSLATE_NOOP("CResultListCtrl", "length"),
    QT_TRANSLATE_NOOP("CResultListCtrl", "degree"),
    QT_TRANSLATE_NOOP("CResultListCtrl", "acreage"),
    QT_TRANSLATE_NOOP("CResultListCtrl", "diameter"),
    QT_TRANSLATE_NOOP("CResultListCtrl", "distance"),
    QT_TRANSLATE_NOOP("CResultListCtrl", "deg."),
    QT_TRANSLATE_NOOP("CResultListCtrl", "px"),
    QT_TRANSLATE_NOOP("CResultListCtrl", "px^2"),
};

QString Shown(const QString& word)
{
    for (const char* known : kShownWords)
        if (word == QLatin1String(known))
            return CResultListCtrl::tr(known);
    return word;
}
} // namespace

void CResultListCtrl::FillResultList(const std::vector<CResultRow>& rows)
{
    clear();
    m_rowIds.clear();
    QList<QTreeWidgetItem*> items;
    int r = 1;
    for (const CResultRow& row : rows) {
        auto* item = new QTreeWidgetItem(
                QStringList { QString::number(r++), Shown(row.type), row.result, Shown(row.unit) });
        item->setData(ColType, Qt::UserRole, row.type);
        item->setData(ColUnit, Qt::UserRole, row.unit);
        items.append(item);
        m_rowIds.push_back(row.rowId);
    }
    addTopLevelItems(items);
    if (m_hooks.rowSelected) {
        for (int i = 0; i < items.size(); ++i)
            items[i]->setSelected(m_hooks.rowSelected(m_rowIds[static_cast<size_t>(i)]));
    }
    FitColumns();
}

void CResultListCtrl::FitColumns()
{
    // The report widths are the least a column gets; an area's unit ("inch^2") or a large value
    // needs more, and a cut-off text would read as another value.
    for (int c = 0; c < columnCount(); ++c) {
        resizeColumnToContents(c);
        if (columnWidth(c) < kColumnWidths[c])
            setColumnWidth(c, kColumnWidths[c]);
    }
}

void CResultListCtrl::Refill()
{
    FillResultList(m_hooks.resultRows ? m_hooks.resultRows() : std::vector<CResultRow> {});
}

std::vector<CResultCsv::Row> CResultListCtrl::Cells() const
{
    std::vector<CResultCsv::Row> cells;
    cells.reserve(static_cast<size_t>(topLevelItemCount()));
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = topLevelItem(i);
        cells.push_back({ item->text(ColNumber), item->data(ColType, Qt::UserRole).toString(),
                item->text(ColResult), item->data(ColUnit, Qt::UserRole).toString() });
    }
    return cells;
}

int CResultListCtrl::FirstSelectedRow() const
{
    int first = -1;
    for (const QTreeWidgetItem* item : selectedItems()) {
        const int row = indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
        if (row >= 0 && (first < 0 || row < first))
            first = row;
    }
    return first;
}

void CResultListCtrl::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        OnRowClick();
}

void CResultListCtrl::OnRowClick()
{
    if (m_highlighted && m_hooks.highlightByRowId)
        m_hooks.highlightByRowId(*m_highlighted, false);
    m_highlighted.reset();
    const int row = FirstSelectedRow();
    if (row < 0 || row >= static_cast<int>(m_rowIds.size()))
        return;
    m_highlighted = m_rowIds[static_cast<size_t>(row)];
    if (m_hooks.highlightByRowId)
        m_hooks.highlightByRowId(*m_highlighted, true);
    if (m_hooks.selectByRowId)
        m_hooks.selectByRowId(*m_highlighted);
    if (m_hooks.invalidateCanvas)
        m_hooks.invalidateCanvas();
}

void CResultListCtrl::focusOutEvent(QFocusEvent* event)
{
    QTreeWidget::focusOutEvent(event);
    // Un-highlighted without a repaint: the next frame or timer tick draws it plain.
    if (m_highlighted && m_hooks.highlightByRowId)
        m_hooks.highlightByRowId(*m_highlighted, false);
    m_highlighted.reset();
}

void CResultListCtrl::OnClear()
{
    if (m_hooks.cancelTool)
        m_hooks.cancelTool();
    const int selected = FirstSelectedRow();
    if (selected >= 0 && selected < static_cast<int>(m_rowIds.size())) {
        const uint32_t id = m_rowIds[static_cast<size_t>(selected)];
        if (m_hooks.removeByRowId)
            m_hooks.removeByRowId(id);
        m_rowIds.erase(m_rowIds.begin() + selected);
    } else if (!m_rowIds.empty()) {
        if (!Ask(tr("Are you going to delete all measure objects?"), tr("Warnning")))
            return;
        while (!m_rowIds.empty()) {
            if (m_hooks.removeByRowId)
                m_hooks.removeByRowId(m_rowIds.back());
            m_rowIds.pop_back();
        }
        if (m_hooks.removeAll)
            m_hooks.removeAll();
    } else {
        return;
    }
    m_highlighted.reset();
    Refill();
    if (m_hooks.invalidateCanvas)
        m_hooks.invalidateCanvas();
}

bool CResultListCtrl::OnSaveCsv()
{
    if (m_hooks.cancelTool)
        m_hooks.cancelTool();
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    const QString folder = m_hooks.measureFolder ? m_hooks.measureFolder() : QString();
    // On a fresh profile the folder is made first, or the dialog would fall back to the
    // working folder and propose a bare name there.
    if (!folder.isEmpty())
        CSnapshotNamer::MakeFolder(folder);
    const QString path = ChooseFile(CResultCsv::ProposedPath(folder, now));
    if (path.isEmpty())
        return false;
    QString reason;
    const QString scaleLine = m_hooks.scaleLine ? m_hooks.scaleLine() : QString();
    if (!CResultCsv::Write(path, Cells(), &reason, scaleLine)) {
        Message(tr("Cannot create the file %1:\n%2").arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    return true;
}

bool CResultListCtrl::Ask(const QString& text, const QString& caption)
{
    return UserMessages().Ask({ .text = text, .caption = caption, .yesByDefault = true });
}

void CResultListCtrl::Message(const QString& text)
{
    UserMessages().Error({ .text = text, .caption = QApplication::applicationDisplayName() });
}

QString CResultListCtrl::ChooseFile(const QString& proposed)
{
    if (m_chooseFile)
        return m_chooseFile(proposed);
    QFileDialog dialog(this, tr("Save measurement"), proposed, tr("CSV Files(*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
