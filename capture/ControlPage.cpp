#include "capture/ControlPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <linux/videodev2.h>

CControlPage::CControlPage(CCameraControls* controls, const QString& title,
        const QList<CCameraControlInfo>& items, QWidget* parent)
    : CPropertyPage(parent), m_controls(controls), m_title(title)
{
    if (items.isEmpty()) {
        // An empty page would look like a window that failed to load.
        auto* note = new QLabel(tr("This camera offers no adjustable controls."), this);
        note->setObjectName(QStringLiteral("noControls"));
        note->setWordWrap(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(note);
        layout->addStretch(1);
        return;
    }
    auto* form = new QFormLayout;
    for (const CCameraControlInfo& info : items)
        AddControl(info, form);
    auto* defaults = new QPushButton(tr("Default"), this);
    defaults->setObjectName(QStringLiteral("defaults"));
    connect(defaults, &QPushButton::clicked, this, &CControlPage::OnDefaults);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(defaults);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(row);
}

void CControlPage::AddControl(const CCameraControlInfo& info, QFormLayout* layout)
{
    int32_t value = info.defaultValue;
    m_controls->Get(info.id, value);
    const bool readOnly = info.flags & (V4L2_CTRL_FLAG_READ_ONLY | V4L2_CTRL_FLAG_GRABBED);
    const uint32_t id = info.id;
    QWidget* editor = nullptr;
    switch (info.type) {
    case V4L2_CTRL_TYPE_INTEGER: {
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setRange(info.minimum, info.maximum);
        slider->setSingleStep(qMax(1, info.step));
        slider->setPageStep(qMax(1, (info.maximum - info.minimum) / 10));
        slider->setValue(value);
        auto* label = new QLabel(QString::number(value), this);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-00000")));
        connect(slider, &QSlider::valueChanged, this, [this, id, label](int v) {
            label->setNum(v);
            Note(id, v);
        });
        m_resetters.append([slider, def = info.defaultValue] { slider->setValue(def); });
        auto* box = new QWidget(this);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(slider, 1);
        row->addWidget(label);
        slider->setEnabled(!readOnly);
        slider->setObjectName(QStringLiteral("control%1").arg(id));
        layout->addRow(info.name, box);
        return;
    }
    case V4L2_CTRL_TYPE_BOOLEAN: {
        auto* check = new QCheckBox(this);
        check->setChecked(value != 0);
        connect(check, &QCheckBox::toggled, this, [this, id](bool on) { Note(id, on ? 1 : 0); });
        m_resetters.append([check, def = info.defaultValue] { check->setChecked(def != 0); });
        editor = check;
        break;
    }
    case V4L2_CTRL_TYPE_MENU:
    case V4L2_CTRL_TYPE_INTEGER_MENU: {
        auto* combo = new QComboBox(this);
        for (int i = 0; i < info.menu.size(); ++i) {
            if (info.menu[i].isEmpty())
                continue; // the driver leaves gaps in some menus
            combo->addItem(info.menu[i], info.minimum + i);
        }
        combo->setCurrentIndex(combo->findData(value));
        connect(combo, &QComboBox::activated, this,
                [this, id, combo](int index) { Note(id, combo->itemData(index).toInt()); });
        m_resetters.append([this, combo, id, def = info.defaultValue] {
            const int index = combo->findData(def);
            if (index >= 0 && index != combo->currentIndex()) {
                combo->setCurrentIndex(index);
                Note(id, def);
            }
        });
        editor = combo;
        break;
    }
    default:
        return; // buttons, strings and compound controls have no place on these pages
    }
    editor->setEnabled(!readOnly);
    editor->setObjectName(QStringLiteral("control%1").arg(id));
    layout->addRow(info.name, editor);
}

void CControlPage::Note(uint32_t id, int32_t value)
{
    m_pending[id] = value;
    emit Changed();
}

void CControlPage::OnDefaults()
{
    for (const auto& reset : m_resetters)
        reset();
}

void CControlPage::Apply()
{
    // Switches first: an automatic mode turned off makes its manual value writable.
    for (int step = 0; step < 2; ++step) {
        const int pass = m_valuesFirst ? 1 - step : step;
        for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
            CCameraControlInfo info;
            const bool isSwitch =
                    m_controls->Query(it.key(), info) && info.type != V4L2_CTRL_TYPE_INTEGER;
            if (isSwitch == (pass == 0))
                m_controls->Set(it.key(), it.value());
        }
    }
    m_pending.clear();
    m_valuesFirst = false;
}

QList<CControlPage*> CControlPage::CreatePages(CCameraControls* controls)
{
    QList<CControlPage*> pages;
    if (!controls)
        return pages;
    QList<uint32_t> classes;
    QMap<uint32_t, QString> titles;
    QMap<uint32_t, QList<CCameraControlInfo>> members;
    for (const CCameraControlInfo& info : controls->List()) {
        const uint32_t controlClass = V4L2_CTRL_ID2CLASS(info.id);
        if (!classes.contains(controlClass))
            classes.append(controlClass);
        if (info.type == V4L2_CTRL_TYPE_CTRL_CLASS)
            titles[controlClass] = info.name;
        else
            members[controlClass].append(info);
    }
    for (uint32_t controlClass : classes) {
        if (members.value(controlClass).isEmpty())
            continue;
        QString title = titles.value(controlClass);
        if (title.isEmpty())
            title = controlClass == V4L2_CTRL_CLASS_USER     ? tr("User Controls")
                    : controlClass == V4L2_CTRL_CLASS_CAMERA ? tr("Camera Controls")
                                                             : tr("Controls");
        pages.append(new CControlPage(controls, title, members.value(controlClass)));
    }
    return pages;
}
