#include "MergeTestImages.h"
#include "RecordingMessages.h"

#include "tools/ImageCompareDlg.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstring>
#include <deque>

namespace {

class CompareFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_frame = TexturePicture(64, 48, 1);
    }

    CImageCompareDlg::Hooks Hooks()
    {
        CImageCompareDlg::Hooks hooks;
        hooks.captureToFrame = [this] {
            ++m_captures;
            m_frame = TexturePicture(64 + m_captures, 48, 50 + m_captures);
        };
        hooks.currentFrame = [this]() -> const CxImage& { return m_frame; };
        hooks.imageFolder = [this] { return m_dir.path(); };
        hooks.chooseImageFile = [this](QWidget*, const QString& folder) {
            m_startFolder = folder;
            return NextChosen(m_chosen);
        };
        return hooks;
    }

    QTemporaryDir m_dir;
    CxImage m_frame;
    int m_captures = 0;
    CRecordingMessages m_messages;
    std::deque<QString> m_chosen;
    QString m_startFolder;
};

TEST_F(CompareFixture, CompareDialog_OpensWithAFrameOnTheLeftAndCaptureReplacesIt)
{
    CImageCompareDlg dlg(Hooks());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Image comparing"));
    EXPECT_EQ(dlg.VideoFrame()->title(), QStringLiteral("video"));
    EXPECT_EQ(dlg.ImageFrame()->title(), QStringLiteral("image"));
    EXPECT_TRUE(dlg.LoadButton()->isDefault());
    EXPECT_TRUE(dlg.TimerActive());
    EXPECT_EQ(m_captures, 1);
    EXPECT_EQ(dlg.LeftImage().Width(), 65u);
    EXPECT_FALSE(dlg.RightImage().HasPixels());

    dlg.OnCapture();
    EXPECT_EQ(dlg.LeftImage().Width(), 66u);
}

TEST_F(CompareFixture, CompareDialog_LoadShowsJpegAndKeepsThePictureOnCancelOrFailure)
{
    const QString jpeg = m_dir.filePath(QStringLiteral("ref.jpg"));
    ASSERT_TRUE(SavePicture(TexturePicture(120, 90, 3), jpeg, CXIMAGE_FORMAT_JPG));
    const QString broken = m_dir.filePath(QStringLiteral("broken.bmp"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM not a bitmap at all");
    file.close();

    CImageCompareDlg dlg(Hooks());
    m_chosen = { jpeg };
    dlg.OnLoad();
    EXPECT_EQ(m_startFolder, m_dir.path()) << "Load starts in the image folder";
    ASSERT_TRUE(dlg.RightImage().HasPixels());
    EXPECT_EQ(dlg.RightImage().Width(), 120u);

    dlg.OnLoad(); // cancelled
    EXPECT_EQ(dlg.RightImage().Width(), 120u);

    m_chosen = { broken };
    dlg.OnLoad();
    EXPECT_EQ(dlg.RightImage().Width(), 120u);
    ASSERT_EQ(m_messages.All().size(), 1u);
    EXPECT_TRUE(m_messages.Last().contains(QStringLiteral("broken.bmp")));
    EXPECT_EQ(m_messages.All()[0].caption, QStringLiteral("Image comparing"));
}

} // namespace

TEST_F(CompareFixture, CompareDialog_KeepsTheShapeOfAnUprightPicture)
{
    EXPECT_EQ(CImageCompareDlg::FitInto({ 48, 96 }, QRect(0, 0, 200, 100)), QRect(75, 0, 50, 100));
    EXPECT_EQ(CImageCompareDlg::FitInto({ 64, 48 }, QRect(0, 0, 64, 96)), QRect(0, 24, 64, 48));
    EXPECT_TRUE(CImageCompareDlg::FitInto({ 0, 48 }, QRect(0, 0, 64, 96)).isEmpty());

    const QString upright = m_dir.filePath(QStringLiteral("upright.bmp"));
    CxImage white = TexturePicture(60, 120, 1);
    for (uint32_t y = 0; y < white.Height(); ++y)
        std::memset(white.RowBits(y), 0xFF, white.Width() * 3);
    ASSERT_TRUE(SavePicture(white, upright));
    CImageCompareDlg dlg(Hooks());
    m_chosen = { upright };
    dlg.OnLoad();
    auto* picture = dlg.ImageFrame()->findChild<QWidget*>();
    ASSERT_NE(picture, nullptr);
    dlg.show();
    const QImage shot = picture->grab().toImage();
    int whiteColumns = 0;
    for (int x = 0; x < shot.width(); ++x)
        whiteColumns += shot.pixelColor(x, shot.height() / 2) == Qt::white;
    EXPECT_NEAR(whiteColumns, shot.height() / 2, 3) << "the picture is half as wide as high";
    EXPECT_NE(shot.pixelColor(2, shot.height() / 2), Qt::white);
}
