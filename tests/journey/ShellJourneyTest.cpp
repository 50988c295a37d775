// Journeys of the main window's shell: the side panel and the live aids keep every caption
// whole, in both languages and in a small window.
#include "JourneyFixture.h"

#include "app/LiveAidsPanel.h"
#include "calibration/CalibrationScaling.h"
#include "calibration/CalibrationStatus.h"

#include <QGroupBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

namespace {

int Widest(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// What a person would see cut: a caption wider than its control, a wrapped text taller than
// its label, a control reaching out of the panel that scrolls it.
QStringList CutCaptions(QWidget* root)
{
    QStringList cut;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(root) || widget->width() <= 0)
            continue;
        const QFontMetrics metrics = widget->fontMetrics();
        QString text;
        bool whole = true;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            if (text.isEmpty() || Qt::mightBeRichText(text))
                continue;
            const int room = label->contentsRect().width() - 2 * label->margin();
            whole = !text.contains(QChar(0x2026)) // an ellipsis: shortened on purpose
                    && (label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                          : Widest(metrics, text) <= room);
        } else if (auto* panelButton = qobject_cast<CPanelButton*>(widget)) {
            text = panelButton->text();
            whole = panelButton->CaptionFits();
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            text = check->text();
            whole = check->sizeHint().width() <= check->width();
        } else if (auto* push = qobject_cast<QPushButton*>(widget)) {
            text = push->text();
            whole = Widest(metrics, text) + 8 <= push->width();
        } else if (auto* tool = qobject_cast<QToolButton*>(widget)) {
            text = tool->text();
            whole = text.isEmpty() || tool->toolButtonStyle() == Qt::ToolButtonIconOnly
                    || tool->sizeHint().width() <= tool->width();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            text = group->title();
            whole = Widest(metrics, text) + 12 <= group->width();
        }
        if (!whole)
            cut << QStringLiteral("%1 \"%2\" (%3 px wide)")
                            .arg(QLatin1String(widget->metaObject()->className()), text)
                            .arg(widget->width());
        // A scroll area that never scrolls sideways must hold its content within its width.
        for (QWidget* up = widget->parentWidget(); up && up != root; up = up->parentWidget()) {
            auto* area = qobject_cast<QScrollArea*>(up);
            if (!area || !area->viewport()->isAncestorOf(widget)
                    || area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
                continue;
            const QRect at(widget->mapTo(area->viewport(), QPoint(0, 0)), widget->size());
            if (at.left() < 0 || at.right() >= area->viewport()->width())
                cut << QStringLiteral("%1 \"%2\" %3..%4 outside its panel of %5 px")
                                .arg(QLatin1String(widget->metaObject()->className()), text)
                                .arg(at.left())
                                .arg(at.right())
                                .arg(area->viewport()->width());
            break;
        }
    }
    return cut;
}

} // namespace

TEST_F(Journey, EveryCaptionWholeInBothLanguagesAndAt800x500)
{
    for (const QString& language : { QStringLiteral("en"), QStringLiteral("zh_CN") }) {
        if (language != QLatin1String("en")) {
            QuitKalvex();
            CTranslationLoader::Install(*QCoreApplication::instance(), language);
            StartKalvex();
        }
        SCOPED_TRACE(language.toStdString());
        ASSERT_TRUE(PictureFlows());
        // Captions are whole words, and one line where the language needs no more.
        if (language == QLatin1String("en")) {
            EXPECT_EQ(Panel().ButtonAt(CSidePanel::SaveSetting)->text(), "Save setting");
            EXPECT_EQ(Panel().ButtonAt(CSidePanel::Distance)->text(), "Distance");
            EXPECT_EQ(Panel().ButtonAt(CSidePanel::Vertical)->text(), "Vertical");
        } else {
            EXPECT_EQ(Panel().ButtonAt(CSidePanel::CrossLine)->text(), "十字线");
        }
        CLiveAidsPanel* aids = m_window->LiveAidsPanel();
        ASSERT_TRUE(aids);
        if (!aids->Header()->isChecked())
            Click(aids->Header());
        aids->MeterCheck()->setChecked(true);
        aids->HistogramCheck()->setChecked(true);
        ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return aids->MeterLabel()->text().contains(
                            QRegularExpression(QStringLiteral("\\d")));
                },
                kWaitMs));
        // The longest calibration status: a slot made at another size and shape.
        CCalibrationSlot slot;
        slot.xPerPixel = slot.yPerPixel = 0.00512;
        slot.unit = 1;
        Panel().SetCalibrationStatus(
                CCalibrationStatus::Text(slot, 0, QStringLiteral("10x objective"),
                        CCalibrationScaling::Between({ 640, 480 }, { 1280, 720 })),
                false);
        // A finished recording names its file and its length.
        Click(aids->RecordButton());
        QTest::qWait(1200);
        Click(aids->RecordButton());
        EXPECT_FALSE(aids->RecordLabel()->text().isEmpty());
        EXPECT_TRUE(m_modals.TakeMessages().isEmpty());

        for (const QSize size : { QSize(), QSize(800, 500) }) {
            if (size.isValid()) {
                m_window->showNormal();
                m_window->resize(size);
            }
            QTest::qWait(300);
            const QStringList cut = CutCaptions(m_window.get());
            EXPECT_TRUE(cut.isEmpty()) << m_window->width() << " x " << m_window->height() << ": "
                                       << cut.join(QStringLiteral("; ")).toStdString();
        }
        // Walking through the aids with Tab never pushes them sideways.
        auto* scroll = aids->findChild<QScrollArea*>();
        ASSERT_TRUE(scroll);
        m_window->activateWindow();
        aids->PeakingCheck()->setFocus();
        for (int step = 0; step < 12; ++step) {
            QTest::keyClick(m_window->focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(scroll->horizontalScrollBar()->value(), 0) << "after Tab " << step + 1;
        }
        EXPECT_TRUE(CutCaptions(m_window.get()).isEmpty());
    }
}
