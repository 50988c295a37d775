#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QPlainTextEdit;

// Asks for the text of an annotation. Escape is ignored so a stray key cannot lose the text;
// Enter accepts, also inside the multi-line box.
class CInputDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMaxLength = 100;

    explicit CInputDlg(const QString& text = QString(), QWidget* parent = nullptr);

    // The accepted text; empty after Cancel.
    const QString& Text() const { return m_text; }

    // Runs the dialog modally: the text on OK, nothing on Cancel.
    static std::optional<QString> Ask(QWidget* parent, const QString& initial = QString());

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnTextChanged();
    // True when the key was handled here (Escape swallowed, Enter accepted).
    bool FilterKey(QKeyEvent* event);

    QString m_text;
    QPlainTextEdit* m_edit = nullptr;
};
