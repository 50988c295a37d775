#pragma once

#include <QString>
#include <QWidget>

// The thumbnail list: a scrolling strip or grid of the pictures in one folder.
class CImageListWnd : public QWidget
{
    Q_OBJECT
public:
    explicit CImageListWnd(QWidget* parent = nullptr);

    void SetSingleRow(bool singleRow) { m_singleRow = singleRow; }
    void SetFolder(const QString& folder) { m_folder = folder; }
    const QString& Folder() const { return m_folder; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_singleRow = false;
    QString m_folder;
};
