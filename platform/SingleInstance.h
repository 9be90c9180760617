#pragma once
// The single-instance lock "Quillmoor": an advisory lock on a file in the per-user
// runtime folder. The system drops the lock when the holding process ends in any way,
// so a crashed instance never blocks the next start.
#include <QString>

class TSingleInstance {
public:
    // folder "" means the runtime folder (or the temporary folder when there is none).
    explicit TSingleInstance(const QString& name, const QString& folder = {});
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when another process (or another holder in this one) has the lock. When the
    // lock file cannot be made at all, the program starts as the first instance.
    bool AlreadyRunning() const { return others; }
    QString LockFile() const { return path; }

private:
    QString path;
    int fd = -1;
    bool others = false;
};
