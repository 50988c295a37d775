#include "tools/TextsManagerDlg.h"

#include "tools/InputDlg.h"
#include "tools/TextsHost.h"
#include "base/UserMessages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
std::optional<QString> PlatformAskText(const QString& initial, QWidget* parent)
{
    return CInputDlg::Ask(parent, initial);
}
} // namespace

CTextsManagerDlg::CTextsManagerDlg(CTextsHost& host, QWidget* parent)
    : QDialog(parent), m_host(host), m_askText(&PlatformAskText)
{
    setWindowTitle(tr("Texts Manager"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({ tr("No."), tr("Text Content") });
    m_list->setColumnWidth(0, 50);
    m_list->setColumnWidth(1, 450);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    // The text column is wider than the list, so the view scrolls across. Bringing a current
    // cell in the text column into view (on a click, or when the focus comes back after the
    // Input dialog) would scroll "No." away; rows are picked whole, so the current cell stays
    // in the first column.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, m_list,
            [list = m_list](const QModelIndex& current) {
                if (current.isValid() && current.column() != 0)
                    list->selectionModel()->setCurrentIndex(
                            current.siblingAtColumn(0), QItemSelectionModel::NoUpdate);
            });

    auto* modify = new QPushButton(tr("Modify"), this);
    modify->setObjectName(QStringLiteral("modify"));
    auto* remove = new QPushButton(tr("Delete"), this);
    remove->setObjectName(QStringLiteral("delete"));
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(modify);
    buttons->addWidget(remove);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(470, 280);

    connect(modify, &QPushButton::clicked, this, &CTextsManagerDlg::OnModify);
    connect(remove, &QPushButton::clicked, this, &CTextsManagerDlg::OnDelete);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    FillTextList(*m_list, m_host.Texts());
}

void CTextsManagerDlg::SetAskText(AskText ask)
{
    m_askText = ask ? std::move(ask) : AskText(&PlatformAskText);
}

void CTextsManagerDlg::FillTextList(QTreeWidget& list, const QStringList& texts)
{
    list.clear();
    for (int i = 0; i < texts.size(); ++i)
        list.addTopLevelItem(new QTreeWidgetItem({ QString::number(i + 1), texts[i] }));
}

int CTextsManagerDlg::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.front());
}

void CTextsManagerDlg::OnModify()
{
    if (m_list->topLevelItemCount() == 0)
        return;
    const int row = SelectedRow();
    if (row < 0) {
        UserMessages().Error({ .text = tr("Please select one item first."),
                .caption = tr("Hint"),
                .information = true });
        return;
    }
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    const std::optional<QString> text = m_askText(item->text(1), this);
    if (!text)
        return;
    m_host.SetText(row, *text);
    item->setText(1, *text);
    m_host.InvalidateAll();
}

void CTextsManagerDlg::OnDelete()
{
    if (m_list->topLevelItemCount() == 0)
        return;
    const int row = SelectedRow();
    if (row < 0) {
        // Return answers yes: the user asked for the deletion.
        if (!UserMessages().Ask({ .text = tr("Are you going to delete all text annotations?"),
                    .caption = tr("Warnning"),
                    .yesByDefault = true }))
            return;
        m_list->clear();
        m_host.DeleteAllTexts();
    } else {
        delete m_list->takeTopLevelItem(row);
        m_host.DeleteText(row);
    }
    m_host.InvalidateAll();
}
