#include "FakeCamera.h"

#include "capture/ResolutionList.h"
#include "capture/TavoGraphDll.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

const QString kYuy2 = QStringLiteral("YUY2");
const QString kMjpg = QStringLiteral("MJPG");

CFrameRate Fps(int n, int d = 1)
{
    return { n, d };
}

CCaptureFormat Format(int w, int h, const QString& subtype, QList<CFrameRate> rates)
{
    return { w, h, subtype, std::move(rates) };
}

QStringList Labels(const QList<CResolutionEntry>& entries)
{
    QStringList labels;
    for (const CResolutionEntry& entry : entries)
        labels << entry.Label();
    return labels;
}

} // namespace

TEST(CameraFormatsTest, RatesReadAndWrittenAsFractions)
{
    EXPECT_EQ(CFrameRate::Parse(QStringLiteral("30/1")), Fps(30));
    EXPECT_EQ(CFrameRate::Parse(QStringLiteral(" 25 ")), Fps(25));
    EXPECT_EQ(CFrameRate::Parse(QStringLiteral("30000/1001")).FpsText(), QStringLiteral("29.97"));
    EXPECT_EQ(Fps(15, 2).FpsText(), QStringLiteral("7.5"));
    EXPECT_EQ(Fps(60).FpsText(), QStringLiteral("60"));
    // Nothing that would divide by zero or run backwards is a rate.
    for (const char* bad : { "", "0/1", "30/0", "-30/1", "abc", "30/1/2", "1/x" })
        EXPECT_FALSE(CFrameRate::Parse(QString::fromLatin1(bad)).IsValid()) << bad;
    EXPECT_TRUE(Fps(30, 0).Text().isEmpty());
    EXPECT_EQ(Fps(30, 0).Fps(), 0.0);
}

TEST(CameraFormatsTest, EachSizeOnceInItsFastestFormatWithEveryRate)
{
    // The usual UVC camera: raw video is slow at large sizes, MJPG is not.
    const QList<CCaptureFormat> formats {
        Format(640, 480, kYuy2, { Fps(30), Fps(15) }),
        Format(1920, 1080, kYuy2, { Fps(5) }),
        Format(640, 480, kMjpg, { Fps(30) }),
        Format(1920, 1080, kMjpg, { Fps(15), Fps(30) }),
        Format(1280, 720, kYuy2, {}),
    };
    const QList<CResolutionEntry> entries = CResolutionList::Build(formats);
    EXPECT_EQ(Labels(entries),
            QStringList({ "640 X 480  YUY2 30 fps", "640 X 480  YUY2 15 fps",
                    "1920 X 1080  MJPG 30 fps", "1920 X 1080  MJPG 15 fps", "1280 X 720  YUY2" }));
    // A tie keeps the format the camera lists first; a rate the other format lacks is not
    // offered in a format that cannot deliver it.
    EXPECT_EQ(entries[0].Key(), QStringLiteral("YUY2 30/1"));
    EXPECT_EQ(entries[2].Key(), QStringLiteral("MJPG 30/1"));
    EXPECT_EQ(entries[4].Key(), QStringLiteral("YUY2"));

    // A top-down format is the same size.
    EXPECT_EQ(CResolutionList::Choose(formats, 1920, 1080, {}), 3);
    EXPECT_EQ(CResolutionList::Choose(formats, 1920, 1080, kYuy2), 1);
    EXPECT_EQ(CResolutionList::Choose(formats, 1920, 1080, QStringLiteral("NV12")), 3);
    EXPECT_EQ(CResolutionList::Choose({ Format(640, -480, kYuy2, {}) }, 640, 480, {}), 0);
    EXPECT_EQ(CResolutionList::Choose(formats, 800, 600, {}), -1);
}

TEST(CameraFormatsTest, KeysRoundTrip)
{
    QString subtype;
    CFrameRate rate;
    ASSERT_TRUE(CResolutionEntry::ParseKey(QStringLiteral("MJPG 30000/1001"), subtype, rate));
    EXPECT_EQ(subtype, kMjpg);
    EXPECT_EQ(rate, Fps(30000, 1001));
    ASSERT_TRUE(CResolutionEntry::ParseKey(QStringLiteral("YUY2"), subtype, rate));
    EXPECT_EQ(subtype, kYuy2);
    EXPECT_FALSE(rate.IsValid());
    EXPECT_FALSE(CResolutionEntry::ParseKey(QStringLiteral("  "), subtype, rate));
}

class CameraFormatsGraphTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_source = std::make_shared<CFakeDeviceSource>();
        m_source->devices = { CFakeDeviceSource::Camera(QStringLiteral("Cam"),
                QStringLiteral("/dev/video0"),
                { Format(640, 480, kYuy2, { Fps(30), Fps(15) }),
                        Format(1920, 1080, kYuy2, { Fps(5) }),
                        Format(1920, 1080, kMjpg, { Fps(30), Fps(15) }) }) };
        m_graph.SetDeviceSource(m_source);
        m_graph.SetErrorSink([](const QString&, const QString&) {});
        ASSERT_EQ(m_graph.InitGraph(), TavoStatus::Ok);
        m_graph.SetCaptureSize(1920, 1080);
        ASSERT_EQ(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    }

    std::pair<QString, QString> Taken() const
    {
        QString subtype;
        QString rate;
        m_graph.GetCaptureFormat(subtype, rate);
        return { subtype, rate };
    }

    std::shared_ptr<CFakeDeviceSource> m_source;
    CTavoGraphDll m_graph;
};

TEST_F(CameraFormatsGraphTest, ComboNamesTheEntriesAndSelectsTheChoice)
{
    QComboBox combo;
    ASSERT_EQ(m_graph.InitVideoSizeCombo(&combo), TavoStatus::Ok);
    ASSERT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.itemText(2), QStringLiteral("1920 X 1080  MJPG 30 fps"));
    EXPECT_EQ(combo.itemData(3).toString(), QStringLiteral("MJPG 15/1"));
    // Nothing chosen yet: the size's first (fastest) entry.
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(Taken(), std::pair(kMjpg, QStringLiteral("30/1")));

    // The chosen rate is selected when the list is filled again.
    m_graph.SetCaptureFormat(kMjpg, QStringLiteral("15/1"));
    combo.clear();
    m_graph.InitVideoSizeCombo(&combo);
    EXPECT_EQ(combo.currentIndex(), 3);
    EXPECT_EQ(Taken(), std::pair(kMjpg, QStringLiteral("15/1")));
}

// The data call is what the combo shows, entry by entry, and chooses what it selects: the
// size's first entry, a chosen rate, nothing for a size not listed; no camera, no entries.
TEST_F(CameraFormatsGraphTest, SizeEntriesAreWhatTheComboShows)
{
    const auto listed = [this](size_t expected) {
        std::vector<CResolutionEntry> entries { { 1, 1 } }; // replaced, not added to
        int chosen = -2;
        EXPECT_EQ(m_graph.GetVideoSizeEntries(entries, &chosen), TavoStatus::Ok);
        EXPECT_EQ(entries.size(), expected);
        QComboBox combo;
        combo.addItem(QStringLiteral("kept"));
        EXPECT_EQ(m_graph.InitVideoSizeCombo(&combo), TavoStatus::Ok);
        EXPECT_EQ(combo.count(), int(entries.size()) + 1);
        for (int i = 0; i < int(entries.size()) && i + 1 < combo.count(); ++i) {
            EXPECT_EQ(combo.itemText(i + 1), entries[i].Label());
            EXPECT_EQ(combo.itemData(i + 1).toString(), entries[i].Key());
        }
        EXPECT_EQ(combo.currentIndex(), chosen + 1);
        return chosen;
    };
    EXPECT_EQ(listed(4), 2);
    m_graph.SetCaptureFormat(kMjpg, QStringLiteral("15/1"));
    EXPECT_EQ(listed(4), 3);
    m_graph.SetCaptureSize(320, 240);
    EXPECT_EQ(listed(4), -1);

    // Unplugged: the sizes of the camera that was in use are not listed for none.
    m_source->result = CCaptureDeviceSource::EResult::NoDevices;
    EXPECT_NE(m_graph.SpecifyCapDevice(QStringLiteral("Cam")), TavoStatus::Ok);
    EXPECT_EQ(listed(0), -1);
}

TEST_F(CameraFormatsGraphTest, ChoiceTheCameraCannotKeepFallsBackToTheFastest)
{
    // The slow raw format by name is still honoured: the user asked for it.
    m_graph.SetCaptureFormat(kYuy2, QStringLiteral("30/1"));
    EXPECT_EQ(Taken(), std::pair(kYuy2, QStringLiteral("5/1")));
    // A format the camera does not have at this size, or at all.
    m_graph.SetCaptureFormat(QStringLiteral("NV12"), QStringLiteral("60/1"));
    EXPECT_EQ(Taken(), std::pair(kMjpg, QStringLiteral("30/1")));
    m_graph.SetCaptureSize(640, 480);
    m_graph.SetCaptureFormat(kMjpg, QStringLiteral("15/1"));
    EXPECT_EQ(Taken(), std::pair(kYuy2, QStringLiteral("15/1")));
    m_graph.SetCaptureFormat(kMjpg, QStringLiteral("60/1"));
    EXPECT_EQ(Taken(), std::pair(kYuy2, QStringLiteral("30/1")));
}
