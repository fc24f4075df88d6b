#pragma once
// The one way the window asks CUPS: a worker thread of its own, jobs run there in order, answers
// sent back as queued calls by the jobs themselves. libcups can wait seconds on a spooler that
// does not answer, so nothing that asks it runs on the window's thread.
#include <QString>
#include <QThread>
#include <functional>

class QObject;

namespace vorsa {

class CupsWorker {
  public:
    explicit CupsWorker(const QString& name);
    /// Stops and joins the thread: a job in progress is let finish (a reader is not ours to
    /// interrupt), jobs not yet started are dropped.
    ~CupsWorker();
    CupsWorker(const CupsWorker&) = delete;
    CupsWorker& operator=(const CupsWorker&) = delete;

    /// Queues `job` on the worker thread.
    void Run(std::function<void()> job);

  private:
    QThread thread_;
    QObject* context_;  // lives on the worker thread
};

}  // namespace vorsa
