#include "tools/InputDlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

CInputDlg::CInputDlg(const QString& text, QWidget* parent)
    : QDialog(parent), m_text(text.left(kMaxLength))
{
    setWindowTitle(tr("Input "));
    m_edit = new QPlainTextEdit(m_text, this);
    m_edit->setObjectName(QStringLiteral("text"));
    m_edit->setTabChangesFocus(true);
    m_edit->installEventFilter(this);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    resize(240, 90);

    connect(ok, &QPushButton::clicked, this, &CInputDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CInputDlg::reject);
    connect(m_edit, &QPlainTextEdit::textChanged, this, &CInputDlg::OnTextChanged);
    m_edit->moveCursor(QTextCursor::End);
    m_edit->setFocus();
}

std::optional<QString> CInputDlg::Ask(QWidget* parent, const QString& initial)
{
    CInputDlg dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Text();
}

void CInputDlg::OnTextChanged()
{
    const QString text = m_edit->toPlainText();
    const int extra = static_cast<int>(text.size()) - kMaxLength;
    if (extra <= 0)
        return;
    // Whatever was just typed or pasted ends at the cursor: drop its overflowing tail.
    QTextCursor cursor = m_edit->textCursor();
    const int end = cursor.position();
    cursor.setPosition(std::max(0, end - extra));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    if (m_edit->toPlainText().size() > kMaxLength) // the cursor was elsewhere
        m_edit->setPlainText(m_edit->toPlainText().left(kMaxLength));
}

bool CInputDlg::FilterKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return true;
    default:
        return false;
    }
}

bool CInputDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress
            && FilterKey(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void CInputDlg::keyPressEvent(QKeyEvent* event)
{
    if (!FilterKey(event))
        QDialog::keyPressEvent(event);
}

void CInputDlg::accept()
{
    m_text = m_edit->toPlainText().left(kMaxLength);
    QDialog::accept();
}

void CInputDlg::reject()
{
    m_text.clear();
    QDialog::reject();
}
