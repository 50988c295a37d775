#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CTextsHost;
class QTreeWidget;

// Lists the text annotations and lets the user change or delete them. Changes go straight to
// the host; rows keep their numbers after a deletion until the dialog is opened again.
class CTextsManagerDlg : public QDialog
{
    Q_OBJECT
public:
    // The Input dialog, replaceable so it can be scripted.
    using AskText = std::function<std::optional<QString>(const QString& initial, QWidget*)>;

    explicit CTextsManagerDlg(CTextsHost& host, QWidget* parent = nullptr);

    void SetAskText(AskText ask);

    // Row i: "%d" of i + 1 and the text of annotation i.
    static void FillTextList(QTreeWidget& list, const QStringList& texts);

private slots:
    void OnModify();
    void OnDelete();

private:
    int SelectedRow() const;

    CTextsHost& m_host;
    QTreeWidget* m_list = nullptr;
    AskText m_askText;
};
