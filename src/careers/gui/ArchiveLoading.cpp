// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/gui/ArchiveLoading.h"

#include <QDeadlineTimer>
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
    worker->start();
    // A quick read (the usual case) shows nothing and runs no events.
    if (!worker->wait(QDeadlineTimer(kQuietMilliseconds))) {
        QProgressDialog progress(over);
        progress.setObjectName(QStringLiteral("ArchiveProgress"));
        progress.setWindowTitle(QStringLiteral("Rostrix - Careers"));
        progress.setLabelText(QStringLiteral("Reading %1...").arg(fileNameText(path)));
        progress.setCancelButton(nullptr);
        progress.setRange(0, 0);  // no end known: a busy bar
        progress.setMinimumDuration(0);
        progress.setWindowModality(Qt::ApplicationModal);
        progress.show();
        // The windows paint meanwhile; what the user types waits for the archive.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (worker->isFinished()) loop.quit();
        });
        poll.start(20);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        worker->wait();
    }
    if (failure) std::rethrow_exception(failure);
    return archive;
}

}  // namespace rostrix
