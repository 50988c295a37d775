#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Report...": the title and note of the report and where its PDF goes. Opens on the last
// folder and title; OK is possible once there is a title and a file name.
class CReportDlg : public QDialog
{
    Q_OBJECT
public:
    CReportDlg(const QString& folder, const QString& title, QWidget* parent = nullptr);

    QString Title() const;
    QString Note() const;
    QString FilePath() const; // ends in ".pdf"

    QLineEdit* TitleEdit() const { return m_title; }
    QPlainTextEdit* NoteEdit() const { return m_note; }
    QLineEdit* FileEdit() const { return m_file; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void OnBrowse();
    void UpdateOk();

    QLineEdit* m_title = nullptr;
    QPlainTextEdit* m_note = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_ok = nullptr;
};
