// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/gui/ArchiveLoading.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <exception>

#include "careers/CareerArchive.h"
#include "platform/gui/FileNames.h"

namespace rostrix {

namespace {

constexpr int kQuietMilliseconds = 250;

}  // namespace

std::unique_ptr<CareerArchive> readCareerArchive(QWidget* over, const std::string& path) {
    std::unique_ptr<CareerArchive> archive;
    std::exception_ptr failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            archive = std::make_unique<CareerArchive>(path);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    std::unique_ptr<QProgressDialog> progress;
    QTimer::singleShot(kQuietMilliseconds, &loop, [&] {
        progress = std::make_unique<QProgressDialog>(over);
        progress->setObjectName(QStringLiteral("ArchiveProgress"));
        progress->setWindowTitle(QStringLiteral("Rostrix - Careers"));
        progress->setLabelText(QStringLiteral("Reading %1...").arg(fileNameText(path)));
        progress->setCancelButton(nullptr);
        progress->setRange(0, 0);  // no end known: a busy bar
        progress->setMinimumDuration(0);
        progress->setWindowModality(Qt::ApplicationModal);
        progress->show();
    });
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    if (failure) std::rethrow_exception(failure);
    return archive;
}

}  // namespace rostrix
