#pragma once

#include <QDialog>

class CImageListWnd;

// "ThumbView": the image folder as a grid of thumbnails, opened by the side panel's "Thumb".
// Opening a picture hands it to the main window and closes the dialog.
class CThumbViewDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CThumbViewDlg(const QString& folder, QWidget* parent = nullptr);

    CImageListWnd* List() const { return m_list; }

signals:
    void openRequested(const QString& path, bool reapplyZoom);
    void fileRemoved(const QString& path);

private:
    void OnOpen(const QString& path, bool reapplyZoom);

    CImageListWnd* m_list = nullptr;
};
