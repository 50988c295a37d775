#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class CTavoGraphDll;
class QListWidget;
class QPushButton;

// "Device setting": the camera the next live start uses, and its capture format through the
// camera's format page. "Cancel", Escape and the close box put the camera and size back as
// they were when the dialog opened.
class CDeviceSettingDlg : public QDialog
{
    Q_OBJECT
public:
    // deviceName, captureWidth and captureHeight are the main window's values.
    CDeviceSettingDlg(CTavoGraphDll& graph, QString& deviceName, int& captureWidth,
            int& captureHeight, QWidget* parent = nullptr);

    // The side panel's "Resolution" combo refills itself after "OK".
    void SetRefillHook(std::function<void()> hook) { m_refill = std::move(hook); }

    QListWidget* DeviceList() const { return m_list; }
    QString SavedDeviceName() const { return m_savedName; }

public slots:
    void OnCameraSetting();
    void accept() override;
    void reject() override;

private:
    CTavoGraphDll& m_graph;
    QString& m_deviceName;
    int& m_captureWidth;
    int& m_captureHeight;
    std::function<void()> m_refill;

    QString m_savedName;
    int m_savedWidth = 0;
    int m_savedHeight = 0;

    QListWidget* m_list = nullptr;
    QPushButton* m_cameraSetting = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
