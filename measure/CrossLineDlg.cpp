#include "measure/CrossLineDlg.h"

#include "measure/ColorButton.h"
#include "measure/CrossLineHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// Image positions: far beyond any sensor, small enough that scaling cannot overflow.
constexpr int kMaxPosition = CCrossLine::kMaxPosition;
} // namespace

CCrossLineDlg::CCrossLineDlg(CCrossLineHost& host, QWidget* parent) : QDialog(parent), m_host(host)
{
    setWindowTitle(tr("Cross line"));

    auto* add = new QPushButton(tr("Add"), this);
    add->setObjectName(QStringLiteral("add"));
    auto* sub = new QPushButton(tr("Sub"), this);
    sub->setObjectName(QStringLiteral("sub"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);

    m_show = new QCheckBox(tr("Show line"), this);
    m_show->setObjectName(QStringLiteral("showLine"));
    auto makeEdit = [this](const char* name, bool readOnly) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(readOnly);
        if (!readOnly)
            edit->setValidator(new QIntValidator(-kMaxPosition, kMaxPosition, edit));
        return edit;
    };
    m_x = makeEdit("x", false);
    m_y = makeEdit("y", false);
    m_realX = makeEdit("realX", true);
    m_realY = makeEdit("realY", true);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("type"));
    m_type->addItem(tr("Solid line"));
    m_type->addItem(tr("Dash line"));
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setRange(kMinSize, kMaxSize);
    m_colour = new CColorButton(this);
    m_colour->setObjectName(QStringLiteral("color"));
    m_colour->setToolTip(tr("Color"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(sub);
    auto* left = new QVBoxLayout;
    left->addLayout(buttons);
    left->addWidget(m_list);

    auto* form = new QGridLayout;
    int row = 0;
    form->addWidget(m_show, row++, 0, 1, 2);
    auto addField = [&](const QString& text, const char* name, QLineEdit* edit) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setBuddy(edit);
        form->addWidget(label, row, 0);
        form->addWidget(edit, row++, 1);
    };
    // The pixel position, then the same position in the unit the picture measures in.
    const QString unit = m_host.UnitText();
    addField(tr("X (pixels)"), "xLabel", m_x);
    addField(tr("X (%1)").arg(unit), "realXLabel", m_realX);
    addField(tr("Y (pixels)"), "yLabel", m_y);
    addField(tr("Y (%1)").arg(unit), "realYLabel", m_realY);
    form->addWidget(new QLabel(tr("Type"), this), row, 0);
    form->addWidget(m_type, row++, 1);
    form->addWidget(new QLabel(tr("Size"), this), row, 0);
    form->addWidget(m_size, row++, 1);
    form->addWidget(new QLabel(tr("Color"), this), row, 0);
    form->addWidget(m_colour, row++, 1);
    form->setRowStretch(row, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(form, 1);

    // Return in a field has taken its value already; it must press no button (Add, or the
    // colour swatch).
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    connect(add, &QPushButton::clicked, this, &CCrossLineDlg::OnAdd);
    connect(sub, &QPushButton::clicked, this, &CCrossLineDlg::OnSub);
    connectSignals();

    const int count = m_host.CrossLineCount();
    for (int i = 0; i < count; ++i)
        m_list->addItem(tr("Crossline %1").arg(i));
    if (count > 0) {
        m_list->setCurrentRow(0);
        ShowRecord(0);
    }
}

void CCrossLineDlg::connectSignals()
{
    connect(m_list, &QListWidget::currentRowChanged, this, &CCrossLineDlg::OnSelChange);
    connect(m_show, &QCheckBox::clicked, this, &CCrossLineDlg::OnShowLine);
    connect(m_colour, &CColorButton::ColourChosen, this, &CCrossLineDlg::OnColor);
    connect(m_type, &QComboBox::activated, this, &CCrossLineDlg::OnType);
    connect(m_x, &QLineEdit::textChanged, this, &CCrossLineDlg::OnXChanged);
    connect(m_y, &QLineEdit::textChanged, this, &CCrossLineDlg::OnYChanged);
    connect(m_size, &QSpinBox::valueChanged, this, &CCrossLineDlg::OnSizeChanged);
}

int CCrossLineDlg::Selected() const
{
    const int row = m_list->currentRow();
    if (row < 0 || !m_list->item(row)->isSelected())
        return -1;
    return row;
}

QString CCrossLineDlg::RealText(int pixels, double scale) const
{
    return QString::asprintf("%.4f", pixels * scale);
}

void CCrossLineDlg::ShowTypeFor(int size, int type)
{
    // A wide pen only draws solid, so the type is shown as such and cannot be chosen.
    if (size > 1) {
        m_type->setCurrentIndex(0);
        m_type->setEnabled(false);
    } else {
        m_type->setCurrentIndex(type != 0 ? 1 : 0);
        m_type->setEnabled(true);
    }
}

void CCrossLineDlg::ShowRecord(int index)
{
    CCrossLine line;
    if (!m_host.GetCrossLine(index, line))
        return;
    m_bShowing = true;
    m_x->setText(QString::number(line.x));
    m_y->setText(QString::number(line.y));
    m_realX->setText(RealText(line.x, m_host.ScaleX()));
    m_realY->setText(RealText(line.y, m_host.ScaleY()));
    m_size->setValue(line.size);
    ShowTypeFor(line.size, line.type);
    m_colour->SetColour(line.colour);
    m_show->setChecked(line.shown != 0);
    m_bShowing = false;
}

void CCrossLineDlg::Store(int index, const CCrossLine& line)
{
    m_host.SetCrossLine(index, line.shown, line.x, line.y, line.type, line.colour, line.size);
    m_host.InvalidateAll();
}

void CCrossLineDlg::OnAdd()
{
    const int before = m_host.CrossLineCount();
    m_host.AppendCrossLine(CCrossLine());
    m_list->addItem(tr("Crossline %1").arg(before));
    m_list->setCurrentRow(m_list->count() - 1);
    ShowRecord(m_list->count() - 1);
    m_host.InvalidateAll();
}

void CCrossLineDlg::OnSub()
{
    const int index = Selected();
    if (index < 0)
        return;
    m_host.RemoveCrossLine(index);
    // Names stay numbered 0 ... n - 1, so the last name goes, not the removed one.
    delete m_list->takeItem(m_list->count() - 1);
    m_host.InvalidateAll();
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
        // The controls show the record now selected, never the removed one.
        ShowRecord(0);
    } else {
        m_list->setCurrentRow(-1);
    }
}

void CCrossLineDlg::OnSelChange(int row)
{
    if (row >= 0)
        ShowRecord(row);
}

void CCrossLineDlg::OnShowLine()
{
    const int index = Selected();
    CCrossLine line;
    if (index < 0 || !m_host.GetCrossLine(index, line)) {
        m_show->setChecked(!m_show->isChecked()); // undo the click: there is nothing to flip
        return;
    }
    line.shown = line.shown != 0 ? 0 : 1;
    m_show->setChecked(line.shown != 0);
    Store(index, line);
}

void CCrossLineDlg::OnColor(uint32_t colour)
{
    const int index = Selected();
    CCrossLine line;
    if (index < 0 || !m_host.GetCrossLine(index, line))
        return;
    line.colour = colour;
    Store(index, line);
}

void CCrossLineDlg::OnType(int type)
{
    const int index = Selected();
    CCrossLine line;
    if (index < 0 || !m_host.GetCrossLine(index, line))
        return;
    line.type = type;
    Store(index, line);
}

void CCrossLineDlg::OnXChanged(const QString& text)
{
    const int index = Selected();
    CCrossLine line;
    if (m_bShowing || index < 0 || !m_host.GetCrossLine(index, line))
        return;
    line.x = text.toInt();
    m_realX->setText(RealText(line.x, m_host.ScaleX()));
    Store(index, line);
}

void CCrossLineDlg::OnYChanged(const QString& text)
{
    const int index = Selected();
    CCrossLine line;
    if (m_bShowing || index < 0 || !m_host.GetCrossLine(index, line))
        return;
    line.y = text.toInt();
    m_realY->setText(RealText(line.y, m_host.ScaleY()));
    Store(index, line);
}

void CCrossLineDlg::OnSizeChanged(int size)
{
    const int index = Selected();
    CCrossLine line;
    if (m_bShowing || index < 0 || !m_host.GetCrossLine(index, line))
        return;
    line.size = size;
    ShowTypeFor(size, line.type);
    Store(index, line);
}
