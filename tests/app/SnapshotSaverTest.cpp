#include "base/GeneralSettings.h"
#include "base/IniFile.h"
#include "app/SaveSettingDlg.h"
#include "app/SnapshotSaver.h"
#include "image/xImage.h"
#include "measure/ShapeManager.h"
#include "RecordingMessages.h"
#include "ToolDrivers.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

constexpr int kWidth = 101; // odd: rows carry padding
constexpr int kHeight = 100;

QDateTime June12()
{
    return QDateTime(QDate(2015, 6, 12), QTime(9, 30, 5));
}

// Pixel (x, y) of a bottom-up picture, as blue, green, red.
const uint8_t* Pixel(const CxImage& image, int x, int y)
{
    return image.RowBits(image.Height() - 1 - y) + 3 * x;
}

QByteArray Head(const QString& path, int bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

class SnapshotSaverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkdir(QStringLiteral("image"));
        m_folder = m_dir.filePath(QStringLiteral("image"));
        m_settings.m_strImagePath = m_folder;
        m_settings.m_bBMP = true;
        m_settings.m_bMeasure = false;
        FillFrame(m_frame, 30);
    }

    static void FillFrame(CxImage& frame, uint8_t red)
    {
        ASSERT_NE(frame.Create(kWidth, kHeight, 24, CXIMAGE_FORMAT_BMP), nullptr);
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* row = frame.RowBits(y);
            for (int x = 0; x < kWidth; ++x) {
                row[3 * x] = 10;
                row[3 * x + 1] = 20;
                row[3 * x + 2] = red;
            }
        }
    }

    CSnapshotSaver MakeSaver()
    {
        CSnapshotContext ctx { m_frame, m_settings };
        ctx.stillMode = [this] { return m_still; };
        ctx.currentFile = [this] { return m_currentFile; };
        ctx.captureToFrame = [this] { ++m_captures; };
        ctx.manager = &m_manager;
        ctx.addItem = [this](const QString& name) { m_added << name; };
        ctx.refreshItem = [this](const QString& name) { m_refreshed << name; };
        ctx.hasItem = [this](const QString& name) { return m_added.contains(name); };
        ctx.relayout = [this] { ++m_relayouts; };
        ctx.clock = June12;
        CSnapshotSaver saver(std::move(ctx));
        return saver;
    }

    void DrawLine(uint32_t colour, int y)
    {
        CColorSetting colours;
        colours.LineSize = 1;
        colours.LineColor = colour;
        m_manager.ApplyColourSettings(colours);
        UseTool(m_manager, 2);
        m_manager.OnLButtonDown(10, y);
        m_manager.OnMouseMove(90, y);
        m_manager.OnLButtonUp(90, y);
    }

    QString InFolder(const QString& name) const { return m_folder + QLatin1Char('/') + name; }

    QTemporaryDir m_dir;
    QString m_folder;
    CxImage m_frame;
    CGeneralSettings m_settings;
    CShapeManager m_manager;
    bool m_still = false;
    QString m_currentFile;
    int m_captures = 0;
    QStringList m_added;
    QStringList m_refreshed;
    int m_relayouts = 0;
    CRecordingMessages m_recorder;
    // What the user was told, as "caption|text".
    QStringList Messages() const
    {
        QStringList told;
        for (const CUserMessage& message : m_recorder.All())
            told << message.caption + QLatin1Char('|') + message.text;
        return told;
    }
};

} // namespace

TEST_F(SnapshotSaverTest, LiveSaveWritesTimeStampedPicturesWithoutOverwriting)
{
    CSnapshotSaver saver = MakeSaver();
    EXPECT_EQ(saver.Save(), InFolder("20150612093005.bmp"));
    EXPECT_EQ(m_captures, 1);
    EXPECT_EQ(m_added, QStringList { "20150612093005.bmp" });
    EXPECT_GE(m_relayouts, 1);
    const QByteArray first = Head(InFolder("20150612093005.bmp"), 1 << 20);
    EXPECT_TRUE(first.startsWith("BM"));

    // Same second, another frame: the first picture stays as it was.
    FillFrame(m_frame, 99);
    EXPECT_EQ(saver.Save(), InFolder("20150612093005_2.bmp"));
    EXPECT_EQ(Head(InFolder("20150612093005.bmp"), 1 << 20), first);
    EXPECT_EQ(m_added, (QStringList { "20150612093005.bmp", "20150612093005_2.bmp" }));

    CxImage saved;
    ASSERT_TRUE(saved.LoadFile(InFolder("20150612093005_2.bmp")));
    EXPECT_EQ(Pixel(saved, 50, 50)[2], 99); // the raw frame, nothing drawn
    EXPECT_TRUE(Messages().isEmpty());

    // A paused live picture is saved as it is, without a new capture.
    m_still = true;
    EXPECT_EQ(saver.Save(), InFolder("20150612093005_3.bmp"));
    EXPECT_EQ(m_captures, 2);
}

TEST_F(SnapshotSaverTest, BurnInReplacesOnlyChannelsThatAreNot128)
{
    m_settings.m_bMeasure = true;
    DrawLine(0x000000FF, 50); // red 255
    CSnapshotSaver saver = MakeSaver();
    const QString red = saver.Save();
    CxImage saved;
    ASSERT_TRUE(saved.LoadFile(red));
    EXPECT_EQ(Pixel(saved, 50, 50)[0], 0);
    EXPECT_EQ(Pixel(saved, 50, 50)[1], 0);
    EXPECT_EQ(Pixel(saved, 50, 50)[2], 255);
    EXPECT_EQ(Pixel(saved, 50, 20)[2], 30);
    // The time-stamped save composes into a copy: the frame in memory stays raw.
    EXPECT_EQ(Pixel(m_frame, 50, 50)[2], 30);

    m_manager.RemoveAll();
    DrawLine(0x00000080, 50); // red 128: the picture's red shows through
    ASSERT_TRUE(saved.LoadFile(saver.Save()));
    EXPECT_EQ(Pixel(saved, 50, 50)[0], 0);
    EXPECT_EQ(Pixel(saved, 50, 50)[1], 0);
    EXPECT_EQ(Pixel(saved, 50, 50)[2], 30);

    // Without "Measure" the drawing stays out of the file.
    m_settings.m_bMeasure = false;
    ASSERT_TRUE(saved.LoadFile(saver.Save()));
    EXPECT_EQ(Pixel(saved, 50, 50)[1], 20);
}

TEST_F(SnapshotSaverTest, SaveOnOpenedPictureKeepsFormatAndEarlierDrawing)
{
    ASSERT_TRUE(m_frame.SaveFile(InFolder("old.bmp"), CXIMAGE_FORMAT_BMP));
    ASSERT_TRUE(m_frame.SaveFile(InFolder("pic.jpg"), CXIMAGE_FORMAT_JPG));
    m_added = { "old.bmp", "pic.jpg" };
    m_still = true;
    m_settings.m_bMeasure = true;
    CSnapshotSaver saver = MakeSaver();

    // A JPEG stays a JPEG although snapshots are set to BMP.
    m_currentFile = "pic.jpg";
    EXPECT_EQ(saver.Save(), InFolder("pic.jpg"));
    EXPECT_TRUE(Head(InFolder("pic.jpg"), 2).startsWith("\xFF\xD8"));
    EXPECT_EQ(m_refreshed, QStringList { "pic.jpg" });

    ASSERT_TRUE(m_frame.LoadFile(InFolder("old.bmp")));
    m_currentFile = "old.bmp";
    DrawLine(0x000000FF, 50);
    EXPECT_EQ(saver.Save(), InFolder("old.bmp"));
    m_manager.RemoveAll();
    DrawLine(0x0000FF00, 70); // green
    EXPECT_EQ(saver.Save(), InFolder("old.bmp"));
    EXPECT_EQ(m_captures, 0);
    EXPECT_EQ(m_added, (QStringList { "old.bmp", "pic.jpg" })); // no new items

    CxImage saved;
    ASSERT_TRUE(saved.LoadFile(InFolder("old.bmp")));
    EXPECT_TRUE(Head(InFolder("old.bmp"), 2).startsWith("BM"));
    EXPECT_EQ(Pixel(saved, 50, 50)[2], 255); // the first drawing stayed in the picture
    EXPECT_EQ(Pixel(saved, 50, 70)[1], 255);
    EXPECT_EQ(Pixel(saved, 50, 20)[2], 30);
}

TEST_F(SnapshotSaverTest, SaveAsWritesThePathAsChosenAndListsOnlyTheImageFolder)
{
    QDir(m_dir.path()).mkdir(QStringLiteral("other"));
    QString chosen;
    QString proposed;
    QString filter;
    CSnapshotSaver saver = MakeSaver();
    saver.SetFileChooser(
            [&](QWidget*, const QString&, const QString& start, const QString& f, QString*) {
                proposed = start;
                filter = f;
                return chosen;
            });

    chosen = InFolder("Chosen.BMP");
    EXPECT_EQ(saver.SaveAs(), chosen);
    EXPECT_EQ(proposed, InFolder("20150612093005"));
    EXPECT_EQ(filter, CSnapshotSaver::SaveFilter());
    EXPECT_TRUE(filter.startsWith("Bitmap Files(*.bmp);;JPEG Files(*.jpg);;"));
    EXPECT_TRUE(filter.contains("PNG Files(*.png)"));
    EXPECT_TRUE(filter.contains("TIFF Files(*.tif)"));
    EXPECT_TRUE(Head(chosen, 2).startsWith("BM"));
    EXPECT_FALSE(QFile::exists(InFolder("chosen.bmp")));
    EXPECT_EQ(m_added, QStringList { "Chosen.BMP" });
    EXPECT_EQ(m_captures, 1);

    // Elsewhere: written (as JPEG at quality 100), not listed.
    chosen = m_dir.filePath("other/Test.JPG");
    EXPECT_EQ(saver.SaveAs(), chosen);
    EXPECT_TRUE(Head(chosen, 2).startsWith("\xFF\xD8"));
    EXPECT_FLOAT_EQ(m_frame.JpegQualityLevel(), 100.0f);
    EXPECT_EQ(m_added, QStringList { "Chosen.BMP" });

    // The folder with a trailing slash is the same folder.
    m_settings.m_strImagePath = m_folder + QLatin1Char('/');
    chosen = InFolder("third.jpg");
    saver.SaveAs();
    EXPECT_EQ(m_added, (QStringList { "Chosen.BMP", "third.jpg" }));

    // Cancelled: no capture, nothing written.
    chosen.clear();
    EXPECT_TRUE(saver.SaveAs().isEmpty());
    EXPECT_EQ(m_captures, 3);
    EXPECT_TRUE(Messages().isEmpty());
}

// A name typed without extension takes the chosen type's; the dialog opens on the last type.
TEST_F(SnapshotSaverTest, SaveAsTypeAddsItsExtensionAndIsRemembered)
{
    QString offered;
    QString pick;
    QString chosen;
    CSnapshotSaver saver = MakeSaver();
    saver.SetFileChooser(
            [&](QWidget*, const QString&, const QString&, const QString&, QString* selected) {
                offered = *selected;
                *selected = pick;
                return chosen;
            });
    const QStringList filters = CSnapshotSaver::SaveFilters();
    ASSERT_EQ(filters.size(), 5);
    pick = filters[3];
    chosen = InFolder("plain");
    EXPECT_EQ(saver.SaveAs(), InFolder("plain.png"));
    EXPECT_EQ(offered, QString()) << "nothing chosen before";
    EXPECT_TRUE(Head(InFolder("plain.png"), 4).endsWith("PNG"));
    EXPECT_FALSE(QFile::exists(InFolder("plain")));
    EXPECT_EQ(m_settings.m_strSaveAsType, "png");

    pick = filters[4];
    chosen = InFolder("slide.v2");
    EXPECT_EQ(saver.SaveAs(), InFolder("slide.v2.tif"));
    EXPECT_EQ(offered, filters[3]);
    const QByteArray tiff = Head(InFolder("slide.v2.tif"), 2);
    EXPECT_TRUE(tiff == "II" || tiff == "MM");
    // A picture extension typed by the user decides over the type.
    chosen = InFolder("typed.bmp");
    EXPECT_EQ(saver.SaveAs(), chosen);
    EXPECT_TRUE(Head(chosen, 2).startsWith("BM"));
    EXPECT_EQ(m_added, (QStringList { "plain.png", "slide.v2.tif", "typed.bmp" }));

    // Kept with the settings for the next run.
    CIniFile ini;
    m_settings.Save(ini);
    CGeneralSettings next;
    next.Load(ini, m_dir.path());
    EXPECT_EQ(next.m_strSaveAsType, "tif");
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();
}

TEST_F(SnapshotSaverTest, JpegChosenInSaveSettingMakesTheNextSaveJpeg)
{
    CSaveSettingDlg dialog(m_settings.m_strImagePath, m_settings.SaveFormat());
    dialog.findChild<QRadioButton*>("jpegButton")->click();
    m_settings.m_bBMP = dialog.IsBmp();
    CSnapshotSaver saver = MakeSaver();
    EXPECT_EQ(saver.Save(), InFolder("20150612093005.jpg"));
    EXPECT_TRUE(Head(InFolder("20150612093005.jpg"), 2).startsWith("\xFF\xD8"));
    EXPECT_FLOAT_EQ(m_frame.JpegQualityLevel(), 100.0f);
}

TEST_F(SnapshotSaverTest, FirstSaveMakesTheImageFolderAndFailuresTellPathAndReason)
{
    // A fresh profile: neither the folder nor its parent exists yet.
    m_settings.m_strImagePath = m_dir.filePath("Documents/image");
    CSnapshotSaver saver = MakeSaver();
    EXPECT_EQ(saver.Save(), m_dir.filePath("Documents/image/20150612093005.bmp"));
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();
    EXPECT_EQ(m_added, QStringList { "20150612093005.bmp" });
    m_added.clear();

    // A folder that is a file cannot be made: the path and the system's reason, nothing listed.
    QFile(m_dir.filePath("plain")).open(QIODevice::WriteOnly);
    m_settings.m_strImagePath = m_dir.filePath("plain");
    EXPECT_TRUE(saver.Save().isEmpty());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].startsWith("Warnning|"));
    EXPECT_TRUE(Messages()[0].contains(m_dir.filePath("plain")));
    m_settings.m_strImagePath = m_dir.filePath("plain/sub");
    EXPECT_TRUE(saver.Save().isEmpty());
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_TRUE(Messages()[1].contains("Not a directory")) << Messages()[1].toStdString();
    EXPECT_TRUE(m_added.isEmpty());

    // Nothing saved without a picture.
    m_frame.Destroy();
    m_settings.m_strImagePath = m_folder;
    EXPECT_TRUE(saver.Save().isEmpty());
    EXPECT_TRUE(Messages().last().contains("There is no picture to save."));
    EXPECT_TRUE(QDir(m_folder).isEmpty());
}

TEST_F(SnapshotSaverTest, FullDiskKeepsTheEarlierFileWhole)
{
    ASSERT_TRUE(m_frame.SaveFile(InFolder("old.bmp"), CXIMAGE_FORMAT_BMP));
    const QByteArray before = Head(InFolder("old.bmp"), 1 << 20);
    m_added = { "old.bmp" };
    m_still = true;
    m_currentFile = "old.bmp";
    m_settings.m_bMeasure = true;
    DrawLine(0x000000FF, 50);
    CSnapshotSaver saver = MakeSaver();

    // A file size limit stands in for a full disk: writes past it fail.
    struct rlimit old
    {
    };
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString overwritten = saver.Save();
    m_currentFile.clear();
    const QString stamped = saver.Save();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(overwritten.isEmpty());
    EXPECT_TRUE(stamped.isEmpty());
    EXPECT_EQ(Head(InFolder("old.bmp"), 1 << 20), before);
    ASSERT_EQ(Messages().size(), 2);
    EXPECT_TRUE(Messages()[0].contains(InFolder("old.bmp")));
    EXPECT_TRUE(Messages()[0].contains("File too large")) << Messages()[0].toStdString();
    EXPECT_TRUE(m_refreshed.isEmpty());
    EXPECT_EQ(m_added, QStringList { "old.bmp" });
    // No temporary or cut-off file is left behind.
    EXPECT_EQ(QDir(m_folder).entryList(QDir::Files), QStringList { "old.bmp" });
}

// PNG and TIFF as the snapshot format: the time-stamped name takes their extension, the
// calibration in use goes into the file, and an opened PNG is overwritten as PNG.
TEST_F(SnapshotSaverTest, PngAndTiffSnapshotsCarryTheCalibration)
{
    CPictureScale scale;
    scale.unit = QStringLiteral("um");
    scale.xPerPixel = scale.yPerPixel = 0.5;
    CSnapshotContext ctx { m_frame, m_settings };
    ctx.clock = June12;
    ctx.pictureScale = [&scale] { return scale; };
    CSnapshotSaver saver(std::move(ctx));

    m_settings.SetSaveFormat("png");
    const QString png = saver.Save();
    EXPECT_EQ(png, InFolder("20150612093005.png"));
    EXPECT_TRUE(Head(png, 4).endsWith("PNG"));
    m_settings.SetSaveFormat("tif");
    const QString tif = saver.Save();
    EXPECT_EQ(tif, InFolder("20150612093005.tif"));
    for (const QString& path : { png, tif }) {
        CxImage back;
        ASSERT_TRUE(back.LoadFile(path)) << path.toStdString();
        EXPECT_EQ(back.PictureScale(), scale) << path.toStdString();
    }
    // Save as by the chosen name, whatever the filter: "x.PNG" is a PNG.
    EXPECT_FALSE(saver.SaveToPath(m_dir.filePath("x.PNG")).isEmpty());
    EXPECT_TRUE(Head(m_dir.filePath("x.PNG"), 4).endsWith("PNG"));
    EXPECT_FALSE(saver.SaveToPath(m_dir.filePath("y.tiff")).isEmpty());
    EXPECT_TRUE(
            Head(m_dir.filePath("y.tiff"), 2) == "II" || Head(m_dir.filePath("y.tiff"), 2) == "MM");
    EXPECT_TRUE(Messages().isEmpty()) << Messages().join('\n').toStdString();
}

TEST_F(SnapshotSaverTest, FullColourFilterWritesOneSaveAt444)
{
    CSnapshotSaver saver = MakeSaver();
    const QString chosen = m_dir.filePath("full.jpg");
    saver.SetFileChooser(
            [&](QWidget*, const QString&, const QString&, const QString&, QString* selected) {
                *selected = CSnapshotSaver::FullColourJpegFilter();
                return chosen;
            });
    ASSERT_EQ(saver.SaveAs(), chosen);
    // The sampling factor of the first component is the byte after its id in the SOF0 frame.
    const QByteArray bytes = Head(chosen, 4096);
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    ASSERT_GE(sof, 0);
    EXPECT_EQ(uint8_t(bytes[sof + 11]), 0x11) << "1x1: full colour";
    EXPECT_FALSE(m_frame.JpegFullColour()) << "only that one save";
    ASSERT_FALSE(saver.SaveToPath(m_dir.filePath("half.jpg")).isEmpty());
    const QByteArray half = Head(m_dir.filePath("half.jpg"), 4096);
    EXPECT_EQ(uint8_t(half[half.indexOf("\xFF\xC0") + 11]), 0x22);
}
