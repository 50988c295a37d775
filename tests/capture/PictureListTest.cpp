#include "PictureStack.h"

#include "capture/CaptureDeviceSource.h"
#include "capture/PictureDecoder.h"
#include "capture/PictureList.h"

#include <QFileInfo>

#include <gst/gst.h>

#include <gtest/gtest.h>

namespace {

QStringList Names(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names.append(QFileInfo(path).fileName());
    return names;
}

QStringList Resolve(const QString& what, QString* problem = nullptr)
{
    QString scratch;
    const QStringList files = CPictureList::Resolve(what, problem ? *problem : scratch);
    EXPECT_EQ(files.isEmpty(), !(problem ? *problem : scratch).isEmpty());
    return files;
}

CFrameRate RateOf(const char* text)
{
    qputenv("KALVEX_CAMERA_FPS", text);
    const CFrameRate rate = CCaptureDeviceSource::PictureRate();
    qunsetenv("KALVEX_CAMERA_FPS");
    return rate;
}

} // namespace

TEST(PictureListTest, NumberFieldsAreFilledWithoutPrintf)
{
    EXPECT_EQ(CPictureList::Numbered("s_%02d.jpg", 7), "s_07.jpg");
    EXPECT_EQ(CPictureList::Numbered("s_%d.jpg", 123), "s_123.jpg");
    EXPECT_EQ(CPictureList::Numbered("s_%3d.jpg", 4), "s_  4.jpg");
    EXPECT_EQ(CPictureList::Numbered("100%%_%d.png", 2), "100%_2.png");
    // Anything printf would read more into is no pattern at all.
    for (const char* bad : { "s_%s.jpg", "s_%d_%d.jpg", "s.jpg", "s_%", "s_%100d.jpg", "%n%d" })
        EXPECT_TRUE(CPictureList::Numbered(bad, 1).isEmpty()) << bad;
}

TEST(PictureListTest, FoldersPatternsAndGlobsGiveTheirPicturesInOrder)
{
    CPictureStack stack;
    for (const char* name : { "slice_10.png", "slice_2.JPG", "slice_1.bmp", "notes.txt" })
        stack.Add(name, Qt::red);
    EXPECT_EQ(Names(Resolve(stack.Folder())),
            QStringList({ "slice_1.bmp", "slice_2.JPG", "slice_10.png" }));
    EXPECT_EQ(Names(Resolve(stack.Path("slice_*.png"))), QStringList({ "slice_10.png" }));
    stack.AddBytes("slice_notes.txt", "words");
    EXPECT_EQ(Resolve(stack.Path("slice_*")).size(), 3);
    EXPECT_EQ(Names(Resolve(stack.Path("slice_1.bmp"))), QStringList({ "slice_1.bmp" }));
    stack.Add("100%.png", Qt::red);
    EXPECT_EQ(Names(Resolve(stack.Path("100%.png"))), QStringList({ "100%.png" }));

    // Numbered from 1 when there is no 0, up to the first gap.
    for (const char* name : { "n_01.jpg", "n_02.jpg", "n_03.jpg", "n_05.jpg" })
        stack.Add(name, Qt::blue);
    EXPECT_EQ(Names(Resolve(stack.Path("n_%02d.jpg"))),
            QStringList({ "n_01.jpg", "n_02.jpg", "n_03.jpg" }));
    stack.Add("n_00.jpg", Qt::blue);
    EXPECT_EQ(Resolve(stack.Path("n_%02d.jpg")).size(), 4);
}

TEST(PictureListTest, NothingToPlaySaysWhy)
{
    CPictureStack stack;
    QString problem;
    EXPECT_TRUE(Resolve(stack.Folder(), &problem).isEmpty());
    EXPECT_TRUE(problem.contains(stack.Folder())) << problem.toStdString();
    stack.AddBytes("readme.txt", "words");
    EXPECT_TRUE(Resolve(stack.Folder(), &problem).isEmpty());
    for (const QString& what : { stack.Path("gone.jpg"), stack.Path("s_%02d.jpg"),
                 stack.Path("s_*.jpg"), stack.Path("s_%s.jpg"), QString() }) {
        EXPECT_TRUE(Resolve(what, &problem).isEmpty()) << what.toStdString();
        EXPECT_TRUE(problem.contains(what)) << problem.toStdString();
    }
}

TEST(PictureListTest, TheFileContentNotItsNameChoosesTheDecoder)
{
    EXPECT_EQ(CPictureDecoder::CapsOfContent("\xFF\xD8\xFF\xE0rest"), "image/jpeg");
    EXPECT_EQ(CPictureDecoder::CapsOfContent("\x89PNG\r\n\x1A\nrest"), "image/png");
    EXPECT_EQ(CPictureDecoder::CapsOfContent("BM6\x01"), "image/bmp");
    EXPECT_EQ(CPictureDecoder::CapsOfContent(QByteArray("II*\0\x08", 5)), "image/tiff");
    EXPECT_EQ(CPictureDecoder::CapsOfContent(QByteArray("MM\0*\0", 5)), "image/tiff");
    EXPECT_TRUE(CPictureDecoder::CapsOfContent("GIF89a").isEmpty());
    EXPECT_TRUE(CPictureDecoder::CapsOfContent("").isEmpty());

    CPictureStack stack;
    QString problem;
    // A PNG named .jpg plays; bytes that are no picture, a missing or a broken file do not.
    const CSamplePtr png = CPictureDecoder::Decode(stack.Add("png.jpg", Qt::red, 30, 20), problem);
    EXPECT_EQ(CPictureDecoder::SizeOf(png.get()), QSize(30, 20)) << problem.toStdString();
    // 16 bits a channel come out as the colour they are.
    QImage deep(8, 8, QImage::Format_RGBX64);
    deep.fill(QColor(0, 128, 0));
    ASSERT_TRUE(deep.save(stack.Path("deep.png")));
    const CSamplePtr sample = CPictureDecoder::Decode(stack.Path("deep.png"), problem);
    ASSERT_NE(sample, nullptr) << problem.toStdString();
    GstMapInfo map;
    ASSERT_TRUE(gst_buffer_map(gst_sample_get_buffer(sample.get()), &map, GST_MAP_READ));
    EXPECT_EQ(QColor(map.data[2], map.data[1], map.data[0]), QColor(0, 128, 0));
    gst_buffer_unmap(gst_sample_get_buffer(sample.get()), &map);
    const QString broken = stack.AddBytes("broken.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4) + "junk");
    for (const QString& path :
            { stack.AddBytes("text.png", "not a picture"), stack.Path("missing.bmp"), broken }) {
        EXPECT_EQ(CPictureDecoder::Decode(path, problem), nullptr) << path.toStdString();
        EXPECT_TRUE(problem.contains(path)) << problem.toStdString();
    }
}

TEST(PictureListTest, RateIsAFractionInRangeElseFive)
{
    EXPECT_EQ(RateOf("12"), (CFrameRate { 12, 1 }));
    EXPECT_EQ(RateOf("2.5"), (CFrameRate { 5, 2 }));
    EXPECT_EQ(RateOf("30000/1001"), (CFrameRate { 30000, 1001 }));
    for (const char* bad : { "", "0", "-3", "fast", "500", "0.01", "nan", "inf" })
        EXPECT_EQ(RateOf(bad), (CFrameRate { 5, 1 })) << bad;
}
