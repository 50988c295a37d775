#pragma once

#include "base/ColorSetting.h"

#include <QColor>
#include <QDialog>
#include <QFont>

#include <functional>
#include <optional>

class CColorButton;
class CFontSampleButton;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

// The "Color Setting" dialog. It works on a copy of the colour settings and pushes the whole
// copy after every change, so the canvas follows at once. There is no cancel: closing in any
// way reads the controls back and pushes a last time.
class CColorSettingDlg : public QDialog
{
    Q_OBJECT
public:
    // Stores the record in the main window and applies it to the measurement engine.
    using PushHook = std::function<void(const CColorSetting&)>;
    struct FontChoice
    {
        QFont font;
        QColor colour;
    };
    using FontChooser =
            std::function<std::optional<FontChoice>(const QFont&, const QColor&, QWidget* parent)>;

    CColorSettingDlg(const CColorSetting& current, PushHook push, QWidget* parent = nullptr);

    const CColorSetting& Setting() const { return m_setting; }
    // Tests put a scripted chooser here; the default offers font, underline, strike-out and
    // colour in one window.
    void SetFontChooser(FontChooser chooser);
    static std::optional<FontChoice> PlatformFontChooser(
            const QFont& font, const QColor& colour, QWidget* parent);

    static constexpr int kLineSizeMin = 1;
    static constexpr int kLineSizeMax = 10;
    static constexpr int kGridMin = 10;
    static constexpr int kGridMax = 200;
    static constexpr int kRulerMin = 10;
    static constexpr int kRulerMax = 50;
    static constexpr int kRulerSpinMin = 5;

    void done(int result) override;

private slots:
    void OnGrid();
    void OnRuler();
    void OnScale();
    void OnLineColor(uint32_t colour);
    void OnGridColor(uint32_t colour);
    void OnRulerColor(uint32_t colour);
    void OnFont();
    void OnLineSize(int value);
    void OnGridSpin(int value);
    void OnRulerSpin(int value);
    void OnGridSlider(int value);
    void OnRulerSlider(int value);
    void OnScaleType(int index);
    void OnScalePos(int index);
    void OnXLength(const QString& text);
    void OnYLength(const QString& text);

private:
    void connectSignals();
    void Push();
    void ReadBack();

    CColorSetting m_setting;
    PushHook m_push;
    FontChooser m_fontChooser;
    bool m_bClosed = false;
    int m_rulerSpinValue = 0;

    QPushButton* m_grid = nullptr;
    QPushButton* m_ruler = nullptr;
    QPushButton* m_scale = nullptr;
    CColorButton* m_lineColor = nullptr;
    CColorButton* m_gridColor = nullptr;
    CColorButton* m_rulerColor = nullptr;
    QSpinBox* m_lineSize = nullptr;
    CFontSampleButton* m_sample = nullptr;
    QSlider* m_gridSlider = nullptr;
    QSlider* m_rulerSlider = nullptr;
    QSpinBox* m_gridSpin = nullptr;
    QSpinBox* m_rulerSpin = nullptr;
    QLineEdit* m_xLength = nullptr;
    QLineEdit* m_yLength = nullptr;
    QComboBox* m_scaleType = nullptr;
    QComboBox* m_scalePos = nullptr;
};
