#pragma once

#include <QDialog>

struct CGeneralSettings;
class QCheckBox;
class QLabel;
class QSlider;

// "White balance": edits the red and blue offsets and the on flag in memory. Every change is
// announced (changed) and reaches the next pumped frame; there is no OK or Cancel, and nothing
// is written to the settings file here.
class CWhiteBalanceDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kMiddle = 32; // slider position of gain 0
    static constexpr int kMaximum = 63;

    CWhiteBalanceDlg(CGeneralSettings& settings, QWidget* parent = nullptr);

    QSlider* RedSlider() const { return m_redSlider; }
    QSlider* BlueSlider() const { return m_blueSlider; }
    QLabel* RedReadOut() const { return m_redReadOut; }
    QLabel* BlueReadOut() const { return m_blueReadOut; }
    QCheckBox* EnableCheck() const { return m_enable; }

signals:
    // The offsets or the on flag changed.
    void changed();

public slots:
    void OnEnable();
    void OnRedMoved(int position);
    void OnBlueMoved(int position);

private:
    CGeneralSettings& m_settings;
    QSlider* m_redSlider;
    QSlider* m_blueSlider;
    QLabel* m_redReadOut;
    QLabel* m_blueReadOut;
    QCheckBox* m_enable;
};
