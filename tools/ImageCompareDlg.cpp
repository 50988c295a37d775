#include "tools/ImageCompareDlg.h"

#include "base/UserMessages.h"
#include "image/ImageFolder.h"
#include "image/ImagePainter.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimerEvent>
#include <QVBoxLayout>

namespace {

// One picture frame's client area: paints its picture as large as fits, upright pictures
// upright.
class CComparePicture : public QWidget
{
public:
    CComparePicture(const CxImage& image, QWidget* parent) : QWidget(parent), m_image(image) { }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_image.HasPixels())
            return;
        QPainter painter(this);
        const QRect place = CImageCompareDlg::FitInto(
                QSize(static_cast<int>(m_image.Width()), static_cast<int>(m_image.Height())),
                rect());
        CImagePainter::DrawStretched(
                painter, m_image, place.x(), place.y(), place.width(), place.height());
    }

private:
    const CxImage& m_image;
};

// The resource's 507 x 217 dialog units, at two pixels per unit.
constexpr int kUnit = 2;

QRect Units(int x, int y, int w, int h)
{
    return { x * kUnit, y * kUnit, w * kUnit, h * kUnit };
}

} // namespace

QRect CImageCompareDlg::FitInto(QSize picture, const QRect& area)
{
    if (picture.isEmpty() || area.isEmpty())
        return {};
    const QSize fitted = picture.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.x() + (area.width() - fitted.width()) / 2,
            area.y() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height());
}

CImageCompareDlg::CImageCompareDlg(Hooks hooks, QWidget* parent)
    : QDialog(parent), m_hooks(std::move(hooks))
{
    setWindowTitle(tr("Image comparing"));
    setFixedSize(507 * kUnit, 217 * kUnit);

    auto* videoText = new QLabel(tr("Get image from video source"), this);
    videoText->move(10 * kUnit, 11 * kUnit);
    m_capture = new QPushButton(tr("Capture"), this);
    m_capture->setGeometry(Units(124, 9, 50, 14));
    auto* imageText = new QLabel(tr("Get image from storage"), this);
    imageText->move(258 * kUnit, 11 * kUnit);
    m_load = new QPushButton(tr("Load"), this);
    m_load->setGeometry(Units(353, 9, 50, 14));
    m_load->setDefault(true);

    auto framed = [this](const QString& caption, const QRect& place, const CxImage& image,
                          QWidget*& picture) {
        auto* frame = new QGroupBox(caption, this);
        frame->setGeometry(place);
        auto* layout = new QVBoxLayout(frame);
        layout->setContentsMargins(2, 2, 2, 2);
        picture = new CComparePicture(image, frame);
        layout->addWidget(picture);
        return frame;
    };
    m_videoFrame = framed(tr("video"), Units(8, 28, 240, 180), m_left, m_videoPicture);
    m_imageFrame = framed(tr("image"), Units(258, 28, 240, 180), m_right, m_imagePicture);

    connect(m_capture, &QPushButton::clicked, this, &CImageCompareDlg::OnCapture);
    connect(m_load, &QPushButton::clicked, this, &CImageCompareDlg::OnLoad);

    TakeFrame();
    m_timer.start(kTimerMs, this);
}

void CImageCompareDlg::TakeFrame()
{
    if (m_hooks.captureToFrame)
        m_hooks.captureToFrame();
    if (m_hooks.currentFrame)
        m_left.CopyFrom(m_hooks.currentFrame());
}

void CImageCompareDlg::OnCapture()
{
    m_left.Destroy();
    TakeFrame();
}

void CImageCompareDlg::OnLoad()
{
    const QString folder = m_hooks.imageFolder ? m_hooks.imageFolder() : QString();
    QString path;
    if (m_hooks.chooseImageFile) {
        path = m_hooks.chooseImageFile(this, folder);
    } else {
        path = QFileDialog::getOpenFileName(
                this, tr("Load"), folder, tr("Image files (%1)").arg(CImageFolder::NamePatterns()));
    }
    if (path.isEmpty())
        return;
    CxImage loaded(CXIMAGE_FORMAT_BMP);
    if (!loaded.LoadFile(path, CXIMAGE_FORMAT_BMP) || !loaded.HasPixels()) {
        // The picture shown so far stays rather than going blank without a word.
        const QString reason = loaded.LastError();
        const QString text = reason.isEmpty()
                ? tr("%1 cannot be read as a picture.").arg(QDir::toNativeSeparators(path))
                : tr("%1 cannot be read as a picture: %2")
                          .arg(QDir::toNativeSeparators(path), reason);
        UserMessages().Error({ .text = text, .caption = windowTitle() });
        return;
    }
    m_right.CopyFrom(loaded);
}

void CImageCompareDlg::DrawPictures()
{
    if (m_left.HasPixels())
        m_videoPicture->update();
    if (m_right.HasPixels())
        m_imagePicture->update();
}

void CImageCompareDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId()) {
        DrawPictures();
        return;
    }
    QDialog::timerEvent(event);
}
