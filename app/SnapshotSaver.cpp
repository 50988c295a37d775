#include "app/SnapshotSaver.h"

#include "app/GeneralSettings.h"
#include "app/Trace.h"
#include "image/xImage.h"
#include "measure/ShapeManager.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <vector>

namespace {

// Palette pictures (grey JPEGs, 8-bit BMPs) are widened so the drawing can be burnt in.
bool WidenToTrueColour(CxImage& image)
{
    if (image.Bpp() == 24)
        return true;
    const uint8_t* palette = image.Palette();
    const uint32_t colours = image.NumColors();
    if (!palette || colours == 0 || image.Bpp() > 8)
        return false;
    CxImage wide;
    wide.SetXDpi(image.XDpi());
    wide.SetYDpi(image.YDpi());
    wide.SetJpegQualityLevel(image.JpegQualityLevel());
    if (!wide.Create(image.Width(), image.Height(), 24, image.Type()))
        return false;
    const uint32_t bpp = image.Bpp();
    for (uint32_t y = 0; y < image.Height(); ++y) {
        const uint8_t* src = image.RowBits(y);
        uint8_t* dst = wide.RowBits(y);
        for (uint32_t x = 0; x < image.Width(); ++x) {
            uint32_t index = src[x];
            if (bpp == 1)
                index = (src[x >> 3] >> (7 - (x & 7))) & 1;
            else if (bpp == 4)
                index = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
            const uint8_t* entry = palette + 4 * qMin(index, colours - 1);
            dst[3 * x] = entry[0];
            dst[3 * x + 1] = entry[1];
            dst[3 * x + 2] = entry[2];
        }
    }
    image = std::move(wide);
    return true;
}

QString FileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

} // namespace

CSnapshotSaver::CSnapshotSaver(CSnapshotContext context) : m_ctx(std::move(context))
{
    m_chooser = [](QWidget* parent, const QString& caption, const QString& proposed,
                        const QString& filter) {
        // No default suffix: the name is taken as typed, like the format rule expects.
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    };
    m_sink = [parent = m_ctx.parent](const QString& caption, const QString& text) {
        QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
    };
}

QString CSnapshotSaver::SaveFilter()
{
    return tr("Bitmap Files(*.bmp)") + QStringLiteral(";;") + tr("JPEG Files(*.jpg)");
}

QString CSnapshotSaver::ImageFolder() const
{
    QString folder = m_ctx.settings.m_strImagePath;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

bool CSnapshotSaver::IsInFolder(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    QString prefix = folder;
    if (!prefix.endsWith(QLatin1Char('/')))
        prefix += QLatin1Char('/');
    // Case matters here: two folders may differ only in case.
    return QDir::cleanPath(prefix + FileNameOf(path)) == QDir::cleanPath(path);
}

QString CSnapshotSaver::Save()
{
    const bool still = m_ctx.stillMode && m_ctx.stillMode();
    if (!still) {
        if (m_ctx.captureToFrame)
            m_ctx.captureToFrame();
        return SaveTimeStamped();
    }
    const QString current = m_ctx.currentFile ? m_ctx.currentFile() : QString();
    if (current.isEmpty())
        return SaveTimeStamped();
    return OverwriteCurrent(current);
}

QString CSnapshotSaver::SaveTimeStamped()
{
    const bool bmp = m_ctx.settings.m_bBMP;
    const QString folder = ImageFolder();
    QString reason;
    if (!CSnapshotNamer::MakeFolder(folder, &reason)) {
        ReportFailure(folder, reason);
        return {};
    }
    const CSnapshotNamer namer(m_ctx.clock);
    const QString name =
            namer.UniqueName(folder, bmp ? QStringLiteral(".bmp") : QStringLiteral(".jpg"));
    const QString path = CSnapshotNamer::JoinPath(folder, name);
    if (!bmp)
        m_ctx.frame.SetJpegQualityLevel(kJpegQuality);
    if (!WriteFrame(path, bmp ? CXIMAGE_FORMAT_BMP : CXIMAGE_FORMAT_JPG, m_ctx.settings.m_bMeasure))
        return {};
    ShowItem(name);
    return path;
}

QString CSnapshotSaver::OverwriteCurrent(const QString& currentFile)
{
    const QString path = currentFile.contains(QLatin1Char('/'))
            ? currentFile
            : CSnapshotNamer::JoinPath(ImageFolder(), currentFile);
    const QString name = FileNameOf(path);
    if (!m_ctx.frame.HasPixels()) {
        ReportFailure(path, tr("There is no picture to save."));
        return {};
    }
    // The drawing stays in the picture: a later Save with other shapes keeps both.
    if (m_ctx.settings.m_bMeasure && m_ctx.manager) {
        if (ComposeSnapshot(m_ctx.frame, *m_ctx.manager) && m_ctx.frameChanged)
            m_ctx.frameChanged();
    }
    // The picture keeps its own format and whatever JPEG quality it was loaded with.
    const uint32_t format = name.toLower().endsWith(QStringLiteral(".bmp")) ? CXIMAGE_FORMAT_BMP
                                                                            : CXIMAGE_FORMAT_JPG;
    QString reason;
    if (!WriteImage(m_ctx.frame, path, format, &reason)) {
        ReportFailure(path, reason);
        return {};
    }
    if (m_ctx.refreshItem)
        m_ctx.refreshItem(name);
    if (m_ctx.relayout)
        m_ctx.relayout();
    return path;
}

QString CSnapshotSaver::SaveAs()
{
    // The dialog opens where the pictures are; a folder that cannot be made leaves the
    // dialog at its own default, and the user picks another.
    const QString folder = ImageFolder();
    CSnapshotNamer::MakeFolder(folder);
    const QString proposed = CSnapshotNamer::JoinPath(folder, CSnapshotNamer(m_ctx.clock).Now());
    const QString chosen = m_chooser(m_ctx.parent, tr("Save As"), proposed, SaveFilter());
    if (chosen.isEmpty())
        return {};
    if (!(m_ctx.stillMode && m_ctx.stillMode()) && m_ctx.captureToFrame)
        m_ctx.captureToFrame();
    const QString written = SaveToPath(chosen);
    if (written.isEmpty())
        return {};
    if (IsInFolder(chosen, m_ctx.settings.m_strImagePath))
        ShowItem(FileNameOf(chosen));
    return written;
}

QString CSnapshotSaver::SaveToPath(const QString& path)
{
    if (!path.contains(QLatin1Char('/')))
        return {};
    QString lowered = path;
    while (!lowered.isEmpty() && lowered.back().isSpace())
        lowered.chop(1);
    lowered = lowered.toLower();
    const bool bmp = lowered.endsWith(QStringLiteral("bmp"));
    if (!bmp)
        m_ctx.frame.SetJpegQualityLevel(kJpegQuality);
    // The name is written as chosen: on these file systems case makes another file.
    if (!WriteFrame(path, bmp ? CXIMAGE_FORMAT_BMP : CXIMAGE_FORMAT_JPG, m_ctx.settings.m_bMeasure))
        return {};
    return path;
}

bool CSnapshotSaver::WriteFrame(const QString& path, uint32_t format, bool burnIn)
{
    if (!m_ctx.frame.HasPixels()) {
        ReportFailure(path, tr("There is no picture to save."));
        return false;
    }
    QString reason;
    bool ok = false;
    if (burnIn && m_ctx.manager) {
        CxImage composed(m_ctx.frame);
        ok = ComposeSnapshot(composed, *m_ctx.manager)
                && WriteImage(composed, path, format, &reason);
        if (reason.isEmpty() && !ok)
            reason = tr("The drawing cannot be added to this picture.");
    } else {
        ok = WriteImage(m_ctx.frame, path, format, &reason);
    }
    if (!ok)
        ReportFailure(path, reason);
    return ok;
}

bool CSnapshotSaver::ComposeSnapshot(CxImage& image, CShapeManager& manager)
{
    if (!image.HasPixels() || !WidenToTrueColour(image))
        return false;
    const int width = int(image.Width());
    const int height = int(image.Height());
    if (image.Stride() != uint32_t(CShapeManager::FrameStride(width)))
        return false;
    // RenderOnto fills the scratch with 128 first: every other byte value is drawing.
    std::vector<uint8_t> scratch(size_t(CShapeManager::FrameStride(width)) * size_t(height));
    manager.RenderOnto(scratch.data(), width, height);
    CShapeManager::MergeRendered(image.RowBits(0), scratch.data(), width, height);
    return true;
}

bool CSnapshotSaver::WriteImage(
        CxImage& image, const QString& path, uint32_t format, QString* error)
{
    // SaveFile replaces a file only with a whole picture and names the system's reason.
    if (image.SaveFile(path, format))
        return true;
    if (error)
        *error = image.LastError();
    return false;
}

void CSnapshotSaver::ReportFailure(const QString& path, const QString& reason)
{
    qCDebug(lcTrace) << "save failed:" << path << reason;
    if (m_sink)
        m_sink(tr("Warnning"), tr("The picture could not be saved to\n%1\n\n%2").arg(path, reason));
}

void CSnapshotSaver::ShowItem(const QString& name)
{
    // A file written again under the same name keeps its one item.
    if (m_ctx.hasItem && m_ctx.hasItem(name)) {
        if (m_ctx.refreshItem)
            m_ctx.refreshItem(name);
    } else if (m_ctx.addItem) {
        m_ctx.addItem(name);
    }
    if (m_ctx.relayout)
        m_ctx.relayout();
}
