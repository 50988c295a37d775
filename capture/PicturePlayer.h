#pragma once

#include "capture/CaptureDevice.h"
#include "capture/PictureDecoder.h"

#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <thread>

typedef struct _GstElement GstElement;

// Feeds a live appsrc with pictures, one every frame period, round and round: a camera that
// films a stack of pictures. Each picture is decoded when its turn comes, so one that went
// missing or broke meanwhile stops the stream with an error naming it, posted on the appsrc
// as a camera's own error would be.
class CPicturePlayer
{
public:
    // first is files[0], decoded already.
    CPicturePlayer(GstElement* appSource, QStringList files, CFrameRate rate, CSamplePtr first);
    ~CPicturePlayer();
    CPicturePlayer(const CPicturePlayer&) = delete;
    CPicturePlayer& operator=(const CPicturePlayer&) = delete;

    // Plays from the first picture; once only.
    void Start();
    // Returns once the worker has ended; it is never left running.
    void Stop();

private:
    void Play();
    bool Push(GstSample* sample);
    void Fail(const QString& text);

    GstElement* m_source; // a reference of ours
    const QStringList m_files;
    const CFrameRate m_rate;
    CSamplePtr m_first; // the worker's from Start()
    std::thread m_worker;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false; // guarded by m_mutex
};
