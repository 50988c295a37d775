#include "app/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

CMessageBoxes::CMessageBoxes(QWidget* mainWindow) : m_mainWindow(mainWindow), m_scope(*this) { }

QWidget* CMessageBoxes::Parent() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_mainWindow;
}

QString CMessageBoxes::Caption(const CUserMessage& message) const
{
    if (!message.caption.isEmpty())
        return message.caption;
    return m_mainWindow ? m_mainWindow->windowTitle() : QApplication::applicationDisplayName();
}

void CMessageBoxes::Inform(const CUserMessage& message)
{
    // Not exec(): a note must not hold up a second start's wake-up or a SIGTERM.
    const QMessageBox::Icon sign = message.plain ? QMessageBox::NoIcon
            : message.warning                    ? QMessageBox::Warning
                                                 : QMessageBox::Information;
    auto* box = new QMessageBox(sign, Caption(message), message.text, QMessageBox::Ok, Parent());
    if (!message.name.isEmpty())
        box->setObjectName(message.name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void CMessageBoxes::Error(const CUserMessage& message)
{
    QMessageBox box(message.information ? QMessageBox::Information : QMessageBox::Warning,
            Caption(message), message.text, QMessageBox::Ok, Parent());
    if (!message.name.isEmpty())
        box.setObjectName(message.name);
    box.exec();
}

bool CMessageBoxes::Ask(const CUserMessage& message)
{
    QMessageBox box(QMessageBox::Question, Caption(message), message.text,
            QMessageBox::Yes | QMessageBox::No, Parent());
    if (!message.name.isEmpty())
        box.setObjectName(message.name);
    box.setDefaultButton(message.yesByDefault ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
