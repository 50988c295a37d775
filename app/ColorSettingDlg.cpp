#include "app/ColorSettingDlg.h"

#include "app/FontSampleButton.h"
#include "measure/ColorButton.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QPushButton* MakeToggle(const QString& caption, const char* icon, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QIcon(QLatin1String(icon)), caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setCheckable(true);
    return button;
}

// Typing is refused; only the arrows change the number.
QSpinBox* MakeSpin(int min, int max, const char* name, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(min, max);
    if (auto* edit = spin->findChild<QLineEdit*>())
        edit->setReadOnly(true);
    return spin;
}

QSlider* MakeSlider(int min, int max, int position, const char* name, QWidget* parent)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QLatin1String(name));
    slider->setRange(min, max);
    slider->setValue(position);
    return slider;
}
} // namespace

CColorSettingDlg::CColorSettingDlg(
        const CColorSetting& current, CColorSettingDlg::PushHook push, QWidget* parent)
    : QDialog(parent), m_setting(current), m_push(std::move(push)),
      m_fontChooser(&CColorSettingDlg::PlatformFontChooser)
{
    setWindowTitle(tr("Color Setting"));

    m_grid = MakeToggle(tr("Grid"), ":/icons/toggle-grid.svg", "grid", this);
    m_ruler = MakeToggle(tr("Ruler"), ":/icons/toggle-ruler.svg", "ruler", this);
    m_scale = MakeToggle(tr("Scale"), ":/icons/toggle-scale.svg", "scale", this);
    m_grid->setChecked(m_setting.GridShow);
    m_ruler->setChecked(m_setting.RulerShow);
    m_scale->setChecked(m_setting.ScaleShow);

    auto makeColour = [this](const char* name, COLORREF colour) {
        auto* button = new CColorButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(tr("Color"));
        button->setToolTip(tr("Color"));
        button->SetColour(colour);
        return button;
    };
    m_lineColor = makeColour("lineColor", m_setting.LineColor);
    m_gridColor = makeColour("gridColor", m_setting.GridColor);
    m_rulerColor = makeColour("rulerColor", m_setting.RulerColor);

    m_lineSize = MakeSpin(kLineSizeMin, kLineSizeMax, "lineSize", this);
    m_lineSize->setValue(m_setting.LineSize);
    m_gridSpin = MakeSpin(kGridMin, kGridMax, "gridSpin", this);
    m_gridSpin->setValue(m_setting.GridSize);
    m_rulerSpin = MakeSpin(kRulerSpinMin, kRulerMax, "rulerSpin", this);
    m_rulerSpin->setValue(m_setting.RulerSize);
    m_rulerSpinValue = m_rulerSpin->value();

    m_sample = new CFontSampleButton(this);
    m_sample->setObjectName(QStringLiteral("fontSample"));
    m_sample->SetSampleFont(m_setting.font);
    m_sample->SetTextColour(m_setting.TextColor);

    m_gridSlider = MakeSlider(kGridMin, kGridMax, m_setting.GridSize, "gridSlider", this);
    m_rulerSlider = MakeSlider(kRulerMin, kRulerMax, m_setting.RulerSize, "rulerSlider", this);

    auto* digits =
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), this);
    m_xLength = new QLineEdit(QString::number(m_setting.ScaleXLen), this);
    m_xLength->setObjectName(QStringLiteral("xLength"));
    m_xLength->setValidator(digits);
    m_yLength = new QLineEdit(QString::number(m_setting.ScaleYLen), this);
    m_yLength->setObjectName(QStringLiteral("yLength"));
    m_yLength->setValidator(digits);
    m_scaleType = new QComboBox(this);
    m_scaleType->setObjectName(QStringLiteral("scaleType"));
    m_scaleType->addItems({ tr("X style"), tr("X-Y style") });
    m_scaleType->setCurrentIndex(m_setting.ScaleType);
    m_scalePos = new QComboBox(this);
    m_scalePos->setObjectName(QStringLiteral("scalePos"));
    m_scalePos->addItems({ tr("TopLeft"), tr("BottomLeft"), tr("TopRight"), tr("BottomRight") });
    m_scalePos->setCurrentIndex(m_setting.ScalePos);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);

    auto* form = new QGridLayout;
    int row = 0;
    form->addWidget(new QLabel(tr("Show grid"), this), row, 0);
    form->addWidget(m_grid, row++, 1);
    form->addWidget(new QLabel(tr("Show ruler"), this), row, 0);
    form->addWidget(m_ruler, row++, 1);
    form->addWidget(new QLabel(tr("Line Color_Size"), this), row, 0);
    form->addWidget(m_lineColor, row, 1);
    form->addWidget(m_lineSize, row++, 2);
    form->addWidget(new QLabel(tr("Text Color_Font"), this), row, 0);
    form->addWidget(m_sample, row++, 1, 1, 2);
    form->addWidget(new QLabel(tr("Grid Color_Unit"), this), row, 0);
    form->addWidget(m_gridColor, row, 1);
    form->addWidget(m_gridSlider, row++, 2);
    form->addWidget(new QLabel(tr("Ruler Color_Unit"), this), row, 0);
    form->addWidget(m_rulerColor, row, 1);
    form->addWidget(m_rulerSlider, row++, 2);

    // Scale bar controls and the size spins exist for their handlers but are never shown.
    auto addHidden = [&](QWidget* label, QWidget* control) {
        if (label) {
            label->setVisible(false);
            form->addWidget(label, row, 0);
        }
        control->setVisible(false);
        form->addWidget(control, row++, 1, 1, 2);
    };
    addHidden(nullptr, m_gridSpin);
    addHidden(nullptr, m_rulerSpin);
    addHidden(new QLabel(tr("Show scale"), this), m_scale);
    addHidden(new QLabel(tr("X length"), this), m_xLength);
    addHidden(new QLabel(tr("Y length"), this), m_yLength);
    addHidden(new QLabel(tr("Type"), this), m_scaleType);
    addHidden(new QLabel(tr("Position"), this), m_scalePos);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connectSignals();
}

void CColorSettingDlg::connectSignals()
{
    connect(m_grid, &QPushButton::clicked, this, &CColorSettingDlg::OnGrid);
    connect(m_ruler, &QPushButton::clicked, this, &CColorSettingDlg::OnRuler);
    connect(m_scale, &QPushButton::clicked, this, &CColorSettingDlg::OnScale);
    connect(m_lineColor, &CColorButton::ColourChosen, this, &CColorSettingDlg::OnLineColor);
    connect(m_gridColor, &CColorButton::ColourChosen, this, &CColorSettingDlg::OnGridColor);
    connect(m_rulerColor, &CColorButton::ColourChosen, this, &CColorSettingDlg::OnRulerColor);
    connect(m_sample, &QPushButton::clicked, this, &CColorSettingDlg::OnFont);
    connect(m_lineSize, &QSpinBox::valueChanged, this, &CColorSettingDlg::OnLineSize);
    connect(m_gridSpin, &QSpinBox::valueChanged, this, &CColorSettingDlg::OnGridSpin);
    connect(m_rulerSpin, &QSpinBox::valueChanged, this, &CColorSettingDlg::OnRulerSpin);
    connect(m_gridSlider, &QSlider::valueChanged, this, &CColorSettingDlg::OnGridSlider);
    connect(m_rulerSlider, &QSlider::valueChanged, this, &CColorSettingDlg::OnRulerSlider);
    connect(m_scaleType, &QComboBox::activated, this, &CColorSettingDlg::OnScaleType);
    connect(m_scalePos, &QComboBox::activated, this, &CColorSettingDlg::OnScalePos);
    connect(m_xLength, &QLineEdit::textChanged, this, &CColorSettingDlg::OnXLength);
    connect(m_yLength, &QLineEdit::textChanged, this, &CColorSettingDlg::OnYLength);
}

void CColorSettingDlg::SetFontChooser(FontChooser chooser)
{
    m_fontChooser = chooser ? std::move(chooser) : FontChooser(&PlatformFontChooser);
}

void CColorSettingDlg::Push()
{
    if (m_push)
        m_push(m_setting);
}

void CColorSettingDlg::OnGrid()
{
    m_setting.GridShow = !m_setting.GridShow;
    m_grid->setChecked(m_setting.GridShow);
    Push();
}

void CColorSettingDlg::OnRuler()
{
    m_setting.RulerShow = !m_setting.RulerShow;
    m_ruler->setChecked(m_setting.RulerShow);
    Push();
}

void CColorSettingDlg::OnScale()
{
    m_setting.ScaleShow = !m_setting.ScaleShow;
    m_scale->setChecked(m_setting.ScaleShow);
    Push();
}

void CColorSettingDlg::OnLineColor(uint32_t colour)
{
    m_setting.LineColor = colour;
    Push();
}

void CColorSettingDlg::OnGridColor(uint32_t colour)
{
    m_setting.GridColor = colour;
    Push();
}

void CColorSettingDlg::OnRulerColor(uint32_t colour)
{
    m_setting.RulerColor = colour;
    Push();
}

void CColorSettingDlg::OnFont()
{
    const std::optional<FontChoice> choice =
            m_fontChooser(m_sample->SampleQFont(), ColorRefToQColor(m_sample->TextColour()), this);
    if (!choice)
        return;
    m_sample->SetSampleFont(CLogFont::FromQFont(choice->font, m_sample->SampleFont()));
    m_sample->SetTextColour(QColorToColorRef(choice->colour));
    m_setting.font = m_sample->SampleFont();
    m_setting.TextColor = m_sample->TextColour();
    Push();
}

void CColorSettingDlg::OnLineSize(int value)
{
    m_setting.LineSize = value;
    Push();
}

void CColorSettingDlg::OnGridSpin(int value)
{
    m_setting.GridSize = value;
    Push();
}

void CColorSettingDlg::OnRulerSpin(int value)
{
    // This spin counts steps rather than showing the size.
    m_setting.RulerSize += value > m_rulerSpinValue ? 1 : -1;
    m_rulerSpinValue = value;
    Push();
}

void CColorSettingDlg::OnGridSlider(int value)
{
    m_setting.GridSize = value;
    Push();
}

void CColorSettingDlg::OnRulerSlider(int value)
{
    m_setting.RulerSize = value;
    Push();
}

void CColorSettingDlg::OnScaleType(int index)
{
    m_setting.ScaleType = index;
    Push();
}

void CColorSettingDlg::OnScalePos(int index)
{
    m_setting.ScalePos = index;
    Push();
}

void CColorSettingDlg::OnXLength(const QString& text)
{
    m_setting.ScaleXLen = text.toInt();
    Push();
}

void CColorSettingDlg::OnYLength(const QString& text)
{
    m_setting.ScaleYLen = text.toInt();
    Push();
}

void CColorSettingDlg::ReadBack()
{
    m_setting.font = m_sample->SampleFont();
    m_setting.TextColor = m_sample->TextColour();
    m_setting.GridColor = m_gridColor->Colour();
    m_setting.LineColor = m_lineColor->Colour();
    m_setting.RulerColor = m_rulerColor->Colour();
    m_setting.GridSize = m_gridSlider->value();
    m_setting.LineSize = m_lineSize->value();
    m_setting.RulerSize = m_rulerSlider->value();
    m_setting.ScaleXLen = m_xLength->text().toInt();
    m_setting.ScaleYLen = m_yLength->text().toInt();
    m_setting.ScaleType = std::max(0, m_scaleType->currentIndex());
    m_setting.ScalePos = std::max(0, m_scalePos->currentIndex());
}

void CColorSettingDlg::done(int)
{
    // OK, the close box and Escape all keep every change.
    if (!m_bClosed) {
        m_bClosed = true;
        ReadBack();
        Push();
    }
    QDialog::done(QDialog::Accepted);
}

std::optional<CColorSettingDlg::FontChoice> CColorSettingDlg::PlatformFontChooser(
        const QFont& font, const QColor& colour, QWidget* parent)
{
    // Qt's font dialog has underline and strike-out but no colour: add a colour button.
    QDialog dialog(parent);
    dialog.setWindowTitle(tr("Font"));
    auto* fonts = new QFontDialog(font, &dialog);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts->setWindowFlags(Qt::Widget);
    auto* colourButton = new CColorButton(&dialog);
    colourButton->SetColour(QColorToColorRef(colour));
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(tr("Color"), &dialog));
    colourRow->addWidget(colourButton);
    colourRow->addStretch(1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts);
    layout->addLayout(colourRow);
    layout->addWidget(box);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FontChoice { fonts->currentFont(), ColorRefToQColor(colourButton->Colour()) };
}
