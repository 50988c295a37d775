#include "imgproc/FusionJob.h"

#include <QMetaObject>

CFusionJob::CFusionJob(QObject* parent) : QObject(parent) { }

CFusionJob::~CFusionJob()
{
    m_runner.Cancel();
    m_runner.Wait();
}

bool CFusionJob::Start(std::vector<CImageView> images, FusionMode mode, CSearchCentre centre)
{
    if (m_running)
        return false;
    // The worker's callbacks hop to this object's thread; with the job gone they are dropped.
    auto onProgress = [this](const CFusionProgress& step) {
        QMetaObject::invokeMethod(
                this, [this, step] { emit progress(step); }, Qt::QueuedConnection);
    };
    auto onFinished = [this](FusionStatus status) {
        QMetaObject::invokeMethod(
                this,
                [this, status] {
                    m_runner.Wait();
                    m_running = false;
                    emit finished(status);
                },
                Qt::QueuedConnection);
    };
    m_running = m_runner.Start(std::move(images), mode, centre, onProgress, onFinished);
    return m_running;
}
