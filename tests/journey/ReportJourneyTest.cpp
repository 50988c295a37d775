#include "JourneyFixture.h"

#include "app/ReportDlg.h"
#include "measure/ResultListCtrl.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

// A line measured on the live picture, then Ctrl+P: the PDF holds the title, the note, the
// result and the scale, and the next report opens on the same folder and title.
TEST_F(Journey, CtrlPWritesAReportWhoseTextHoldsTheResults)
{
    ASSERT_TRUE(PictureFlows());
    DrawLine(QPoint(100, 100), QPoint(300, 100));
    CResultListCtrl& list = *m_window->ResultList();
    ASSERT_EQ(list.topLevelItemCount(), 1);
    const QString result = list.topLevelItem(0)->text(2);

    const QString pdf = m_home.filePath(QStringLiteral("reports/line check.pdf"));
    bool asked = false;
    m_modals.OnDialog([&](QWidget* modal) {
        auto* dialog = qobject_cast<CReportDlg*>(modal);
        ASSERT_TRUE(dialog);
        asked = true;
        // The display activates the dialog a moment after it shows.
        EXPECT_TRUE(QTest::qWaitFor(
                [&] { return QApplication::focusWidget() == dialog->TitleEdit(); }, 2000));
        QTest::keyClicks(dialog->TitleEdit(), QStringLiteral("Line check"));
        dialog->NoteEdit()->setPlainText(QStringLiteral("Scratch on the left edge."));
        dialog->FileEdit()->setText(pdf);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    });
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    Canvas().setFocus();
    QTest::keyClick(&Canvas(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked; }, kWaitMs))
            << "Ctrl+P asked nothing "
            << m_modals.TakeMessages().join(QLatin1Char(10)).toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(pdf); }, 3 * kWaitMs))
            << m_modals.TakeMessages().join('\n').toStdString();
    EXPECT_TRUE(m_modals.TakeMessages().isEmpty());
    EXPECT_EQ(m_window->General().m_strReportTitle, QStringLiteral("Line check"));
    EXPECT_EQ(m_window->General().m_strReportPath, QFileInfo(pdf).absolutePath());

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess text;
    text.start(QStringLiteral("pdftotext"), { pdf, QStringLiteral("-") });
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString& want :
            { QStringLiteral("Line check"), QStringLiteral("Scratch on the left edge."), result,
                    QStringLiteral("length"), QStringLiteral("Scale: none; results in pixels") })
        EXPECT_TRUE(words.contains(want)) << want.toStdString() << " not in\n"
                                          << words.toStdString();
}
