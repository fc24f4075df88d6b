#include "ui/notices/cups_worker.h"

#include <QObject>

namespace vorsa {

CupsWorker::CupsWorker(const QString& name) : context_(new QObject) {
    thread_.setObjectName(name);
    context_->moveToThread(&thread_);
    thread_.start();
}

CupsWorker::~CupsWorker() {
    thread_.quit();
    thread_.wait();
    delete context_;
}

void CupsWorker::Run(std::function<void()> job) {
    QMetaObject::invokeMethod(context_, std::move(job), Qt::QueuedConnection);
}

}  // namespace vorsa
