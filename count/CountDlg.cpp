#include "count/CountDlg.h"

#include "count/CountCommand.h"
#include "count/CountPreview.h"
#include "count/SizeHistogram.h"
#include "image/ImagePainter.h"
#include "image/xImage.h"
#include "imgproc/ParticleCsv.h"
#include "base/UserMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Long enough for a slider drag to settle, short enough to feel live.
constexpr int kRecountDelayMs = 150;

// In the user's language, without thousands separators: the table's numbers are read and
// copied, not admired.
QString Number(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 6);
}

} // namespace

CCountDlg::CCountDlg(const CxImage& picture, const CCalibrationSlot& slot, const QString& scaleLine,
        const QString& folder, QWidget* parent)
    : QDialog(parent), m_scale(CCountCommand::ScaleOf(slot)), m_scaleLine(scaleLine),
      m_folder(folder), m_picture(CImagePainter::ToQImage(picture)), m_planes(4), m_source(picture)
{
    setWindowTitle(tr("Count objects"));
    setObjectName(QStringLiteral("countDialog"));
    BuildControls();
    m_recount.setSingleShot(true);
    m_recount.setInterval(kRecountDelayMs);
    connect(&m_recount, &QTimer::timeout, this, &CCountDlg::CountNow);
    m_preview->SetPicture(m_picture);
    CountNow();
}

void CCountDlg::BuildControls()
{
    m_preview = new CCountPreview(this);

    m_method = new QComboBox(this);
    m_method->setObjectName(QStringLiteral("countMethod"));
    m_method->addItems({ tr("Automatic (Otsu)"), tr("Level") });
    m_levelSlider = new QSlider(Qt::Horizontal, this);
    m_levelSlider->setObjectName(QStringLiteral("countLevelSlider"));
    m_levelSlider->setRange(0, 255);
    m_levelSlider->setValue(128);
    m_levelBox = new QSpinBox(this);
    m_levelBox->setObjectName(QStringLiteral("countLevel"));
    m_levelBox->setRange(0, 255);
    m_levelBox->setValue(128);
    auto* level = new QHBoxLayout;
    level->addWidget(m_levelSlider, 1);
    level->addWidget(m_levelBox);
    m_objects = new QComboBox(this);
    m_objects->setObjectName(QStringLiteral("countObjects"));
    m_objects->addItems({ tr("Dark on light"), tr("Bright on dark") });
    m_channel = new QComboBox(this);
    m_channel->setObjectName(QStringLiteral("countChannel"));
    m_channel->addItems({ tr("Luminance"), tr("Red"), tr("Green"), tr("Blue") });
    m_split = new QCheckBox(tr("Split touching round objects"), this);
    m_split->setObjectName(QStringLiteral("countSplit"));
    m_minArea = new QSpinBox(this);
    m_minArea->setObjectName(QStringLiteral("countMinArea"));
    m_minArea->setRange(1, 100000000);
    m_minArea->setSuffix(tr(" px"));
    m_excludeEdges = new QCheckBox(tr("Leave out objects on the edge"), this);
    m_excludeEdges->setObjectName(QStringLiteral("countExcludeEdges"));

    auto* form = new QFormLayout;
    form->addRow(tr("Threshold:"), m_method);
    form->addRow(tr("Level:"), level);
    form->addRow(tr("Objects:"), m_objects);
    form->addRow(tr("Channel:"), m_channel);
    form->addRow(tr("Minimum area:"), m_minArea);
    form->addRow(m_split);
    form->addRow(m_excludeEdges);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("countSummary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_histogram = new CSizeHistogram(this);
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("countTable"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_export = buttons->addButton(tr("Export CSV..."), QDialogButtonBox::ActionRole);
    m_export->setObjectName(QStringLiteral("countExport"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_export, &QPushButton::clicked, this, &CCountDlg::OnExport);

    auto* side = new QWidget(this);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(form);
    column->addWidget(m_summary);
    column->addWidget(m_histogram);
    column->addWidget(m_table, 1);
    column->addWidget(buttons);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_preview);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    resize(1200, 720);

    // Moving the level means choosing it.
    auto levelMoved = [this](int value) {
        const QSignalBlocker a(m_levelSlider);
        const QSignalBlocker b(m_levelBox);
        m_levelSlider->setValue(value);
        m_levelBox->setValue(value);
        const QSignalBlocker c(m_method);
        m_method->setCurrentIndex(1);
        SettingsChanged();
    };
    connect(m_levelSlider, &QSlider::valueChanged, this, levelMoved);
    connect(m_levelBox, &QSpinBox::valueChanged, this, levelMoved);
    for (QComboBox* box : { m_method, m_objects, m_channel })
        connect(box, &QComboBox::currentIndexChanged, this, &CCountDlg::SettingsChanged);
    for (QCheckBox* box : { m_split, m_excludeEdges })
        connect(box, &QCheckBox::toggled, this, &CCountDlg::SettingsChanged);
    connect(m_minArea, &QSpinBox::valueChanged, this, &CCountDlg::SettingsChanged);
}

CParticleCounter::Options CCountDlg::Options() const
{
    CParticleCounter::Options options;
    options.automatic = m_method->currentIndex() == 0;
    options.level = m_levelBox->value();
    options.objects = m_objects->currentIndex() == 0 ? CParticleCounter::Objects::Dark
                                                     : CParticleCounter::Objects::Bright;
    options.channel = CParticleCounter::Channel(m_channel->currentIndex());
    options.split = m_split->isChecked();
    options.minArea = m_minArea->value();
    options.excludeEdges = m_excludeEdges->isChecked();
    return options;
}

const cv::Mat& CCountDlg::PlaneFor(CParticleCounter::Channel channel)
{
    cv::Mat& plane = m_planes[size_t(channel)];
    if (plane.empty())
        plane = CCountCommand::PlaneOf(m_source, channel);
    return plane;
}

void CCountDlg::SettingsChanged()
{
    UpdatePreview();
    m_recount.start();
}

void CCountDlg::UpdatePreview()
{
    const CParticleCounter::Options options = Options();
    const cv::Mat& plane = PlaneFor(options.channel);
    int level = options.level;
    if (options.automatic)
        level = CParticleCounter::AutomaticLevel(
                CParticleCounter::HistogramOf(plane), options.objects);
    m_preview->Overlay().SetMask(level < 0 || plane.empty()
                    ? cv::Mat()
                    : CParticleCounter::Mask(plane, level, options.objects));
    m_preview->update();
}

void CCountDlg::CountNow()
{
    m_recount.stop();
    const CParticleCounter::Options options = Options();
    m_result = CParticleCounter::Count(PlaneFor(options.channel), options, m_scale);
    if (options.automatic && m_result.level >= 0) {
        const QSignalBlocker a(m_levelSlider);
        const QSignalBlocker b(m_levelBox);
        m_levelSlider->setValue(m_result.level);
        m_levelBox->setValue(m_result.level);
    }
    UpdatePreview();
    m_preview->Overlay().SetResult(m_result);
    m_summary->setText(SummaryText());
    std::vector<double> sizes;
    for (const CParticleCounter::Particle& p : m_result.particles)
        sizes.push_back(p.diameter);
    m_histogram->SetSizes(sizes, m_scale.unit);
    FillTable();
    m_export->setEnabled(!m_picture.isNull());
}

QString CCountDlg::SummaryText() const
{
    const CParticleCounter::Summary& s = m_result.summary;
    if (m_picture.isNull())
        return tr("There is no picture to count.");
    if (s.count == 0)
        return tr("No objects found.");
    const QString unit = m_scale.unit;
    // The square sign after a placeholder would read as a digit of its number.
    return tr("%n object(s). Area (%1): mean %2, SD %3, min %4, max %5. "
              "Equivalent diameter (%6): mean %7, SD %8, min %9, max %10.",
            nullptr, s.count)
            .arg(unit + QChar(0x00B2), Number(s.area.mean), Number(s.area.sd), Number(s.area.min),
                    Number(s.area.max), unit, Number(s.diameter.mean), Number(s.diameter.sd),
                    Number(s.diameter.min))
            .arg(Number(s.diameter.max));
}

void CCountDlg::FillTable()
{
    const QString unit = m_scale.unit;
    m_table->clear();
    m_table->setColumnCount(9);
    m_table->setHorizontalHeaderLabels({ tr("No."), tr("X (%1)").arg(unit), tr("Y (%1)").arg(unit),
            tr("Area (%1)").arg(unit + QChar(0x00B2)), tr("Perimeter (%1)").arg(unit),
            tr("Eq. diameter (%1)").arg(unit), tr("Feret (%1)").arg(unit),
            tr("Min Feret (%1)").arg(unit), tr("Circularity") });
    m_table->setRowCount(int(m_result.particles.size()));
    int row = 0;
    for (const CParticleCounter::Particle& p : m_result.particles) {
        const double values[] = { double(p.number), p.x, p.y, p.area, p.perimeter, p.diameter,
            p.feret, p.minFeret, p.circularity };
        for (int column = 0; column < 9; ++column) {
            auto* item = new QTableWidgetItem(Number(values[column]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
        ++row;
    }
    m_table->resizeColumnsToContents();
}

bool CCountDlg::ExportTo(const QString& path, QString* error) const
{
    return CParticleCsv::Write(path, m_result, m_scaleLine, error);
}

void CCountDlg::OnExport()
{
    CountNow();
    const QString name =
            QStringLiteral("count-%1.csv")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")));
    const QString path = QFileDialog::getSaveFileName(this, tr("Export the count"),
            m_folder.isEmpty() ? name : QDir(m_folder).filePath(name), tr("CSV files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!ExportTo(path, &error))
        UserMessages().Error(
                { .text = tr("The count could not be saved to %1: %2").arg(path, error),
                        .caption = tr("Count objects") });
}
