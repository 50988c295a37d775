#include "app/SnapshotSaver.h"

#include "image/PictureWriter.h"

#include "base/GeneralSettings.h"
#include "base/Trace.h"
#include "base/UserMessages.h"
#include "image/xImage.h"
#include "measure/ShapeManager.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <iterator>
#include <vector>

namespace {

QString FileNameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}

// The "Save as" types in the order SaveFilter lists them, by the key the settings keep the last
// one under, and the extension a name typed without one gets.
struct SaveAsType
{
    const char* key;
    const char* extension;
};
constexpr SaveAsType kSaveAsTypes[] = { { "bmp", ".bmp" }, { "jpg", ".jpg" }, { "jpg444", ".jpg" },
    { "png", ".png" }, { "tif", ".tif" } };

} // namespace

CSnapshotSaver::CSnapshotSaver(CSnapshotContext context) : m_ctx(std::move(context))
{
    m_chooser = [](QWidget* parent, const QString& caption, const QString& proposed,
                        const QString& filter, QString* selected) {
        // No default suffix: the name is taken as typed, like the format rule expects.
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter, selected);
    };
}

QStringList CSnapshotSaver::SaveFilters()
{
    return { tr("Bitmap Files(*.bmp)"), tr("JPEG Files(*.jpg)"), FullColourJpegFilter(),
        tr("PNG Files(*.png)"), tr("TIFF Files(*.tif)") };
}

QString CSnapshotSaver::SaveFilter()
{
    return SaveFilters().join(QStringLiteral(";;"));
}

QString CSnapshotSaver::WithTypeExtension(const QString& path, const QString& filter)
{
    const qsizetype type = SaveFilters().indexOf(filter);
    if (type < 0)
        return path;
    // A name that names a picture format keeps it; any other gets the chosen type's extension.
    const QString suffix = QFileInfo(path.trimmed()).suffix();
    if (CxImage::FormatFromName(QStringLiteral("x.") + suffix) != CXIMAGE_FORMAT_UNKNOWN)
        return path;
    return path + QLatin1String(kSaveAsTypes[type].extension);
}

QString CSnapshotSaver::FullColourJpegFilter()
{
    return tr("JPEG Files, full colour 4:4:4(*.jpg)");
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
    const uint32_t format = CPictureWriter::FormatOfSuffix(m_ctx.settings.SaveFormat());
    const QString folder = ImageFolder();
    const CSnapshotNamer namer(m_ctx.clock);
    QString name;
    QString path;
    QString reason;
    if (format == CXIMAGE_FORMAT_JPG)
        m_ctx.frame.SetJpegQualityLevel(kJpegQuality);
    CxImage composed;
    CxImage* picture = FrameToWrite(composed, m_ctx.settings.m_bMeasure, reason);
    if (!picture
            || !CPictureWriter::WriteTimeStamped(
                    *picture, folder, format, namer, name, path, &reason)) {
        ReportFailure(path.isEmpty() ? folder : path, reason);
        return {};
    }
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
    const uint32_t format = CPictureWriter::FormatOfSuffix(QFileInfo(name).suffix());
    m_ctx.frame.SetPictureScale(CurrentScale());
    QString reason;
    if (!CPictureWriter::Write(m_ctx.frame, path, format, &reason)) {
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
    const QStringList filters = SaveFilters();
    QString filter;
    for (size_t n = 0; n < std::size(kSaveAsTypes); ++n) {
        if (m_ctx.settings.m_strSaveAsType == QLatin1String(kSaveAsTypes[n].key))
            filter = filters[qsizetype(n)];
    }
    const QString chosen = m_chooser(m_ctx.parent, tr("Save As"), proposed, SaveFilter(), &filter);
    if (chosen.isEmpty())
        return {};
    const qsizetype type = filters.indexOf(filter);
    if (type >= 0)
        m_ctx.settings.m_strSaveAsType = QLatin1String(kSaveAsTypes[type].key);
    if (!(m_ctx.stillMode && m_ctx.stillMode()) && m_ctx.captureToFrame)
        m_ctx.captureToFrame();
    const QString written =
            SaveToPath(WithTypeExtension(chosen, filter), filter == FullColourJpegFilter());
    if (written.isEmpty())
        return {};
    if (IsInFolder(written, m_ctx.settings.m_strImagePath))
        ShowItem(FileNameOf(written));
    return written;
}

QString CSnapshotSaver::SaveToPath(const QString& path, bool fullColour)
{
    if (!path.contains(QLatin1Char('/')))
        return {};
    QString lowered = path;
    while (!lowered.isEmpty() && lowered.back().isSpace())
        lowered.chop(1);
    lowered = lowered.toLower();
    // Any name ending in "bmp" is a bitmap, with or without its dot.
    const uint32_t format = lowered.endsWith(QStringLiteral("bmp"))
            ? CXIMAGE_FORMAT_BMP
            : CPictureWriter::FormatOfSuffix(QFileInfo(lowered).suffix());
    if (format == CXIMAGE_FORMAT_JPG)
        m_ctx.frame.SetJpegQualityLevel(kJpegQuality);
    // Full colour is this one save's choice; later saves of the picture sample as usual.
    m_ctx.frame.SetJpegFullColour(fullColour && format == CXIMAGE_FORMAT_JPG);
    // The name is written as chosen: on these file systems case makes another file.
    const bool ok = WriteFrame(path, format, m_ctx.settings.m_bMeasure);
    m_ctx.frame.SetJpegFullColour(false);
    return ok ? path : QString();
}

CPictureScale CSnapshotSaver::CurrentScale() const
{
    return m_ctx.pictureScale ? m_ctx.pictureScale() : CPictureScale();
}

CxImage* CSnapshotSaver::FrameToWrite(CxImage& composed, bool burnIn, QString& reason)
{
    if (!m_ctx.frame.HasPixels()) {
        reason = tr("There is no picture to save.");
        return nullptr;
    }
    // The scale goes with the picture wherever it is written (PNG and TIFF keep it).
    m_ctx.frame.SetPictureScale(CurrentScale());
    if (!burnIn || !m_ctx.manager)
        return &m_ctx.frame;
    composed = m_ctx.frame;
    if (!ComposeSnapshot(composed, *m_ctx.manager)) {
        reason = tr("The drawing cannot be added to this picture.");
        return nullptr;
    }
    return &composed;
}

bool CSnapshotSaver::WriteFrame(const QString& path, uint32_t format, bool burnIn)
{
    QString reason;
    CxImage composed;
    CxImage* picture = FrameToWrite(composed, burnIn, reason);
    const bool ok = picture && CPictureWriter::Write(*picture, path, format, &reason);
    if (!ok)
        ReportFailure(path, reason);
    return ok;
}

bool CSnapshotSaver::ComposeSnapshot(CxImage& image, CShapeManager& manager)
{
    if (!image.HasPixels() || !image.WidenTo24())
        return false;
    const int width = int(image.Width());
    const int height = int(image.Height());
    if (image.Stride() != uint32_t(FrameStride(width)))
        return false;
    // RenderOnto fills the scratch with 128 first: every other byte value is drawing.
    std::vector<uint8_t> scratch(size_t(FrameStride(width)) * size_t(height));
    manager.RenderOnto(scratch.data(), width, height);
    CShapeManager::MergeRendered(image.RowBits(0), scratch.data(), width, height);
    return true;
}

void CSnapshotSaver::ReportFailure(const QString& path, const QString& reason)
{
    qCDebug(lcTrace) << "save failed:" << path << reason;
    UserMessages().Error(
            { .text = tr("The picture could not be saved to\n%1\n\n%2").arg(path, reason),
                    .caption = tr("Warnning") });
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
