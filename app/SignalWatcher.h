#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the user-interface thread, so the main window
// closes normally and its settings are written.
class CSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit CSignalWatcher(QObject* parent = nullptr);
    ~CSignalWatcher() override;

signals:
    void terminationRequested();

private:
    static void Handle(int signal);
    static int s_pipe[2];
    QSocketNotifier* m_notifier = nullptr;
};
