// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/WindowMemory.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cstdlib>
#include <filesystem>

#include "platform/ProfileFile.h"
#include "platform/WindowState.h"
#include "platform/gui/ScreenFit.h"

namespace rostrix {

namespace {

constexpr const char* kPlaceKey = "Place";

std::string stateFile() {
    const std::string folder = stateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
    return folder.empty() ? std::string() : folder + "/windows.ini";
}

class PlaceKeeper : public QObject {
public:
    PlaceKeeper(QWidget* window, const char* name) : QObject(window), name_(name) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show) restore(window);
        if (event->type() == QEvent::Hide && !event->spontaneous()) keep(window);
        return false;
    }

private:
    void restore(QWidget* window) {
        std::vector<QRect> screens;
        for (const QScreen* s : QGuiApplication::screens())
            screens.push_back(s->availableGeometry());
        const auto place = savedPlace(rememberedValue(name_, kPlaceKey), screens);
        if (!place) return;
        window->setGeometry(place->client);
        if (place->maximized) window->setWindowState(window->windowState() | Qt::WindowMaximized);
        // The place was sound for the window as it was then; it still has to fit now.
        fitToScreen(window);
    }

    void keep(const QWidget* window) {
        const QScreen* screen = window->screen();
        if (!screen) return;
        rememberValue(name_, kPlaceKey,
                      placeText({window->normalGeometry(), window->isMaximized()},
                                screen->availableGeometry()));
    }

    const char* name_;
};

}  // namespace

void rememberPlace(QWidget* window, const char* name) {
    new PlaceKeeper(window, name);
}

std::string rememberedValue(const char* name, const char* key) {
    const std::string path = stateFile();
    return path.empty() ? std::string() : ProfileFile(path).read(name, key, "");
}

void rememberValue(const char* name, const char* key, const std::string& value) {
    const std::string path = stateFile();
    if (path.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    ProfileFile file(path);
    if (file.read(name, key, "") == value) return;
    try {
        file.write(name, key, value);
        file.save();
    } catch (const std::exception&) {
        // A value the file cannot hold is not kept; the window opens as it is made next time.
    }
}

}  // namespace rostrix
