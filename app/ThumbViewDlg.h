#pragma once

#include <QDialog>

class CImageListWnd;

// "Thumb": the image folder as a grid of thumbnails, shown maximised.
class CThumbViewDlg : public QDialog
{
    Q_OBJECT
public:
    CThumbViewDlg(const QString& imageFolder, QWidget* parent = nullptr);

    CImageListWnd* List() const { return m_list; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CImageListWnd* m_list;
};
