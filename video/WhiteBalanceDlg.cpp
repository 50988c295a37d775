#include "video/WhiteBalanceDlg.h"

#include "base/GeneralSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

namespace {
QSlider* MakeSlider(QWidget* parent, const QString& objectName, int gain)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(objectName);
    slider->setRange(0, CWhiteBalanceDlg::kMaximum);
    slider->setPageStep(4);
    slider->setValue(gain + CWhiteBalanceDlg::kMiddle);
    slider->setMinimumWidth(200);
    return slider;
}

QLabel* MakeReadOut(QWidget* parent, const QString& objectName, int position)
{
    auto* label = new QLabel(QString::number(position), parent);
    label->setObjectName(objectName);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}
} // namespace

CWhiteBalanceDlg::CWhiteBalanceDlg(CGeneralSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("whiteBalanceDlg"));
    setWindowTitle(tr("White balance"));

    // Sliders first, then their read-outs from the positions they settled on.
    m_redSlider = MakeSlider(this, QStringLiteral("redSlider"), settings.m_nWBRed);
    m_blueSlider = MakeSlider(this, QStringLiteral("blueSlider"), settings.m_nWBBlue);
    m_redReadOut = MakeReadOut(this, QStringLiteral("redReadOut"), m_redSlider->value());
    m_blueReadOut = MakeReadOut(this, QStringLiteral("blueReadOut"), m_blueSlider->value());
    m_enable = new QCheckBox(tr("Enable"), this);
    m_enable->setObjectName(QStringLiteral("enableCheck"));
    m_enable->setChecked(settings.m_bEnableWB);
    m_redSlider->setEnabled(settings.m_bEnableWB);
    m_blueSlider->setEnabled(settings.m_bEnableWB);

    auto* redLabel = new QLabel(tr("Red"), this);
    redLabel->setBuddy(m_redSlider);
    auto* blueLabel = new QLabel(tr("Blue"), this);
    blueLabel->setBuddy(m_blueSlider);

    auto* layout = new QGridLayout(this);
    layout->addWidget(redLabel, 0, 0);
    layout->addWidget(m_redSlider, 0, 1);
    layout->addWidget(m_redReadOut, 0, 2);
    layout->addWidget(blueLabel, 1, 0);
    layout->addWidget(m_blueSlider, 1, 1);
    layout->addWidget(m_blueReadOut, 1, 2);
    layout->addWidget(m_enable, 2, 0, 1, 3);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_enable, &QCheckBox::clicked, this, &CWhiteBalanceDlg::OnEnable);
    connect(m_redSlider, &QSlider::valueChanged, this, &CWhiteBalanceDlg::OnRedMoved);
    connect(m_blueSlider, &QSlider::valueChanged, this, &CWhiteBalanceDlg::OnBlueMoved);
}

void CWhiteBalanceDlg::OnEnable()
{
    m_settings.m_bEnableWB = m_enable->isChecked();
    m_redSlider->setEnabled(m_settings.m_bEnableWB);
    m_blueSlider->setEnabled(m_settings.m_bEnableWB);
    emit changed();
}

void CWhiteBalanceDlg::OnRedMoved(int position)
{
    m_settings.m_nWBRed = position - kMiddle;
    m_redReadOut->setText(QString::number(position));
    emit changed();
}

void CWhiteBalanceDlg::OnBlueMoved(int position)
{
    m_settings.m_nWBBlue = position - kMiddle;
    m_blueReadOut->setText(QString::number(position));
    emit changed();
}
