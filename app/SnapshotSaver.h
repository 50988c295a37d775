#pragma once

#include "base/SnapshotNamer.h"
#include "image/PictureScale.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

struct CGeneralSettings;
class CShapeManager;
class CxImage;
class QWidget;

// What a save needs from the main window, handed over as references and hooks so that the
// saving works (and is tested) without the window.
struct CSnapshotContext
{
    CxImage& frame; // the current frame image
    CGeneralSettings& settings; // image folder, format, snapshot with measurements
    std::function<bool()> stillMode;
    // The picture opened from the thumbnails: a name in the image folder, or a full path.
    std::function<QString()> currentFile;
    // Live mode: one camera frame, through the filters, into the frame.
    std::function<void()> captureToFrame;
    CShapeManager* manager = nullptr; // draws the measurements; none: nothing to burn in
    // The calibration in use, written into PNG and TIFF pictures; empty or invalid: none.
    std::function<CPictureScale()> pictureScale;

    // The thumbnail list of the image folder.
    std::function<void(const QString& name)> addItem;
    std::function<void(const QString& name)> refreshItem;
    std::function<bool(const QString& name)> hasItem;
    std::function<void()> relayout;
    // The frame changed in memory (the drawing was burnt in): the canvas shows it anew.
    std::function<void()> frameChanged;

    QWidget* parent = nullptr; // owner of the file dialogs
    CSnapshotNamer::Clock clock; // empty: the system clock
};

// "Save", "SaveAs" and save to path. A save that fails keeps whatever was on disk, tells the
// user the path and the reason, and adds nothing to the thumbnail list.
class CSnapshotSaver
{
    Q_DECLARE_TR_FUNCTIONS(CSnapshotSaver)
public:
    static constexpr int kJpegQuality = 100;

    // Returns the chosen full path, or an empty text when the user cancels; sets the filter
    // the user picked.
    using FileChooser = std::function<QString(QWidget* parent, const QString& caption,
            const QString& proposedPath, const QString& filter, QString* selectedFilter)>;

    explicit CSnapshotSaver(CSnapshotContext context);

    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

    // Each returns the path written, or an empty text when nothing was written.
    QString Save();
    QString SaveAs();
    // fullColour: a JPEG keeps the colour of every pixel (4:4:4).
    QString SaveToPath(const QString& path, bool fullColour = false);

    // Burns the measurement drawing into a 24-bit picture; other depths are widened first.
    static bool ComposeSnapshot(CxImage& image, CShapeManager& manager);
    static QString SaveFilter();
    static QStringList SaveFilters();
    // The path with the extension of the type chosen in "Save as" (one of SaveFilters) when the
    // name typed has no picture extension of its own.
    static QString WithTypeExtension(const QString& path, const QString& filter);
    // The filter entry of a full-colour JPEG, as SaveFilter lists it.
    static QString FullColourJpegFilter();
    // The image folder plus the name, the way "SaveAs" decides whether the list shows the file.
    static bool IsInFolder(const QString& path, const QString& folder);

private:
    QString SaveTimeStamped();
    QString OverwriteCurrent(const QString& currentFile);
    // The frame itself, or composed with the drawing burnt in; null with the reason.
    CxImage* FrameToWrite(CxImage& composed, bool burnIn, QString& reason);
    bool WriteFrame(const QString& path, uint32_t format, bool burnIn);
    void ReportFailure(const QString& path, const QString& reason);
    void ShowItem(const QString& name);
    QString ImageFolder() const;
    CPictureScale CurrentScale() const;

    CSnapshotContext m_ctx;
    FileChooser m_chooser;
};
