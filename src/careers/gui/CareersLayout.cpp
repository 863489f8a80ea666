// SPDX-License-Identifier: GPL-3.0-or-later
#include "careers/gui/CareersLayout.h"

#include <QEvent>
#include <QSplitter>
#include <QTableView>

#include "careers/gui/ColumnChooser.h"
#include "platform/gui/WindowMemory.h"

namespace rostrix {

namespace {

constexpr const char* kWindow = "Careers";
constexpr const char* kSplitter = "Splitter";

class LayoutKeeper : public QObject {
public:
    LayoutKeeper(QSplitter* splitter, QTableView* seasons, QTableView* leaders)
        : QObject(splitter), splitter_(splitter) {
        tables_[0] = {seasons, "Hidden Season Columns"};
        tables_[1] = {leaders, "Hidden Leader Columns"};
        for (const auto& [table, key] : tables_)
            if (auto* chooser = table->findChild<ColumnChooser*>())
                chooser->setHiddenTitles(QString::fromStdString(rememberedValue(kWindow, key))
                                             .split(QLatin1Char(','), Qt::SkipEmptyParts));
        splitter->window()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // The divider goes back once the window has its size, which it shares out.
        if (event->type() == QEvent::Show && !restored_) {
            restored_ = true;
            // A state the splitter cannot read leaves it as it is.
            splitter_->restoreState(QByteArray::fromBase64(
                QByteArray::fromStdString(rememberedValue(kWindow, kSplitter))));
        }
        if (event->type() != QEvent::Hide || event->spontaneous()) return false;
        rememberValue(kWindow, kSplitter, splitter_->saveState().toBase64().toStdString());
        for (const auto& [table, key] : tables_)
            if (auto* chooser = table->findChild<ColumnChooser*>())
                rememberValue(kWindow, key,
                              chooser->hiddenTitles().join(QLatin1Char(',')).toStdString());
        return false;
    }

private:
    struct Table {
        QTableView* view = nullptr;
        const char* key = nullptr;
    };
    QSplitter* splitter_;
    Table tables_[2];
    bool restored_ = false;
};

}  // namespace

void keepCareersLayout(QSplitter* splitter, QTableView* seasons, QTableView* leaders) {
    new LayoutKeeper(splitter, seasons, leaders);
}

}  // namespace rostrix
