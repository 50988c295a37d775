#pragma once

#include <QDialog>

#include <functional>

class QPlainTextEdit;
class QRadioButton;

// "Save Setting": the image folder and the snapshot format.
class CSaveSettingDlg : public QDialog
{
    Q_OBJECT
public:
    // Returns the chosen folder, or an empty text when the user cancels.
    using FolderChooser =
            std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

    // format: "bmp", "jpg", "png" or "tif", as CGeneralSettings::SaveFormat gives it.
    CSaveSettingDlg(const QString& imageFolder, const QString& format, QWidget* parent = nullptr);

    QString ImageFolder() const;
    bool IsBmp() const;
    QString Format() const;
    void SetFolderChooser(FolderChooser chooser) { m_chooser = std::move(chooser); }

public slots:
    void OnSelect();

private:
    QPlainTextEdit* m_folderEdit = nullptr;
    QRadioButton* m_bmpButton = nullptr;
    QRadioButton* m_jpegButton = nullptr;
    QRadioButton* m_pngButton = nullptr;
    QRadioButton* m_tiffButton = nullptr;
    FolderChooser m_chooser;
};
